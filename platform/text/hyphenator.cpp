// libhyphen dictionaries, loaded once per language.
#include "platform/text/hyphenator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
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

// Where Debian's hyphen-* packages install their dictionaries (hyph_de_DE.dic, hyph_fr.dic).
const QString DictionaryFolder = QStringLiteral("/usr/share/hyphen");

// The language part of a locale name: "de_DE.UTF-8@euro" and "de-DE" give "de_DE".
QString normalisedLanguage(QString language)
{
    language = language.section(u'.', 0, 0).section(u'@', 0, 0);
    language.replace(u'-', u'_');
    return language;
}

// The dictionaries to try for a language, best first: the exact one, the language's own,
// then any regional one of the language (Brazilian Portuguese for "pt").
QStringList dictionaryPaths(const QString &requested)
{
    const QString language = normalisedLanguage(requested);
    const QString base = language.section(u'_', 0, 0);
    if (base.isEmpty())
        return {};
    QStringList paths;
    for (const QString &name : {language, base})
        paths << QStringLiteral("%1/hyph_%2.dic").arg(DictionaryFolder, name);
    const QStringList regional =
        QDir(DictionaryFolder).entryList({QStringLiteral("hyph_%1_*.dic").arg(base)}, QDir::Files, QDir::Name);
    for (const QString &file : regional)
        paths << DictionaryFolder + u'/' + file;
    paths.removeDuplicates();
    return paths;
}

Dictionary dictionaryFor(const QString &requested)
{
    const QString language = requested.isEmpty() ? defaultHyphenationLanguage() : requested;
    static QMutex mutex;
    // By language, and by file: Debian links every region's name to one file, and loading
    // a large dictionary takes seconds, so each file is loaded once.
    static QHash<QString, Dictionary> byLanguage;
    static LoadedDictionaries byFile;
    QMutexLocker lock(&mutex);
    if (auto it = byLanguage.constFind(language); it != byLanguage.constEnd())
        return *it;
    Dictionary d;
    for (const QString &path : dictionaryPaths(language)) {
        const QString file = QFileInfo(path).canonicalFilePath();
        if (file.isEmpty())
            continue;
        if (auto it = byFile.constFind(file); it != byFile.constEnd()) {
            d = *it;
            break;
        }
        QFile input(file);
        if (!input.open(QIODevice::ReadOnly))
            continue;
        d.utf8 = input.readLine().trimmed().toUpper() == "UTF-8";
        d.dict = hnj_hyphen_load(QFile::encodeName(file).constData());
        if (d.dict) {
            byFile.insert(file, d);
            break;
        }
    }
    byLanguage.insert(language, d);
    return d;
}

} // namespace

bool hasHyphenationDictionary(const QString &language)
{
    for (const QString &path : dictionaryPaths(language))
        if (QFile::exists(path))
            return true;
    return false;
}

QString defaultHyphenationLanguage()
{
    static const QString language = [] {
        const QString system = QLocale::system().name();
        return hasHyphenationDictionary(system) ? system : QStringLiteral("en_US");
    }();
    return language;
}

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
