// Writing objects as a typedstream.
#include "platform/foundation/archiver.h"

#include "platform/foundation/archive_coder_registry.h"
#include "platform/foundation/archive_foundation_coders.h"
#include "platform/foundation/property_list.h"
#include "platform/foundation/typedstream_format.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

using namespace TypedStream;

namespace {

template <typename T>
T loadScalar(const QByteArray &bytes, qint64 offset)
{
    T value{};
    if (offset >= 0 && offset + qint64(sizeof value) <= bytes.size())
        std::memcpy(&value, bytes.constData() + offset, sizeof value);
    return value;
}

// "[Nc]" or "[Nf]" for an array of `count` values of type `element`, in `buffer`.
QByteArrayView arrayEncoding(char (&buffer)[32], qsizetype count, char element)
{
    const int length = std::snprintf(buffer, sizeof buffer, "[%lld%c]", static_cast<long long>(count), element);
    return QByteArrayView(buffer, length);
}

}   // namespace

Archiver::Archiver() : Archiver(ArchiveCoderRegistry::shared().table()) {}

Archiver::Archiver(std::shared_ptr<const ArchiveCoderTable> coders) : m_coders(std::move(coders))
{
    std::fill(std::begin(m_singleCharStrings), std::end(m_singleCharStrings), -1);
}

Archiver::~Archiver() = default;

bool Archiver::fail(const QString &message)
{
    if (m_error.isEmpty())
        m_error = message;
    return false;
}

bool Archiver::encodeRootObject(const std::any &object)
{
    encodeObject(object);
    return !failed();
}

void Archiver::writeSharedString(QByteArrayView text)
{
    // Nearly every value's type encoding is one character: those are found without hashing.
    const bool single = text.size() == 1 && uchar(text.front()) < std::size(m_singleCharStrings);
    if (single && m_singleCharStrings[uchar(text.front())] >= 0) {
        m_out.writeReferenceNumber(m_singleCharStrings[uchar(text.front())]);
        return;
    }
    const std::string_view view(text.data(), size_t(text.size()));
    if (const auto number = single ? std::nullopt : m_sharedStrings.find(view)) {
        m_out.writeReferenceNumber(*number);
        return;
    }
    if (single)
        m_singleCharStrings[uchar(text.front())] = m_sharedStrings.size();
    m_sharedStrings.insert(view, m_sharedStrings.size());
    m_out.writeTag(tagNew);
    m_out.writeInteger(text.size());
    m_out.writeBytes(text);
}

void Archiver::beginValue(QByteArrayView encoding)
{
    if (!m_group) {
        writeSharedString(encoding);
        return;
    }
    if (m_groupPos >= m_group->size() || (*m_group)[m_groupPos].text != encoding) {
        fail(QStringLiteral("value of type \"%1\" does not fit the group").arg(QString::fromLatin1(encoding)));
        return;
    }
    ++m_groupPos;
}

void Archiver::beginGroup(QByteArrayView types)
{
    // Coders write the same group over and over ("cff" for every point of a path).
    if (!m_lastGroup || m_lastGroupText != types) {
        m_lastGroup = sharedTypeEncodings(types);
        m_lastGroupText = types.toByteArray();
    }
    TypeEncodings parsed = m_lastGroup;
    if (!parsed || m_group) {
        fail(QStringLiteral("bad group \"%1\"").arg(QString::fromLatin1(types)));
        return;
    }
    writeSharedString(types);
    m_group = std::move(parsed);
    m_groupPos = 0;
}

void Archiver::endGroup()
{
    if (!m_group || m_groupPos != m_group->size())
        fail(QStringLiteral("group left unfinished"));
    m_group.reset();
    m_groupPos = 0;
}

void Archiver::beginObject(std::initializer_list<ClassVersion> chain)
{
    if (m_objectStarted) {
        fail(QStringLiteral("an archive coder began two objects"));
        return;
    }
    m_objectStarted = true;
    m_out.writeTag(tagNew);
    ++m_nextObjectNumber;
    for (const ClassVersion &c : chain) {
        const std::string_view name(c.name);
        if (const auto known = m_classes.find(name)) {
            m_out.writeReferenceNumber(*known);   // a class written before ends the chain
            return;
        }
        m_out.writeTag(tagNew);
        m_classes.insert(name, m_nextObjectNumber++);
        writeSharedString(QByteArrayView(name.data(), qsizetype(name.size())));
        m_out.writeInteger(c.version);
    }
    m_out.writeTag(tagNil);
}

