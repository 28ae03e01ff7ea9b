// The typedstream archiver: byte layout against the platform's, fixtures in both byte orders,
// round trips of every value kind, colours and paths, and malformed input.
#include "platform/color/color.h"
#include "platform/foundation/archive_coder_registry.h"
#include "platform/foundation/archive_foundation_values.h"
#include "platform/foundation/archiver.h"
#include "platform/foundation/archiving.h"
#include "platform/foundation/unarchiver.h"
#include "platform/geometry/bezier_path.h"
#include "plist_samples.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QUrl>

#include <cstring>
#include <limits>

namespace {

QByteArray hex(const char *text) { return QByteArray::fromHex(text); }

QByteArray header() { return hex("040b") + "streamtyped" + hex("81e803"); }

// A dictionary written by hand from the format description, in either byte order:
// {"w": 1000 (2-byte int), "big": 100000 (4-byte int), "f": 0.5f, "r": rect {1.5, 2, 3, 4},
//  "q": -9000000000 (8-byte int)}. Comments give the object (o) and string (s) numbers.
QByteArray handBuiltDictionary(bool big)
{
    auto order = [big](const char *littleHex) {
        QByteArray b = hex(littleHex);
        if (big)
            std::reverse(b.begin(), b.end());
        return b;
    };
    QByteArray d = hex("040b") + (big ? "typedstream" : "streamtyped") + hex("81") + order("e803");
    d += hex("840140");                                            // s0 "@"
    d += hex("84") + hex("84840c") + "NSDictionary" + hex("00");   // o0, class o1 (s1)
    d += hex("848408") + "NSObject" + hex("0085");                 // class o2 (s2), nil
    d += hex("84016905");                                          // s3 "i", count 5
    // "w": o3 string, class o4 NSString (s4), super o2, s5 "+"
    d += hex("92848484") + hex("08") + "NSString" + hex("0194") + hex("84012b01") + "w" + hex("86");
    // o5 NSNumber: class o6 (s6), o7 NSValue (s7), s8 "*", C string o8 -> s3 "i", value
    d += hex("9284848408") + "NSNumber" + hex("00848407") + "NSValue" + hex("0094") + hex("84012a849595");
    d += hex("81") + order("e803") + hex("86");
    d += hex("92849697") + hex("03") + "big" + hex("86");          // o9
    d += hex("9284989a849595") + hex("82") + order("a0860100") + hex("86");   // o10, C string o11
    d += hex("92849697") + hex("01") + "f" + hex("86");            // o12
    d += hex("9284989a848401669b83") + order("0000003f") + hex("86");   // o13, o14, s9 "f"
    d += hex("92849697") + hex("01") + "r" + hex("86");            // o15
    d += hex("9284999a848423") + "{_NSRect={_NSPoint=ff}{_NSSize=ff}}" + hex("9c83") + order("0000c03f")
        + hex("02030486");                                         // o16 NSValue, o17, s10
    d += hex("92849697") + hex("01") + "q" + hex("86");            // o18
    d += hex("9284989a848401719d87") + order("00e68ee7fdffffff") + hex("86");   // o19, o20, s11 "q"
    d += hex("86");
    return d;
}

PropertyList expectedHandBuilt()
{
    PropertyList d;
    d.insert("w", PropertyList::fromInt(1000));
    d.insert("big", PropertyList::fromInt(100000));
    d.insert("f", PropertyList::fromFloat(0.5f));
    d.insert("r", PropertyList::fromRect({1.5f, 2, 3, 4}));
    d.insert("q", PropertyList::fromInt(-9000000000LL));
    return d;
}

QByteArray archive(const PropertyList &plist)
{
    auto data = archivedDataWithRootObject(plist);
    EXPECT_TRUE(data) << data.error.toStdString();
    return data.value.value_or(QByteArray());
}

}   // namespace

TEST(TypedStreamLayout, SimpleValuesMatchThePlatformBytes)
{
    // A string, as the platform archives @"string value".
    EXPECT_EQ(archive(PropertyList("string value")),
              header() + hex("840140848484") + hex("08") + "NSString" + hex("01848408") + "NSObject"
                  + hex("0085") + hex("84012b0c") + "string value" + hex("86"));
    // A number: class chain NSNumber : NSValue : NSObject, the C string "i", then the value
    // typed by the shared "i".
    EXPECT_EQ(archive(PropertyList::fromInt(5)),
              header() + hex("840140848484") + hex("08") + "NSNumber" + hex("00848407") + "NSValue"
                  + hex("00848408") + "NSObject" + hex("0085") + hex("84012a848401699705") + hex("86"));
    // An array of two strings: the second shares the first's class and type string.
    EXPECT_EQ(archive(PropertyList::fromStringList({"a", "b"})),
              header() + hex("840140848484") + hex("07") + "NSArray" + hex("00848408") + "NSObject"
                  + hex("0085") + hex("84016902") + hex("9284848408") + "NSString" + hex("0194")
                  + hex("84012b0161") + hex("86") + hex("9284969701") + "b" + hex("86") + hex("86"));
}

