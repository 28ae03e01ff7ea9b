// Hyphenation points from the system dictionary.
#include "platform/text/hyphenator.h"

#include <gtest/gtest.h>

TEST(Hyphenator, PointsAndBreaksBeforeAnIndex)
{
    const QString english = QStringLiteral("en_US");
    QList<int> points = hyphenationPoints(QStringLiteral("hyphenation"), english);
    EXPECT_EQ(points, (QList<int>{2, 6}));   // hy-phen-ation
    EXPECT_EQ(hyphenationPoints(QStringLiteral("Hyphenation"), english), points);
    EXPECT_TRUE(hyphenationPoints(QStringLiteral("a"), english).isEmpty());
    EXPECT_TRUE(hyphenationPoints(QStringLiteral("hyphenation"), QStringLiteral("xx_XX")).isEmpty());

    QString text = QStringLiteral("the hyphenation rule");
    EXPECT_EQ(lineBreakByHyphenatingBeforeIndex(text, 14, {0, int(text.size())}, english), 10);
    EXPECT_EQ(lineBreakByHyphenatingBeforeIndex(text, 10, {0, int(text.size())}, english), 6);
    EXPECT_EQ(lineBreakByHyphenatingBeforeIndex(text, 6, {0, int(text.size())}, english), -1);
    EXPECT_EQ(lineBreakByHyphenatingBeforeIndex(text, 4, {0, int(text.size())}, english), -1);   // after a space
    EXPECT_EQ(lineBreakByHyphenatingBeforeIndex(text, 14, {12, 8}, english), -1);   // only "tion" lies in the range
}

TEST(Hyphenator, DictionariesAreFoundByLanguageRegionOrBase)
{
    if (!hasHyphenationDictionary(QStringLiteral("fr")) || !hasHyphenationDictionary(QStringLiteral("pt")))
        GTEST_SKIP() << "the French and Portuguese dictionaries (hyphen-fr, hyphen-pt-br) are not installed";
    const QString word = QStringLiteral("d\u00e9veloppement");
    const QList<int> french = hyphenationPoints(word, QStringLiteral("fr_FR"));
    EXPECT_EQ(french, (QList<int>{3, 6, 8}));   // dév-elo-pp-ement by the French patterns
    for (const char *name : {"fr", "fr-CA", "fr_CH.UTF-8", "fr_XX"})
        EXPECT_EQ(hyphenationPoints(word, QString::fromLatin1(name)), french) << name;
    EXPECT_NE(hyphenationPoints(word, QStringLiteral("en_US")), french);
    // A language with only a regional dictionary is served by it.
    EXPECT_FALSE(hyphenationPoints(QStringLiteral("computador"), QStringLiteral("pt")).isEmpty());
    EXPECT_FALSE(hasHyphenationDictionary(QStringLiteral("xx")));
    EXPECT_FALSE(hasHyphenationDictionary(QString()));
    EXPECT_TRUE(hasHyphenationDictionary(defaultHyphenationLanguage()));
}