void Archiver::encodeObjectValue(const std::any &object)
{
    if (!object.has_value()) {
        m_out.writeTag(tagNil);
        return;
    }
    if (const auto *plist = std::any_cast<PropertyList>(&object)) {
        encodePropertyListValue(*plist);
        return;
    }
    // Containers hold values of one type: the last encoder found is asked first.
    if (!m_lastEncoder || *m_lastEncodedType != object.type()) {
        const auto found = m_coders->encoders.find(std::type_index(object.type()));
        if (found == m_coders->encoders.end()) {
            fail(QStringLiteral("no archive coder for values of type %1").arg(QLatin1String(object.type().name())));
            return;
        }
        m_lastEncodedType = &object.type();
        m_lastEncoder = &found->second;
    }
    const ObjectEncoder &encode = *m_lastEncoder;
    writeObject([&] { return encode(*this, object); }, object.type().name());
}

void Archiver::encodePropertyListValue(const PropertyList &plist)
{
    // Nil and strings are written here: nil needs no object, and equal strings share one.
    if (plist.isAbsent()) {
        m_out.writeTag(tagNil);
        return;
    }
    if (plist.isString()) {
        encodeStringObjectValue(plist.stringValue());
        return;
    }
    // An array's or dictionary's elements lie in storage its copies share until one of them
    // changes: the same storage is the same container.
    const void *storage = plist.isArray()        ? static_cast<const void *>(&plist.elements())
                          : plist.isDictionary() ? static_cast<const void *>(&plist.entries())
                                                 : nullptr;
    if (storage) {
        if (const auto written = m_containerObjects.find(storage); written != m_containerObjects.end()) {
            m_out.writeReferenceNumber(written->second.first);
            return;
        }
    }
    SharingKey sharing;
    if (const auto number = sharedObjectNumber(plist, sharing)) {
        m_out.writeReferenceNumber(*number);
        return;
    }
    const qint64 objectNumber = m_nextObjectNumber;
    // Property lists are most of what is archived: they go to their coder without being
    // wrapped in a std::any (an allocation for every element of every container).
    writeObject([&] { return writePropertyListObject(*this, plist); }, "PropertyList");
    if (sharing.table)
        sharing.table->insert(sharing.key, objectNumber);
    // Recorded once complete: a container cannot hold itself, so no reference is written
    // to one whose values are still being written.
    if (storage)
        m_containerObjects.emplace(storage, std::pair(objectNumber, plist));
}

template <typename Encode>
void Archiver::writeObject(const Encode &encode, const char *typeName)
{
    // The object's own values form groups of their own, inside whatever group holds it.
    TypeEncodings outerGroup = std::move(m_group);
    const size_t outerPos = m_groupPos;
    const bool outerStarted = m_objectStarted;
    m_group.reset();
    m_objectStarted = false;
    if (!encode())
        fail(QStringLiteral("unarchivable value of type %1").arg(QLatin1String(typeName)));
    if (!m_objectStarted)
        fail(QStringLiteral("an archive coder wrote no object"));
    if (m_group)
        fail(QStringLiteral("an archive coder left a group open"));
    m_out.writeTag(tagEndOfObject);
    m_group = std::move(outerGroup);
    m_groupPos = outerPos;
    m_objectStarted = outerStarted;
}

std::optional<qint64> Archiver::sharedObjectNumber(const PropertyList &plist, SharingKey &sharing)
{
    // Equal data and numbers are written once and referred to afterwards, as equal strings
    // are: documents repeat colours and settings in every object. Any reader of the format
    // reads a reference to an object written before.
    if (plist.isData()) {
        const QByteArray bytes = plist.dataValue();
        if (const auto known = m_dataObjects.find(FirstSeenNumbers<QByteArray>::viewOf(bytes)))
            return known;
        sharing = {&m_dataObjects, bytes};
        return std::nullopt;
    }
    if (!plist.isNumber())
        return std::nullopt;
    // The kind (a real remembers float or double) and the value's bits.
    char key[1 + sizeof(quint64)];
    quint64 bits = plist.unsignedLongLongValue();
    switch (plist.type()) {
    case PropertyList::Type::Integer: key[0] = plist.isAboveSignedRange() ? 'Q' : 'q'; break;
    case PropertyList::Type::Bool: key[0] = 'B'; break;
    default: {
        const double real = plist.doubleValue();
        std::memcpy(&bits, &real, sizeof bits);
        key[0] = plist.isSinglePrecision() ? 'f' : 'd';
        break;
    }
    }
    std::memcpy(key + 1, &bits, sizeof bits);
    const std::string_view view(key, sizeof key);
    if (const auto known = m_numberObjects.find(view))
        return known;
    sharing = {&m_numberObjects, QByteArray(key, sizeof key)};
    return std::nullopt;
}