TEST(TypedStreamLayout, NumbersUseTheShortestIntegerFormAndWholeRealsAsIntegers)
{
    struct Case {
        PropertyList value;
        QByteArray tail;   // the C string type, the value and the end of the object
    };
    const Case cases[] = {
        {PropertyList::fromInt(-110), hex("8484016997") + hex("9286")},
        {PropertyList::fromInt(-111), hex("84840169978191ff86")},
        {PropertyList::fromInt(70000), hex("848401699782701101" "0086")},
        {PropertyList::fromFloat(2.0f), hex("848401669702" "86")},
        {PropertyList::fromFloat(0.25f), hex("8484016697830000803e86")},
        {PropertyList::fromDouble(-3.0), hex("8484016497fd86")},
        {PropertyList::fromBool(true), hex("848401639701" "86")},
    };
    for (const Case &c : cases) {
        const QByteArray data = archive(c.value);
        EXPECT_TRUE(data.endsWith(c.tail)) << c.value.stringValue().toStdString() << ": " << data.toHex().toStdString();
        auto back = unarchivePropertyListWithData(data);
        ASSERT_TRUE(back) << back.error.toStdString();
        EXPECT_EQ(*back.value, c.value);
        EXPECT_EQ(back.value->isSinglePrecision(), c.value.isSinglePrecision());
    }
}

TEST(TypedStreamReader, ReadsAnArchiveMadeByThePlatform)
{
    // An attributed string archived by the platform (a public example): string "Fesker",
    // one attribute run (1, 6) with {"__kIMMessagePartAttributeName": 0}. Its decoder is a
    // test stand-in that keeps the parts as an array.
    const QByteArray data = hex(
        "040B73747265616D747970656481E8038401408484841" "24E534174747269627574656453747269"
        "6E67008484084E534F626A656374008592848484084E53537472696E67019484012B064665736B6572"
        "8684026949010692848484" "0C4E5344696374696F6E617279009484016901928496961D5F5F6B494D"
        "4D657373616765506172744174747269627574654E616D658692848484084E534E756D626572008484"
        "074E5356616C7565009484012A84999900868686");
    auto coders = std::make_shared<ArchiveCoderTable>(*ArchiveCoderRegistry::shared().table());
    coders->decoders.insert("NSAttributedString", [](Unarchiver &in, const ArchivedClass &c, std::any &object) {
        std::any string, attributes;
        qint64 location, length;
        if (!in.decodeObject(string) || !in.decodeInt(location) || !in.decodeInt(length) || !in.decodeObject(attributes))
            return false;
        PropertyList parts = PropertyList::array();
        parts.append(std::any_cast<PropertyList>(string));
        parts.append(PropertyList::fromInt(location));
        parts.append(PropertyList::fromInt(length));
        parts.append(std::any_cast<PropertyList>(attributes));
        object = parts;
        return c.superclass && c.superclass->name == "NSObject";
    });
    Unarchiver in(data, coders);
    std::any root;
    ASSERT_TRUE(in.decodeRootObject(root)) << in.error().toStdString();
    PropertyList attributes;
    attributes.insert("__kIMMessagePartAttributeName", PropertyList::fromInt(0));
    PropertyList expected = PropertyList::array();
    expected.append("Fesker");
    expected.append(PropertyList::fromInt(1));
    expected.append(PropertyList::fromInt(6));
    expected.append(attributes);
    EXPECT_EQ(std::any_cast<PropertyList>(root), expected);
    EXPECT_FALSE(in.isBigEndian());
}

TEST(TypedStreamReader, HandBuiltFixturesReadTheSameInBothByteOrders)
{
    for (bool big : {false, true}) {
        auto plist = unarchivePropertyListWithData(handBuiltDictionary(big));
        ASSERT_TRUE(plist) << (big ? "big: " : "little: ") << plist.error.toStdString();
        EXPECT_EQ(*plist.value, expectedHandBuilt()) << (big ? "big-endian" : "little-endian");
        EXPECT_TRUE(plist.value->value("f").isSinglePrecision());
        EXPECT_TRUE(plist.notes.isEmpty());
    }
}

TEST(TypedStreamRoundTrip, EveryValueKindSurvives)
{
    const PropertyList doc = everyKind();
    auto back = unarchivePropertyListWithData(archive(doc));
    ASSERT_TRUE(back) << back.error.toStdString();
    EXPECT_EQ(*back.value, doc);
    // Dictionaries keep the order they were written in, and reals their precision.
    EXPECT_EQ(back.value->keys(), doc.keys());
    const PropertyList object = back.value->value("objects").at(0);
    EXPECT_TRUE(object.value("fillAlpha").isSinglePrecision());
    EXPECT_FALSE(object.value("ratio").isSinglePrecision());
    EXPECT_EQ(object.value("bounds").type(), PropertyList::Type::Rect);
}

TEST(TypedStreamRoundTrip, RepeatedKeysAreWrittenOnce)
{
    PropertyList objects = PropertyList::array();
    for (int i = 0; i < 50; ++i) {
        PropertyList o;
        o.insert("bounds", QStringLiteral("{{%1, 0}, {1, 1}}").arg(i));
        objects.append(o);
    }
    const QByteArray data = archive(objects);
    EXPECT_EQ(data.count("bounds"), 1);
    EXPECT_EQ(*unarchivePropertyListWithData(data).value, objects);
}

