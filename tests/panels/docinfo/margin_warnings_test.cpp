// The header and footer panel's margin warnings after an edit, from the message shown before.
#include "panels/header_footer/margin_warnings.h"

#include <gtest/gtest.h>

TEST(MarginWarnings, AnEditedCellShowsOrTakesAwayItsWarning)
{
    const QString both = marginMessage(true, true);
    struct Case {
        QString current;
        bool header, tooTall;
        QString expected;
    } cases[] = {
        {QString(), true, true, headerWarning()},
        {QString(), false, true, footerWarning()},
        {headerWarning(), true, false, QString()},
        {both, true, false, footerWarning()},
        {both, false, false, headerWarning()},
        {footerWarning(), false, false, QString()},
        {footerWarning(), true, false, footerWarning()},
        {QStringLiteral(" "), false, false, QStringLiteral(" ")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(marginMessageAfterEdit(c.current, c.header, c.tooTall), c.expected)
            << c.current.toStdString() << c.header << c.tooTall;
    EXPECT_EQ(marginMessage(false, false), QString());
    EXPECT_TRUE(both.startsWith(headerWarning()));
    EXPECT_FALSE(both.contains(footerWarning()));
}
