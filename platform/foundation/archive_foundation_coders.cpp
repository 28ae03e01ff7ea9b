// Archive coders of the Foundation classes.
#include "platform/foundation/archive_foundation_coders.h"

#include "platform/foundation/archive_coder_registry.h"
#include "platform/foundation/archive_foundation_values.h"
#include "platform/foundation/archived_value.h"
#include "platform/foundation/archiver.h"
#include "platform/foundation/typedstream_format.h"
#include "platform/foundation/unarchiver.h"

#include <QTimeZone>
#include <QUrl>

#include <cstring>
#include <limits>

namespace {

// Seconds between the Unix epoch and the platform's reference date, 2001-01-01 UTC.
constexpr qint64 referenceDateOffset = 978307200;

bool isOneOf(const QByteArray &name, std::initializer_list<const char *> names)
{
    for (const char *n : names) {
        if (name == n)
            return true;
    }
    return false;
}

// The reals of a struct of reals, read from its bytes in memory.
std::vector<double> realsOf(const TypeEncoding &type, const QByteArray &bytes)
{
    std::vector<double> reals;
    qint64 offset = 0;
    auto load = [&](const TypeEncoding &field) {
        if (field.code == 'f') {
            float f = 0;
            std::memcpy(&f, bytes.constData() + offset, sizeof f);
            reals.push_back(f);
            offset += 4;
        } else {
            double d = 0;
            std::memcpy(&d, bytes.constData() + offset, sizeof d);
            reals.push_back(d);
            offset += 8;
        }
    };
    for (const TypeEncoding &field : type.fields) {
        if (field.code == '{') {
            for (const TypeEncoding &inner : field.fields)
                load(inner);
        } else {
            load(field);
        }
    }
    return reals;
}

bool isPointType(const TypeEncoding &t) { return isOneOf(t.name, {"_NSPoint", "NSPoint", "CGPoint"}) && t.isStructOfReals(2); }
bool isSizeType(const TypeEncoding &t) { return isOneOf(t.name, {"_NSSize", "NSSize", "CGSize"}) && t.isStructOfReals(2); }
bool isRectType(const TypeEncoding &t)
{
    return isOneOf(t.name, {"_NSRect", "NSRect", "CGRect"}) && t.fields.size() == 2 && isPointType(t.fields[0])
        && isSizeType(t.fields[1]) && t.fields[0].fields[0].code == t.fields[1].fields[0].code;
}

bool decodeString(Unarchiver &in, const ArchivedClass &, std::any &object)
{
    QByteArray utf8;
    if (!in.decodeBytes(utf8))
        return false;
    object = PropertyList(QString::fromUtf8(utf8));
    return true;
}

bool decodeData(Unarchiver &in, const ArchivedClass &, std::any &object)
{
    QByteArray bytes;
    if (!decodeDataObject(in, bytes))
        return false;
    object = PropertyList::fromData(bytes);
    return true;
}

// The most entries a dictionary being read makes room for before they are read.
constexpr qint64 MaxReservedEntries = 256;

bool decodeCount(Unarchiver &in, qint64 &count, int bytesPerElement)
{
    if (!in.decodeInt(count))
        return false;
    if (count < 0 || count > in.remainingBytes() / bytesPerElement)
        return in.fail(QStringLiteral("%1 elements announced, more than the archive can hold").arg(count));
    return true;
}

bool decodeArray(Unarchiver &in, const ArchivedClass &, std::any &object)
{
    qint64 count;
    if (!decodeCount(in, count, 1))
        return false;
    PropertyList array = PropertyList::array();
    for (qint64 i = 0; i < count; ++i) {
        const std::any *element;
        qint64 number;
        if (!in.decodeObjectInPlace(element, number))
            return false;
        if (auto plist = containerElement(in, *element))
            array.append(*plist);
    }
    object = array;
    return true;
}

bool decodeDictionary(Unarchiver &in, const ArchivedClass &, std::any &object)
{
    qint64 count;
    if (!decodeCount(in, count, 2))
        return false;
    // Room for the entries announced, within a bound: a hostile count only has to fit the
    // bytes left, which nested containers would all claim at once.
    const qint64 room = std::min<qint64>(count, MaxReservedEntries);
    PropertyList plist = PropertyList::dictionary(room);
    // Every entry as read is kept by its object number (the unarchiver holds the value) and
    // copied out only when the dictionary holds objects no property list holds.
    std::vector<std::pair<QString, qint64>> numbered;
    numbered.reserve(size_t(room));
    std::vector<std::any> unnumbered;   // nil values and references back, by -1 - number
    bool holdsOtherObjects = false;
    for (qint64 i = 0; i < count; ++i) {
        const std::any *key, *value;
        qint64 keyNumber, valueNumber;
        if (!in.decodeObjectInPlace(key, keyNumber))
            return false;
        auto keyList = propertyListFromArchivedObject(*key);
        // Read before the value: reading it moves what `key` points at.
        const QString name = keyList && keyList->isString() ? keyList->stringValue() : QString();
        if (!in.decodeObjectInPlace(value, valueNumber))
            return false;
        if (!keyList || !keyList->isString()) {
            in.addNote(QStringLiteral("left out a dictionary entry whose key is not a string"));
            continue;
        }
        if (auto element = containerElement(in, *value))
            plist.insert(name, *element);
        else
            holdsOtherObjects = holdsOtherObjects || value->has_value();
        if (valueNumber < 0) {
            unnumbered.push_back(*value);
            valueNumber = -qint64(unnumbered.size());
        }
        numbered.emplace_back(name, valueNumber);
    }
    if (!holdsOtherObjects) {
        object = std::move(plist);
        return true;
    }
    ObjectDictionary dictionary{std::move(plist), {}};
    dictionary.entries.reserve(numbered.size());
    for (const auto &[name, number] : numbered)
        dictionary.entries.emplace_back(name, number >= 0 ? in.objectNumbered(number) : unnumbered[size_t(-1 - number)]);
    object = std::move(dictionary);
    return true;
}

bool decodeValue(Unarchiver &in, const ArchivedClass &, std::any &object)
{
    QByteArray typeText;
    if (!in.decodeCString(typeText))
        return false;
    const TypeEncodings types = sharedTypeEncodings(typeText);
    if (!types || types->size() != 1)
        return in.fail(QStringLiteral("unsupported value type \"%1\"").arg(QString::fromLatin1(typeText)));
    const TypeEncoding &type = types->front();
    if (type.isInteger()) {
        const TypeEncoding *next = in.peekType();
        if (next && next->text != type.text)
            return in.fail(QStringLiteral("number of type \"%1\" holds a \"%2\"").arg(QString::fromLatin1(typeText), QString::fromLatin1(next->text)));
        qint64 value;
        if (!in.decodeInt(value))
            return false;
        const bool isBool = (type.code == 'c' || type.code == 'C' || type.code == 'B') && (value == 0 || value == 1);
        if (isBool)
            object = PropertyList::fromBool(value != 0);
        else if (type.code == 'Q')
            object = PropertyList::fromUnsigned(quint64(value));
        else
            object = PropertyList::fromInt(value);
        return true;
    }
    if (type.isFloat()) {
        const TypeEncoding *next = in.peekType();
        if (next && next->text != type.text)
            return in.fail(QStringLiteral("number of type \"%1\" holds a \"%2\"").arg(QString::fromLatin1(typeText), QString::fromLatin1(next->text)));
        double value;
        if (!in.decodeReal(value))
            return false;
        object = type.code == 'f' ? PropertyList::fromFloat(float(value)) : PropertyList::fromDouble(value);
        return true;
    }
    QByteArray bytes;
    if (!in.decodeValueOfType(type, bytes))
        return false;
    if (isPointType(type)) {
        const auto r = realsOf(type, bytes);
        object = PropertyList::fromPoint({float(r[0]), float(r[1])});
    } else if (isSizeType(type)) {
        const auto r = realsOf(type, bytes);
        object = PropertyList::fromSize({float(r[0]), float(r[1])});
    } else if (isRectType(type)) {
        const auto r = realsOf(type, bytes);
        object = PropertyList::fromRect(Rect(float(r[0]), float(r[1]), float(r[2]), float(r[3])));
    } else {
        object = ArchivedValue{typeText, bytes};
    }
    return true;
}

bool decodeDate(Unarchiver &in, const ArchivedClass &, std::any &object)
{
    double seconds;
    if (!in.decodeReal(seconds))
        return false;
    const double ms = (seconds + double(referenceDateOffset)) * 1000.0;
    if (!(ms > -8.0e15 && ms < 8.0e15))
        return in.fail(QStringLiteral("date out of range"));
    const QDateTime date = QDateTime::fromMSecsSinceEpoch(qint64(ms), QTimeZone::utc());
    if (!date.isValid())
        return in.fail(QStringLiteral("date out of range"));
    object = PropertyList::fromDate(date);
    return true;
}

template <typename T>
QByteArray bytesOf(std::initializer_list<T> values)
{
    QByteArray bytes;
    for (T v : values)
        bytes.append(reinterpret_cast<const char *>(&v), sizeof v);
    return bytes;
}

void encodeStruct(Archiver &out, const char *typeText, const QByteArray &bytes)
{
    out.beginObject({{"NSValue", 0}, {"NSObject", 0}});
    out.encodeCString(typeText);
    out.encodeValueOfType(parseTypeEncodings(typeText)->front(), bytes);
}

}   // namespace

