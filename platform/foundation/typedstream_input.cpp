// Bounds-checked reading of typedstream bytes.
#include "platform/foundation/typedstream_input.h"

#include "platform/foundation/typedstream_format.h"

#include <cstring>

using namespace TypedStream;

bool TypedStreamInput::readHeader(QString *error)
{
    auto fail = [error](const char *message) {
        *error = QString::fromLatin1(message);
        return false;
    };
    if (m_data.size() < 2 + signatureLength)
        return fail("too short for a typedstream header");
    const auto version = quint8(m_data.at(0));
    if (version != streamerVersion)
        return fail("unsupported typedstream version");
    if (m_data.at(1) != signatureLength)
        return fail("not a typedstream (bad signature length)");
    const char *signature = m_data.constData() + 2;
    if (std::memcmp(signature, littleEndianSignature, signatureLength) == 0)
        m_bigEndian = false;
    else if (std::memcmp(signature, bigEndianSignature, signatureLength) == 0)
        m_bigEndian = true;
    else
        return fail("not a typedstream (bad signature)");
    m_pos = 2 + signatureLength;
    auto head = readHead();
    auto system = head ? readInteger(*head, true) : std::nullopt;
    if (!system)
        return fail("truncated typedstream header");
    m_systemVersion = int(*system);
    return true;
}

std::optional<int> TypedStreamInput::peekHead() const
{
    if (atEnd())
        return std::nullopt;
    return int(qint8(m_data.at(m_pos)));
}

std::optional<int> TypedStreamInput::readHead()
{
    auto head = peekHead();
    if (head)
        ++m_pos;
    return head;
}

std::optional<quint8> TypedStreamInput::readByte()
{
    if (atEnd())
        return std::nullopt;
    return quint8(m_data.at(m_pos++));
}

std::optional<quint64> TypedStreamInput::readFixed(int width)
{
    if (remaining() < width)
        return std::nullopt;
    const auto *bytes = reinterpret_cast<const uchar *>(m_data.constData() + m_pos);
    quint64 value = 0;
    for (int i = 0; i < width; ++i) {
        const int index = m_bigEndian ? i : width - 1 - i;
        value = (value << 8) | bytes[index];
    }
    m_pos += width;
    return value;
}

std::optional<qint64> TypedStreamInput::readInteger(int head, bool isUnsigned)
{
    if (!isTag(head))
        return isUnsigned ? qint64(head & 0xff) : qint64(head);
    int width = 0;
    switch (head) {
    case tagInteger2: width = 2; break;
    case tagInteger4: width = 4; break;
    case tagInteger8: width = 8; break;
    default: return std::nullopt;
    }
    auto raw = readFixed(width);
    if (!raw)
        return std::nullopt;
    if (width == 2)
        return isUnsigned ? qint64(quint16(*raw)) : qint64(qint16(quint16(*raw)));
    if (width == 4)
        return isUnsigned ? qint64(quint32(*raw)) : qint64(qint32(quint32(*raw)));
    return qint64(*raw);
}

std::optional<double> TypedStreamInput::readReal(int head, bool isDouble)
{
    if (head != tagFloat) {
        auto integer = readInteger(head, false);
        return integer ? std::optional<double>(double(*integer)) : std::nullopt;
    }
    auto raw = readFixed(isDouble ? 8 : 4);
    if (!raw)
        return std::nullopt;
    if (isDouble) {
        double d;
        std::memcpy(&d, &*raw, sizeof d);
        return d;
    }
    const auto bits = quint32(*raw);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return double(f);
}

std::optional<QByteArray> TypedStreamInput::readBytes(qint64 count)
{
    if (count < 0 || count > remaining())
        return std::nullopt;
    QByteArray bytes = m_data.mid(m_pos, count);
    m_pos += count;
    return bytes;
}
