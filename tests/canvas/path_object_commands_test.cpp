// New path objects: glyph outlines of text (lines, fonts and the character each glyph
// belongs to), paths placed for an image object, and the chosen object set in place of a
// drawn shape; each against the document and its undo.
#include "canvas/glyph_outlines.h"
#include "canvas/path_object_commands.h"

#include "model/vek_obj_path.h"
#include "tests/canvas/command_fixture.h"
#include "tests/model/fakes.h"
#include "tests/support/path_helpers.h"

namespace {

AttributedString text(const QString &string, float size = 24)
{
    TextAttributes attributes;
    attributes.font = Font{QStringLiteral("Helvetica"), size};
    return AttributedString(string, attributes);
}

Rect outlineBounds(const AttributedString &t)
{
    return bezierPathWithText(t, {0, t.length()}).bounds();
}

class SetShell : public ShellServices {
public:
    std::vector<std::shared_ptr<VekObject>> set;
    std::vector<std::shared_ptr<VekObject>> selectedObjectSetObjects() const override { return set; }
};

} // namespace

TEST(GlyphOutlines, EachLineBreakStartsANewLineAtXZeroOneStepLower)
{
    ensureGuiApp();
    const Rect a = outlineBounds(text(QStringLiteral("A")));
    const Rect b = outlineBounds(text(QStringLiteral("B")));
    const Rect ab = outlineBounds(text(QStringLiteral("AB")));
    ASSERT_GT(b.height(), 10);
    const float step = std::ceil(b.height()) + 5;

    // The outlines begin at (0.5, 0.5).
    const BezierPath single = bezierPathWithText(text(QStringLiteral("A")), {0, 1});
    EXPECT_TRUE(pointNear(single.controlPointBounds().origin, {0.5f, 0.5f}));

    struct Case {
        QString string;
        int lineSteps;
    };
    for (const Case &c : {Case{QStringLiteral("A\nB"), 1}, Case{QStringLiteral("A\rB"), 1},
                          Case{QStringLiteral("A\r\nB"), 1}, Case{QStringLiteral("A\n\nB"), 2},
                          Case{QString::fromUtf16(u"A\u2029B"), 1}}) {
        const Rect r = outlineBounds(text(c.string));
        SCOPED_TRACE(c.string.toStdString());
        // B starts again at x 0: the lines overlap instead of running on.
        EXPECT_LT(r.width(), ab.width() - 5);
        EXPECT_NEAR(r.height(), float(c.lineSteps) * step + a.height(), 1.5f);
    }
}

TEST(GlyphOutlines, CombinedCharactersKeepTheLineBreakAfterThem)
{
    ensureGuiApp();
    // "e" with a combining accent shapes into one glyph for two characters; the line feed
    // after it must still break the line.
    const Rect accented = outlineBounds(text(QString::fromUtf16(u"e\u0301")));
    const Rect broken = outlineBounds(text(QString::fromUtf16(u"e\u0301\nB")));
    const Rect b = outlineBounds(text(QStringLiteral("B")));
    EXPECT_GT(broken.height(), accented.height() + b.height());
    EXPECT_LT(broken.width(), accented.width() + b.width());
}

TEST(GlyphOutlines, EveryGlyphIsSetInItsOwnCharactersFont)
{
    ensureGuiApp();
    AttributedString mixed = text(QStringLiteral("AB"), 10);
    TextAttributes large;
    large.font = Font{QStringLiteral("Helvetica"), 40};
    mixed.setAttributes(large, {1, 1});
    const Rect small = outlineBounds(text(QStringLiteral("A"), 10));
    const Rect big = outlineBounds(text(QStringLiteral("B"), 40));
    const Rect r = outlineBounds(mixed);
    EXPECT_NEAR(r.height(), big.height(), 0.5f);
    EXPECT_NEAR(r.width(), small.width() + big.width(), 4.0f);
}

TEST(GlyphOutlines, TextWithoutOutlinesGivesAnEmptyPath)
{
    ensureGuiApp();
    for (const QString &s : {QString(), QStringLiteral("   "), QStringLiteral("\n\t\n")})
        EXPECT_TRUE(bezierPathWithText(text(s), {0, int(s.size())}).isEmpty());
}

