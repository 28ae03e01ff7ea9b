// Archive decoders of the platform's images (NSImage with one bitmap representation).
#include "platform/foundation/archive_image_coder.h"

#include "platform/foundation/archive_coder_registry.h"
#include "platform/foundation/archived_value.h"
#include "platform/foundation/typedstream_format.h"
#include "platform/foundation/unarchiver.h"

#include <cmath>

namespace {

constexpr int nsImageVersion = 46;
constexpr int nsBitmapImageRepVersion = 17;

// The representation's bytes: "i" their length, then "[Nc]" the whole image file.
struct ArchivedBitmapData {
    QByteArray fileData;
};

bool decodeBitmapImageRep(Unarchiver &in, const ArchivedClass &archivedClass, std::any &object)
{
    if (archivedClass.version != nsBitmapImageRepVersion) {
        object = UnsupportedObject{"NSBitmapImageRep version " + QByteArray::number(archivedClass.version)};
        return true;
    }
    qint64 length;
    QByteArray bytes;
    if (!in.decodeInt(length) || !in.decodeByteArray(bytes))
        return false;
    if (length != bytes.size())
        return in.fail(QStringLiteral("image representation length does not match its data"));
    object = ArchivedBitmapData{bytes};
    return true;
}

// "@" (nil), fourteen "c" flags, "ff" the size, "s", "c", "@" the representation, "@" the
// background colour.
bool decodeImage(Unarchiver &in, const ArchivedClass &archivedClass, std::any &object)
{
    if (archivedClass.version != nsImageVersion) {
        object = UnsupportedObject{"NSImage version " + QByteArray::number(archivedClass.version)};
        return true;
    }
    std::any ignored, representation;
    qint64 flag;
    float width, height;
    if (!in.decodeObject(ignored))
        return false;
    for (int i = 0; i < 14; ++i)
        if (!in.decodeInt(flag))
            return false;
    if (!in.decodeFloat(width) || !in.decodeFloat(height) || !in.decodeInt(flag) || !in.decodeInt(flag)
        || !in.decodeObject(representation))
        return false;
    const auto *bitmap = std::any_cast<ArchivedBitmapData>(&representation);
    if (!bitmap) {
        object = UnsupportedObject{"NSImage without a bitmap representation"};
        return true;
    }
    const bool sized = std::isfinite(width) && std::isfinite(height) && width > 0 && height > 0;
    object = ArchivedImage{bitmap->fileData, sized ? Size{width, height} : Size{}};
    return true;   // the background colour that follows is read past
}

} // namespace

void registerImageCoders(ArchiveCoderRegistry &registry)
{
    registry.registerDecoder("NSImage", decodeImage);
    registry.registerDecoder("NSBitmapImageRep", decodeBitmapImageRep);
}
