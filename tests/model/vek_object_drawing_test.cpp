// Drawing objects on the recording paint device: the fill, the drawing and redraw areas,
// the own shadow settings, selection markers and drawing on repeated pages.
#include "fakes.h"

#include "model/gradient/vek_gradient_view.h"
#include "platform/foundation/archiving.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/recording_paint_device.h"
#include "toolkit/cmyk_color.h"

#include <gtest/gtest.h>

namespace {

// A base object that records the copies it is asked to draw on other pages, and whose
// repetition and clip type tests set directly.
class PageObject : public VekObject {
public:
    using VekObject::VekObject;
    static std::shared_ptr<PageObject> make(const Rect &bounds, int repeatType = 0)
    {
        auto o = makeObject<PageObject>();
        o->setBounds(bounds);
        o->_repeatType = repeatType;
        return o;
    }
    void setRepeatStartField(int page) { _repeatStart = page; }
    // The fill as stored, without the setters' adjustments.
    void setFillFields(const Color &color, bool on)
    {
        _fillColor = color;
        _gFlags.drawsFill = on;
    }
    int clipType() const override { return clips; }
    void drawInViewInRect(CanvasServices *, const Rect &rect) override { copies.push_back(rect); }

    std::vector<Rect> copies;
    int clips = 0;
};

// Draws through a context on the recording device.
class Recording {
public:
    Recording() : device(QSize(600, 1600)), context(&device, GraphicsContext::Output::Bitmap), scope(context) {}
    std::vector<RecordedDraw> fills() const
    {
        std::vector<RecordedDraw> out;
        for (const RecordedDraw &d : device.draws())
            if (d.isFill())
                out.push_back(d);
        return out;
    }

    RecordingPaintDevice device;
    GraphicsContext context;
    GraphicsContext::Scope scope;
};

void expectRect(const Rect &actual, const Rect &expected)
{
    EXPECT_NEAR(actual.origin.x, expected.origin.x, 1e-3);
    EXPECT_NEAR(actual.origin.y, expected.origin.y, 1e-3);
    EXPECT_NEAR(actual.width(), expected.width(), 1e-3);
    EXPECT_NEAR(actual.height(), expected.height(), 1e-3);
}

PropertyList shadowSettings(float angle, float offset, float blur)
{
    PropertyList values = PropertyList::dictionary();
    values.insert(ShadowAngleKey, PropertyList::fromFloat(angle));
    values.insert(ShadowOffsetKey, PropertyList::fromFloat(offset));
    values.insert(ShadowBlurKey, PropertyList::fromFloat(blur));
    values.insert(ShadowColorKey, PropertyList::fromData(*archivedDataWithRootObject(Color::redColor()).value));
    values.insert(ShadowStateKey, PropertyList::fromInt(1));
    return values;
}

} // namespace