TEST(TypedStreamRoundTrip, EqualDataAndNumbersAreWrittenOnce)
{
    const QByteArray colour = QByteArray("a colour archive of some length").repeated(3);
    PropertyList list = PropertyList::array();
    for (int i = 0; i < 3; ++i) {
        list.append(PropertyList::fromData(colour));
        list.append(PropertyList::fromInt(100000));
        list.append(PropertyList::fromFloat(0.5f));
    }
    list.append(PropertyList::fromDouble(0.5));   // a double is not the float
    list.append(PropertyList::fromBool(true));
    list.append(PropertyList::fromInt(1));         // nor is 1 the bool
    const QByteArray data = archive(list);
    EXPECT_EQ(data.count(colour), 1);
    EXPECT_EQ(data.count(QByteArray::fromHex("82a0860100")), 1);   // 100000
    const auto back = unarchivePropertyListWithData(data);
    ASSERT_TRUE(back) << back.error.toStdString();
    EXPECT_EQ(*back.value, list);
    EXPECT_TRUE(back.value->at(10).isNumber());
    EXPECT_FALSE(back.value->at(9).isSinglePrecision());
}

TEST(TypedStreamRoundTrip, SharedContainersAreWrittenOnceAndStayLinear)
{
    // Arrays holding their half twice, 40 levels deep: 2^40 elements as values, 40 containers
    // as objects. Reading the archive gives containers that share the halves again; writing
    // them once each keeps the archive that small however often it is read and written.
    PropertyList nested = PropertyList::fromStringList({QStringLiteral("leaf")});
    for (int level = 0; level < 40; ++level) {
        PropertyList pair = PropertyList::array();
        pair.append(nested);
        pair.append(nested);
        nested = pair;
    }
    const QByteArray data = archive(nested);
    EXPECT_LT(data.size(), 1000);
    const auto back = unarchivePropertyListWithData(data);
    ASSERT_TRUE(back) << back.error.toStdString();
    EXPECT_EQ(archive(*back.value), data);
    PropertyList innermost = *back.value;
    for (int level = 0; level < 40; ++level) {
        ASSERT_EQ(innermost.count(), 2) << level;
        innermost = innermost.at(1);
    }
    EXPECT_EQ(innermost, PropertyList::fromStringList({QStringLiteral("leaf")}));

    // A dictionary held twice is written once; an equal one made on its own is written again
    // (sharing follows the value's storage, not equality).
    PropertyList entry;
    entry.insert(QStringLiteral("name"), PropertyList(QStringLiteral("twice")));
    PropertyList twice = PropertyList::array();
    twice.append(entry);
    twice.append(entry);
    PropertyList separate;
    separate.insert(QStringLiteral("name"), PropertyList(QStringLiteral("twice")));
    PropertyList three = twice;
    three.append(separate);
    EXPECT_EQ(archive(three).count("NSDictionary"), 1);   // the class once, then by number
    EXPECT_GT(archive(three).size(), archive(twice).size() + 3);
    EXPECT_EQ(*unarchivePropertyListWithData(archive(three)).value, three);
}

TEST(TypedStreamColor, EveryKindRoundTrips)
{
    auto space = std::make_shared<const ColorSpace>(ColorSpaceModel::RGB, 3, "Camera RGB", QByteArray("icc\0data", 8));
    const float custom[] = {0.1f, 0.2f, 0.3f, 0.75f};
    const Color colors[] = {
        Color::colorWithCalibratedRed(1, 0.5f, 0.25f, 0.8f),
        Color::colorWithDeviceRed(0, 0, 1, 1),
        Color::colorWithCalibratedWhite(0.5f, 1),
        Color::colorWithDeviceWhite(0, 0.09f),
        Color::colorWithDeviceCyan(0, 1, 1, 0, 1),
        Color::colorWithCatalogName("System", "controlColor", Color::colorWithCalibratedWhite(0.9f)),
        Color::colorWithGenericCyan(0.1f, 0.2f, 0.3f, 0.4f, 0.5f),
        *Color::colorWithColorSpace(space, custom, 4),
    };
    for (const Color &color : colors) {
        auto data = archivedDataWithRootObject(color);
        ASSERT_TRUE(data) << data.error.toStdString();
        auto back = unarchiveColorWithData(*data.value);
        ASSERT_TRUE(back) << color.colorSpaceName().toStdString() << ": " << back.error.toStdString();
        EXPECT_EQ(*back.value, color) << color.colorSpaceName().toStdString();
        EXPECT_EQ(back.value->kind(), color.kind());
    }
    EXPECT_EQ(unarchiveColorWithData(*archivedDataWithRootObject(colors[5]).value).value->namedFallback(),
              colors[5].namedFallback());
}

