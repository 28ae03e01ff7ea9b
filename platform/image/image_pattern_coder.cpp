// Pattern colours in archives: their tile as PNG under our own class.
#include "platform/image/image_pattern_coder.h"

#include "platform/foundation/archive_color_coder.h"
#include "platform/foundation/archive_coder_registry.h"
#include "platform/foundation/archive_foundation_coders.h"
#include "platform/foundation/archiver.h"
#include "platform/foundation/unarchiver.h"
#include "platform/image/image_file.h"
#include "platform/image/image_pattern.h"

#include <memory>

namespace {

bool encodePatternColor(Archiver &out, const Color &color)
{
    const auto *tile = dynamic_cast<const PatternTile *>(color.patternImage().get());
    const QImage image = tile ? tile->tileImage() : QImage();
    const QByteArray png = image.isNull() ? QByteArray() : encodeBitmap(BitmapRep(image), "png");
    if (png.isEmpty())
        return out.fail(QStringLiteral("a pattern colour without an image cannot be archived"));
    out.beginObject({{"VekPatternColor", 1}, {"NSObject", 0}});
    out.encodeObject(PropertyList::fromData(png));
    return true;
}

bool decodePatternColor(Unarchiver &in, const ArchivedClass &, std::any &object)
{
    std::any data;
    if (!in.decodeObject(data))
        return false;
    const auto png = propertyListFromArchivedObject(data);
    const Image image = readImageData(png ? png->dataValue() : QByteArray());
    if (!image.isValid())
        return in.fail(QStringLiteral("a pattern colour whose image does not read"));
    object = Color::colorWithPatternImage(std::make_shared<ImagePatternTile>(image));
    return true;
}

} // namespace

void registerPatternColorCoders(ArchiveCoderRegistry &registry)
{
    registry.registerDecoder("VekPatternColor", decodePatternColor);
    setPatternColorEncoder(encodePatternColor);
}
