// Loading SVG bytes: the parse stages and the encoding fallback, and hostile input (external
// entities, entity bombs, deep nesting, use bombs, huge numbers) ending in bounded time with
// an error or a partial result.
#include "tests/svg/svg_test_support.h"

#include <QElapsedTimer>
#include <QTemporaryFile>

namespace {

// Hostile input must end well within this (the whole walk of a normal file takes milliseconds).
constexpr qint64 BoundedMilliseconds = 10000;

std::optional<SvgImportPropertyList> timedImport(const QByteArray &data)
{
    QElapsedTimer timer;
    timer.start();
    auto result = svgPropertyListFromData(data, QString());
    EXPECT_LT(timer.elapsed(), BoundedMilliseconds);
    return result;
}

} // namespace

TEST(SvgLoader, StagesAndEncodings)
{
    struct Case {
        QByteArray data;
        const char *encoding;   // nullptr: no import (no document, or one without a root element)
    } cases[] = {
        {"<svg xmlns='http://www.w3.org/2000/svg'><title>caf\xc3\xa9</title></svg>", "utf-8"},
        {"<svg xmlns='http://www.w3.org/2000/svg'><title>caf\xe9</title></svg>", "macos-roman"},
        // Well-formed but invalid against its own DTD: kept by the validating stage.
        {"<!DOCTYPE svg [<!ELEMENT svg EMPTY>]><svg><g/></svg>", "utf-8"},
        // Not well-formed: the recovering stage keeps what it can.
        {"<svg><rect width='1' height='1'></svg>", "utf-8"},
        {"", nullptr},
        {"no markup at all", nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.data.toStdString());
        const SvgXmlDocument doc = MakeXMLDocumentWithData(c.data);
        if (!c.encoding) {
            EXPECT_FALSE(GetPropertyListFromXMLDocument(doc.get(), QString()));
            continue;
        }
        ASSERT_TRUE(doc);
        EXPECT_EQ(svgDocumentEncoding(doc.get()), QLatin1String(c.encoding));
    }
    const auto list = importSvgText("<svg xmlns='http://www.w3.org/2000/svg'><title>caf\xe9</title></svg>");
    // The byte 0xE9 read as Mac OS Roman is the letter E with grave.
    EXPECT_EQ(list.svgTitle.value_or(""), QString::fromUtf16(u"caf\u00c8"));
}

TEST(SvgLoader, EntitiesNeverReachOutside)
{
    QTemporaryFile secret;
    ASSERT_TRUE(secret.open());
    secret.write("SECRET");
    secret.flush();
    const QByteArray external = "<!DOCTYPE svg [<!ENTITY x SYSTEM 'file://" + secret.fileName().toUtf8()
                                + "'>]><svg xmlns='http://www.w3.org/2000/svg'><title>&x;</title></svg>";
    const auto list = timedImport(external);
    if (list) {
        EXPECT_FALSE(list->svgTitle.value_or("").contains("SECRET"));
    }

    const QByteArray remoteDtd = "<!DOCTYPE svg PUBLIC '-//W3C//DTD SVG 1.1//EN' "
                                 "'http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd'><svg xmlns='http://www.w3.org/2000/svg'/>";
    EXPECT_TRUE(timedImport(remoteDtd));

    // Internal entities still expand (some exporters name their namespaces with them).
    const auto internal = timedImport("<!DOCTYPE svg [<!ENTITY t 'named'>]><svg><title>&t;</title></svg>");
    ASSERT_TRUE(internal);
    EXPECT_EQ(internal->svgTitle.value_or(""), "named");
}

TEST(SvgLoader, HostileInputEndsBounded)
{
    QByteArray laughs = "<?xml version='1.0'?><!DOCTYPE svg [<!ENTITY a0 'lol'>";
    for (int i = 1; i <= 12; ++i)
        laughs += "<!ENTITY a" + QByteArray::number(i) + " '" + QByteArray("&a" + QByteArray::number(i - 1) + ";").repeated(10) + "'>";
    laughs += "]><svg><title>&a12;</title></svg>";
    if (const auto list = timedImport(laughs)) {
        EXPECT_LT(list->svgTitle.value_or("").size(), 10000000);
    }

    const QByteArray deep = "<svg>" + QByteArray("<g>").repeated(100000) + "<rect width='1' height='1'/>"
                            + QByteArray("</g>").repeated(100000) + "</svg>";
    timedImport(deep);

    // Ten uses of the level below, nine levels deep: a billion rectangles if nothing stopped it.
    QByteArray bomb = "<svg xmlns:xlink='http://www.w3.org/1999/xlink'><defs><rect id='l0' width='1' height='1'/>";
    for (int level = 1; level <= 9; ++level) {
        bomb += "<g id='l" + QByteArray::number(level) + "'>";
        for (int i = 0; i < 10; ++i)
            bomb += "<use xlink:href='#l" + QByteArray::number(level - 1) + "'/>";
        bomb += "</g>";
    }
    bomb += "</defs><use xlink:href='#l9'/></svg>";
    const auto bombed = timedImport(bomb);
    ASSERT_TRUE(bombed);
    EXPECT_LE(bombed->objectInfos.size(), size_t(SvgMaximumElements));

    const auto huge = timedImport("<svg width='1e30' height='1e38' viewBox='0 0 1e-30 0'><rect width='1e38' height='1e38'/>"
                                  "<circle r='1e38'/><path d='M0 0 L1e38 1e38 A1e38 1 0 1 1 -1e38 0'/></svg>");
    ASSERT_TRUE(huge);
}

TEST(SvgLoader, ImagesReadOnlyLocalRegularFiles)
{
    ensureGuiApp();
    for (const char *href : {"/dev/zero", "http://example.invalid/a.png", "file:///dev/urandom", "/nonexistent.png"}) {
        SCOPED_TRACE(href);
        const QByteArray text = QByteArray("<svg><image width='10' height='10' href='") + href + "'/></svg>";
        const auto list = timedImport(text);
        ASSERT_TRUE(list);
        EXPECT_TRUE(drawnInfos(*list).empty());
    }
}
