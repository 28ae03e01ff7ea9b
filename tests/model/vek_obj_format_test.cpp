// Page-number and date fields: the checked page-number format, the calendar formatter, the
// values and their cache, placement on pages, drawing, the dictionary keys and copies.
#include "model/calendar_date_format.h"
#include "model/vek_obj_format.h"
#include "platform/graphics/color_conversion.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/recording_paint_device.h"
#include "platform/text/rtf.h"
#include "platform/text/text_drawing.h"
#include "tests/model/fakes.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TextAttributes styleOf(const Color &color, float size = 12)
{
    TextAttributes attributes;
    attributes.font = Font{QStringLiteral("DejaVuSans"), size};
    attributes.foregroundColor = color;
    return attributes;
}

const Color Red = Color::colorWithCalibratedRed(1, 0, 0);

// A loose page-number field with a red 12-point example and the given format.
std::shared_ptr<VekObjFormat> pageField(const QString &format)
{
    ensureGuiApp();
    auto field = VekObjFormat::create();
    field->setExample(AttributedString(QStringLiteral("1"), styleOf(Red)));
    field->setFormat(format);
    return field;
}

PropertyList fieldDictionary(const char *format, const QByteArray &example)
{
    PropertyList dict = PropertyList::dictionary();
    dict.insert(QStringLiteral("class"), PropertyList::fromString(QStringLiteral("VekObjFormat")));
    dict.insert(QStringLiteral("bounds"), PropertyList::fromRect(Rect(10, 20, 30, 15)));
    if (format)
        dict.insert(QStringLiteral("format"), PropertyList::fromString(QString::fromUtf8(format)));
    if (!example.isNull())
        dict.insert(QStringLiteral("example"), PropertyList::fromData(example));
    return dict;
}

std::shared_ptr<VekObjFormat> fieldFrom(const PropertyList &dict)
{
    ensureGuiApp();
    return std::dynamic_pointer_cast<VekObjFormat>(VekObject::objectWithPropertyListRepresentation(dict));
}

} // namespace

TEST(PageNumberFormat, OnlyOneCheckedIntegerConversionIsEverFormatted)
{
    struct Case {
        const char *format;
        const char *text;
        bool accepted;
    };
    const Case cases[] = {
        {"%d", "3", true},
        {"Page %d of", "Page 3 of", true},
        {"%03d", "003", true},
        {"%-4d|", "3   |", true},
        {"%x", "3", true},
        {"100%% page %i", "100% page 3", true},
        // Anything else falls back to "%d" rather than reaching printf.
        {"%s", "3", false},
        {"%n", "3", false},
        {"%d %d", "3", false},
        {"%d%s", "3", false},
        {"%*d", "3", false},
        {"%ld", "3", false},
        {"%999999999d", "3", false},
        {"%.100d", "3", false},
        {"page", "3", false},
        {"%", "3", false},
        {"%d%", "3", false},
        {"", "3", false},
    };
    for (const Case &c : cases) {
        const QString format = QString::fromUtf8(c.format);
        EXPECT_EQ(isPageNumberFormat(format), c.accepted) << c.format;
        EXPECT_EQ(formatPageNumber(format, 3), QString::fromUtf8(c.text)) << c.format;
    }
    EXPECT_EQ(formatPageNumber(QStringLiteral("%d"), -12), QStringLiteral("-12"));
}

TEST(CalendarDateFormat, DescribesFixedDatesInTheCLocale)
{
    // 5 March 2026, 14:07:09, an hour and a half east of UTC.
    const QDateTime date(QDate(2026, 3, 5), QTime(14, 7, 9), Qt::OffsetFromUTC, 5400);
    EXPECT_EQ(describeDate(date, QStringLiteral("%A, %B %e, %Y")), QStringLiteral("Thursday, March  5, 2026"));
    EXPECT_EQ(describeDate(date, QStringLiteral("%a %b %d %H:%M:%S %I%p %j %y %w %z %%")),
              QStringLiteral("Thu Mar 05 14:07:09 02PM 064 26 4 +0130 %"));
    EXPECT_EQ(describeDate(date, QStringLiteral("%F %X")), QStringLiteral("2026-03-05 14:07:09"));
    // Unknown conversions and a lone "%" at the end are kept.
    EXPECT_EQ(describeDate(date, QStringLiteral("%Q %")), QStringLiteral("%Q %"));
    const QDateTime midnight(QDate(2025, 12, 31), QTime(0, 5), Qt::OffsetFromUTC, -3600);
    EXPECT_EQ(describeDate(midnight, QStringLiteral("%I %p %j %w %z %e")), QStringLiteral("12 AM 365 3 -0100 31"));
}

