// A new document from the import property list: objects of paths and images, line widths
// from the accumulated scale, gradients, the page sized from the view box, and objects
// shrunk and moved onto the page; whole files, compressed ones included.
#include "tests/svg/svg_test_support.h"

#include "model/gradient/vek_gradient_view.h"
#include "model/vek_obj_text.h"
#include "model/vek_object.h"
#include "svg/svg_definitions.h"

#include <QTemporaryDir>

#include <zlib.h>

namespace {

SvgObjectInfo pathInfo(const Rect &r)
{
    SvgObjectInfo info;
    info.classNr = SvgPathObject;
    info.state = SvgGraphicsState::defaults(QString());
    info.bezierPath = BezierPath::bezierPathWithRect(r);
    return info;
}

SvgImportPropertyList listOf(std::vector<SvgObjectInfo> infos)
{
    SvgImportPropertyList list;
    list.objectInfos = std::move(infos);
    return list;
}

std::shared_ptr<SvgDefinition> gradient(std::initializer_list<float> offsets)
{
    auto server = std::make_shared<SvgDefinition>();
    server->kind = SvgDefinition::Kind::PaintServer;
    server->gradientClass = QStringLiteral("SVGLinearGradient");
    for (float offset : offsets)
        server->stops.push_back({offset, svgColor(offset, 0, 0), 1});
    return server;
}

} // namespace

TEST(SvgDocumentImport, PathEntries)
{
    ensureGuiApp();
    SvgObjectInfo scaled = pathInfo(Rect(0, 0, 10, 10));
    scaled.state.strokeWidth = 2;
    scaled.state.scaleX = 3;
    scaled.state.scaleY = -1;
    SvgObjectInfo three = pathInfo(Rect(20, 0, 10, 10));
    three.state.fillColor = SvgPaint{std::nullopt, gradient({0, 0.5f, 1})};
    SvgObjectInfo one = pathInfo(Rect(40, 0, 10, 10));
    one.state.fillColor = SvgPaint{std::nullopt, gradient({0.5f})};
    SvgObjectInfo text;
    text.classNr = SvgTextObject;
    text.text = std::make_shared<SvgTextRun>(SvgTextRun{QStringLiteral("words"), {}, {}, {}, {}, {}, 0, {Point(0, 20)}});

    VekDocument document;
    ASSERT_TRUE(document.setsvgproperties(listOf({scaled, three, one, text})));
    ASSERT_EQ(document.objects().size(), 4u);
    EXPECT_EQ(document.objects()[0]->className(), "VekObjText");
    const std::vector<std::shared_ptr<VekObject>> objects(document.objects().begin() + 1, document.objects().end());
    EXPECT_FLOAT_EQ(objects[2]->lineWidth(), 4);
    EXPECT_EQ(objects[1]->objGradientType(), GradientLinear);
    EXPECT_EQ(objects[1]->heldGradientColors().count(), 3);
    EXPECT_EQ(objects[1]->heldGradientProportions().count(), 2);
    EXPECT_EQ(objects[0]->objGradientType(), GradientNone);   // one stop: no gradient
    EXPECT_TRUE(objects[0]->drawsFill());
    EXPECT_FALSE(document.isDocumentEdited());

    VekDocument empty;
    EXPECT_FALSE(empty.setsvgproperties(SvgImportPropertyList()));

    // Glyphs placed one by one become one object each, the last placed one holding the rest
    // of the run; each box puts its glyph where the import placed it on the baseline.
    SvgObjectInfo glyphs = text;
    glyphs.text = std::make_shared<SvgTextRun>(
        SvgTextRun{QStringLiteral("abcd"), {}, {}, {}, {}, {}, 0, {Point(110, 55), Point(120, 55), Point(130, 60)}});
    VekDocument perGlyph;
    ASSERT_TRUE(perGlyph.setsvgproperties(listOf({glyphs})));
    ASSERT_EQ(perGlyph.objects().size(), 3u);
    const auto &last = static_cast<VekObjText &>(*perGlyph.objects()[0]);
    const auto &first = static_cast<VekObjText &>(*perGlyph.objects()[2]);   // at the back
    EXPECT_EQ(last.contents().text().string(), "cd");
    EXPECT_FLOAT_EQ(first.bounds().origin.x + first.tcPadding(), 110);
    EXPECT_FLOAT_EQ(last.bounds().origin.x + last.tcPadding(), 130);
    // The baseline lies inside the box, below its top by the font's ascent.
    EXPECT_LT(last.bounds().origin.y, 60);
    EXPECT_GT(last.bounds().maxY(), 60);
    EXPECT_FLOAT_EQ(last.bounds().origin.y - first.bounds().origin.y, 5);
}