TEST(Fillup, PlainFillsCmykPreFillAndTheAlphaRule)
{
    struct Case {
        const char *name;
        float alpha;
        bool cmyk;
        bool fillOn;
        int gradient;
        bool preFilled;
        bool filled;
    };
    const Case cases[] = {
        {"visible", 1.0f, false, true, 0, false, true},
        {"alpha 0.1 fills", 0.1f, false, true, 0, false, true},
        {"alpha 0.09 does not", 0.09f, false, true, 0, false, false},
        {"fill off", 1.0f, false, false, 0, false, false},
        {"cmyk", 1.0f, true, true, 0, true, true},
        {"cmyk, fill off", 1.0f, true, false, 0, true, false},
        {"gradient without a model", 1.0f, false, true, 1, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FakeDocument doc;
        doc.cmyk = c.cmyk;
        const Rect bounds(10, 20, 50, 30);
        auto o = PageObject::make(bounds);
        doc.adopt(o);
        o->setFillFields(Color::redColor().colorWithAlphaComponent(c.alpha), c.fillOn);
        o->setGradientType(c.gradient, false);
        o->setObjFillRule(1);

        Recording rec;
        const BezierPath path = BezierPath::bezierPathWithRect(bounds);
        o->fillup(&path);
        const auto fills = rec.fills();
        ASSERT_EQ(fills.size(), size_t(c.preFilled) + size_t(c.filled));
        if (c.preFilled) {
            EXPECT_EQ(fills.front().brush.color().alpha(), 0);
            EXPECT_EQ(fills.front().devicePath.boundingRect(), QRectF(10, 20, 50, 30));
        }
        if (c.filled) {
            const RecordedDraw &fill = fills.back();
            EXPECT_GT(fill.brush.color().alpha(), 0);
            EXPECT_EQ(fill.path.fillRule(), Qt::OddEvenFill);
            EXPECT_EQ(fill.devicePath.boundingRect(), QRectF(10, 20, 50, 30));
            if (!c.cmyk) {
                EXPECT_EQ(fill.brush.color().red(), 255);
            }
        }
    }
}

TEST(Fillup, NoPathDrawsNothing)
{
    auto o = VekObject::create();
    o->setFillColor(Color::redColor());
    Recording rec;
    o->fillup(nullptr);
    EXPECT_TRUE(rec.device.draws().empty());
}

TEST(DrawingBounds, GrowByTheStroke)
{
    struct Case {
        float lineWidth;
        bool stroked;
        float grow;
    };
    for (const Case &c : {Case{4, true, 4}, Case{1, true, 3}, Case{10, true, 7}, Case{4, false, 3}}) {
        auto o = PageObject::make({100, 100, 50, 40});
        o->setObjLineWidth(c.lineWidth);
        o->setDrawsStroke(c.stroked);
        expectRect(o->drawingBounds(), {100 - c.grow, 100 - c.grow, 50 + 2 * c.grow, 40 + 2 * c.grow});
    }
}

TEST(BoundsToRedraw, CoversTheShadowInEveryDirection)
{
    // drawingBounds of {100, 100, 50, 50} with line width 1 is {97, 97, 56, 56}; the result
    // grows by 2 * 1 + 3 = 5 around that and the cast shadow.
    struct Case {
        float angle;
        float blur;
        Rect expected;
    };
    const Case cases[] = {
        {180, 0, {92, 92, 66, 71}},   // offset (0, -5): falls down the canvas
        {0, 0, {92, 87, 66, 71}},     // up
        {90, 0, {92, 92, 71, 66}},    // right
        {270, 0, {87, 92, 71, 66}},   // left
        {180, 4, {86, 91, 78, 78}},   // a blur of 4 spreads the cast shadow by 6
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.angle);
        FakeDocument doc;
        auto o = PageObject::make({100, 100, 50, 50});
        doc.adopt(o);
        o->setIndvShadowValues(shadowSettings(c.angle, 5, c.blur));
        expectRect(o->boundsToRedraw(), c.expected);
    }
}

TEST(BoundsToRedraw, DocumentShadowRepeatedPagesAndNoShadow)
{
    FakeDocument doc;
    doc.pages = 3;
    auto o = PageObject::make({100, 100, 50, 50});
    doc.adopt(o);
    expectRect(o->boundsToRedraw(), {92, 92, 66, 66});

    doc.shadowOn = true;
    doc.shadowOffset = {0, -5};
    expectRect(o->boundsToRedraw(), {92, 92, 66, 71});
    o->setNoShadow(true);
    expectRect(o->boundsToRedraw(), {92, 92, 66, 66});

    // Seen on the visible page 2 when it repeats.
    auto repeating = PageObject::make({100, 100, 50, 50}, 3);
    doc.adopt(repeating);
    doc.shadowOn = false;
    doc.canvas.visible = {0, 800, 600, 800};
    expectRect(repeating->boundsToRedraw(), {92, 892, 66, 66});
}

