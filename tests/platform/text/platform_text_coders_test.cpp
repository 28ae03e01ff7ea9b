// The platform's NSFont and NSAttributedString read from archives laid out as the platform
// writes them. The fixtures are written by test encoders that follow those layouts value by
// value, with a Latin-1 and a UTF-16 font name.
#include "platform/color/color.h"
#include "platform/foundation/archive_coder_registry.h"
#include "platform/foundation/archive_foundation_coders.h"
#include "platform/foundation/archiver.h"
#include "platform/foundation/archiving.h"
#include "platform/text/attributed_string.h"
#include "platform/text/platform_text_coders.h"
#include "platform/text/text_archiving.h"

#include <gtest/gtest.h>

#include <QUrl>

namespace {

// The platform's classes, as test values.
struct PlatformFont {
    QByteArray serialisedName;
    float size;
};
struct PlatformDictionary {
    std::vector<std::pair<QString, std::any>> entries;
};
struct PlatformRun {
    int set;
    int length;
    std::optional<PlatformDictionary> attributes;   // the first time the set appears
};
struct PlatformAttributedString {
    QString text;
    std::vector<PlatformRun> runs;
};
// A paragraph style with tab stops. The platform's layout of these classes is not known, so
// this writes typed values of its own choosing: the reader must read past them whatever they are.
struct PlatformParagraphStyle {
    int alignment;
    std::vector<float> tabLocations;
};
struct PlatformTextTab {
    float location;
};
struct PlatformTabArray {
    std::vector<float> locations;
};

QByteArray littleEndian(quint32 v) { return QByteArray(reinterpret_cast<const char *>(&v), 4); }

QByteArray padded(QByteArray bytes)
{
    while (bytes.size() % 4)
        bytes.append('\0');
    return bytes;
}

QByteArray latin1Name(const QByteArray &name) { return littleEndian(5) + littleEndian(quint32(name.size())) + padded(name); }

QByteArray utf16Name(const QString &name)
{
    QByteArray bytes("\xff\xfe", 2);
    bytes.append(reinterpret_cast<const char *>(name.utf16()), name.size() * 2);
    return littleEndian(6) + littleEndian(quint32(bytes.size())) + padded(bytes);
}

template <typename T>
void addEncoder(ArchiveCoderTable &table, bool (*encoder)(Archiver &, const T &))
{
    table.encoders[std::type_index(typeid(T))] = [encoder](Archiver &out, const std::any &o) {
        return encoder(out, *std::any_cast<T>(&o));
    };
}

QByteArray archived(const std::any &root)
{
    registerTextCoders(ArchiveCoderRegistry::shared());
    auto table = std::make_shared<ArchiveCoderTable>(*ArchiveCoderRegistry::shared().table());
    addEncoder<PlatformFont>(*table, [](Archiver &out, const PlatformFont &f) {
        out.beginObject({{"NSFont", 30}, {"NSObject", 0}});
        encodeDataObject(out, f.serialisedName);
        out.encodeFloat(f.size);
        for (int i = 0; i < 4; ++i)
            out.encodeInt(0, 'c');
        return true;
    });
    addEncoder<PlatformDictionary>(*table, [](Archiver &out, const PlatformDictionary &d) {
        out.beginObject({{"NSDictionary", 0}, {"NSObject", 0}});
        out.encodeInt(qint64(d.entries.size()));
        for (const auto &[key, value] : d.entries) {
            out.encodeStringObject(key);
            out.encodeObject(value);
        }
        return true;
    });
    addEncoder<PlatformTextTab>(*table, [](Archiver &out, const PlatformTextTab &t) {
        out.beginObject({{"NSTextTab", 0}, {"NSObject", 0}});
        out.beginGroup("if");
        out.encodeInt(0);
        out.encodeFloat(t.location);
        out.endGroup();
        return true;
    });
    addEncoder<PlatformParagraphStyle>(*table, [](Archiver &out, const PlatformParagraphStyle &p) {
        out.beginObject({{"NSMutableParagraphStyle", 0}, {"NSParagraphStyle", 0}, {"NSObject", 0}});
        out.beginGroup("cffff");
        out.encodeInt(p.alignment, 'c');
        for (int i = 0; i < 4; ++i)
            out.encodeFloat(2.5f * i);
        out.endGroup();
        out.encodeObject(PlatformTabArray{p.tabLocations});
        return true;
    });
    addEncoder<PlatformTabArray>(*table, [](Archiver &out, const PlatformTabArray &a) {
        out.beginObject({{"NSArray", 0}, {"NSObject", 0}});
        out.encodeInt(qint64(a.locations.size()));
        for (float location : a.locations)
            out.encodeObject(PlatformTextTab{location});
        return true;
    });
    addEncoder<PlatformAttributedString>(*table, [](Archiver &out, const PlatformAttributedString &s) {
        out.beginObject({{"NSAttributedString", 0}, {"NSObject", 0}});
        out.encodeStringObject(s.text);
        for (const PlatformRun &run : s.runs) {
            out.beginGroup("iI");
            out.encodeInt(run.set);
            out.encodeInt(run.length, 'I');
            out.endGroup();
            if (run.attributes)
                out.encodeObject(*run.attributes);
        }
        return true;
    });
    Archiver archiver(table);
    EXPECT_TRUE(archiver.encodeRootObject(root)) << archiver.error().toStdString();
    return archiver.archivedData();
}

std::any unarchived(const QByteArray &data)
{
    registerTextCoders(ArchiveCoderRegistry::shared());
    auto result = unarchiveObjectWithData(data);
    EXPECT_TRUE(result) << result.error.toStdString();
    return result ? *result.value : std::any();
}

} // namespace

