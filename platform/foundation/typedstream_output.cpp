// Writing of little-endian typedstream bytes.
#include "platform/foundation/typedstream_output.h"

#include "platform/foundation/typedstream_format.h"

#include <cstring>
#include <limits>

using namespace TypedStream;

namespace {

// Whether a real holds a whole number that the integer form carries exactly.
bool isWholeInt32(double value)
{
    return value >= double(std::numeric_limits<qint32>::min()) && value <= double(std::numeric_limits<qint32>::max())
        && double(qint32(value)) == value;
}

}   // namespace

TypedStreamOutput::TypedStreamOutput()
{
    m_bytes.reserve(256);   // enough for a colour or a short path without growing
    writeByte(streamerVersion);
    writeByte(signatureLength);
    writeBytes(QByteArray(littleEndianSignature, signatureLength));
    writeInteger(systemVersion);
}

void TypedStreamOutput::writeFixed(quint64 value, int width)
{
    for (int i = 0; i < width; ++i)
        writeByte(quint8((value >> (8 * i)) & 0xff));
}

void TypedStreamOutput::writeInteger(qint64 value)
{
    if (value >= firstReferenceNumber && value <= 127) {
        writeByte(quint8(value));
    } else if (value >= std::numeric_limits<qint16>::min() && value <= std::numeric_limits<qint16>::max()) {
        writeTag(tagInteger2);
        writeFixed(quint64(value), 2);
    } else if (value >= std::numeric_limits<qint32>::min() && value <= std::numeric_limits<qint32>::max()) {
        writeTag(tagInteger4);
        writeFixed(quint64(value), 4);
    } else {
        writeTag(tagInteger8);
        writeFixed(quint64(value), 8);
    }
}

void TypedStreamOutput::writeFloat(float value)
{
    if (isWholeInt32(value)) {
        writeInteger(qint32(value));
        return;
    }
    quint32 bits;
    std::memcpy(&bits, &value, sizeof bits);
    writeTag(tagFloat);
    writeFixed(bits, 4);
}

void TypedStreamOutput::writeDouble(double value)
{
    if (isWholeInt32(value)) {
        writeInteger(qint32(value));
        return;
    }
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    writeTag(tagFloat);
    writeFixed(bits, 8);
}

void TypedStreamOutput::writeReferenceNumber(qint64 number)
{
    writeInteger(number + firstReferenceNumber);
}
