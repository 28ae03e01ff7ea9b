// Base64, trimming and character references for the SVG importer.
#include "svg/svg_text_utilities.h"

#include <QHash>

namespace {

int base64Value(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= 'A' && u <= 'Z')
        return u - 'A';
    if (u >= 'a' && u <= 'z')
        return u - 'a' + 26;
    if (u >= '0' && u <= '9')
        return u - '0' + 52;
    if (u == '+')
        return 62;
    if (u == '/')
        return 63;
    if (u == '=')
        return -2;   // padding
    return -1;       // invalid
}

bool isSeparator(QChar c)
{
    return c == u'.' || c == u'-' || c == u' ' || c == u'\n' || c == u'\r' || c == u'\t';
}

void decodeGroup(const int *symbols, int count, QByteArray &out)
{
    if (count < 2 || symbols[0] < 0 || symbols[1] < 0)
        return;
    out.append(char((symbols[0] << 2) | (symbols[1] >> 4)));
    if (count < 3 || symbols[2] < 0)
        return;
    out.append(char(((symbols[1] & 0xF) << 4) | (symbols[2] >> 2)));
    if (count < 4 || symbols[3] < 0)
        return;
    out.append(char(((symbols[2] & 0x3) << 6) | symbols[3]));
}

bool isWhite(QChar c) { return c.isSpace(); }

} // namespace

QByteArray svgBase64(const QString &text)
{
    QByteArray out;
    out.reserve(text.size() * 3 / 4);
    int group[4];
    int count = 0;
    for (QChar c : text) {
        if (isSeparator(c))
            continue;
        group[count++] = base64Value(c);
        if (count == 4) {
            decodeGroup(group, 4, out);
            count = 0;
        }
    }
    // A final group of two or three symbols without padding reads as if it were padded.
    decodeGroup(group, count, out);
    return out;
}

QString strntrim(const QString &text, int maxLength)
{
    QString result = text.trimmed();
    if (maxLength > 0 && result.size() > maxLength)
        result.truncate(maxLength);
    for (QChar &c : result)
        if (isWhite(c))
            c = u' ';
    return result;
}

QString specialConvert(const QString &text)
{
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        const qsizetype amp = text.indexOf(u'&', i);
        if (amp < 0) {
            out.append(QStringView(text).mid(i));
            break;
        }
        out.append(QStringView(text).mid(i, amp - i));
        const qsizetype semi = text.indexOf(u';', amp + 1);
        if (semi < 0) {
            out.append(QStringView(text).mid(amp));
            break;
        }
        const qsizetype nextAmp = text.indexOf(u'&', amp + 1);
        if (nextAmp >= 0 && nextAmp < semi) {
            // A second "&" before the ";" abandons the first.
            out.append(QStringView(text).mid(amp, nextAmp - amp));
            i = nextAmp;
            continue;
        }
        out.append(specialCharacter(text.mid(amp + 1, semi - amp - 1)));
        i = semi + 1;
    }
    return out;
}

QString specialCharacter(const QString &name)
{
    const QString unchanged = QLatin1Char('&') + name + QLatin1Char(';');
    if (name.startsWith(u'#')) {
        bool ok = false;
        uint code = 0;
        if (name.size() > 2 && (name[1] == u'x' || name[1] == u'X'))
            code = name.mid(2).toUInt(&ok, 16);
        else if (name.size() > 1)
            code = name.mid(1).toUInt(&ok, 10);
        if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return unchanged;
        const char32_t c = char32_t(code);
        return QString::fromUcs4(&c, 1);
    }
    static const QHash<QString, char16_t> table = {
        {"amp", 0x26}, {"lt", 0x3C}, {"gt", 0x3E}, {"quot", 0x22}, {"circ", 0x2C6}, {"tilde", 0x2DC},
        {"nbsp", 0x20}, {"ensp", 0x2002}, {"emsp", 0x2003}, {"thinsp", 0x2009}, {"zwnj", 0x200C},
        {"zwj", 0x200D}, {"lrm", 0x200E}, {"rlm", 0x200F}, {"ndash", 0x2013}, {"mdash", 0x2014},
        {"lsquo", 0x2018}, {"rsquo", 0x2019}, {"sbquo", 0x201A}, {"ldquo", 0x201C}, {"rdquo", 0x201D},
        {"bdquo", 0x201E}, {"dagger", 0x2020}, {"Dagger", 0x2021}, {"permil", 0x2030}, {"lsaquo", 0x2039},
        {"rsaquo", 0x203A}, {"OElig", 0x152}, {"oelig", 0x153}, {"Scaron", 0x160}, {"scaron", 0x161},
        {"Yuml", 0x178}, {"copy", 0xA9}, {"reg", 0xAE}, {"bull", 0x2022}, {"hellip", 0x2026},
        {"prime", 0x2032}, {"Prime", 0x2033}, {"oline", 0x203E}, {"frasl", 0x2044}, {"weierp", 0x2118},
        {"image", 0x2111}, {"real", 0x211C}, {"trade", 0x2122}, {"alefsym", 0x2135}, {"larr", 0x2190},
        {"uarr", 0x2191}, {"rarr", 0x2192}, {"darr", 0x2193}, {"harr", 0x2194}, {"crarr", 0x21B5},
        {"lArr", 0x21D0}, {"uArr", 0x21D1}, {"rArr", 0x21D2}, {"dArr", 0x21D3}, {"hArr", 0x21D4},
        {"deg", 0xB0}, {"plusmn", 0xB1}, {"aelig", 0xE6}, {"eth", 0xF0},
    };
    const auto it = table.find(name);
    if (it == table.end())
        return unchanged;
    return QString(QChar(*it));
}