TEST(OwnShadow, DefaultsSizesAndUndo)
{
    FakeDocument doc;
    doc.shadowValues = shadowSettings(90, 5, 2);
    auto o = VekObject::create();
    doc.adopt(o);
    EXPECT_FALSE(o->indvShadow());
    EXPECT_EQ(o->indvShadowColor(), Color::clearColor());

    // The first own setting starts from the document's shadow, switched off.
    o->setIndvShadowValue(PropertyList::fromFloat(7), ShadowOffsetKey);
    EXPECT_FALSE(o->indvShadowValues().contains(ShadowStateKey));
    EXPECT_EQ(o->indvShadowAngle(), 90.0f);
    EXPECT_EQ(o->indvShadowOffset(), 7.0f);
    EXPECT_EQ(o->indvShadowColor(), Color::redColor());
    EXPECT_NEAR(o->indvShadowSize().width, 7, 1e-5);
    EXPECT_NEAR(o->indvShadowSize().height, 0, 1e-5);

    o->setIndvShadowValue(PropertyList::fromInt(1), ShadowStateKey);
    EXPECT_TRUE(o->indvShadow());
    doc.undo.closeEventGroup();
    o->setIndvShadowValue(PropertyList::fromInt(0), ShadowStateKey);
    EXPECT_TRUE(o->indvShadowValues().isAbsent());
    doc.undo.undo();
    EXPECT_TRUE(o->indvShadow());
    EXPECT_EQ(o->indvShadowOffset(), 7.0f);

    // Undo goes back to no own settings at all.
    doc.undo.undo();
    EXPECT_TRUE(o->indvShadowValues().isAbsent());

    o->setIndvShadowValue(PropertyList::fromFloat(180), ShadowAngleKey);
    EXPECT_NEAR(o->indvShadowSize().width, 0, 1e-5);
    EXPECT_NEAR(o->indvShadowSize().height, -5, 1e-5);
    o->setIndvShadowValue(PropertyList::fromInt(1), ShadowStateKey);
    o->setNoShadow(true);
    EXPECT_FALSE(o->indvShadow());
}

TEST(OwnShadow, PanelDefaultsWithoutADocumentAndCmykForPdf)
{
    FakePanels panels;
    panels.shadowDefaults = shadowSettings(180, 5, 5);
    ScopedPanels installed(panels);
    auto loose = VekObject::create();
    loose->createDefaultShadowValues();
    EXPECT_EQ(loose->indvShadowBlur(), 5.0f);
    EXPECT_FALSE(loose->indvShadowValues().contains(ShadowStateKey));

    FakeDocument doc;
    doc.cmyk = true;
    auto o = VekObject::create();
    doc.adopt(o);
    o->setIndvShadowValues(shadowSettings(180, 5, 5));
    EXPECT_EQ(o->indvShadowColor(), Color::redColor());
    doc.canvas.toPDF = true;
    EXPECT_EQ(o->indvShadowColor(), cmykColor(Color::redColor()));
}

TEST(SelectionMarkers, KnobsOnlyWhenSelectedAndNotSaving)
{
    FakeDocument doc;
    auto o = PageObject::make({100, 100, 50, 50});
    doc.adopt(o);
    Recording rec;
    FakeCanvas &canvas = doc.canvas;

    o->drawInViewIsSelected(&canvas, false);
    EXPECT_TRUE(canvas.knobsDrawn.empty());
    o->drawInViewIsSelected(nullptr, true);
    EXPECT_TRUE(canvas.knobsDrawn.empty());
    canvas.toSave = true;
    o->drawInViewIsSelected(&canvas, true);
    EXPECT_TRUE(canvas.knobsDrawn.empty());
    canvas.toSave = false;

    o->drawInViewIsSelected(&canvas, true);
    ASSERT_EQ(canvas.knobsDrawn.size(), 8u);
    EXPECT_EQ(canvas.knobsDrawn[0].first, Point({100, 100}));
    EXPECT_EQ(canvas.knobsDrawn[7].first, Point({150, 150}));
    EXPECT_EQ(canvas.knobsDrawn[0].second, shellServices().knobColor());
    EXPECT_TRUE(rec.device.draws().empty());   // a plain object draws no frame of its own
}

TEST(SelectionMarkers, ObjectBeingCreatedShowsItsFrame)
{
    FakeDocument doc;
    auto o = PageObject::make({100, 100, 50, 50});
    doc.canvas.creating = o;
    Recording rec;
    o->drawInViewIsSelected(&doc.canvas, false);
    ASSERT_EQ(rec.device.draws().size(), 1u);
    const RecordedDraw &frame = rec.device.draws()[0];
    EXPECT_TRUE(frame.isStroke());
    EXPECT_EQ(frame.path.boundingRect(), QRectF(100, 100, 50, 50));
}