TEST(TypedStreamColor, PlatformLayoutOfAnRGBColour)
{
    // NSColor v0: kind 1 as a char, then one "ffff" group; whole components are integers.
    const QByteArray data = *archivedDataWithRootObject(Color::colorWithCalibratedRed(1, 0.5f, 0, 1)).value;
    EXPECT_EQ(data, header() + hex("840140848484") + hex("07") + "NSColor" + hex("00848408") + "NSObject"
                        + hex("0085") + hex("8401630184046666666601830000003f0001") + hex("86"));
    // The same colour from a big-endian archive.
    QByteArray big = data;
    big.replace("streamtyped", "typedstream");
    big.replace(hex("81e803"), hex("8103e8"));
    big.replace(hex("830000003f"), hex("833f000000"));
    EXPECT_EQ(*unarchiveColorWithData(big).value, Color::colorWithCalibratedRed(1, 0.5f, 0, 1));
}

TEST(TypedStreamColor, UnknownColourKindIsReadPastNotCreated)
{
    QByteArray data = header() + hex("840140848484") + hex("07") + "NSColor" + hex("00848408") + "NSObject" + hex("0085")
        + hex("84016309") + hex("840166" "03") + hex("86");
    auto color = unarchiveColorWithData(data);
    EXPECT_FALSE(color);
    EXPECT_TRUE(color.error.contains("NSColor kind 9")) << color.error.toStdString();
}

TEST(TypedStreamPath, EveryElementKindAndTheLineAttributesRoundTrip)
{
    BezierPath path;
    path.moveToPoint({1, 2});
    path.lineToPoint({10.5f, 2});
    path.curveToPoint({20, 20}, {12, 3}, {18, 15.25f});
    path.closePath();
    path.moveToPoint({-5, -5});
    path.lineToPoint({0, 7});
    path.setWindingRule(EvenOddWindingRule);
    path.setLineCapStyle(RoundLineCapStyle);
    path.setLineJoinStyle(BevelLineJoinStyle);
    path.setLineWidth(2.5f);
    path.setMiterLimit(4);
    path.setFlatness(0.1f);
    const float dash[] = {3, 1.5f};
    path.setLineDash(dash, 2, 0.5f);

    auto data = archivedDataWithRootObject(path);
    ASSERT_TRUE(data) << data.error.toStdString();
    EXPECT_TRUE(data.value->contains("NSBezierPath"));
    auto back = unarchiveBezierPathWithData(*data.value);
    ASSERT_TRUE(back) << back.error.toStdString();
    ASSERT_EQ(back.value->elementCount(), path.elementCount());
    for (int i = 0; i < path.elementCount(); ++i) {
        EXPECT_EQ(back.value->element(i).kind, path.element(i).kind);
        for (int p = 0; p < path.element(i).pointCount(); ++p)
            EXPECT_EQ(back.value->element(i).points[p], path.element(i).points[p]) << i << "." << p;
    }
    EXPECT_EQ(back.value->windingRule(), EvenOddWindingRule);
    EXPECT_EQ(back.value->lineCapStyle(), RoundLineCapStyle);
    EXPECT_EQ(back.value->lineJoinStyle(), BevelLineJoinStyle);
    EXPECT_EQ(back.value->lineWidth(), 2.5f);
    EXPECT_EQ(back.value->miterLimit(), 4.0f);
    EXPECT_EQ(back.value->flatness(), 0.1f);
    EXPECT_EQ(back.value->lineDash(), std::vector<float>(dash, dash + 2));
    EXPECT_EQ(back.value->lineDashPhase(), 0.5f);

    auto empty = unarchiveBezierPathWithData(*archivedDataWithRootObject(BezierPath()).value);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty.value->isEmpty());
}

// The values of a platform path: a square, even-odd, round cap, bevel join, width 3, miter
// limit 10, flatness 0.6, dash 4 2 with phase 1. Strings: "@" 0, class names, then "i",
// "cff", "iiifffi", "f" as they come; small integral floats are stored as one byte.
QByteArray platformPathValues(int firstString)
{
    const QByteArray cffRef = QByteArray(1, char(0x92 + firstString + 1));
    const QByteArray fRef = QByteArray(1, char(0x92 + firstString + 3));
    return hex("84016904") + hex("840363666600" "0000") + cffRef + hex("010a00") + cffRef + hex("010a0a") + cffRef
        + hex("030000") + hex("840769696966666669" "01" "01" "02" "03" "0a" "839a99193f" "02") + hex("840166" "01")
        + fRef + hex("04") + fRef + hex("02");
}