bool writePropertyListObject(Archiver &out, const PropertyList &plist)
{
    using Type = PropertyList::Type;
    switch (plist.type()) {
    case Type::Integer: {
        if (plist.isAboveSignedRange()) {
            // Written as the platform writes an unsigned long long: its bits, signed.
            out.beginObject({{"NSNumber", 0}, {"NSValue", 0}, {"NSObject", 0}});
            out.encodeCString("Q");
            out.encodeInt(qint64(plist.unsignedLongLongValue()), 'Q');
            return true;
        }
        const qint64 v = plist.longLongValue();
        const bool fits32 = v >= std::numeric_limits<qint32>::min() && v <= std::numeric_limits<qint32>::max();
        out.beginObject({{"NSNumber", 0}, {"NSValue", 0}, {"NSObject", 0}});
        out.encodeCString(fits32 ? "i" : "q");
        out.encodeInt(v, fits32 ? 'i' : 'q');
        return true;
    }
    case Type::Real:
        out.beginObject({{"NSNumber", 0}, {"NSValue", 0}, {"NSObject", 0}});
        if (plist.isSinglePrecision()) {
            out.encodeCString("f");
            out.encodeFloat(plist.floatValue());
        } else {
            out.encodeCString("d");
            out.encodeDouble(plist.doubleValue());
        }
        return true;
    case Type::Bool:
        out.beginObject({{"NSNumber", 0}, {"NSValue", 0}, {"NSObject", 0}});
        out.encodeCString("c");
        out.encodeInt(plist.boolValue() ? 1 : 0, 'c');
        return true;
    case Type::Data:
        out.beginObject({{"NSData", 0}, {"NSObject", 0}});
        encodeDataObject(out, plist.dataValue());
        return true;
    case Type::Date:
        out.beginObject({{"NSDate", 0}, {"NSObject", 0}});
        out.encodeDouble(double(plist.dateValue().toMSecsSinceEpoch()) / 1000.0 - double(referenceDateOffset));
        return true;
    case Type::Point: {
        const Point p = plist.pointValue();
        encodeStruct(out, "{_NSPoint=ff}", bytesOf<float>({p.x, p.y}));
        return true;
    }
    case Type::Size: {
        const Size s = plist.sizeValue();
        encodeStruct(out, "{_NSSize=ff}", bytesOf<float>({s.width, s.height}));
        return true;
    }
    case Type::Rect: {
        const Rect r = plist.rectValue();
        encodeStruct(out, "{_NSRect={_NSPoint=ff}{_NSSize=ff}}",
                     bytesOf<float>({r.origin.x, r.origin.y, r.size.width, r.size.height}));
        return true;
    }
    case Type::Array:
        out.beginObject({{"NSArray", 0}, {"NSObject", 0}});
        out.encodeInt(plist.count());
        for (const PropertyList &element : plist.elements())
            out.encodePropertyListObject(element);
        return true;
    case Type::Dictionary:
        out.beginObject({{"NSDictionary", 0}, {"NSObject", 0}});
        out.encodeInt(plist.count());
        for (const PropertyList::Entry &entry : plist.entries()) {
            out.encodeStringObject(entry.first);
            out.encodePropertyListObject(entry.second);
        }
        return true;
    case Type::Absent:
    case Type::String:
        break;   // the archiver writes nil and strings itself
    }
    return out.fail(QStringLiteral("unexpected property-list value"));
}