TEST(PlatformTextCoders, FontsReadWithLatin1AndUtf16Names)
{
    const std::any latin = unarchived(archived(PlatformFont{latin1Name("Helvetica-Bold"), 13.5f}));
    ASSERT_NE(std::any_cast<Font>(&latin), nullptr);
    EXPECT_EQ(std::any_cast<Font>(latin), (Font{"Helvetica-Bold", 13.5f}));
    const std::any wide = unarchived(archived(PlatformFont{utf16Name(QStringLiteral("Zapfino\u00e9")), 24}));
    EXPECT_EQ(std::any_cast<Font>(wide), (Font{QStringLiteral("Zapfino\u00e9"), 24}));

    // The serialised name must be exactly one string.
    EXPECT_FALSE(stringFromOldBinaryPropertyList(latin1Name("Helvetica") + "xxxx"));
    EXPECT_FALSE(stringFromOldBinaryPropertyList(littleEndian(5) + littleEndian(400) + "abcd"));
    EXPECT_FALSE(stringFromOldBinaryPropertyList(littleEndian(6) + littleEndian(4) + "abcd"));   // no byte-order mark
    EXPECT_FALSE(unarchiveObjectWithData(archived(PlatformFont{littleEndian(2) + littleEndian(0), 12})));
}

TEST(PlatformTextCoders, AttributedStringsReadTheirRunsFontsColoursAndLinks)
{
    const Color red = Color::colorWithCalibratedRed(1, 0, 0, 1);
    PlatformDictionary first{{{"NSFont", PlatformFont{latin1Name("Times-Roman"), 18}},
                              {"NSColor", red},
                              {"NSUnderline", PropertyList::fromInt(1)},
                              {"NSKern", PropertyList::fromFloat(0.5f)}}};
    PlatformDictionary second{{{"NSLink", QUrl(QStringLiteral("https://example.org/a"))},
                               {"NSParagraphStyle", PropertyList("left out")}}};
    // "Zoë 😀 x": the emoji counts two UTF-16 units; set 1 comes back without its dictionary.
    const QString text = QStringLiteral("Zo\u00eb \U0001F600 x");
    PlatformAttributedString s{text, {{1, 4, first}, {2, 2, second}, {1, 2, std::nullopt}}};
    const std::any value = unarchived(archived(s));
    const auto *read = std::any_cast<AttributedString>(&value);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->string(), text);
    const TextAttributes a = read->attributesAt(0);
    EXPECT_EQ(a.font, (Font{"Times-Roman", 18}));
    EXPECT_EQ(a.foregroundColor, red);
    EXPECT_EQ(a.underlineStyle, 1);
    EXPECT_EQ(a.kerning, 0.5f);
    const TextAttributes b = read->attributesAt(4);
    EXPECT_EQ(b.link, QStringLiteral("https://example.org/a"));
    EXPECT_FALSE(b.font);
    EXPECT_FALSE(b.paragraphStyle);
    EXPECT_EQ(read->attributesAt(7), a);

    // An empty text has no runs.
    const std::any empty = unarchived(archived(PlatformAttributedString{QString(), {}}));
    EXPECT_EQ(std::any_cast<AttributedString>(empty).length(), 0);
}

TEST(PlatformTextCoders, ParagraphStylesOfUnknownLayoutAreLeftOutWithANote)
{
    const Color blue = Color::colorWithCalibratedRed(0, 0, 1, 1);
    PlatformDictionary styled{{{"NSFont", PlatformFont{latin1Name("Courier"), 10}},
                               {"NSParagraphStyle", PlatformParagraphStyle{2, {36, 72.5f}}},
                               {"NSColor", blue}}};
    PlatformDictionary plain{{{"NSUnderline", PropertyList::fromInt(1)}}};
    registerTextCoders(ArchiveCoderRegistry::shared());
    const auto result = unarchiveObjectWithData(archived(PlatformAttributedString{
        QStringLiteral("one\ttwo\n3"), {{1, 8, styled}, {2, 1, plain}}}));
    ASSERT_TRUE(result) << result.error.toStdString();
    const auto *read = std::any_cast<AttributedString>(&*result.value);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->string(), QStringLiteral("one\ttwo\n3"));
    const TextAttributes a = read->attributesAt(0);
    EXPECT_EQ(a.font, (Font{"Courier", 10}));
    EXPECT_EQ(a.foregroundColor, blue);
    EXPECT_FALSE(a.paragraphStyle);
    EXPECT_EQ(read->attributesAt(8).underlineStyle, 1);
    EXPECT_TRUE(result.notes.contains(QStringLiteral("left out an object of the unsupported class NSMutableParagraphStyle")))
        << result.notes.join(QLatin1Char('|')).toStdString();
}

TEST(PlatformTextCoders, DamagedRunsAreErrors)
{
    PlatformDictionary none;
    const PlatformAttributedString cases[] = {
        {QStringLiteral("abc"), {{1, 2, none}}},                      // runs stop short
        {QStringLiteral("abc"), {{1, 4, none}}},                      // past the end
        {QStringLiteral("abc"), {{1, 0, none}, {1, 3, std::nullopt}}},// empty run
        {QStringLiteral("abc"), {{0, 3, none}}},                      // set numbers start at 1
    };
    for (const PlatformAttributedString &c : cases) {
        registerTextCoders(ArchiveCoderRegistry::shared());
        EXPECT_FALSE(unarchiveObjectWithData(archived(c))) << c.runs.front().length;
    }
}
