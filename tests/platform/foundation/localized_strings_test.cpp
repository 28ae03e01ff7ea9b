// Tests of the localised strings: the embedded table, missing keys and the table format.
#include "platform/foundation/localized_strings.h"

#include <gtest/gtest.h>

namespace {

TEST(LocalizedStrings, LooksUpTheEmbeddedTableAndReturnsMissingKeys)
{
    EXPECT_EQ(localizedString("Vekanto strings table"), "Vekanto strings table (en)");
    EXPECT_EQ(localizedString("Sorry, failed to add effect."), "Sorry, failed to add effect.");
    EXPECT_EQ(localizedString(QString()), QString());
}

TEST(LocalizedStrings, ParsesEntriesCommentsAndEscapes)
{
    QHash<QString, QString> table;
    QString error;
    const char16_t *text = uR"(
        /* block
           comment */ "Sort" = "Sortieren";   // line comment
        "Quote \"%1\"\n" = "Tab\there \\ \U00e9\u20AC";
        "Sort"="Ordnen";
    )";
    ASSERT_TRUE(parseStringsTable(QStringView(text), &table, &error)) << error.toStdString();
    EXPECT_EQ(table.size(), 2);
    EXPECT_EQ(table.value("Sort"), "Ordnen");   // the later entry wins
    EXPECT_EQ(table.value("Quote \"%1\"\n"), QString::fromUtf8("Tab\there \\ \u00e9\u20ac"));
}

TEST(LocalizedStrings, ReportsSyntaxErrorsWithTheirLine)
{
    struct Case {
        const char *text;
        const char *error;
        int entriesKept;
    };
    const Case cases[] = {
        {"\"a\" = \"b\";\n\"c\" = \"d\"\n", "line 3: expected ';'", 1},
        {"\"a\" \"b\";", "line 1: expected '='", 0},
        {"\"a\" = \"b", "line 1: unterminated string", 0},
        {"\"a\" = b;", "line 1: expected a quoted string", 0},
        {"\"a\\q\" = \"b\";", "line 1: unknown escape \\q", 0},
        {"\"\\U12\" = \"b\";", "line 1: \\U needs four hex digits", 0},
        {"\"a\" = \"b\";\n/* open", "line 2: unterminated comment", 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        QHash<QString, QString> table;
        QString error;
        EXPECT_FALSE(parseStringsTable(QString::fromUtf8(c.text), &table, &error));
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(table.size(), c.entriesKept);
    }
}

} // namespace