namespace {

bool encodeArchivedValue(Archiver &out, const ArchivedValue &value)
{
    auto types = parseTypeEncodings(value.objCType);
    if (!types || types->size() != 1)
        return out.fail(QStringLiteral("unsupported value type \"%1\"").arg(QString::fromLatin1(value.objCType)));
    out.beginObject({{"NSValue", 0}, {"NSObject", 0}});
    out.encodeCString(value.objCType);
    out.encodeValueOfType(types->front(), value.bytes);
    return !out.failed();
}

}   // namespace

std::optional<PropertyList> propertyListFromArchivedObject(const std::any &object)
{
    if (const auto *plist = std::any_cast<PropertyList>(&object))
        return *plist;
    if (const auto *set = std::any_cast<ArchivedSet>(&object))
        return set->elements;
    if (const auto *dictionary = std::any_cast<ObjectDictionary>(&object))
        return dictionary->plist;
    if (const auto *url = std::any_cast<QUrl>(&object))
        return PropertyList(url->toString(QUrl::FullyEncoded));
    return std::nullopt;
}

std::optional<PropertyList> containerElement(Unarchiver &in, const std::any &element)
{
    auto plist = propertyListFromArchivedObject(element);
    if (plist && !plist->isAbsent())
        return plist;
    if (const auto *unsupported = std::any_cast<UnsupportedObject>(&element))
        in.addNote(QStringLiteral("left out an object of the unsupported class %1")
                       .arg(QString::fromLatin1(unsupported->className)));
    else if (const auto *back = std::any_cast<BackReference>(&element))
        in.addNote(QStringLiteral("left out a reference back to the enclosing %1")
                       .arg(QString::fromLatin1(back->className)));
    else if (const auto *value = std::any_cast<ArchivedValue>(&element))
        in.addNote(QStringLiteral("left out a value of type %1").arg(QString::fromLatin1(value->objCType)));
    else if (std::any_cast<ArchivedNull>(&element))
        in.addNote(QStringLiteral("left out a null"));
    else if (!element.has_value())
        in.addNote(QStringLiteral("left out a nil element"));
    else
        in.addNote(QStringLiteral("left out an object that is no property-list value"));
    return std::nullopt;
}

