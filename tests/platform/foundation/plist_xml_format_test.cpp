// Tests of the XML form: exact output, round trips, what it cannot carry, and hostile input.
#include "platform/foundation/plist_xml_format.h"

#include "tests/platform/foundation/plist_samples.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// What a value becomes after a trip through XML: points, sizes and rects become strings.
PropertyList asXml(const PropertyList &v)
{
    switch (v.type()) {
    case PropertyList::Type::Dictionary: {
        PropertyList out = PropertyList::dictionary();
        for (const auto &[key, value] : v.entries())
            out.insert(key, asXml(value));
        return out;
    }
    case PropertyList::Type::Array: {
        PropertyList out = PropertyList::array();
        for (const PropertyList &e : v.elements())
            out.append(asXml(e));
        return out;
    }
    case PropertyList::Type::Point:
    case PropertyList::Type::Size:
    case PropertyList::Type::Rect: return PropertyList(v.stringValue());
    default: return v;
    }
}

TEST(PlistXmlWriter, WritesTheStandardLayout)
{
    PropertyList doc;
    doc.insert("pages", PropertyList::fromInt(5));
    doc.insert("scale", PropertyList::fromDouble(1.5));
    doc.insert("on", PropertyList::fromBool(true));
    doc.insert("list", PropertyList::fromStringList({"a&b"}));
    doc.insert("bytes", PropertyList::fromData("hi"));
    doc.insert("size", PropertyList::fromSize({595, 842}));
    doc.insert("none", PropertyList::dictionary());

    QString error;
    EXPECT_EQ(xmlPropertyListData(doc, &error).toStdString(),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
              "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
              "<plist version=\"1.0\">\n"
              "\t<dict>\n"
              "\t\t<key>pages</key>\n"
              "\t\t<integer>5</integer>\n"
              "\t\t<key>scale</key>\n"
              "\t\t<real>1.5</real>\n"
              "\t\t<key>on</key>\n"
              "\t\t<true/>\n"
              "\t\t<key>list</key>\n"
              "\t\t<array>\n"
              "\t\t\t<string>a&amp;b</string>\n"
              "\t\t</array>\n"
              "\t\t<key>bytes</key>\n"
              "\t\t<data>aGk=</data>\n"
              "\t\t<key>size</key>\n"
              "\t\t<string>{595, 842}</string>\n"
              "\t\t<key>none</key>\n"
              "\t\t<dict/>\n"
              "\t</dict>\n"
              "</plist>\n");
    EXPECT_TRUE(error.isEmpty());
}

TEST(PlistXmlRoundTrip, EveryKindComesBackEqual)
{
    const PropertyList doc = everyKind();
    QString writeError;
    const QByteArray xml = xmlPropertyListData(doc, &writeError);
    ASSERT_FALSE(xml.isEmpty()) << writeError.toStdString();

    PropertyListError error;
    const PropertyList back = propertyListFromXml(xml, &error);
    ASSERT_FALSE(back.isAbsent()) << error.toString().toStdString();
    EXPECT_EQ(back, asXml(doc));
    EXPECT_EQ(back.keys(), doc.keys());

    const PropertyList object = back.value("objects").at(0);
    EXPECT_EQ(object.value("note").stringValue(), doc.value("objects").at(0).value("note").stringValue());
    EXPECT_EQ(object.value("big").longLongValue(), -9007199254740993LL);
    EXPECT_EQ(object.value("fillAlpha").floatValue(), 0.3f);
    EXPECT_EQ(object.value("bounds").rectValue(), Rect(10, 20.5f, 30, 40));
    EXPECT_EQ(xmlPropertyListData(back), xml);
}

TEST(PlistXmlRoundTrip, SpecialRealsSurvive)
{
    PropertyList list = PropertyList::array();
    for (double v : {double(INFINITY), -double(INFINITY), 1e-310, -0.0, 123456789.123456789})
        list.append(PropertyList::fromDouble(v));
    list.append(PropertyList::fromDouble(NAN));
    const PropertyList back = propertyListFromXml(xmlPropertyListData(list));
    EXPECT_EQ(back, list);
    EXPECT_TRUE(std::signbit(back.at(3).doubleValue()));
}

