// Writing of a little-endian typedstream's bytes: the header and the integers, reals and
// byte runs the format is made of.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <string>

class TypedStreamOutput {
public:
    TypedStreamOutput();   // starts with the header

    QByteArray data() const { return QByteArray(m_bytes.data(), qsizetype(m_bytes.size())); }

    void writeTag(int tag) { writeByte(quint8(tag)); }
    // The bytes collect in a standard string: appending one byte to it is a store, where a
    // QByteArray's append is a call, and an archive is written a byte at a time.
    void writeByte(quint8 byte) { m_bytes.push_back(char(byte)); }
    // One byte when the value lies outside the tag range, else a tag and 2, 4 or 8 bytes.
    void writeInteger(qint64 value);
    // A whole number as an integer, anything else as the float tag and 4 or 8 bytes.
    void writeFloat(float value);
    void writeDouble(double value);
    void writeBytes(QByteArrayView bytes) { m_bytes.append(bytes.data(), size_t(bytes.size())); }
    void writeReferenceNumber(qint64 number);

private:
    void writeFixed(quint64 value, int width);

    std::string m_bytes;
};