TEST(VekObjFormatValue, PageNumbersTakeTheExamplesStyleAndAreCached)
{
    struct Case {
        const char *format;
        const char *text;
    };
    for (const Case &c : {Case{"%d", "3"}, Case{"Page %d of", "Page 3 of"}, Case{"x", "3"}, Case{"%s%n", "3"}}) {
        auto field = pageField(QString::fromUtf8(c.format));
        const AttributedString value = field->valueOnPage(3, false);
        EXPECT_EQ(value.string(), QString::fromUtf8(c.text)) << c.format;
        EXPECT_EQ(value.attributesAt(0), styleOf(Red)) << c.format;
        EXPECT_EQ(field->valueOnPage(3, false), value);
    }

    auto field = pageField(QStringLiteral("%d"));
    EXPECT_EQ(field->valueOnPage(2, false).string(), QStringLiteral("2"));
    field->setFormat(QStringLiteral("- %d -"));
    EXPECT_EQ(field->valueOnPage(2, false).string(), QStringLiteral("- 2 -"));
    field->setExample(AttributedString(QStringLiteral("1"), styleOf(Color::blueColor())));
    EXPECT_EQ(field->valueOnPage(2, false).attributesAt(0).foregroundColor, Color::blueColor());
    // CMYK output converts the colours.
    EXPECT_EQ(field->valueOnPage(2, true).attributesAt(0).foregroundColor->colorSpaceName(), DeviceCMYKColorSpace);
}

TEST(VekObjFormatValue, ADateKeepsItsFirstTextUntilTheFormatChanges)
{
    auto field = pageField(QString());
    field->setFormatType(1);
    const QString first = field->valueOnPage(1, false).string();
    EXPECT_TRUE(field->format().isEmpty());   // shown in the default format, not changed by it
    EXPECT_EQ(first.size(), QStringLiteral("2026-03-05 14:07:09 +0130").size()) << first.toStdString();
    EXPECT_EQ(field->valueOnPage(4, false).string(), first);

    field->setFormat(QStringLiteral("Year %Y"));
    EXPECT_EQ(field->valueOnPage(1, false).string(),
              QStringLiteral("Year ") + QString::number(QDate::currentDate().year()));
    EXPECT_EQ(field->valueOnPage(1, false).attributesAt(0), styleOf(Red));
}

TEST(VekObjFormatValue, FormatChangesAreUndoable)
{
    FakeDocument doc;
    auto field = pageField(QStringLiteral("%d"));
    doc.adopt(field);
    field->setFormat(QStringLiteral("p. %d"));
    EXPECT_EQ(field->valueOnPage(5, false).string(), QStringLiteral("p. 5"));
    doc.undo.undo();
    EXPECT_EQ(field->format(), QStringLiteral("%d"));
    EXPECT_EQ(field->valueOnPage(5, false).string(), QStringLiteral("5"));
}

TEST(VekObjFormatPlacement, AlignmentsPlaceTheValueInTheFieldOrOnThePage)
{
    auto field = pageField(QStringLiteral("Page %d"));
    const Size measured = attributedStringSize(field->valueOnPage(2, false));
    const float w = std::ceil(measured.width);
    const float h = std::ceil(measured.height);
    // A page whose left edge is not 0, so that page alignment must add it.
    const Rect page(20, 0, 595, 842);
    const float expectedX[] = {100, 100 + 100 - w / 2, 300 - w, 20, 20 + (595 - w) / 2, 615 - w, 100};
    for (int align = 0; align <= 6; ++align) {
        field->setFormatAlign(align);
        field->setBounds(Rect(100, 700, 200, 30));
        const Rect r = field->fittedBoundsOnPage(2, page);
        EXPECT_FLOAT_EQ(r.origin.x, expectedX[align]) << "alignment " << align;
        EXPECT_FLOAT_EQ(r.origin.y, 700 + 842) << "alignment " << align;
        EXPECT_EQ(r.size, (Size{w, h})) << "alignment " << align;
        // Measuring never changes the field, on any page.
        EXPECT_EQ(field->fittedBoundsOnPage(1, page).origin.x, r.origin.x) << "alignment " << align;
        EXPECT_EQ(field->bounds(), Rect(100, 700, 200, 30));
    }

    field->setBounds(Rect(100, 700, 1, 1));
    EXPECT_EQ(field->fittedBoundsOnPage(3, page), Rect());
}