TEST(PlistXmlWriter, RefusesCharactersXmlCannotCarry)
{
    for (const QString &bad : {QString(QChar(0x01)), QString(QChar(0xd800)) + "x", QString(QChar(0xdc00)),
                               QString(QChar(0xffff))}) {
        PropertyList doc;
        doc.insert("memo", "before" + bad);
        QString error;
        EXPECT_TRUE(xmlPropertyListData(doc, &error).isEmpty());
        EXPECT_TRUE(error.contains(QLatin1String("XML cannot carry"))) << error.toStdString();

        PropertyList badKey;
        badKey.insert(bad, "value");
        EXPECT_TRUE(xmlPropertyListData(badKey).isEmpty());
    }
    QString error;
    EXPECT_TRUE(xmlPropertyListData(PropertyList(), &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
}

TEST(PlistXmlReader, TakesWhatOtherWritersProduce)
{
    const QByteArray xml = "<?xml version=\"1.0\"?>\n"
                           "<!-- saved by hand -->\n"
                           "<dict>\n"
                           "  <key>hex</key><integer> 0x1F </integer>\n"
                           "  <key>neg</key><integer>-42</integer>\n"
                           "  <key>real</key><real>-2.5e2</real>\n"
                           "  <key>data</key><data>\n\t aGVs\n bG8=\n</data>\n"
                           "  <key>date</key><date>2009-03-14T15:09:26Z</date>\n"
                           "  <key>cdata</key><string><![CDATA[<raw>]]> &#x1F3A8;</string>\n"
                           "  <key>empty</key><string/>\n"
                           "  <key>no</key><false></false>\n"
                           "  <key>u64</key><integer>18446744073709551615</integer>\n"
                           "</dict>\n";
    PropertyListError error;
    const PropertyList v = propertyListFromXml(xml, &error);
    ASSERT_TRUE(v.isDictionary()) << error.toString().toStdString();
    EXPECT_EQ(v.value("hex"), PropertyList::fromInt(31));
    EXPECT_EQ(v.value("neg"), PropertyList::fromInt(-42));
    EXPECT_EQ(v.value("real"), PropertyList::fromDouble(-250));
    EXPECT_EQ(v.value("data").dataValue(), "hello");
    EXPECT_EQ(v.value("date").dateValue(), QDateTime(QDate(2009, 3, 14), QTime(15, 9, 26), Qt::UTC));
    EXPECT_EQ(v.value("cdata").stringValue(), QString::fromUtf8("<raw> 🎨"));
    EXPECT_EQ(v.value("empty"), PropertyList(""));
    EXPECT_EQ(v.value("no"), PropertyList::fromBool(false));
    EXPECT_EQ(v.value("u64"), PropertyList::fromUnsigned(18446744073709551615ULL));
}

TEST(PlistXmlRoundTrip, IntegersAboveTheSignedRangeStayIntegers)
{
    const QByteArray xml = "<plist><array><integer>18446744073709551615</integer>"
                           "<integer>9223372036854775808</integer><integer>+12</integer></array></plist>";
    const PropertyList v = propertyListFromXml(xml);
    ASSERT_EQ(v.count(), 3);
    EXPECT_TRUE(v.at(0).isAboveSignedRange());
    EXPECT_EQ(v.at(0).unsignedLongLongValue(), 18446744073709551615ULL);
    EXPECT_EQ(v.at(1).stringValue(), "9223372036854775808");
    EXPECT_EQ(v.at(2), PropertyList::fromInt(12));
    const QByteArray again = xmlPropertyListData(v);
    EXPECT_TRUE(again.contains("<integer>18446744073709551615</integer>")) << again.toStdString();
    EXPECT_TRUE(again.contains("<integer>9223372036854775808</integer>"));
    EXPECT_FALSE(again.contains("<real>"));
    EXPECT_EQ(propertyListFromXml(again), v);
}

// What is read writes back as the same value: dates keep whole seconds, as the format does.
TEST(PlistXmlRoundTrip, DatesKeepWholeSeconds)
{
    const struct {
        const char *text;
        QDateTime read;
    } cases[] = {
        {"2009-03-14T15:09:26Z", QDateTime(QDate(2009, 3, 14), QTime(15, 9, 26), Qt::UTC)},
        {"2009-03-14T15:09:26.750Z", QDateTime(QDate(2009, 3, 14), QTime(15, 9, 26), Qt::UTC)},
        // A fraction of a minute: 0.26 minutes is 15.6 seconds.
        {"7914-03-14T15:09,26Z", QDateTime(QDate(7914, 3, 14), QTime(15, 9, 15), Qt::UTC)},
    };
    for (const auto &c : cases) {
        const PropertyList v = propertyListFromXml(QByteArray("<plist><date>") + c.text + "</date></plist>");
        EXPECT_EQ(v.dateValue(), c.read) << c.text;
        EXPECT_EQ(propertyListFromXml(xmlPropertyListData(v)), v) << c.text;
    }
}

struct BadXml {
    const char *xml;
    const char *message;
};

TEST(PlistXmlReader, RejectsMalformedAndHostileInput)
{
    const BadXml cases[] = {
        {"", "Premature end"},
        {"not xml", ""},
        {"<plist><dict><key>a</key>", "Premature end"},
        {"<plist></plist>", "holds no value"},
        {"<plist><string>a</string><string>b</string></plist>", "more than one value"},
        {"<plist><dict><key>a</key></dict></plist>", "has no value"},
        {"<plist><dict><string>a</string></dict></plist>", "where a <key> was expected"},
        {"<plist><foo/></plist>", "unknown element <foo>"},
        {"<plist><integer>12x</integer></plist>", "bad integer"},
        {"<plist><integer>12abc</integer></plist>", "bad integer"},
        {"<plist><real>1,5</real></plist>", "bad real"},
        {"<plist><data>!!!!</data></plist>", "bad base64"},
        {"<plist><date>yesterday</date></plist>", "bad date"},
        {"<plist><true>yes</true></plist>", "must be empty"},
        {"<plist><string>a<b/></string></plist>", "inside text"},
        {"<plist>text<string>a</string></plist>", "unexpected text"},
        {"<plist><array>x</array></plist>", "unexpected text"},
        {"<plist><string>&nope;</string></plist>", "not declared"},
        {"<!DOCTYPE plist [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]>"
         "<plist><string>&b;</string></plist>",
         "entity declarations are not allowed"},
        {"<!DOCTYPE plist [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><plist><string>&x;</string></plist>",
         "entity declarations are not allowed"},
        {"<!DOCTYPE plist SYSTEM \"file:///etc/passwd\"><plist><string>&x;</string></plist>", "unknown entity &x;"},
        {"<plist><string>a</string></plist><plist/>", ""},
        {"<?xml version=\"1.0\" encoding=\"UTF-7\"?><plist><string>a+2D0-b</string></plist>", "not allowed"},
        {"<?xml version=\"1.0\" encoding=\"UTF-7\"?><plist><dict><key>+2D0-</key><true/></dict></plist>", "not allowed"},
    };
    for (const BadXml &c : cases) {
        PropertyListError error;
        EXPECT_TRUE(propertyListFromXml(c.xml, &error).isAbsent()) << c.xml;
        EXPECT_FALSE(error.message.isEmpty()) << c.xml;
        EXPECT_TRUE(error.message.contains(QLatin1String(c.message))) << c.xml << " -> " << error.message.toStdString();
        EXPECT_GE(error.line, 1) << c.xml;
    }
}

TEST(PlistXmlReader, LimitsNesting)
{
    const int levels = 20000;
    QByteArray deep = "<plist>";
    for (int i = 0; i < levels; ++i)
        deep += "<array>";
    PropertyListError error;
    EXPECT_TRUE(propertyListFromXml(deep, &error).isAbsent());
    EXPECT_TRUE(error.message.contains(QLatin1String("nesting"))) << error.message.toStdString();
}

} // namespace