TEST(PathObjectCommands, GlyphObjectLiesAtTheRectangleSelectedAndUndoable)
{
    CommandFixture f;
    const auto behind = f.add({0, 0, 5, 5});
    f.settle();
    auto context = f.context();
    const auto object = makeGlyphObjectsFrom(context, text(QStringLiteral("Word")), Rect(100, 200, 300, 50));
    f.step();
    ASSERT_TRUE(object);
    EXPECT_EQ(f.order(), (std::vector<VekObject *>{object.get(), behind.get()}));
    EXPECT_EQ(object->className(), QStringLiteral("VekObjPath"));
    EXPECT_TRUE(pointNear(object->bezierPath().controlPointBounds().origin, {100.5f, 200.5f}, 1e-3f));
    EXPECT_EQ(object->bounds(), object->bezierPath().bounds());
    EXPECT_EQ(f.host.selected, std::vector<std::shared_ptr<VekObject>>{object});

    f.undo();
    EXPECT_EQ(f.order(), std::vector<VekObject *>{behind.get()});

    EXPECT_FALSE(makeGlyphObjectsFrom(context, text(QString()), Rect(0, 0, 100, 100)));
    EXPECT_FALSE(makeGlyphObjectsFrom(context, text(QStringLiteral("  ")), Rect(0, 0, 100, 100)));
    EXPECT_EQ(f.doc.objects().size(), 1u);
}

TEST(PathObjectCommands, PathGoesToTheImageObjectOrTheVisibleCorner)
{
    CommandFixture f;
    const auto image = f.add({30, 40, 50, 50});
    f.host.visible = Rect(7, 9, 100, 100);
    f.settle();
    auto context = f.context();
    const BezierPath path = polyline({{0, 0}, {10, 0}, {10, 5}});

    const auto onImage = createObjPathWith(context, path, image);
    ASSERT_TRUE(onImage);
    EXPECT_EQ(onImage->bounds(), Rect(30, 40, 10, 5));
    EXPECT_EQ(f.doc.objects().front(), onImage);

    const auto gone = VekObject::create();   // not in the document
    for (const auto &imageObject : {std::shared_ptr<VekObject>(), gone}) {
        const auto onCorner = createObjPathWith(context, path, imageObject);
        ASSERT_TRUE(onCorner);
        EXPECT_EQ(onCorner->bounds(), Rect(7, 9, 10, 5));
    }
    EXPECT_FALSE(createObjPathWith(context, BezierPath(), image));
}

TEST(PathObjectCommands, ChosenObjectSetReplacesTheDrawnShapeScaledToIt)
{
    CommandFixture f;
    SetShell shell;
    ScopedShell scoped(shell);
    const auto first = VekObjPath::create();
    first->setBounds({0, 0, 10, 10});
    first->setBezierPath(BezierPath::bezierPathWithOvalInRect({0, 0, 10, 10}));
    const auto last = VekObject::create();
    last->setBounds({10, 10, 10, 10});
    shell.set = {first, last};

    const auto behind = f.add({0, 0, 5, 5});
    const auto drawn = f.add({10.2f, 20.7f, 100, 50});
    f.settle();
    auto context = f.context();
    createObjPathFromObjObj(context, drawn);
    f.step();

    const auto &objects = f.doc.objects();
    ASSERT_EQ(objects.size(), 3u);
    EXPECT_EQ(objects[2], behind);
    EXPECT_EQ(objects[0]->bounds(), Rect(60.5f, 45.5f, 50, 25));   // the set's last, front-most
    EXPECT_EQ(objects[1]->bounds(), Rect(10.5f, 20.5f, 50, 25));
    EXPECT_EQ(objects[1]->bezierPath().bounds(), Rect(10.5f, 20.5f, 50, 25));
    EXPECT_EQ(objects[1]->originalSize(), Size(10, 10));
    EXPECT_EQ(first->bounds(), Rect(0, 0, 10, 10));   // the set itself is not changed

    f.undo();
    EXPECT_EQ(f.order(), (std::vector<VekObject *>{behind.get(), drawn.get()}));

    // Without a chosen set the drawn shape stays.
    shell.set.clear();
    createObjPathFromObjObj(context, drawn);
    EXPECT_EQ(f.order(), (std::vector<VekObject *>{behind.get(), drawn.get()}));
}
