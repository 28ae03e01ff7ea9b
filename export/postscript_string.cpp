#include "export/postscript_string.h"

QByteArray postScriptStringBody(const QByteArray &bytes)
{
    QByteArray out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\\' || byte == '(' || byte == ')')
            out += '\\' + QByteArray(1, c);
        else if (byte < 32 || byte > 126)
            out += '\\' + QByteArray::number(byte, 8).rightJustified(3, '0');
        else
            out += c;
    }
    return out;
}
