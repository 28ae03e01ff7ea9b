// Archive coders of colours.
#include "platform/foundation/archive_color_coder.h"

#include "platform/color/color.h"
#include "platform/foundation/archive_coder_registry.h"
#include "platform/foundation/archive_foundation_coders.h"
#include "platform/foundation/archived_value.h"
#include "platform/foundation/archiver.h"
#include "platform/foundation/typedstream_format.h"
#include "platform/foundation/unarchiver.h"

#include <mutex>

namespace {

enum ColorKind { CalibratedRGBA = 1, DeviceRGBA = 2, CalibratedWA = 3, DeviceWA = 4, DeviceCMYKA = 5, NamedKind = 6 };

std::mutex patternEncoderMutex;
PatternColorEncoder patternEncoder;

bool decodeFloats(Unarchiver &in, float *values, int count)
{
    for (int i = 0; i < count; ++i) {
        if (!in.decodeFloat(values[i]))
            return false;
    }
    return true;
}

bool decodeNSColor(Unarchiver &in, const ArchivedClass &, std::any &object)
{
    qint64 kind;
    if (!in.decodeInt(kind))
        return false;
    float c[5];
    switch (kind) {
    case CalibratedRGBA:
    case DeviceRGBA:
        if (!decodeFloats(in, c, 4))
            return false;
        object = kind == CalibratedRGBA ? Color::colorWithCalibratedRed(c[0], c[1], c[2], c[3])
                                        : Color::colorWithDeviceRed(c[0], c[1], c[2], c[3]);
        return true;
    case CalibratedWA:
    case DeviceWA:
        if (!decodeFloats(in, c, 2))
            return false;
        object = kind == CalibratedWA ? Color::colorWithCalibratedWhite(c[0], c[1]) : Color::colorWithDeviceWhite(c[0], c[1]);
        return true;
    case DeviceCMYKA:
        if (!decodeFloats(in, c, 5))
            return false;
        object = Color::colorWithDeviceCyan(c[0], c[1], c[2], c[3], c[4]);
        return true;
    case NamedKind: {
        QString catalog, name;
        std::any fallback;
        if (!decodeStringObject(in, catalog) || !decodeStringObject(in, name) || !in.decodeObject(fallback))
            return false;
        const auto *color = std::any_cast<Color>(&fallback);
        object = Color::colorWithCatalogName(catalog, name, color ? *color : Color::blackColor());
        return true;
    }
    default:
        // A kind whose layout is not known: its values are read past.
        object = UnsupportedObject{"NSColor kind " + QByteArray::number(kind)};
        return true;
    }
}

bool decodeCustomColor(Unarchiver &in, const ArchivedClass &, std::any &object)
{
    qint64 model, count;
    std::vector<float> components;
    QString name;
    std::any icc;
    if (!in.decodeInt(model) || !in.decodeInt(count) || !in.decodeFloatArray(components)
        || !decodeStringObject(in, name) || !in.decodeObject(icc))
        return false;
    if (model < -1 || model > 6 || count < 1 || count > Color::maxComponents || qint64(components.size()) != count + 1)
        return in.fail(QStringLiteral("bad custom colour (model %1, %2 components)").arg(model).arg(count));
    auto iccData = propertyListFromArchivedObject(icc);
    auto space = std::make_shared<const ColorSpace>(ColorSpaceModel(model), int(count), name,
                                                    iccData ? iccData->dataValue() : QByteArray());
    for (const auto &standard : {ColorSpace::genericRGBColorSpace(), ColorSpace::genericGrayColorSpace(),
                                 ColorSpace::genericCMYKColorSpace(), ColorSpace::deviceRGBColorSpace(),
                                 ColorSpace::deviceGrayColorSpace(), ColorSpace::deviceCMYKColorSpace()}) {
        if (*standard == *space)
            space = standard;
    }
    auto color = Color::colorWithColorSpace(space, components.data(), int(components.size()));
    if (!color)
        return in.fail(QStringLiteral("bad custom colour"));
    object = *color;
    return true;
}

void encodeComponents(Archiver &out, int kind, const Color &color)
{
    float c[Color::maxComponents + 1];
    color.getComponents(c);
    out.beginObject({{"NSColor", 0}, {"NSObject", 0}});
    out.encodeInt(kind, 'c');
    const int n = color.numberOfComponents();
    out.beginGroup(QByteArray(n, 'f'));
    for (int i = 0; i < n; ++i)
        out.encodeFloat(c[i]);
    out.endGroup();
}

bool encodeColor(Archiver &out, const Color &color)
{
    switch (color.kind()) {
    case Color::Kind::CalibratedRGB: encodeComponents(out, CalibratedRGBA, color); return true;
    case Color::Kind::DeviceRGB: encodeComponents(out, DeviceRGBA, color); return true;
    case Color::Kind::CalibratedWhite:
    case Color::Kind::CalibratedBlack: encodeComponents(out, CalibratedWA, color); return true;
    case Color::Kind::DeviceWhite:
    case Color::Kind::DeviceBlack: encodeComponents(out, DeviceWA, color); return true;
    case Color::Kind::DeviceCMYK: encodeComponents(out, DeviceCMYKA, color); return true;
    case Color::Kind::Named:
        out.beginObject({{"NSColor", 0}, {"NSObject", 0}});
        out.encodeInt(NamedKind, 'c');
        out.beginGroup("@@@");
        out.encodeStringObject(color.catalogNameComponent());
        out.encodeStringObject(color.colorNameComponent());
        out.encodeObject(color.namedFallback());
        out.endGroup();
        return true;
    case Color::Kind::Custom: {
        const auto space = color.colorSpace();
        std::vector<float> components(size_t(color.numberOfComponents()));
        color.getComponents(components.data());
        out.beginObject({{"VekCustomColor", 1}, {"NSObject", 0}});
        out.beginGroup("ii");
        out.encodeInt(int(space->colorSpaceModel()));
        out.encodeInt(space->numberOfColorComponents());
        out.endGroup();
        out.encodeFloatArray(components);
        out.encodeStringObject(space->localizedName());
        out.encodeObject(space->iccProfileData().isEmpty() ? std::any() : std::any(PropertyList::fromData(space->iccProfileData())));
        return true;
    }
    case Color::Kind::Pattern: {
        PatternColorEncoder encoder;
        {
            std::lock_guard lock(patternEncoderMutex);
            encoder = patternEncoder;
        }
        if (!encoder)
            return out.fail(QStringLiteral("pattern colours cannot be archived here"));
        return encoder(out, color);
    }
    }
    return out.fail(QStringLiteral("unknown colour kind"));
}

}   // namespace

void setPatternColorEncoder(PatternColorEncoder encoder)
{
    std::lock_guard lock(patternEncoderMutex);
    patternEncoder = std::move(encoder);
}

void registerColorCoders(ArchiveCoderRegistry &registry)
{
    registry.registerDecoder("NSColor", decodeNSColor);
    registry.registerDecoder("VekCustomColor", decodeCustomColor);
    registry.registerEncoder<Color>(encodeColor);
}
