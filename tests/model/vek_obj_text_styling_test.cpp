// Styling text boxes: the colour, outline and font commands on the edited selection or the
// whole selected text with undo, italics with and without an italic face, proportional
// scaling, date insertion, the baseline actions and the inspector's run table.
#include "model/text/vek_text_view.h"
#include "model/vek_obj_text.h"
#include "platform/graphics/graphics_context.h"
#include "platform/text/font_registry.h"
#include "platform/text/text_drawing.h"
#include "tests/model/fakes.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

namespace {

TextAttributes sans(float size = 12)
{
    TextAttributes a;
    a.font = Font{QStringLiteral("DejaVuSans"), size};
    return a;
}

struct StyledBox {
    FakeDocument document;
    std::shared_ptr<VekObjText> box;

    explicit StyledBox(const AttributedString &text)
    {
        ensureGuiApp();
        box = VekObjText::create();
        document.adopt(box);
        box->setBounds(Rect(10, 10, 300, 100));
        box->setContents(text);
        document.undo.removeAllActions();
    }
    explicit StyledBox(const QString &text = QStringLiteral("red green blue")) : StyledBox(AttributedString(text, sans())) {}

    void select() { document.canvas.selected = {box.get()}; }
    VekTextView &edit(TextRange selection)
    {
        box->startEditingWithEvent(MouseEvent{}, &document.canvas);
        box->editor()->setSelectedRange(selection);
        return *box->editor();
    }
    const TextAttributes &at(int index) const { return box->contents().text().attributesAt(index); }
};

} // namespace

TEST(TextStyling, CommandsActOnTheEditedSelectionOrTheWholeSelectedText)
{
    const Color red = Color::colorWithCalibratedRed(1, 0, 0);
    const Color clear = Color::colorWithCalibratedRed(0, 0, 1, 0.05f);

    // Neither selected nor edited: nothing changes.
    {
        StyledBox s;
        s.box->setObjLineWidth(3);
        s.box->setObjStrokeColor(red);
        EXPECT_FALSE(s.at(0).strokeWidth);
        EXPECT_FALSE(s.at(0).foregroundColor);
        EXPECT_FALSE(s.document.undo.canUndo());
    }
    // Selected: the whole text, one undo step each.
    {
        StyledBox s;
        s.select();
        s.box->setObjLineWidth(3);
        EXPECT_FLOAT_EQ(s.box->lineWidth(), 3);
        EXPECT_EQ(s.box->contents().text().runs().size(), 1u);
        s.document.undo.undo();
        EXPECT_FALSE(s.at(5).strokeWidth);
        s.box->setObjLineWidth(3);
        s.document.undo.removeAllActions();
        s.box->setObjLineWidth(0);   // 0 removes the outline width
        EXPECT_FALSE(s.at(5).strokeWidth);
        s.document.undo.undo();
        EXPECT_FLOAT_EQ(s.at(5).strokeWidth.value_or(0), 3);

        s.box->setObjStrokeColor(red);
        EXPECT_EQ(s.at(13).foregroundColor, red);
        EXPECT_EQ(s.box->strokeColor(), red);
        s.box->setObjStrokeColor(clear);   // a transparent colour never hides the whole text
        EXPECT_EQ(s.at(13).foregroundColor, red);
        s.box->setOutlineColor(red);
        EXPECT_EQ(s.at(0).strokeColor, red);
        s.box->setOutlineColor(clear);
        EXPECT_FALSE(s.at(0).strokeColor);
    }
    // Edited: only the selection, and a transparent colour applies there.
    {
        StyledBox s;
        s.select();
        VekTextView &editor = s.edit({4, 5});
        s.box->setObjStrokeColor(clear);
        EXPECT_EQ(s.at(4).foregroundColor, clear);
        EXPECT_FALSE(s.at(3).foregroundColor);
        EXPECT_FALSE(s.at(9).foregroundColor);
        EXPECT_EQ(editor.selectedRange(), (TextRange{4, 5}));   // the selection stays
        s.box->setObjLineWidth(-2);
        EXPECT_FLOAT_EQ(s.box->lineWidth(), -2);
        EXPECT_FALSE(s.at(0).strokeWidth);
        s.document.undo.undo();
        EXPECT_EQ(s.box->contents().text(), AttributedString(QStringLiteral("red green blue"), sans()));
        // An empty selection takes nothing.
        editor.setSelectedRange({2, 0});
        s.box->setObjLineWidth(5);
        EXPECT_FALSE(s.at(2).strokeWidth);
    }
    // Another object is being edited: this one is left alone even when selected.
    {
        StyledBox s;
        auto other = VekObjText::create();
        s.document.adopt(other);
        s.select();
        s.document.canvas.editing = other;
        s.box->setObjLineWidth(3);
        EXPECT_FALSE(s.at(0).strokeWidth);
    }
}