TEST(TypedStreamPath, PlatformPathsReadWithEveryAttribute)
{
    const QByteArray pathClass = hex("848484") + hex("0c") + "NSBezierPath" + hex("810c02") + hex("848408") + "NSObject"
        + hex("0085");
    // A subclass of the path that writes a value of its own after the path's.
    const QByteArray subclass = hex("848484") + hex("07") + "VekPath" + hex("00") + hex("8484") + hex("0c")
        + "NSBezierPath" + hex("810c02") + hex("848408") + "NSObject" + hex("0085");
    const QByteArray cases[] = {
        header() + hex("840140") + pathClass + platformPathValues(3) + hex("86"),
        header() + hex("840140") + subclass + platformPathValues(4) + hex("99" "07") + hex("86"),
    };
    for (const QByteArray &data : cases) {
        auto path = unarchiveBezierPathWithData(data);
        ASSERT_TRUE(path) << path.error.toStdString();
        const BezierPath &p = *path.value;
        ASSERT_EQ(p.elementCount(), 4);
        EXPECT_EQ(p.element(0).kind, MoveToBezierPathElement);
        EXPECT_EQ(p.element(2).kind, LineToBezierPathElement);
        EXPECT_EQ(p.element(2).points[0], (Point{10, 10}));
        EXPECT_EQ(p.element(3).kind, ClosePathBezierPathElement);
        EXPECT_EQ(p.windingRule(), EvenOddWindingRule);
        EXPECT_EQ(p.lineCapStyle(), RoundLineCapStyle);
        EXPECT_EQ(p.lineJoinStyle(), BevelLineJoinStyle);
        EXPECT_EQ(p.lineWidth(), 3.0f);
        EXPECT_EQ(p.miterLimit(), 10.0f);
        EXPECT_FLOAT_EQ(p.flatness(), 0.6f);
        EXPECT_EQ(p.lineDash(), (std::vector<float>{4, 2}));
        EXPECT_EQ(p.lineDashPhase(), 1.0f);
    }

    // Our writer writes the same layout under the platform's name and version.
    BezierPath square;
    square.moveToPoint({0, 0});
    square.lineToPoint({10, 0});
    square.lineToPoint({10, 10});
    square.closePath();
    square.setWindingRule(EvenOddWindingRule);
    square.setLineCapStyle(RoundLineCapStyle);
    square.setLineJoinStyle(BevelLineJoinStyle);
    square.setLineWidth(3);
    square.setMiterLimit(10);
    square.setFlatness(0.6f);
    const float dash[] = {4, 2};
    square.setLineDash(dash, 2, 1);
    const QByteArray written = *archivedDataWithRootObject(square).value;
    EXPECT_TRUE(written.contains(QByteArray("NSBezierPath") + hex("810c02")));
    auto back = unarchiveBezierPathWithData(written);
    ASSERT_TRUE(back) << back.error.toStdString();
    EXPECT_EQ(back.value->lineDash(), (std::vector<float>{4, 2}));
    EXPECT_EQ(back.value->elementCount(), 4);
}

TEST(TypedStreamPath, EarlierFilesWithOurOwnPathLayoutStillRead)
{
    // VekBezierPath 1: count, kinds, points, "iii", "fff", dash count, dash, phase.
    const QByteArray data = header() + hex("840140848484") + hex("0d") + "VekBezierPath" + hex("01848408") + "NSObject"
        + hex("0085") + hex("84016903") + hex("84045b33635d" "000103") + hex("84045b34665d" "01020304")
        + hex("8403696969" "010102") + hex("8403666666" "05" "0a" "01") + hex("9502") + hex("84045b32665d" "0301")
        + hex("840166" "00") + hex("86");
    auto path = unarchiveBezierPathWithData(data);
    ASSERT_TRUE(path) << path.error.toStdString();
    ASSERT_EQ(path.value->elementCount(), 3);
    EXPECT_EQ(path.value->element(1).points[0], (Point{3, 4}));
    EXPECT_EQ(path.value->lineJoinStyle(), BevelLineJoinStyle);
    EXPECT_EQ(path.value->lineWidth(), 5.0f);
    EXPECT_EQ(path.value->lineDash(), (std::vector<float>{3, 1}));
}

TEST(TypedStreamValue, ValuesOfOtherLayoutsKeepTheirTypeAndBytes)
{
    // The predecessor's skew: an NSValue of three floats, read as they lie in memory.
    const QByteArray data = header() + hex("840140848484") + hex("07") + "NSValue" + hex("00848408") + "NSObject"
        + hex("0085") + hex("84012a848407") + "{?=fff}" + hex("9601" "830000803e" "83000040bf") + hex("86");
    auto value = unarchiveValueWithData(data);
    ASSERT_TRUE(value) << value.error.toStdString();
    EXPECT_EQ(value.value->objCType, "{?=fff}");
    ASSERT_EQ(value.value->bytes.size(), 12);
    float f[3];
    std::memcpy(f, value.value->bytes.constData(), sizeof f);
    EXPECT_EQ(f[0], 1.0f);
    EXPECT_EQ(f[1], 0.25f);
    EXPECT_EQ(f[2], -0.75f);

    auto again = archivedDataWithRootObject(std::any(*value.value));
    ASSERT_TRUE(again) << again.error.toStdString();
    EXPECT_EQ(*again.value, data);

    // Fields keep their natural alignment: a char, an int at offset 4, a double at 8.
    QByteArray mixedBytes(16, '\0');
    const qint8 c = 5;
    const qint32 i = -7;
    const double d = 2.5;
    std::memcpy(mixedBytes.data(), &c, 1);
    std::memcpy(mixedBytes.data() + 4, &i, 4);
    std::memcpy(mixedBytes.data() + 8, &d, 8);
    const ArchivedValue mixed{"{?=cid}", mixedBytes};
    auto back = unarchiveValueWithData(*archivedDataWithRootObject(std::any(mixed)).value);
    ASSERT_TRUE(back) << back.error.toStdString();
    EXPECT_EQ(*back.value, mixed);

    // Inside a dictionary such a value is no property-list value: it is left out, with a note.
    struct Carrier {};
    auto coders = std::make_shared<ArchiveCoderTable>(*ArchiveCoderRegistry::shared().table());
    coders->encoders[typeid(Carrier)] = [mixed](Archiver &out, const std::any &) {
        out.beginObject({{"NSDictionary", 0}, {"NSObject", 0}});
        out.encodeInt(2);
        out.encodeStringObject("kept");
        out.encodeStringObject("yes");
        out.encodeStringObject("skew");
        out.encodeObject(mixed);
        return true;
    };
    Archiver out(coders);
    ASSERT_TRUE(out.encodeRootObject(Carrier{})) << out.error().toStdString();
    auto carrier = unarchivePropertyListWithData(out.archivedData());
    ASSERT_TRUE(carrier) << carrier.error.toStdString();
    EXPECT_EQ(carrier.value->keys(), QStringList({"kept"}));
    ASSERT_EQ(carrier.notes.size(), 1);
    EXPECT_TRUE(carrier.notes.front().contains("{?=cid}"));
}