bool decodeStringObject(Unarchiver &in, QString &string)
{
    std::any object;
    if (!in.decodeObject(object))
        return false;
    auto plist = propertyListFromArchivedObject(object);
    if (!plist || !plist->isString())
        return in.fail(QStringLiteral("string expected"));
    string = plist->stringValue();
    return true;
}

bool decodeDataObject(Unarchiver &in, QByteArray &bytes)
{
    qint64 length;
    if (!in.decodeInt(length) || !in.decodeByteArray(bytes))
        return false;
    if (length != bytes.size())
        return in.fail(QStringLiteral("data length %1 does not match its %2 bytes").arg(length).arg(bytes.size()));
    return true;
}

void encodeDataObject(Archiver &out, const QByteArray &bytes)
{
    out.encodeInt(bytes.size());
    out.encodeByteArray(bytes);
}

void registerFoundationCoders(ArchiveCoderRegistry &registry)
{
    for (const char *name : {"NSString", "NSMutableString"})
        registry.registerDecoder(name, decodeString);
    for (const char *name : {"NSData", "NSMutableData"})
        registry.registerDecoder(name, decodeData);
    for (const char *name : {"NSArray", "NSMutableArray"})
        registry.registerDecoder(name, decodeArray);
    for (const char *name : {"NSDictionary", "NSMutableDictionary"})
        registry.registerDecoder(name, decodeDictionary);
    for (const char *name : {"NSNumber", "NSValue"})
        registry.registerDecoder(name, decodeValue);
    registry.registerDecoder("NSDate", decodeDate);
    registry.registerEncoder<ArchivedValue>(encodeArchivedValue);
}
