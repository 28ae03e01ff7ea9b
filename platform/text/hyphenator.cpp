// libhyphen dictionaries, loaded once per language.
#include "platform/text/hyphenator.h"

#include <QFile>
#include <QHash>
#include <QMutex>

#include <hyphen.h>

#include <algorithm>
#include <cstdlib>

namespace {

struct Dictionary {
    HyphenDict *dict = nullptr;
    bool utf8 = true;
};

// The dictionaries loaded so far, kept for the life of the process and freed at its exit
// (so that leak checkers see none).
struct LoadedDictionaries : QHash<QString, Dictionary> {
    ~LoadedDictionaries()
    {
        for (const Dictionary &d : std::as_const(*this))
            if (d.dict)
                hnj_hyphen_free(d.dict);
    }
};

Dictionary dictionaryFor(const QString &language)
{
    static QMutex mutex;
    static LoadedDictionaries loaded;
    QMutexLocker lock(&mutex);
    auto it = loaded.constFind(language);
    if (it != loaded.constEnd())
        return *it;
    Dictionary d;
    for (const QString &name : {language, language.section(u'_', 0, 0)}) {
        QString path = QStringLiteral("/usr/share/hyphen/hyph_%1.dic").arg(name);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        d.utf8 = file.readLine().trimmed().toUpper() == "UTF-8";
        d.dict = hnj_hyphen_load(QFile::encodeName(path).constData());
        if (d.dict)
            break;
    }
    loaded.insert(language, d);
    return d;
}

} // namespace

QList<int> hyphenationPoints(const QString &word, const QString &language)
{
    QList<int> points;
    if (word.size() < 2 || word.size() > 100)
        return points;
    Dictionary d = dictionaryFor(language);
    if (!d.dict)
        return points;
    // Byte offsets of the encoded word, mapped back to UTF-16 offsets.
    QString lower = word.toLower();
    QByteArray bytes;
    QList<int> offsetOfByte;
    for (int i = 0; i < lower.size(); ++i) {
        QByteArray c = d.utf8 ? QString(lower[i]).toUtf8() : QString(lower[i]).toLatin1();
        if (lower[i].isHighSurrogate() && i + 1 < lower.size()) {
            c = lower.mid(i, 2).toUtf8();
            for (int k = 0; k < c.size(); ++k)
                offsetOfByte.append(i + 1);
            bytes += c;
            ++i;
            continue;
        }
        for (int k = 0; k < c.size(); ++k)
            offsetOfByte.append(i);
        bytes += c;
    }
    QByteArray hyphens(bytes.size() + 5, '\0');
    char **rep = nullptr;
    int *pos = nullptr;
    int *cut = nullptr;
    // At least two letters before a break and three after it.
    if (hnj_hyphen_hyphenate3(d.dict, bytes.constData(), int(bytes.size()), hyphens.data(), nullptr, &rep, &pos, &cut,
                              2, 3, 2, 2)
        == 0) {
        for (int b = 0; b < bytes.size() - 1; ++b) {
            // An odd digit after byte b allows a break after the character it ends.
            bool lastByteOfChar = offsetOfByte[b] != offsetOfByte[b + 1];
            if ((hyphens[b] & 1) && lastByteOfChar)
                points.append(offsetOfByte[b] + 1);
        }
    }
    if (rep) {
        for (int i = 0; i < bytes.size(); ++i)
            std::free(rep[i]);
        std::free(rep);
        std::free(pos);
        std::free(cut);
    }
    return points;
}

int lineBreakByHyphenatingBeforeIndex(const QString &text, int index, TextRange range, const QString &language)
{
    range = intersectionRange(range, {0, int(text.size())});
    index = std::min(index, range.end());
    if (index <= range.location || !text[index - 1].isLetter())
        return -1;
    int start = index - 1;
    while (start > range.location && text[start - 1].isLetter())
        --start;
    int end = index;
    while (end < range.end() && text[end].isLetter())
        ++end;
    QList<int> points = hyphenationPoints(text.mid(start, end - start), language);
    for (auto it = points.crbegin(); it != points.crend(); ++it)
        if (start + *it < index)
            return start + *it;
    return -1;
}