TEST(TypedStreamReader, UnsupportedClassesAreLeftOutOfContainersAndRefusedAtTheRoot)
{
    const QByteArray unknown = hex("848484" "0b") + "NSPrintInfo" + hex("00848408") + "NSObject" + hex("0085")
        + hex("840169" "07") + hex("86");
    // {"a": <NSPrintInfo>, "b": "x"}
    const QByteArray dict = header() + hex("840140848484") + hex("0c") + "NSDictionary" + hex("00848408") + "NSObject"
        + hex("0085") + hex("84016902") + hex("9284848408") + "NSString" + hex("0194") + hex("84012b01") + "a" + hex("86")
        + hex("928484840b") + "NSPrintInfo" + hex("0094" "9507" "86") + hex("9284969701") + "b" + hex("86")
        + hex("9284969701") + "x" + hex("86") + hex("86");
    auto plist = unarchivePropertyListWithData(dict);
    ASSERT_TRUE(plist) << plist.error.toStdString();
    EXPECT_EQ(plist.value->keys(), QStringList({"b"}));
    EXPECT_EQ(plist.value->value("b").stringValue(), "x");
    ASSERT_EQ(plist.notes.size(), 1);
    EXPECT_TRUE(plist.notes.front().contains("NSPrintInfo"));

    auto root = unarchivePropertyListWithData(header() + hex("840140") + unknown);
    EXPECT_FALSE(root);
    EXPECT_TRUE(root.error.contains("NSPrintInfo")) << root.error.toStdString();
}

TEST(TypedStreamReader, ABackReferenceToAnEnclosingObjectReadsWhole)
{
    // An array holding an array whose element points back at the outer array, as a child
    // keeps a pointer to its parent. String table: "@" 0, "NSArray" 1, "NSObject" 2, "i" 3;
    // object table: outer array 0, class NSArray 1, class NSObject 2, inner array 3.
    const QByteArray data = header() + hex("840140848484") + hex("07") + "NSArray" + hex("00848408") + "NSObject"
        + hex("0085") + hex("84016901") + hex("92" "84" "93" "95" "01" "92" "92" "86") + hex("86");
    auto plist = unarchivePropertyListWithData(data);
    ASSERT_TRUE(plist) << plist.error.toStdString();
    ASSERT_EQ(plist.value->count(), 1);
    EXPECT_EQ(plist.value->at(0), PropertyList::array());
    ASSERT_EQ(plist.notes.size(), 1);
    EXPECT_TRUE(plist.notes.front().contains("NSArray")) << plist.notes.front().toStdString();
}

TEST(TypedStreamReader, ReadsASequenceOfTopLevelValues)
{
    // A colour list: the number of colours, then for each its name and its colour.
    const Color red = Color::colorWithCalibratedRed(1, 0, 0, 1);
    const Color grey = Color::colorWithCalibratedWhite(0.5f, 1);
    Archiver out;
    out.encodeInt(2);
    for (const auto &[name, color] : {std::pair{QString("Red"), red}, std::pair{QString("Grey"), grey}}) {
        out.encodeStringObject(name);
        out.encodeObject(color);
    }
    ASSERT_FALSE(out.failed());

    Unarchiver in(out.archivedData());
    ASSERT_TRUE(in.decodeHeader());
    qint64 count = 0;
    ASSERT_TRUE(in.decodeInt(count));
    ASSERT_EQ(count, 2);
    QStringList names;
    std::vector<Color> colors;
    for (qint64 i = 0; i < count; ++i) {
        std::any name, color;
        ASSERT_TRUE(in.decodeObject(name) && in.decodeObject(color)) << in.error().toStdString();
        names << std::any_cast<PropertyList>(name).stringValue();
        colors.push_back(std::any_cast<Color>(color));
    }
    EXPECT_TRUE(in.atEnd());
    EXPECT_EQ(names, QStringList({"Red", "Grey"}));
    EXPECT_EQ(colors, (std::vector<Color>{red, grey}));
}