TEST(VekObjFormatPlacement, FittingInADocumentRoundsUpAndPlacesOnPageOne)
{
    FakeDocument doc;
    doc.canvas.frame = Rect(20, 0, 600, 800);
    auto field = pageField(QStringLiteral("%d"));
    doc.adopt(field);
    field->setBounds(Rect(50, 60, 40.2f, 14.5f));
    EXPECT_EQ(field->bounds(), Rect(50, 60, 41, 15));
    // A change of alignment fits the field to its value, rounded up, placed on page 1.
    const Size value = attributedStringSize(field->valueOnPage(1, false));
    const float w = std::ceil(value.width), h = std::ceil(value.height);
    field->setFormatAlign(4);
    EXPECT_EQ(field->bounds(), Rect(20 + (600 - w) / 2.0f, 60, w, h));
    field->setFormatAlign(5);
    EXPECT_EQ(field->bounds(), Rect(620 - w, 60, w, h));
    // Let go by its document, the field no longer reaches that canvas.
    field->setDocument(nullptr, false);
    field->setBounds(Rect(5, 6, 7.5f, 8.5f));
    EXPECT_EQ(field->bounds(), Rect(5, 6, 7.5f, 8.5f));
}

class VekObjFormatDrawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        field = pageField(QStringLiteral("%d"));
        doc.pages = 3;
        doc.adopt(field);
        field->setBounds(Rect(100, 700, 20, 20));
    }
    // What drawing page `page` of the canvas leaves on the device.
    std::vector<RecordedDraw> drawPage(int page, bool selected)
    {
        RecordingPaintDevice device(QSize(800, 2600));
        {
            GraphicsContext context(&device, GraphicsContext::Output::Bitmap);
            GraphicsContext::Scope scope(context);
            field->drawInViewIsSelectedOnPagePageRect(&doc.canvas, selected, page, doc.canvas.rectForPage(page));
        }
        return device.draws();
    }
    static QRectF fillBounds(const std::vector<RecordedDraw> &draws, const QColor &color)
    {
        QRectF all;
        for (const RecordedDraw &draw : draws) {
            const bool glyphs = draw.kind == RecordedDraw::Kind::Text && draw.pen.color() == color;
            if ((draw.isFill() && draw.brush.color() == color) || glyphs)
                all = all.united(draw.devicePath.boundingRect());
        }
        return all;
    }

    FakeDocument doc;
    std::shared_ptr<VekObjFormat> field;
};

TEST_F(VekObjFormatDrawing, ARepeatedFieldDrawsItsPageNumberOnEachOfItsPages)
{
    field->setRepeatType(3);
    for (int page = 1; page <= 3; ++page) {
        const QRectF glyphs = fillBounds(drawPage(page, false), Qt::red);
        ASSERT_FALSE(glyphs.isEmpty()) << "page " << page;
        const float top = 700 + float(page - 1) * 800;
        EXPECT_GE(glyphs.top(), top) << "page " << page;
        EXPECT_LT(glyphs.bottom(), top + 20) << "page " << page;
        EXPECT_GE(glyphs.left(), 100);
    }
    // Odd pages only: page 2 draws nothing unless the field is selected, and then in grey
    // with the knob frame.
    field->setRepeatType(1);
    EXPECT_TRUE(drawPage(2, false).empty());
    doc.canvas.selected = {field.get()};
    const auto draws = drawPage(2, true);
    EXPECT_TRUE(fillBounds(draws, Qt::red).isEmpty());
    EXPECT_FALSE(fillBounds(draws, QColor::fromRgbF(0.5f, 0.5f, 0.5f)).isEmpty());
    bool framed = false;
    for (const RecordedDraw &draw : draws)
        framed = framed || (draw.isStroke() && draw.pen.color() == toQColor(systemKnobColor()));
    EXPECT_TRUE(framed);
}

TEST_F(VekObjFormatDrawing, AStrokedFieldIsFramedTwoPointsOutside)
{
    field->setObjStrokeColor(Red);   // recolours the example only: the stroke stays off
    EXPECT_FALSE(field->drawsStroke());
    field->setDrawsStroke(true);
    field->VekObject::setObjStrokeColor(Color::blueColor());
    const Size value = attributedStringSize(field->valueOnPage(1, false));
    bool framed = false;
    for (const RecordedDraw &draw : drawPage(1, false))
        if (draw.isStroke() && draw.pen.color() == Qt::blue) {
            framed = true;
            const QRectF frame = draw.path.boundingRect();
            EXPECT_NEAR(frame.left(), 98, 0.01);
            EXPECT_NEAR(frame.top(), 698, 0.01);
            EXPECT_NEAR(frame.width(), value.width + 4, 0.01);
        }
    EXPECT_TRUE(framed);
}

TEST_F(VekObjFormatDrawing, NothingIsDrawnWhileBeingCreatedOrWhenTooSmall)
{
    doc.canvas.creating = field;
    EXPECT_TRUE(drawPage(1, false).empty());
    doc.canvas.creating.reset();
    EXPECT_FALSE(drawPage(1, false).empty());

    field->setRepeatType(3);
    field->setBoundsSimplyAs(Rect(100, 700, 1, 1));
    EXPECT_TRUE(drawPage(2, false).empty());
}

