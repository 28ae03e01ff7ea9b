// Code page decoding through iconv, with a cached table for the single-byte pages.
#include "platform/text/code_page.h"

#include <QHash>
#include <QMutex>

#include <array>
#include <iconv.h>

namespace {

QByteArray iconvName(int codePage)
{
    switch (codePage) {
    case 10000: return "MACINTOSH";
    case 10001: return "SHIFT_JIS";
    case 10006: return "MACGREEK";
    case 10007: return "MACCYRILLIC";
    case 10029: return "MACCENTRALEUROPE";
    case 437: return "CP437";
    case 850: return "CP850";
    case 65001: return "UTF-8";
    default: return "CP" + QByteArray::number(codePage);
    }
}

bool isMultiByte(int codePage)
{
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 || codePage == 10001
        || codePage == 65001;
}

// Decodes with iconv, skipping one byte as U+FFFD wherever the input does not convert.
QString iconvDecode(const QByteArray &bytes, const QByteArray &from)
{
    iconv_t cd = iconv_open("UTF-16LE", from.constData());
    if (cd == iconv_t(-1))
        cd = iconv_open("UTF-16LE", "CP1252");
    if (cd == iconv_t(-1))
        return QString::fromLatin1(bytes);
    QString result;
    QByteArray out(int(bytes.size()) * 4 + 8, '\0');
    char *in = const_cast<char *>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    while (inLeft > 0) {
        char *o = out.data();
        size_t outLeft = size_t(out.size());
        size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
        result.append(QString::fromUtf16(reinterpret_cast<const char16_t *>(out.constData()),
                                         qsizetype((size_t(out.size()) - outLeft) / 2)));
        if (r == size_t(-1) && inLeft > 0) {
            result.append(QChar(0xFFFD));
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return result;
}

const std::array<char16_t, 256> &singleByteTable(int codePage)
{
    static QMutex mutex;
    static QHash<int, std::array<char16_t, 256>> tables;
    QMutexLocker lock(&mutex);
    auto it = tables.find(codePage);
    if (it == tables.end()) {
        std::array<char16_t, 256> table{};
        for (int b = 0; b < 256; ++b) {
            QString s = iconvDecode(QByteArray(1, char(b)), iconvName(codePage));
            table[b] = s.size() == 1 ? s[0].unicode() : char16_t(0xFFFD);
        }
        it = tables.insert(codePage, table);
    }
    return *it;
}

} // namespace

QString decodeCodePage(const QByteArray &bytes, int codePage)
{
    if (isMultiByte(codePage))
        return iconvDecode(bytes, iconvName(codePage));
    const auto &table = singleByteTable(codePage);
    QString result(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        result[i] = QChar(table[uchar(bytes[i])]);
    return result;
}

std::optional<int> codePageOfCharset(int charset)
{
    switch (charset) {
    case 0: return 1252;
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    default: return std::nullopt;
    }
}

std::optional<unsigned char> encodeWindows1252(QChar c)
{
    if (c.unicode() < 0x80)
        return std::nullopt;
    static const QHash<char16_t, unsigned char> reverse = [] {
        QHash<char16_t, unsigned char> map;
        const auto &table = singleByteTable(1252);
        for (int b = 0x80; b < 256; ++b)
            if (table[b] != 0xFFFD)
                map.insert(table[b], uchar(b));
        return map;
    }();
    auto it = reverse.constFind(c.unicode());
    if (it == reverse.constEnd())
        return std::nullopt;
    return *it;
}
