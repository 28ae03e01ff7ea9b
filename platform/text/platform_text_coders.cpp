// Decoders of NSFont and NSAttributedString.
#include "platform/text/platform_text_coders.h"

#include "platform/color/color.h"
#include "platform/foundation/archive_coder_registry.h"
#include "platform/foundation/archive_foundation_coders.h"
#include "platform/foundation/unarchiver.h"
#include "platform/text/attributed_string.h"

#include <QHash>
#include <QStringDecoder>
#include <QUrl>

#include <cstring>

namespace {

constexpr int MaxAttributeSets = 100000;

quint32 littleEndian32(const QByteArray &data, qsizetype at)
{
    quint32 v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | quint8(data[at + i]);
    return v;
}

bool decodeFont(Unarchiver &in, const ArchivedClass &archivedClass, std::any &object)
{
    if (archivedClass.version != 21 && archivedClass.version != 30)
        return in.fail(QStringLiteral("NSFont version %1 is not known").arg(archivedClass.version));
    QByteArray serialisedName;
    float size;
    if (!decodeDataObject(in, serialisedName) || !in.decodeFloat(size))
        return false;
    const auto name = stringFromOldBinaryPropertyList(serialisedName);
    if (!name || name->isEmpty())
        return in.fail(QStringLiteral("unreadable font name"));
    object = Font{*name, size};
    return true;
}

// Takes one attribute of the platform's dictionary into ours; unknown ones are left out.
void takeAttribute(TextAttributes &a, const QString &name, const std::any &value)
{
    const Color *color = std::any_cast<Color>(&value);
    const auto plist = propertyListFromArchivedObject(value);
    const bool isNumber = plist && plist->isNumber();
    if (name == QLatin1String("NSFont")) {
        if (const Font *font = std::any_cast<Font>(&value))
            a.font = *font;
    } else if (name == QLatin1String("NSColor")) {
        if (color) a.foregroundColor = *color;
    } else if (name == QLatin1String("NSBackgroundColor")) {
        if (color) a.backgroundColor = *color;
    } else if (name == QLatin1String("NSUnderlineColor")) {
        if (color) a.underlineColor = *color;
    } else if (name == QLatin1String("NSStrikethroughColor")) {
        if (color) a.strikethroughColor = *color;
    } else if (name == QLatin1String("NSStrokeColor")) {
        if (color) a.strokeColor = *color;
    } else if (name == QLatin1String("NSUnderline")) {
        if (isNumber) a.underlineStyle = plist->intValue();
    } else if (name == QLatin1String("NSStrikethrough")) {
        if (isNumber) a.strikethroughStyle = plist->intValue();
    } else if (name == QLatin1String("NSStrokeWidth")) {
        if (isNumber) a.strokeWidth = plist->floatValue();
    } else if (name == QLatin1String("NSObliqueness")) {
        if (isNumber) a.obliqueness = plist->floatValue();
    } else if (name == QLatin1String("NSBaselineOffset")) {
        if (isNumber) a.baselineOffset = plist->floatValue();
    } else if (name == QLatin1String("NSKern")) {
        if (isNumber) a.kerning = plist->floatValue();
    } else if (name == QLatin1String("NSLink")) {
        if (const QUrl *url = std::any_cast<QUrl>(&value))
            a.link = url->toString(QUrl::FullyEncoded);
        else if (plist && plist->isString())
            a.link = plist->stringValue();
    }
}

std::optional<TextAttributes> attributesFrom(const std::any &dictionary)
{
    TextAttributes attributes;
    if (const auto *objects = std::any_cast<ObjectDictionary>(&dictionary)) {
        for (const auto &[name, value] : objects->entries)
            takeAttribute(attributes, name, value);
        return attributes;
    }
    const auto *plist = std::any_cast<PropertyList>(&dictionary);
    if (!plist || !plist->isDictionary())
        return std::nullopt;
    for (const auto &[name, value] : plist->entries())
        takeAttribute(attributes, name, std::any(value));
    return attributes;
}

bool decodeAttributedString(Unarchiver &in, const ArchivedClass &, std::any &object)
{
    QString text;
    if (!decodeStringObject(in, text))
        return false;
    QHash<qint64, TextAttributes> sets;
    AttributedString result;
    qint64 position = 0;
    while (in.peekType()) {
        qint64 set, length;
        if (!in.decodeInt(set) || !in.decodeInt(length))
            return false;
        if (length <= 0 || length > text.size() - position)
            return in.fail(QStringLiteral("bad run length"));
        if (set < 1 || set > MaxAttributeSets)
            return in.fail(QStringLiteral("bad attribute set number"));
        if (!sets.contains(set)) {
            std::any dictionary;
            if (!in.decodeObject(dictionary))
                return false;
            const auto attributes = attributesFrom(dictionary);
            if (!attributes)
                return in.fail(QStringLiteral("text attributes are no dictionary"));
            sets.insert(set, *attributes);
        }
        result.append(AttributedString(text.mid(position, length), sets.value(set)));
        position += length;
    }
    if (in.failed())
        return false;
    if (position != text.size())
        return in.fail(QStringLiteral("runs do not cover the text"));
    object = result;
    return true;
}

} // namespace

std::optional<QString> stringFromOldBinaryPropertyList(const QByteArray &data)
{
    if (data.size() < 8)
        return std::nullopt;
    const quint32 type = littleEndian32(data, 0);
    const quint32 length = littleEndian32(data, 4);
    const qsizetype padded = (qsizetype(length) + 3) / 4 * 4;
    if (length > quint32(data.size()) || 8 + padded != data.size())
        return std::nullopt;
    const QByteArray bytes = data.mid(8, length);
    if (type == 5) {
        // The NeXTSTEP character set agrees with Latin-1 for the letters font names use.
        return QString::fromLatin1(bytes);
    }
    if (type == 6) {
        if (bytes.size() < 2 || bytes.size() % 2)
            return std::nullopt;
        const bool bigEndian = quint8(bytes[0]) == 0xfe && quint8(bytes[1]) == 0xff;
        const bool littleEndian = quint8(bytes[0]) == 0xff && quint8(bytes[1]) == 0xfe;
        if (!bigEndian && !littleEndian)
            return std::nullopt;
        QStringDecoder decoder(bigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE);
        QString s = decoder(bytes.mid(2));
        return decoder.hasError() ? std::nullopt : std::optional<QString>(s);
    }
    return std::nullopt;
}

void registerPlatformTextDecoders(ArchiveCoderRegistry &registry)
{
    registry.registerDecoder("NSFont", decodeFont);
    for (const char *name : {"NSAttributedString", "NSMutableAttributedString"})
        registry.registerDecoder(name, decodeAttributedString);
}