TEST(RepeatedPages, DrawnAsCopiesOnTheirPages)
{
    FakeDocument doc;
    doc.pages = 3;
    FakeCanvas &canvas = doc.canvas;
    canvas.pages = 3;
    auto everyPage = PageObject::make({100, 100, 50, 50}, 3);
    doc.adopt(everyPage);

    everyPage->drawInViewIsSelectedOnPagePageRect(&canvas, true, 1, canvas.rectForPage(1));
    EXPECT_TRUE(everyPage->copies.empty());
    ASSERT_EQ(canvas.knobsDrawn.size(), 8u);
    EXPECT_EQ(canvas.knobsDrawn[0].first, Point({100, 100}));

    canvas.knobsDrawn.clear();
    everyPage->drawInViewIsSelectedOnPagePageRect(&canvas, true, 3, canvas.rectForPage(3));
    ASSERT_EQ(everyPage->copies.size(), 1u);
    EXPECT_EQ(everyPage->copies[0], Rect(100, 1700, 50, 50));
    ASSERT_EQ(canvas.knobsDrawn.size(), 8u);
    EXPECT_EQ(canvas.knobsDrawn[0].first, Point({100, 1700}));

    // Odd pages only, from page 2: nothing on pages 1 and 2.
    auto odd = PageObject::make({100, 100, 50, 50}, 1);
    doc.adopt(odd);
    odd->setRepeatStartField(2);
    odd->drawInViewIsSelectedOnPagePageRect(&canvas, false, 2, canvas.rectForPage(2));
    odd->drawInViewIsSelectedOnPagePageRect(&canvas, false, 1, canvas.rectForPage(1));
    odd->drawInViewIsSelectedOnPagePageRect(&canvas, false, 3, canvas.rectForPage(3));
    ASSERT_EQ(odd->copies.size(), 1u);
    EXPECT_EQ(odd->copies[0], Rect(100, 1700, 50, 50));

    // A plain object is drawn only on the page it lies on.
    auto plain = PageObject::make({100, 100, 50, 50});
    doc.adopt(plain);
    canvas.knobsDrawn.clear();
    plain->drawInViewIsSelectedOnPagePageRect(&canvas, true, 2, canvas.rectForPage(2));
    EXPECT_TRUE(plain->copies.empty());
    EXPECT_TRUE(canvas.knobsDrawn.empty());
}

TEST(HasClip, TheObjectBehindDecides)
{
    FakeDocument doc;
    auto front = PageObject::make({0, 0, 10, 10});
    auto behind = PageObject::make({0, 0, 10, 10});
    doc.adopt(front);
    doc.adopt(behind);
    EXPECT_FALSE(front->hasClip());
    behind->clips = 1;
    EXPECT_TRUE(front->hasClip());
    EXPECT_FALSE(behind->hasClip());
    EXPECT_FALSE(VekObject::create()->hasClip());
}

TEST(Fillup, GradientFillsDrawTheModelsImageInsideThePath)
{
    auto object = PageObject::make({10, 20, 80, 40});
    object->setGradientType(1, true);
    ASSERT_TRUE(object->gradientView());
    EXPECT_TRUE(object->drawsFill());

    BezierPath path = BezierPath::bezierPathWithOvalInRect({10, 20, 80, 40});
    Recording recording;
    object->fillup(&path);
    std::vector<RecordedDraw> images;
    for (const RecordedDraw &d : recording.device.draws())
        if (d.kind == RecordedDraw::Kind::Image)
            images.push_back(d);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_TRUE(images[0].clipped);
    EXPECT_NEAR(images[0].clip.boundingRect().width(), 80, 0.5);

    // Back at type 0 the model stays, and the plain fill draws again.
    object->setGradientType(0, true);
    Recording plain;
    object->setFillFields(Color::redColor(), true);
    object->fillup(&path);
    EXPECT_EQ(plain.fills().size(), 1u);
}

TEST(Fillup, StopsReadFromADictionaryMakeTheModelAtTheFirstFill)
{
    auto object = PageObject::make({0, 0, 50, 50});
    object->setGradientType(3, false);
    PropertyList colors = PropertyList::array();
    for (const Color &c : {Color::redColor(), Color::blackColor(), Color::whiteColor()})
        colors.append(PropertyList::fromData(*archivedDataWithRootObject(c).value));
    PropertyList shares = PropertyList::array();
    shares.append(PropertyList::fromFloat(0.25f));
    shares.append(PropertyList::fromFloat(0.75f));
    object->setGradientColors(colors);
    object->setGradientColorRects(shares);
    object->setFillFields(Color::redColor(), true);
    ASSERT_FALSE(object->gradientView());

    BezierPath path = BezierPath::bezierPathWithRect({0, 0, 50, 50});
    Recording recording;
    object->fillup(&path);
    ASSERT_TRUE(object->gradientView());
    EXPECT_EQ(object->gradientView()->colors().size(), 3u);
    EXPECT_TRUE(object->heldGradientColors().isAbsent());
}