TEST(TextStyling, FontCommandsKeepEachRunsOwnSizeOrFamily)
{
    AttributedString text(QStringLiteral("small LARGE"), sans(10));
    TextAttributes large = sans(20);
    large.font->name = QStringLiteral("DejaVuSans-Bold");
    text.addAttributes(large, {6, 5});
    StyledBox s(text);
    VekTextView &editor = s.edit({0, 11});
    s.box->setFontNameEditorRange(QStringLiteral("DejaVu Serif"), editor, {0, 11});
    EXPECT_EQ(s.at(0).font, (Font{QStringLiteral("DejaVuSerif"), 10}));
    EXPECT_EQ(s.at(6).font, (Font{QStringLiteral("DejaVuSerif-Bold"), 20}));   // bold stays bold
    s.box->setFontNameEditorRange(QStringLiteral("No Such Family"), editor, {0, 11});
    EXPECT_EQ(s.at(0).font->name, QStringLiteral("DejaVuSerif"));
    s.box->setFontSize(14, editor, {0, 5});
    EXPECT_EQ(s.at(0).font, (Font{QStringLiteral("DejaVuSerif"), 14}));
    EXPECT_EQ(s.at(6).font->size, 20);
    // No range: the typing attributes.
    s.box->setFontSize(30, editor, {3, 0});
    EXPECT_EQ(editor.typingAttributes().font->size, 30);
    EXPECT_EQ(s.at(3).font->size, 14);
    // Every step undoes.
    while (s.document.undo.canUndo())
        s.document.undo.undo();
    EXPECT_EQ(s.box->contents().text(), text);

    // The whole text at once (the toolbar on a selected box): family, size, or both.
    s.box->endEditingInView(&s.document.canvas);
    s.box->setFontNameSize(QString(), 16);
    EXPECT_EQ(s.at(0).font, (Font{QStringLiteral("DejaVuSans"), 16}));
    EXPECT_EQ(s.at(6).font, (Font{QStringLiteral("DejaVuSans-Bold"), 16}));
    s.box->setFontNameSize(QStringLiteral("DejaVu Serif"), 0);
    EXPECT_EQ(s.at(6).font, (Font{QStringLiteral("DejaVuSerif-Bold"), 16}));
}

TEST(TextStyling, ItalicUsesTheFacesOfTheFamilyOrASlant)
{
    ensureGuiApp();
    const QString noItalic = QStringLiteral("DejaVuMathTeXGyre-Regular");
    ASSERT_TRUE(fontExists(noItalic));
    AttributedString text(QStringLiteral("upright math"), sans());
    TextAttributes math;
    math.font = Font{noItalic, 12};
    text.addAttributes(math, {8, 4});
    StyledBox s(text);
    VekTextView &editor = s.edit({0, 12});
    s.box->updateItalic({0, 12}, editor);
    EXPECT_EQ(s.at(0).font->name, QStringLiteral("DejaVuSans-Oblique"));
    EXPECT_FALSE(s.at(0).obliqueness);
    EXPECT_EQ(s.at(8).font->name, noItalic);
    EXPECT_FLOAT_EQ(s.at(8).obliqueness.value_or(0), 0.3f);
    s.box->updateItalic({0, 12}, editor);
    EXPECT_EQ(s.at(0).font->name, QStringLiteral("DejaVuSans"));
    EXPECT_FALSE(s.at(8).obliqueness);
}