TEST(TypedStreamReader, MalformedInputIsRejectedWithAnError)
{
    const QByteArray string = archive(PropertyList("string value"));
    const QByteArray stringHead = header() + hex("840140848484") + hex("08") + "NSString" + hex("01848408") + "NSObject" + hex("0085");
    struct Case {
        const char *name;
        QByteArray data;
    };
    const Case cases[] = {
        {"empty", QByteArray()},
        {"text form", QByteArray("{ a = b; }")},
        {"wrong signature", hex("040b") + "streamtypes" + hex("81e803840140")},
        {"wrong version", hex("030b") + "streamtyped" + hex("81e803840140")},
        {"no root", header()},
        {"root not an object", header() + hex("84016905")},
        {"object reference out of range", header() + hex("840140" "a0")},
        {"string reference out of range", header() + hex("9f")},
        {"reference number beyond any table", header() + hex("840140" "87ffffffffffffff7f")},
        {"class chain refers to itself", header() + hex("840140848484") + hex("07") + "NSArray" + hex("0093" "84016900" "86")},
        {"absurd string length", stringHead + hex("84012b827fffffff") + "abc"},
        {"absurd array count", header() + hex("840140848484") + hex("07") + "NSArray" + hex("00848408") + "NSObject"
                                   + hex("0085") + hex("840169827fffffff" "86")},
        {"absurd data length", header() + hex("840140848484") + hex("06") + "NSData" + hex("00848408") + "NSObject"
                                   + hex("0085") + hex("84016903" "84075b39393939635d" "00" "86")},
        {"data length mismatch", header() + hex("840140848484") + hex("06") + "NSData" + hex("00848408") + "NSObject"
                                     + hex("0085") + hex("840169038404" "5b3263" "5d" "0102" "86")},
        {"bad type encoding", stringHead + hex("840128" "00")},
        {"date out of range", header() + hex("840140848484") + hex("06") + "NSDate" + hex("00848408") + "NSObject"
                                  + hex("0085") + hex("84016483" "9c7500883ce4377e" "86")},
        {"endless zero-width array", header() + hex("840140848484") + hex("03") + "Foo" + hex("0085") + hex("840d")
                                          + "[2000[2000!]]" + QByteArray(2100, '\0')},
        {"wrong value type", stringHead + hex("840169" "05" "86")},
        {"missing end of object", string.left(string.size() - 1) + hex("05")},
    };
    for (const Case &c : cases) {
        auto result = unarchivePropertyListWithData(c.data);
        EXPECT_FALSE(result) << c.name;
        EXPECT_FALSE(result.error.isEmpty()) << c.name;
    }
}

TEST(TypedStreamReader, NestedArraysOfEmptyArraysFailAtOnce)
{
    // 131 bytes whose nested counts multiply to 30^8 steps if each level only checks its
    // own count against the bytes left.
    const QByteArray type = QByteArray("[30").repeated(8) + "[0c]" + QByteArray("]").repeated(8);
    QByteArray data = header() + hex("840140848484") + hex("03") + "Foo" + hex("0085") + hex("84")
                      + char(type.size()) + type;
    data += QByteArray(131 - data.size(), '\0');
    QElapsedTimer timer;
    timer.start();
    auto result = unarchiveObjectWithData(data);
    EXPECT_LT(timer.elapsed(), 100);
    EXPECT_FALSE(result);
    EXPECT_TRUE(result.error.contains("no bytes")) << result.error.toStdString();
}

// An NSNumber of the given type holding the given stored integer bytes.
QByteArray numberArchive(char type, const QByteArray &stored)
{
    return header() + hex("840140848484") + hex("08") + "NSNumber" + hex("00848407") + "NSValue" + hex("00848408")
           + "NSObject" + hex("0085") + hex("84012a" "8484" "01") + type + hex("97") + stored + hex("86");
}

TEST(TypedStreamReader, UnsignedNumbersAreSignExtendedThenReinterpreted)
{
    struct Case {
        char type;
        const char *stored;
        PropertyList expected;
    };
    const Case cases[] = {
        {'Q', "fd", PropertyList::fromUnsigned(18446744073709551613ULL)},
        {'Q', "87ffffffffffffff7f", PropertyList::fromInt(std::numeric_limits<qint64>::max())},
        {'Q', "870000000000000080", PropertyList::fromUnsigned(9223372036854775808ULL)},
        {'I', "fd", PropertyList::fromInt(4294967293LL)},
        {'L', "81ffff", PropertyList::fromInt(4294967295LL)},
        {'S', "fd", PropertyList::fromInt(65533)},
        {'S', "7f", PropertyList::fromInt(127)},
        {'C', "fd", PropertyList::fromInt(253)},   // chars are literal bytes
        {'q', "fd", PropertyList::fromInt(-3)},
        {'i', "82ffffffff", PropertyList::fromInt(-1)},
    };
    for (const Case &c : cases) {
        auto result = unarchivePropertyListWithData(numberArchive(c.type, hex(c.stored)));
        ASSERT_TRUE(result) << c.type << c.stored << ": " << result.error.toStdString();
        EXPECT_EQ(*result.value, c.expected) << c.type << c.stored << " read as " << result.value->stringValue().toStdString();
    }
    // A value above 2^63 - 1 keeps its exact value through our writer and reader.
    const PropertyList big = PropertyList::fromUnsigned(18446744073709551613ULL);
    EXPECT_EQ(big.stringValue(), "18446744073709551613");
    EXPECT_EQ(*unarchivePropertyListWithData(archive(big)).value, big);
    EXPECT_EQ(archive(big), numberArchive('Q', hex("fd")));
}

