// Tests of the old-style text form: exact output, round trips, reader leniency and errors.
#include "platform/foundation/plist_text_format.h"

#include "tests/platform/foundation/plist_samples.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

// What a value becomes after a trip through the text form: every scalar but data a string.
PropertyList asText(const PropertyList &v)
{
    switch (v.type()) {
    case PropertyList::Type::Dictionary: {
        PropertyList out = PropertyList::dictionary();
        for (const auto &[key, value] : v.entries())
            out.insert(key, asText(value));
        return out;
    }
    case PropertyList::Type::Array: {
        PropertyList out = PropertyList::array();
        for (const PropertyList &e : v.elements())
            out.append(asText(e));
        return out;
    }
    case PropertyList::Type::Data: return v;
    default: return PropertyList(v.stringValue());
    }
}

TEST(PlistTextWriter, WritesTheDescriptionLayout)
{
    PropertyList inner;
    inner.insert("a", "b");
    PropertyList doc;
    doc.insert("class", "VekObjRect");
    doc.insert("bounds", PropertyList::fromRect({1, 2, 3.5f, 4}));
    doc.insert("list", PropertyList::fromStringList({"x", "two words"}));
    doc.insert("inner", inner);
    doc.insert("data", PropertyList::fromData(QByteArray::fromHex("0fbd7a8912")));
    doc.insert("pages", PropertyList::fromInt(5));
    doc.insert("empty", "");
    doc.insert("path", "/usr/share:a.b-c_$+1");

    EXPECT_EQ(textPropertyListData(doc).toStdString(),
              "{\n"
              "\tclass = VekObjRect;\n"
              "\tbounds = \"{{1, 2}, {3.5, 4}}\";\n"
              "\tlist = (\n"
              "\t\tx,\n"
              "\t\t\"two words\"\n"
              "\t);\n"
              "\tinner = {\n"
              "\t\ta = b;\n"
              "\t};\n"
              "\tdata = <0fbd7a8912>;\n"
              "\tpages = 5;\n"
              "\tempty = \"\";\n"
              "\tpath = /usr/share:a.b-c_$+1;\n"
              "}");
}

TEST(PlistTextWriter, EscapesEverythingOutsidePrintableAscii)
{
    PropertyList doc;
    doc.insert("s", QString::fromUtf8("é\"\\\n\x01") + QChar(0x7f) + QString::fromUtf8("🎨"));
    EXPECT_EQ(textPropertyListData(doc).toStdString(),
              "{\n\ts = \"\\U00e9\\\"\\\\\\n\\001\\177\\Ud83c\\Udfa8\";\n}");
}

TEST(PlistTextWriter, NumbersAreWrittenAsTheirStringValue)
{
    const PropertyList numbers[] = {
        PropertyList::fromInt(0),          PropertyList::fromInt(-1),
        PropertyList::fromInt(LLONG_MIN),  PropertyList::fromInt(LLONG_MAX),
        PropertyList::fromUnsigned(ULLONG_MAX), PropertyList::fromFloat(0.1f),
        PropertyList::fromFloat(-0.0f),    PropertyList::fromFloat(16777216.0f),
        PropertyList::fromFloat(1e-45f),   PropertyList::fromDouble(0.1),
        PropertyList::fromDouble(1e300),   PropertyList::fromDouble(5e-324),
        PropertyList::fromDouble(-1e-5),   PropertyList::fromDouble(NAN),
        PropertyList::fromDouble(-INFINITY), PropertyList::fromFloat(INFINITY),
        PropertyList::fromBool(true),      PropertyList::fromBool(false),
    };
    PropertyList list = PropertyList::array();
    QByteArray expected = "(\n";
    for (const PropertyList &n : numbers) {
        list.append(n);
        expected += (expected.size() > 2 ? ",\n\t" : "\t") + n.stringValue().toLatin1();
    }
    expected += "\n)";
    ASSERT_EQ(textPropertyListData(list).toStdString(), expected.toStdString());

    // Read back, each is the string it was written as, and a finite real keeps its value.
    const PropertyList read = propertyListFromText(expected);
    ASSERT_EQ(read.count(), qsizetype(std::size(numbers)));
    for (size_t i = 0; i < std::size(numbers); ++i) {
        EXPECT_EQ(read.at(qsizetype(i)), PropertyList(numbers[i].stringValue()));
        if (numbers[i].type() != PropertyList::Type::Real || !std::isfinite(numbers[i].doubleValue()))
            continue;
        const double back = read.at(qsizetype(i)).doubleValue();
        if (numbers[i].isSinglePrecision())
            EXPECT_EQ(float(back), numbers[i].floatValue());
        else
            EXPECT_EQ(back, numbers[i].doubleValue());
    }
}

