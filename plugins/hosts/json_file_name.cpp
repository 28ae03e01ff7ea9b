#include "plugins/hosts/json_file_name.h"

#include <QString>

namespace {

// The length of the UTF-8 character at `at`, or 0 when the byte there starts none. The
// shortest sequence that decoding and encoding again gives back is that one character (a
// shorter one would have been a character of its own).
qsizetype characterLength(const QByteArray &name, qsizetype at)
{
    for (qsizetype length = 1; length <= 4 && at + length <= name.size(); ++length) {
        const QByteArray sequence = name.mid(at, length);
        if (QString::fromUtf8(sequence).toUtf8() == sequence)
            return length;
    }
    return 0;
}

} // namespace

QByteArray jsonStringOfFileName(const QByteArray &name)
{
    QByteArray json = "\"";
    for (qsizetype at = 0; at < name.size();) {
        const qsizetype length = characterLength(name, at);
        const auto byte = uchar(name.at(at));
        if (length == 0) {
            json += "\\udc" + QByteArray::number(byte, 16).rightJustified(2, '0');
            at += 1;
            continue;
        }
        if (byte == '"' || byte == '\\')
            json += '\\' + name.mid(at, 1);
        else if (byte < 0x20)
            json += "\\u00" + QByteArray::number(byte, 16).rightJustified(2, '0');
        else
            json += name.mid(at, length);
        at += length;
    }
    return json + '"';
}