QByteArray withRoot(const char *className) { return header() + hex("840140848484") + char(std::strlen(className)) + className; }
QByteArray objectClass() { return hex("848408") + "NSObject" + hex("0085"); }

TEST(TypedStreamFoundationValues, SetsReadAndWriteInThePlatformForm)
{
    // NSSet {"a", "b"}: "I" count, then "@" per element.
    const QByteArray set = withRoot("NSSet") + hex("00") + objectClass() + hex("84014902") + hex("9284848408") + "NSString"
                           + hex("0194" "84012b01") + "a" + hex("86" "92849697" "01") + "b" + hex("86" "86");
    auto read = unarchiveObjectWithData(set);
    ASSERT_TRUE(read) << read.error.toStdString();
    const auto *value = std::any_cast<ArchivedSet>(&*read.value);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->elements.stringListValue(), QStringList({"a", "b"}));
    EXPECT_EQ(*archivedDataWithRootObject(std::any(*value)).value, set);

    // A mutable set inside an array is kept as the array of its elements.
    const QByteArray inArray = withRoot("NSArray") + hex("00") + objectClass() + hex("84016901") + hex("928484840c")
                               + "NSMutableSet" + hex("00" "94" "84014901") + hex("9284848408") + "NSString"
                               + hex("0194" "84012b01") + "a" + hex("86" "86" "86");
    auto list = unarchivePropertyListWithData(inArray);
    ASSERT_TRUE(list) << list.error.toStdString();
    EXPECT_EQ(list.value->count(), 1);
    EXPECT_EQ(list.value->at(0).stringListValue(), QStringList({"a"}));
}

TEST(TypedStreamFoundationValues, UrlsAbsoluteAndRelativeAndNull)
{
    // NSURL "page.html" relative to the NSURL "http://example.com/dir/".
    const QByteArray base = "http://example.com/dir/";
    const QByteArray relative = withRoot("NSURL") + hex("00") + objectClass() + hex("84016301" "92" "8493" "9500" "92")
                                + hex("84848408") + "NSString" + hex("0194" "84012b") + char(base.size()) + base
                                + hex("86" "86" "92" "849797" "09") + "page.html" + hex("86" "86");
    auto read = unarchiveObjectWithData(relative);
    ASSERT_TRUE(read) << read.error.toStdString();
    ASSERT_NE(std::any_cast<QUrl>(&*read.value), nullptr);
    EXPECT_EQ(std::any_cast<QUrl>(*read.value), QUrl("http://example.com/dir/page.html"));

    // Written back absolute, in the platform's layout.
    const QByteArray absolute = *archivedDataWithRootObject(std::any(QUrl("http://example.com/a b"))).value;
    EXPECT_EQ(absolute, withRoot("NSURL") + hex("00") + objectClass() + hex("84016300" "92" "84848408") + "NSString"
                            + hex("0194" "84012b") + char(24) + "http://example.com/a%20b" + hex("86" "86"));
    EXPECT_EQ(std::any_cast<QUrl>(*unarchiveObjectWithData(absolute).value), QUrl("http://example.com/a b"));

    // NSNull: no values; a property list has no null, so containers leave it out.
    const QByteArray null = withRoot("NSNull") + hex("00") + objectClass() + hex("86");
    auto nothing = unarchiveObjectWithData(null);
    ASSERT_TRUE(nothing);
    EXPECT_NE(std::any_cast<ArchivedNull>(&*nothing.value), nullptr);
    EXPECT_EQ(*archivedDataWithRootObject(std::any(ArchivedNull{})).value, null);
}

TEST(TypedStreamReader, EveryTruncationOfAnArchiveFails)
{
    const QByteArray data = archive(everyKind());
    for (qsizetype n = 0; n < data.size(); ++n) {
        auto result = unarchiveObjectWithData(data.left(n));
        ASSERT_FALSE(result) << "prefix of " << n << " bytes";
    }
}

TEST(TypedStreamReader, DeepNestingIsRefused)
{
    PropertyList nested = PropertyList::array();
    for (int i = 0; i < Unarchiver::maxDepth + 10; ++i) {
        PropertyList outer = PropertyList::array();
        outer.append(nested);
        nested = outer;
    }
    auto result = unarchivePropertyListWithData(archive(nested));
    EXPECT_FALSE(result);
    EXPECT_TRUE(result.error.contains("nested")) << result.error.toStdString();
}

TEST(TypedStreamArchiver, ValuesWithoutACoderFail)
{
    struct Unknown {};
    auto data = archivedDataWithRootObject(std::any(Unknown{}));
    EXPECT_FALSE(data);
    EXPECT_FALSE(data.error.isEmpty());

    auto nilRoot = unarchiveObjectWithData(*archivedDataWithRootObject(PropertyList()).value);
    ASSERT_TRUE(nilRoot);
    EXPECT_FALSE(nilRoot.value->has_value());
}
