// Archive coders of NSSet, NSURL and NSNull.
#include "platform/foundation/archive_foundation_values.h"

#include "platform/foundation/archive_coder_registry.h"
#include "platform/foundation/archive_foundation_coders.h"
#include "platform/foundation/archived_value.h"
#include "platform/foundation/archiver.h"
#include "platform/foundation/unarchiver.h"

#include <QUrl>

namespace {

bool decodeSet(Unarchiver &in, const ArchivedClass &, std::any &object)
{
    qint64 count;
    if (!in.decodeInt(count))
        return false;
    if (count < 0 || count > in.remainingBytes())
        return in.fail(QStringLiteral("%1 set elements announced, more than the archive can hold").arg(count));
    ArchivedSet set{PropertyList::array()};
    for (qint64 i = 0; i < count; ++i) {
        std::any element;
        if (!in.decodeObject(element))
            return false;
        if (auto plist = containerElement(in, element))
            set.elements.append(*plist);
    }
    object = set;
    return true;
}

bool encodeSet(Archiver &out, const ArchivedSet &set)
{
    out.beginObject({{"NSSet", 0}, {"NSObject", 0}});
    out.encodeInt(set.elements.count(), 'I');
    for (const PropertyList &element : set.elements.elements())
        out.encodeObject(element);
    return true;
}

bool decodeUrl(Unarchiver &in, const ArchivedClass &, std::any &object)
{
    qint64 relative;
    if (!in.decodeInt(relative))
        return false;
    QUrl base;
    if (relative) {
        std::any baseObject;
        if (!in.decodeObject(baseObject))
            return false;
        if (const QUrl *b = std::any_cast<QUrl>(&baseObject))
            base = *b;
        else if (baseObject.has_value())
            return in.fail(QStringLiteral("the base of a URL is no URL"));
    }
    QString text;
    if (!decodeStringObject(in, text))
        return false;
    const QUrl own(text);
    object = relative && base.isValid() ? base.resolved(own) : own;
    return true;
}

bool encodeUrl(Archiver &out, const QUrl &url)
{
    out.beginObject({{"NSURL", 0}, {"NSObject", 0}});
    out.encodeInt(0, 'c');
    out.encodeStringObject(url.toString(QUrl::FullyEncoded));
    return true;
}

bool decodeNull(Unarchiver &, const ArchivedClass &, std::any &object)
{
    object = ArchivedNull{};
    return true;
}

bool encodeNull(Archiver &out, const ArchivedNull &)
{
    out.beginObject({{"NSNull", 0}, {"NSObject", 0}});
    return true;
}

} // namespace

void registerFoundationValueCoders(ArchiveCoderRegistry &registry)
{
    for (const char *name : {"NSSet", "NSMutableSet"})
        registry.registerDecoder(name, decodeSet);
    registry.registerDecoder("NSURL", decodeUrl);
    registry.registerDecoder("NSNull", decodeNull);
    registry.registerEncoder<ArchivedSet>(encodeSet);
    registry.registerEncoder<QUrl>(encodeUrl);
    registry.registerEncoder<ArchivedNull>(encodeNull);
}
