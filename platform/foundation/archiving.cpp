// Archiving one value to typedstream data and reading it back.
#include "platform/foundation/archiving.h"

#include "platform/color/color.h"
#include "platform/foundation/archive_foundation_coders.h"
#include "platform/foundation/archive_image_coder.h"
#include "platform/foundation/archiver.h"
#include "platform/foundation/unarchiver.h"
#include "platform/geometry/bezier_path.h"

namespace {

template <typename T>
ArchiveResult<T> rootOfKind(const ArchiveResult<std::any> &root, const char *kind)
{
    ArchiveResult<T> result;
    result.notes = root.notes;
    if (!root) {
        result.error = root.error;
    } else if (const T *value = std::any_cast<T>(&*root.value)) {
        result.value = *value;
    } else if (const auto *unsupported = std::any_cast<UnsupportedObject>(&*root.value)) {
        result.error = QStringLiteral("the archive holds an object of the unsupported class %1")
                           .arg(QString::fromLatin1(unsupported->className));
    } else {
        result.error = QStringLiteral("the archive holds no %1").arg(QLatin1String(kind));
    }
    return result;
}

// The memory form of a number or struct that came back as a property-list value.
std::optional<ArchivedValue> memoryFormOf(const PropertyList &plist)
{
    auto floats = [](const char *type, std::initializer_list<float> values) {
        QByteArray bytes;
        for (float v : values)
            bytes.append(reinterpret_cast<const char *>(&v), sizeof v);
        return ArchivedValue{type, bytes};
    };
    switch (plist.type()) {
    case PropertyList::Type::Point: return floats("{_NSPoint=ff}", {plist.pointValue().x, plist.pointValue().y});
    case PropertyList::Type::Size: return floats("{_NSSize=ff}", {plist.sizeValue().width, plist.sizeValue().height});
    case PropertyList::Type::Rect: {
        const Rect r = plist.rectValue();
        return floats("{_NSRect={_NSPoint=ff}{_NSSize=ff}}", {r.origin.x, r.origin.y, r.size.width, r.size.height});
    }
    case PropertyList::Type::Integer: {
        const quint64 v = plist.unsignedLongLongValue();
        return ArchivedValue{plist.isAboveSignedRange() ? "Q" : "q", QByteArray(reinterpret_cast<const char *>(&v), sizeof v)};
    }
    case PropertyList::Type::Real: {
        const double v = plist.doubleValue();
        return ArchivedValue{"d", QByteArray(reinterpret_cast<const char *>(&v), sizeof v)};
    }
    default: return std::nullopt;
    }
}

}   // namespace

ArchiveResult<QByteArray> archivedDataWithRootObject(const std::any &object)
{
    Archiver archiver;
    ArchiveResult<QByteArray> result;
    if (archiver.encodeRootObject(object))
        result.value = archiver.archivedData();
    else
        result.error = archiver.error();
    return result;
}

ArchiveResult<QByteArray> archivedDataWithRootObject(const PropertyList &plist)
{
    return archivedDataWithRootObject(std::any(plist));
}

ArchiveResult<QByteArray> archivedDataWithRootObject(const Color &color)
{
    return archivedDataWithRootObject(std::any(color));
}

ArchiveResult<QByteArray> archivedDataWithRootObject(const BezierPath &path)
{
    return archivedDataWithRootObject(std::any(path));
}

ArchiveResult<std::any> unarchiveObjectWithData(const QByteArray &data)
{
    Unarchiver unarchiver(data);
    std::any root;
    ArchiveResult<std::any> result;
    if (unarchiver.decodeRootObject(root))
        result.value = std::move(root);
    else
        result.error = unarchiver.error();
    result.notes = unarchiver.notes();
    return result;
}

ArchiveResult<PropertyList> unarchivePropertyListWithData(const QByteArray &data)
{
    ArchiveResult<std::any> root = unarchiveObjectWithData(data);
    if (root)
        if (auto plist = propertyListFromArchivedObject(*root.value))
            root.value = std::any(*plist);
    return rootOfKind<PropertyList>(root, "property-list value");
}

ArchiveResult<Color> unarchiveColorWithData(const QByteArray &data)
{
    return rootOfKind<Color>(unarchiveObjectWithData(data), "colour");
}

ArchiveResult<BezierPath> unarchiveBezierPathWithData(const QByteArray &data)
{
    return rootOfKind<BezierPath>(unarchiveObjectWithData(data), "Bezier path");
}

ArchiveResult<ArchivedImage> unarchiveImageWithData(const QByteArray &data)
{
    return rootOfKind<ArchivedImage>(unarchiveObjectWithData(data), "image");
}

ArchiveResult<ArchivedValue> unarchiveValueWithData(const QByteArray &data)
{
    const ArchiveResult<std::any> root = unarchiveObjectWithData(data);
    if (root) {
        if (const auto *plist = std::any_cast<PropertyList>(&*root.value)) {
            ArchiveResult<ArchivedValue> result;
            result.value = memoryFormOf(*plist);
            if (!result.value)
                result.error = QStringLiteral("the archive holds no value object");
            return result;
        }
    }
    return rootOfKind<ArchivedValue>(root, "value object");
}
