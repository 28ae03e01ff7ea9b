// Bounds-checked reading of a typedstream's bytes: the header and the integers, reals and
// byte runs the format is made of, in the stream's byte order.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class TypedStreamInput {
public:
    explicit TypedStreamInput(const QByteArray &data) : m_data(data) {}

    // Reads the streamer version, signature and system version; sets the byte order.
    bool readHeader(QString *error);
    bool isBigEndian() const { return m_bigEndian; }
    int systemVersion() const { return m_systemVersion; }

    qsizetype position() const { return m_pos; }
    qsizetype remaining() const { return m_data.size() - m_pos; }
    bool atEnd() const { return m_pos >= m_data.size(); }

    // One byte as a signed value (-128..127), as tags and heads are compared.
    std::optional<int> peekHead() const;
    std::optional<int> readHead();
    std::optional<quint8> readByte();
    // An integer whose head byte was already read: a literal byte, or a tag and 2, 4 or 8
    // bytes. `isUnsigned` reads the bytes as unsigned, as lengths and the header's version
    // are read; values of unsigned types are read signed (see Unarchiver).
    std::optional<qint64> readInteger(int head, bool isUnsigned);
    // A float or double whose head byte was already read: the float tag and 4 or 8 bytes,
    // or an integer.
    std::optional<double> readReal(int head, bool isDouble);
    std::optional<QByteArray> readBytes(qint64 count);

private:
    std::optional<quint64> readFixed(int width);

    const QByteArray &m_data;
    qsizetype m_pos = 0;
    bool m_bigEndian = false;
    int m_systemVersion = 0;
};