// Italic on the default font takes Nimbus Sans Italic, which is drawn slanted; italic again
// gives back the upright face, drawn as the text was at first (not bold, not slanted).
TEST(TextStyling, ItalicOnTheDefaultFontIsDrawnSlantedAndBackUpright)
{
    TextAttributes helvetica;
    helvetica.font = Font{QStringLiteral("Helvetica"), 40};
    StyledBox s(AttributedString(QStringLiteral("Italic"), helvetica));
    const auto draw = [](const AttributedString &text) {
        QImage image(300, 80, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        {
            GraphicsContext context(&image, GraphicsContext::Output::Bitmap);
            GraphicsContext::Scope scope(context);
            drawAttributedStringAtPoint(text, {10, 10});
        }
        return image;
    };
    const auto drawn = [&] { return draw(s.box->contents().text()); };
    const QImage upright = drawn();
    TextAttributes regular;
    regular.font = Font{QStringLiteral("NimbusSans-Regular"), 40};
    EXPECT_EQ(draw(AttributedString(QStringLiteral("Italic"), regular)), upright);
    VekTextView &editor = s.edit({0, 6});
    s.box->updateItalic({0, 6}, editor);
    ASSERT_EQ(s.at(0).font->name, QStringLiteral("NimbusSans-Italic"));
    EXPECT_NE(drawn(), upright);
    s.box->updateItalic({0, 6}, editor);
    EXPECT_EQ(s.at(0).font->name, QStringLiteral("NimbusSans-Regular"));
    EXPECT_FALSE(s.at(0).obliqueness);
    EXPECT_EQ(drawn(), upright);
}

TEST(TextStyling, ScalingKeepsThreePointsAndResizesTheBoxInProportion)
{
    StyledBox s(QStringLiteral("Some words to scale\nand a second line"));
    s.box->setBounds(Rect(10, 10, 200, 60));
    s.document.undo.removeAllActions();
    s.box->scaleContentsBy(0.1f);
    EXPECT_FLOAT_EQ(s.at(0).font->size, 3);
    EXPECT_LT(s.box->bounds().height(), 60);
    EXPECT_EQ(s.box->bounds().origin, (Point{10, 10}));
    s.document.undo.undo();
    EXPECT_FLOAT_EQ(s.at(0).font->size, 12);
    s.box->setBounds(Rect(10, 10, 200, 60));
    s.box->scaleContentsBy(2);
    EXPECT_FLOAT_EQ(s.at(0).font->size, 24);
    EXPECT_GE(s.box->bounds().height(), 120);
    const Rect grown = s.box->bounds();
    for (float bad : {0.0f, -1.0f, std::numeric_limits<float>::infinity()}) {
        s.box->scaleContentsBy(bad);
        EXPECT_EQ(s.box->bounds(), grown);
    }
}

TEST(TextStyling, DatesGoInAtTheInsertionPointWithItsAttributes)
{
    AttributedString text(QStringLiteral("Date: "), sans());
    TextAttributes red = sans();
    red.foregroundColor = Color::redColor();
    text.addAttributes(red, {0, 4});
    StyledBox s(text);
    s.box->insertDateString(QStringLiteral("today "));   // not edited: at the start
    EXPECT_EQ(s.box->contents().string(), QStringLiteral("today Date: "));
    EXPECT_EQ(s.at(0).foregroundColor, Color::redColor());
    s.document.undo.undo();
    EXPECT_EQ(s.box->contents().text(), text);
    // At the end of the edited text it goes at the end, in the last character's attributes.
    s.edit({6, 0});
    s.box->insertDateString(QStringLiteral("1 May"));
    EXPECT_EQ(s.box->contents().string(), QStringLiteral("Date: 1 May"));
    EXPECT_FALSE(s.at(8).foregroundColor);
}

TEST(TextStyling, BaselineByHalfTheCapHeightReplacesAnyOffsetAndUndoes)
{
    StyledBox s(QStringLiteral("E = mc2"));
    VekTextView &editor = s.edit({6, 1});
    const float half = fontMetrics(Font{QStringLiteral("DejaVuSans"), 12}).capHeight / 2;
    ASSERT_GT(half, 0);
    editor.raisebaselineByHalf();
    EXPECT_FLOAT_EQ(s.at(6).baselineOffset.value_or(0), half);
    editor.raisebaselineByHalf();   // replaced, not added
    EXPECT_FLOAT_EQ(s.at(6).baselineOffset.value_or(0), half);
    EXPECT_EQ(editor.selectedRange(), (TextRange{6, 1}));
    editor.lowerBaselineByHalf();
    EXPECT_FLOAT_EQ(s.at(6).baselineOffset.value_or(0), -half);
    EXPECT_FALSE(s.at(5).baselineOffset);
    while (s.document.undo.canUndo())
        s.document.undo.undo();
    EXPECT_FALSE(s.at(6).baselineOffset);
    // No selection: nothing, and nothing to undo.
    editor.setSelectedRange({2, 0});
    editor.raisebaselineByHalf();
    EXPECT_FALSE(s.document.undo.canUndo());
}

TEST(TextStyling, RunTableShowsTheRunsAndSelectingOneEditsIt)
{
    AttributedString text(QStringLiteral("plain bold"), sans());
    TextAttributes bold = sans(14);
    bold.font->name = QStringLiteral("DejaVuSans-Bold");
    text.addAttributes(bold, {6, 4});
    StyledBox s(text);
    ASSERT_EQ(s.box->numberOfRowsInTableView(), 2);
    EXPECT_EQ(s.box->tableViewObjectValueForTableColumnRow(QStringLiteral("tcTxtFName"), 1).stringValue(),
              QStringLiteral("DejaVuSans-Bold"));
    EXPECT_EQ(s.box->tableViewObjectValueForTableColumnRow(QStringLiteral("tcTxtFSz"), 1).stringValue(),
              QStringLiteral("14.0"));
    EXPECT_EQ(s.box->tableViewObjectValueForTableColumnRow(QStringLiteral("tcTxtStr"), 0).stringValue(),
              QStringLiteral("plain "));
    EXPECT_TRUE(s.box->tableViewObjectValueForTableColumnRow(QStringLiteral("other"), 0).isAbsent());
    EXPECT_TRUE(s.box->tableViewObjectValueForTableColumnRow(QStringLiteral("tcTxtStr"), 2).isAbsent());
    EXPECT_FALSE(s.box->tableViewShouldSelectRow(2));

    auto other = VekObjText::create();
    s.document.adopt(other);
    s.document.canvas.editing = other;
    EXPECT_TRUE(s.box->tableViewShouldSelectRow(1));
    EXPECT_EQ(s.document.canvas.editingObject(), s.box);
    EXPECT_TRUE(s.document.canvas.objectIsSelected(*s.box));
    ASSERT_TRUE(s.box->editor());
    EXPECT_EQ(s.box->editor()->selectedRange(), (TextRange{6, 4}));
}