TEST(PlistTextWriter, QuotesStringsThatWouldStartAComment)
{
    PropertyList doc = PropertyList::array();
    for (const char *s : {"a//b", "a/*b", "a/b", "/", "*/", "a/ /b"})
        doc.append(s);
    EXPECT_EQ(textPropertyListData(doc).toStdString(),
              "(\n\t\"a//b\",\n\t\"a/*b\",\n\ta/b,\n\t/,\n\t\"*/\",\n\t\"a/ /b\"\n)");
    EXPECT_EQ(propertyListFromText(textPropertyListData(doc)), doc);
}

TEST(PlistTextRoundTrip, EveryKindComesBackWithScalarsAsStrings)
{
    PropertyList doc = everyKind();
    doc.insert("control", QString(QChar(0x01)) + QChar(0x7f) + "\r\n");
    const QByteArray text = textPropertyListData(doc);
    ASSERT_TRUE(text.startsWith('{'));
    for (char c : text)
        ASSERT_LT(static_cast<unsigned char>(c), 0x80) << "non-ASCII byte in the text form";

    PropertyListError error;
    const PropertyList back = propertyListFromText(text, &error);
    ASSERT_FALSE(back.isAbsent()) << error.toString().toStdString();
    EXPECT_EQ(back, asText(doc));
    EXPECT_EQ(back.keys(), doc.keys());

    // The numbers still read as what was written.
    const PropertyList object = back.value("objects").at(0);
    EXPECT_EQ(object.value("repeatStart").intValue(), 1);
    EXPECT_FLOAT_EQ(object.value("fillAlpha").floatValue(), 0.3f);
    EXPECT_DOUBLE_EQ(object.value("ratio").doubleValue(), 1.0 / 3.0);
    EXPECT_TRUE(object.value("simpleClip").boolValue());
    EXPECT_EQ(object.value("bounds").rectValue(), Rect(10, 20.5f, 30, 40));
    EXPECT_EQ(object.value("gradCenter").pointValue(), (Point{0.5f, -1}));
    EXPECT_EQ(object.value("when").dateValue(), QDateTime(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC));

    // Writing what was read gives the same text.
    EXPECT_EQ(textPropertyListData(back), text);
}

TEST(PlistTextReader, TakesWhatOtherWritersProduce)
{
    const QByteArray text = "// a comment\n"
                            "{ /* block\n comment */\n"
                            "  'single' = 'say \"hi\"';\n"
                            "  esc = \"\\U00E9\\u00e8\\101\\x\\'\";\n"
                            "  bytes = < 0001 02\n 03 >;\n"
                            "  list = (a, b,);\n"
                            "  utf8 = \"\xc3\xa9t\xc3\xa9\";\n"
                            "  \"quoted key\" = {};\n"
                            "}\n";
    PropertyListError error;
    const PropertyList v = propertyListFromText(text, &error);
    ASSERT_FALSE(v.isAbsent()) << error.toString().toStdString();
    EXPECT_EQ(v.value("single").stringValue(), "say \"hi\"");
    EXPECT_EQ(v.value("esc").stringValue(), QString::fromUtf8("éèAx'"));
    EXPECT_EQ(v.value("bytes").dataValue(), QByteArray::fromHex("00010203"));
    EXPECT_EQ(v.value("list").stringListValue(), (QStringList{"a", "b"}));
    EXPECT_EQ(v.value("utf8").stringValue(), QString::fromUtf8("été"));
    EXPECT_TRUE(v.value("quoted key").isDictionary());
    EXPECT_EQ(v.keys(), (QStringList{"single", "esc", "bytes", "list", "utf8", "quoted key"}));
}