void Archiver::encodeObject(const std::any &object)
{
    beginValue("@");
    encodeObjectValue(object);
}

void Archiver::encodePropertyListObject(const PropertyList &value)
{
    beginValue("@");
    encodePropertyListValue(value);
}

void Archiver::encodeStringObject(const QString &string)
{
    beginValue("@");
    encodeStringObjectValue(string);
}

void Archiver::encodeStringObjectValue(const QString &string)
{
    const auto view = FirstSeenNumbers<QString>::viewOf(string);
    if (const auto known = m_stringObjects.find(view)) {
        m_out.writeReferenceNumber(*known);
        return;
    }
    m_stringObjects.insert(view, m_nextObjectNumber);
    TypeEncodings outerGroup = std::move(m_group);
    const size_t outerPos = m_groupPos;
    const bool outerStarted = m_objectStarted;
    m_group.reset();
    m_objectStarted = false;
    beginObject({{"NSString", 1}, {"NSObject", 0}});
    encodeBytes(string.toUtf8());
    m_out.writeTag(tagEndOfObject);
    m_group = std::move(outerGroup);
    m_groupPos = outerPos;
    m_objectStarted = outerStarted;
}

void Archiver::encodeInt(qint64 value, char type)
{
    beginValue(QByteArrayView(&type, 1));
    if (type == 'c' || type == 'C' || type == 'B')
        m_out.writeByte(quint8(value));   // chars and bools are one literal byte
    else
        m_out.writeInteger(value);
}

void Archiver::encodeFloat(float value)
{
    beginValue("f");
    m_out.writeFloat(value);
}

void Archiver::encodeDouble(double value)
{
    beginValue("d");
    m_out.writeDouble(value);
}

void Archiver::encodeBytes(const QByteArray &bytes)
{
    beginValue("+");
    m_out.writeInteger(bytes.size());
    m_out.writeBytes(bytes);
}

void Archiver::encodeCString(const QByteArray &string)
{
    beginValue("*");
    m_out.writeTag(tagNew);
    ++m_nextObjectNumber;
    writeSharedString(string);
}

void Archiver::encodeByteArray(const QByteArray &bytes)
{
    char encoding[32];
    beginValue(arrayEncoding(encoding, bytes.size(), 'c'));
    m_out.writeBytes(bytes);
}

void Archiver::encodeFloatArray(const std::vector<float> &values)
{
    char encoding[32];
    beginValue(arrayEncoding(encoding, qsizetype(values.size()), 'f'));
    for (float v : values)
        m_out.writeFloat(v);
}

void Archiver::writeRawValue(const TypeEncoding &type, const QByteArray &bytes, qint64 offset)
{
    switch (type.code) {
    case 'c': case 'C': case 'B': m_out.writeByte(loadScalar<quint8>(bytes, offset)); return;
    case 's': m_out.writeInteger(loadScalar<qint16>(bytes, offset)); return;
    case 'S': m_out.writeInteger(loadScalar<quint16>(bytes, offset)); return;
    case 'i': case 'l': m_out.writeInteger(loadScalar<qint32>(bytes, offset)); return;
    case 'I': case 'L': m_out.writeInteger(loadScalar<quint32>(bytes, offset)); return;
    case 'q': case 'Q': m_out.writeInteger(loadScalar<qint64>(bytes, offset)); return;
    case 'f': m_out.writeFloat(loadScalar<float>(bytes, offset)); return;
    case 'd': m_out.writeDouble(loadScalar<double>(bytes, offset)); return;
    case '[': {
        const TypeEncoding &element = type.fields.front();
        const qint64 step = valueSizeOf(element, bytes.size()).value_or(0);
        for (qint64 i = 0; i < type.count; ++i)
            writeRawValue(element, bytes, offset + i * step);
        return;
    }
    case '{': {
        qint64 fieldOffset = 0;
        for (const TypeEncoding &field : type.fields) {
            const int align = valueAlignmentOf(field);
            fieldOffset = (fieldOffset + align - 1) / align * align;
            writeRawValue(field, bytes, offset + fieldOffset);
            fieldOffset += valueSizeOf(field, bytes.size()).value_or(0);
        }
        return;
    }
    default:
        fail(QStringLiteral("unsupported value type \"%1\"").arg(QString::fromLatin1(type.text)));
    }
}

void Archiver::encodeValueOfType(const TypeEncoding &type, const QByteArray &bytes)
{
    auto size = valueSizeOf(type, bytes.size());
    if (!size || *size != bytes.size()) {
        fail(QStringLiteral("value bytes do not match type \"%1\"").arg(QString::fromLatin1(type.text)));
        return;
    }
    beginValue(type.text);
    writeRawValue(type, bytes, 0);
}
