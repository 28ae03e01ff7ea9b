// Writing of a little-endian typedstream's bytes: the header and the integers, reals and
// byte runs the format is made of.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <algorithm>

class TypedStreamOutput {
public:
    TypedStreamOutput();   // starts with the header

    const QByteArray &data() const { return m_data; }

    void writeTag(int tag) { writeByte(quint8(tag)); }
    void writeByte(quint8 byte)
    {
        reserveFor(1);
        m_data.append(char(byte));
    }
    // One byte when the value lies outside the tag range, else a tag and 2, 4 or 8 bytes.
    void writeInteger(qint64 value);
    // A whole number as an integer, anything else as the float tag and 4 or 8 bytes.
    void writeFloat(float value);
    void writeDouble(double value);
    void writeBytes(QByteArrayView bytes)
    {
        reserveFor(bytes.size());
        m_data.append(bytes);
    }
    void writeReferenceNumber(qint64 number);

private:
    void writeFixed(quint64 value, int width);
    // Grows the buffer geometrically: appending a run of bytes alone may grow it only by
    // what it needs, which makes writing large archives quadratic.
    void reserveFor(qsizetype more)
    {
        if (m_data.size() + more > m_data.capacity())
            m_data.reserve(std::max(2 * m_data.capacity(), m_data.size() + more));
    }

    QByteArray m_data;
};
