// Hyphenation points from the system dictionary.
#include "platform/text/hyphenator.h"

#include <gtest/gtest.h>

TEST(Hyphenator, PointsAndBreaksBeforeAnIndex)
{
    QList<int> points = hyphenationPoints(QStringLiteral("hyphenation"));
    EXPECT_EQ(points, (QList<int>{2, 6}));   // hy-phen-ation
    EXPECT_EQ(hyphenationPoints(QStringLiteral("Hyphenation")), points);
    EXPECT_TRUE(hyphenationPoints(QStringLiteral("a")).isEmpty());
    EXPECT_TRUE(hyphenationPoints(QStringLiteral("hyphenation"), QStringLiteral("xx_XX")).isEmpty());

    QString text = QStringLiteral("the hyphenation rule");
    EXPECT_EQ(lineBreakByHyphenatingBeforeIndex(text, 14, {0, int(text.size())}), 10);
    EXPECT_EQ(lineBreakByHyphenatingBeforeIndex(text, 10, {0, int(text.size())}), 6);
    EXPECT_EQ(lineBreakByHyphenatingBeforeIndex(text, 6, {0, int(text.size())}), -1);
    EXPECT_EQ(lineBreakByHyphenatingBeforeIndex(text, 4, {0, int(text.size())}), -1);   // after a space
    EXPECT_EQ(lineBreakByHyphenatingBeforeIndex(text, 14, {12, 8}), -1);   // only "tion" lies in the range
}