TEST(PlistTextReader, ReadsOtherTopLevelValuesAndStringsFiles)
{
    EXPECT_EQ(propertyListFromText("(1, \"2\")"), PropertyList::fromStringList({"1", "2"}));
    EXPECT_EQ(propertyListFromText("  word  "), PropertyList("word"));
    EXPECT_EQ(propertyListFromText("<>"), PropertyList::fromData(QByteArray()));
    EXPECT_EQ(propertyListFromText(QByteArray("\xff\xfe{\0a\0=\0b\0;\0}\0", 14)).value("a"), PropertyList("b"));

    const PropertyList strings = propertyListFromText("\"Cancel\" = \"Abbrechen\";\n/* c */ OK = OK;\n");
    EXPECT_EQ(strings.keys(), (QStringList{"Cancel", "OK"}));
    EXPECT_EQ(strings.value("Cancel").stringValue(), "Abbrechen");
}

TEST(PlistTextReader, LatinOneBytesAreKept)
{
    EXPECT_EQ(propertyListFromText("\"caf\xe9\"").stringValue(), QString::fromUtf8("café"));
}

struct BadText {
    const char *text;
    const char *message;
    int line;
    int column;
};

TEST(PlistTextReader, RejectsMalformedTextWithWhereAndWhy)
{
    const BadText cases[] = {
        {"", "no property list", 1, 1},
        {"  /* open", "unterminated comment", 1, 3},
        {"{ a = \"open;\n}", "unterminated string", 1, 7},
        {"{ a = \"ends in \\", "unterminated string", 1, 7},
        {"{ a = b }", "missing ';'", 1, 9},
        {"{ a b; }", "missing '='", 1, 5},
        {"{ a = b;", "without a closing '}'", 1, 1},
        {"{\n  (x) = y;\n}", "key must be a string", 2, 3},
        {"( a b )", "missing ','", 1, 5},
        {"( a, ", "without a closing ')'", 1, 1},
        {"<0g>", "bad character 'g'", 1, 3},
        {"<abc>", "odd number of hex digits", 1, 1},
        {"<ab", "without a closing '>'", 1, 1},
        {"{ a = ; }", "unexpected character ';'", 1, 7},
        {"a b", "unexpected text after", 1, 3},
        {"{} x", "unexpected text after", 1, 4},
        {"{ a = (b, }", "unexpected character '}'", 1, 11},
    };
    for (const BadText &c : cases) {
        PropertyListError error;
        EXPECT_TRUE(propertyListFromText(c.text, &error).isAbsent()) << c.text;
        EXPECT_TRUE(error.message.contains(QLatin1String(c.message)))
            << c.text << " -> " << error.message.toStdString();
        EXPECT_EQ(error.line, c.line) << c.text;
        EXPECT_EQ(error.column, c.column) << c.text;
    }
}

TEST(PlistTextReader, LimitsNesting)
{
    const int levels = 100000;
    QByteArray deep = QByteArray(levels, '(') + QByteArray(levels, ')');
    PropertyListError error;
    EXPECT_TRUE(propertyListFromText(deep, &error).isAbsent());
    EXPECT_TRUE(error.message.contains(QLatin1String("nesting"))) << error.message.toStdString();

    QByteArray allowed = QByteArray(200, '(') + QByteArray(200, ')');
    EXPECT_TRUE(propertyListFromText(allowed).isArray());
}

} // namespace
