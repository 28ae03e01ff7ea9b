// Writing objects as a typedstream.
#include "platform/foundation/archiver.h"

#include "platform/foundation/archive_coder_registry.h"
#include "platform/foundation/property_list.h"
#include "platform/foundation/typedstream_format.h"

#include <cstring>

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

}   // namespace

Archiver::Archiver() : Archiver(ArchiveCoderRegistry::shared().table()) {}

Archiver::Archiver(std::shared_ptr<const ArchiveCoderTable> coders) : m_coders(std::move(coders)) {}

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

void Archiver::writeSharedString(const QByteArray &text)
{
    auto it = m_sharedStrings.constFind(text);
    if (it != m_sharedStrings.constEnd()) {
        m_out.writeReferenceNumber(*it);
        return;
    }
    m_sharedStrings.insert(text, m_sharedStrings.size());
    m_out.writeTag(tagNew);
    m_out.writeInteger(text.size());
    m_out.writeBytes(text);
}

void Archiver::beginValue(const QByteArray &encoding)
{
    if (m_group.empty()) {
        writeSharedString(encoding);
        return;
    }
    if (m_groupPos >= m_group.size() || m_group[m_groupPos].text != encoding) {
        fail(QStringLiteral("value of type \"%1\" does not fit the group").arg(QString::fromLatin1(encoding)));
        return;
    }
    ++m_groupPos;
}

void Archiver::beginGroup(const QByteArray &types)
{
    auto parsed = parseTypeEncodings(types);
    if (!parsed || !m_group.empty()) {
        fail(QStringLiteral("bad group \"%1\"").arg(QString::fromLatin1(types)));
        return;
    }
    writeSharedString(types);
    m_group = std::move(*parsed);
    m_groupPos = 0;
}

void Archiver::endGroup()
{
    if (m_groupPos != m_group.size())
        fail(QStringLiteral("group left unfinished"));
    m_group.clear();
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
        const QByteArray name(c.name);
        auto known = m_classes.constFind(name);
        if (known != m_classes.constEnd()) {
            m_out.writeReferenceNumber(*known);   // a class written before ends the chain
            return;
        }
        m_out.writeTag(tagNew);
        m_classes.insert(name, m_nextObjectNumber++);
        writeSharedString(name);
        m_out.writeInteger(c.version);
    }
    m_out.writeTag(tagNil);
}

void Archiver::encodeObjectValue(const std::any &object)
{
    // Nil and strings are written here: nil needs no object, and equal strings share one.
    const auto *plist = std::any_cast<PropertyList>(&object);
    if (!object.has_value() || (plist && plist->isAbsent())) {
        m_out.writeTag(tagNil);
        return;
    }
    if (plist && plist->isString()) {
        encodeStringObjectValue(plist->stringValue());
        return;
    }
    auto encoder = m_coders->encoders.find(std::type_index(object.type()));
    if (encoder == m_coders->encoders.end()) {
        fail(QStringLiteral("no archive coder for values of type %1").arg(QLatin1String(object.type().name())));
        return;
    }
    // The object's own values form groups of their own, inside whatever group holds it.
    std::vector<TypeEncoding> outerGroup = std::move(m_group);
    const size_t outerPos = m_groupPos;
    const bool outerStarted = m_objectStarted;
    m_group.clear();
    m_objectStarted = false;
    if (!encoder->second(*this, object))
        fail(QStringLiteral("unarchivable value of type %1").arg(QLatin1String(object.type().name())));
    if (!m_objectStarted)
        fail(QStringLiteral("an archive coder wrote no object"));
    if (!m_group.empty())
        fail(QStringLiteral("an archive coder left a group open"));
    m_out.writeTag(tagEndOfObject);
    m_group = std::move(outerGroup);
    m_groupPos = outerPos;
    m_objectStarted = outerStarted;
}

void Archiver::encodeObject(const std::any &object)
{
    beginValue("@");
    encodeObjectValue(object);
}

void Archiver::encodeStringObject(const QString &string)
{
    beginValue("@");
    encodeStringObjectValue(string);
}

void Archiver::encodeStringObjectValue(const QString &string)
{
    auto known = m_stringObjects.constFind(string);
    if (known != m_stringObjects.constEnd()) {
        m_out.writeReferenceNumber(*known);
        return;
    }
    m_stringObjects.insert(string, m_nextObjectNumber);
    std::vector<TypeEncoding> outerGroup = std::move(m_group);
    const size_t outerPos = m_groupPos;
    const bool outerStarted = m_objectStarted;
    m_group.clear();
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
    beginValue(QByteArray(1, type));
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
    beginValue("[" + QByteArray::number(bytes.size()) + "c]");
    m_out.writeBytes(bytes);
}

void Archiver::encodeFloatArray(const std::vector<float> &values)
{
    beginValue("[" + QByteArray::number(qsizetype(values.size())) + "f]");
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