TEST_F(VekObjFormatDrawing, PlacementByMouseTakesTheReleasePoint)
{
    doc.canvas.events.drag({150, 160});
    doc.canvas.events.up({200, 210});
    ASSERT_TRUE(field->createWithEvent({EventType::LeftMouseDown, {140, 150}}, &doc.canvas));
    EXPECT_EQ(field->bounds().origin, (Point{200, 210}));
    EXPECT_GT(field->bounds().width(), 1);
}

TEST(VekObjFormatDictionary, MissingOrDamagedKeysGiveTheDefaults)
{
    const QByteArray emptyRtf("{\\rtf1\\ansi }");
    struct Case {
        const char *name;
        PropertyList dict;
        const char *format;
        const char *example;
    };
    const Case cases[] = {
        {"empty RTF example", fieldDictionary("%d", emptyRtf), "%d", "1"},
        {"example that is no RTF", fieldDictionary("%d", QByteArray("garbage")), "%d", "1"},
        {"no format", fieldDictionary(nullptr, emptyRtf), "%d", "1"},
        {"hostile format", fieldDictionary("%s%s%n", emptyRtf), "%s%s%n", "1"},
    };
    for (const Case &c : cases) {
        const auto field = fieldFrom(c.dict);
        ASSERT_TRUE(field) << c.name;
        EXPECT_EQ(field->format(), QString::fromUtf8(c.format)) << c.name;
        ASSERT_TRUE(field->example()) << c.name;
        EXPECT_EQ(field->example()->string(), QString::fromUtf8(c.example)) << c.name;
        EXPECT_TRUE(field->example()->attributesAt(0).isEmpty()) << c.name;
        // The stored bounds are applied again after the example.
        EXPECT_EQ(field->bounds(), Rect(10, 20, 30, 15)) << c.name;
        EXPECT_EQ(field->valueOnPage(7, false).string(), QStringLiteral("7")) << c.name;
    }
}

TEST(VekObjFormatDictionary, TheExampleTravelsAsRTF)
{
    auto field = pageField(QStringLiteral("%d"));
    field->setFormatAlign(5);
    const PropertyList dict = field->propertyListRepresentation();
    const auto example = attributedStringWithRTF(dict.value(QStringLiteral("example")).dataValue());
    ASSERT_TRUE(example);
    EXPECT_EQ(example->string(), field->example()->string());
    EXPECT_EQ(example->attributesAt(0).font, styleOf(Red).font);
    EXPECT_EQ(toQColor(*example->attributesAt(0).foregroundColor), Qt::red);
    EXPECT_EQ(dict.value(QStringLiteral("formatAlign")).intValue(), 5);
}

TEST(VekObjFormatCopy, ACopyKeepsFormatKindAlignmentAndExample)
{
    auto field = pageField(QStringLiteral("p. %d"));
    field->setFormatType(1);
    field->setFormatAlign(2);
    const auto copy = std::dynamic_pointer_cast<VekObjFormat>(field->copy());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->format(), field->format());
    EXPECT_EQ(copy->formatType(), 1);
    EXPECT_EQ(copy->formatAlign(), 2);
    EXPECT_EQ(copy->example(), field->example());
    EXPECT_EQ(copy->note(), QStringLiteral("F"));
}

TEST(VekObjFormatStyle, TextInfoDescribesTheValueOnTheFirstRepeatPage)
{
    auto field = pageField(QStringLiteral("p%d"));
    field->setRepeatType(3);
    field->setRepeatStart(4);
    const PropertyList rows = field->textInfo();
    ASSERT_TRUE(rows.isArray());
    EXPECT_EQ(rows.at(0).stringListValue(), QStringList({"DejaVuSans", "12.0", "p4", "0"}));
}

TEST(VekObjFormatStyle, StrokeColourAndFontRestyleTheExampleOnly)
{
    auto field = pageField(QStringLiteral("%d"));
    field->setExample(AttributedString(QStringLiteral("12"), styleOf(Color::blackColor())));
    const auto stroke = field->storedStrokeColor();
    // Through the base class too: the inspector holds objects as VekObject.
    std::shared_ptr<VekObject> asObject = field;
    asObject->setObjStrokeColor(Red);
    EXPECT_EQ(field->example()->attributesAt(1), styleOf(Red));
    EXPECT_EQ(field->storedStrokeColor(), stroke);

    field->setFontNameSize(QString(), 20);
    EXPECT_EQ(field->example()->attributesAt(0), styleOf(Red, 20));
    field->setFontNameSize(QStringLiteral("NoSuchFont-Anywhere"), 10);
    EXPECT_EQ(field->example()->attributesAt(0), styleOf(Red, 20));
}