TEST(SvgDocumentImport, PageFromViewBoxAndFitting)
{
    ensureGuiApp();
    {
        VekDocument document;
        SvgImportPropertyList list = listOf({pathInfo(Rect(0, 0, 10, 10))});
        list.svgViewBox = Rect(0, 0, 400, 300);
        list.svgScaleX = list.svgScaleY = 2;
        ASSERT_TRUE(document.setsvgproperties(list));
        EXPECT_EQ(document.drawAreaSizePerPage(), Size(800, 600));
    }
    struct Case {
        Rect a, b;           // two objects
        Rect expectedUnion;  // after fitting an 800 x 600 page
    } cases[] = {
        {Rect(0, 0, 800, 600), Rect(800, 0, 800, 600), Rect(0, 150, 800, 300)},   // halved about the centre, moved in
        {Rect(100, 0, 400, 100), Rect(500, 0, 400, 100), Rect(0, 0, 800, 100)},     // moved left by 100
        {Rect(700, 0, 100, 100), Rect(800, 0, 200, 100), Rect(500, 0, 300, 100)},   // moved left by 200
    };
    for (const Case &c : cases) {
        VekDocument document;
        SvgImportPropertyList list = listOf({pathInfo(c.a), pathInfo(c.b)});
        list.svgViewBox = Rect(0, 0, 800, 600);
        ASSERT_TRUE(document.setsvgproperties(list));
        const Rect all = VekDocument::boundsForObjects(document.objects());
        EXPECT_NEAR(all.origin.x, c.expectedUnion.origin.x, 0.01);
        EXPECT_NEAR(all.size.width, c.expectedUnion.size.width, 0.01);
        EXPECT_NEAR(all.size.height, c.expectedUnion.size.height, 0.01);
    }
}

TEST(SvgDocumentImport, WholeFiles)
{
    ensureGuiApp();
    QTemporaryDir dir;
    const QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' width='300' height='200'><rect width='10' height='10'/></svg>";
    // Compressed with gzip, as .svgz files are.
    QByteArray packed(int(svg.size()) + 64, '\0');
    z_stream stream{};
    ASSERT_EQ(deflateInit2(&stream, 9, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY), Z_OK);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(svg.data()));
    stream.avail_in = uInt(svg.size());
    stream.next_out = reinterpret_cast<Bytef *>(packed.data());
    stream.avail_out = uInt(packed.size());
    ASSERT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
    packed.truncate(qsizetype(stream.total_out));
    deflateEnd(&stream);
    const QString svgz = dir.filePath(QStringLiteral("drawing.svgz"));
    QFile file(svgz);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(packed);
    file.close();
    auto document = importSvgFile(svgz);
    ASSERT_TRUE(document);
    EXPECT_EQ(document->objects().size(), 1u);
    EXPECT_EQ(document->drawAreaSizePerPage(), Size(300, 200));

    QString error;
    EXPECT_FALSE(VekDocument::documentFromSVGFile(dir.filePath(QStringLiteral("missing.svg")), &error));
    EXPECT_FALSE(error.isEmpty());
    const QString empty = dir.filePath(QStringLiteral("empty.svg"));
    QFile emptyFile(empty);
    ASSERT_TRUE(emptyFile.open(QIODevice::WriteOnly));
    emptyFile.write("<svg xmlns='http://www.w3.org/2000/svg'><desc>nothing drawn</desc></svg>");
    emptyFile.close();
    error.clear();
    EXPECT_FALSE(VekDocument::documentFromSVGFile(empty, &error));
    EXPECT_FALSE(error.isEmpty());
}

// What the user is told when a file opens only in part or not at all: a file cut short opens
// with what it holds and a note that it is damaged, or is refused as damaged when it holds
// nothing; a well-formed file without drawing is empty, not damaged; files beyond the nesting
// bound (the parser's or the walk's) and the element bound say which bound.
TEST(SvgDocumentImport, DamagedAndRefusedFilesSaySo)
{
    ensureGuiApp();
    const QByteArray head = "<svg xmlns='http://www.w3.org/2000/svg' width='100' height='100'>";
    const QByteArray rect = "<rect width='10' height='10'/>";
    struct Case {
        const char *name;
        QByteArray svg;
        int objects;           // 0: refused
        const char *message;   // part of the refusal, or of the first note
    };
    const Case cases[] = {
        {"whole", head + rect + "</svg>", 1, ""},
        {"cut after a shape", head + rect + rect + "<rect wid", 2, "damaged: it breaks off"},
        {"cut before any shape", head + "<g><rect wid", 0, "damaged: it breaks off"},
        {"nothing to draw", head + "<desc>d</desc></svg>", 0, "holds nothing that can be drawn"},
        {"parser depth", head + QByteArray("<g>").repeated(300) + rect + QByteArray("</g>").repeated(300) + "</svg>", 0,
         "more than 256 deep"},
    };
    QTemporaryDir dir;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QStringLiteral("case.svg"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.svg);
        file.close();
        QString error;
        QStringList notes;
        auto document = VekDocument::documentFromSVGFile(path, &error, &notes);
        EXPECT_EQ(document ? int(document->objects().size()) : 0, c.objects) << error.toStdString();
        const QString told = document ? notes.value(0) : error;
        EXPECT_TRUE(told.contains(QLatin1String(c.message))) << told.toStdString();
        EXPECT_EQ(told.isEmpty(), !*c.message) << told.toStdString();
    }
}
