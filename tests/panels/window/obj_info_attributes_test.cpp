// The inspector driven as a user drives it: objects selected on the canvas, each group of
// attributes changed through its control, the objects checked, and each step undone and
// redone exactly.
#include "tests/panels/window/obj_info_fixture.h"

#include "model/gradient/vek_gradient_view.h"
#include "model/vek_obj_image.h"
#include "model/vek_obj_text.h"
#include "panels/filters/vek_if_controller.h"
#include "panels/gradient_strip.h"
#include "platform/image/image.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

namespace {

TEST_F(InspectorWindow, StrokeAndFillGoThroughTheirControlsAsOneUndoStepEach)
{
    const auto a = addRect(Rect(40, 40, 120, 80));
    select({a});
    EXPECT_EQ(inspector().txObjClass->text(), "Current Object: Path");
    EXPECT_TRUE(inspector().cwObjFill->isEnabled());

    PropertyList before = snapshot();
    pickInPanel(inspector().cwObjFill, Color::colorWithCalibratedRed(1, 0, 0));
    EXPECT_EQ(a->fillColor(), Color::colorWithCalibratedRed(1, 0, 0));
    expectOneUndoableStep(before, "Set Object Color");

    before = snapshot();
    pickInPanel(inspector().cwObjStroke, Color::colorWithDeviceRed(0, 0, 1));
    // A device colour is kept in calibrated RGB.
    EXPECT_EQ(a->strokeColor(), Color::colorWithCalibratedRed(0, 0, 1));
    expectOneUndoableStep(before, "Set Object Color");

    before = snapshot();
    type(inspector().txLineWidth, "4.5");
    EXPECT_FLOAT_EQ(a->lineWidth(), 4.5f);
    EXPECT_DOUBLE_EQ(inspector().sldrLineWidth->floatValue(), 4.5);
    expectOneUndoableStep(before, "Set Object Property");

    // A width too thin to see is none; a wide one raises the slider's maximum.
    type(inspector().txLineWidth, "0.05");
    EXPECT_FLOAT_EQ(a->lineWidth(), 0);
    type(inspector().txLineWidth, "300");
    EXPECT_FLOAT_EQ(a->lineWidth(), 300);
    EXPECT_DOUBLE_EQ(inspector().sldrLineWidth->floatMaximum(), 300);
    doc.undoManager()->removeAllActions();

    before = snapshot();
    press(inspector().optObjStroke);
    EXPECT_FALSE(a->drawsStroke());
    expectOneUndoableStep(before, "Object Property");

    before = snapshot();
    press(inspector().mtxFillRule->button(1));
    EXPECT_EQ(a->fillRule(), 1);
    expectOneUndoableStep(before, "Set Object Property");

    before = snapshot();
    type(inspector().txtFillAlpha, "50");
    EXPECT_FLOAT_EQ(a->fillAlpha(), 0.5f);
    EXPECT_EQ(doc.undoManager()->undoActionName(), "");
    doc.undoManager()->undo();
    settle();
    EXPECT_EQ(snapshot(), before);
    // Above 100 % is full opacity.
    type(inspector().txtFillAlpha, "150");
    EXPECT_FLOAT_EQ(a->fillAlpha(), 1.0f);
}

TEST_F(InspectorWindow, LineStylesArrowsAndPatternsExcludeEachOther)
{
    const auto a = addRect(Rect(40, 40, 120, 80));
    select({a});
    PropertyList before = snapshot();
    press(inspector().mtxCap->button(1));
    EXPECT_EQ(a->capStyle(), 1);
    expectOneUndoableStep(before, "Set Object Property");

    before = snapshot();
    press(inspector().mtxArrowE->button(2));
    EXPECT_EQ(a->endArrow(), 2);
    expectOneUndoableStep(before, "Set Object Property");

    before = snapshot();
    slide(inspector().sldrArrowLength, 12);
    EXPECT_NEAR(a->arrowLength(), 12, 0.05);
    doc.undoManager()->undo();
    settle();
    EXPECT_EQ(snapshot(), before);
    doc.undoManager()->removeAllActions();

    before = snapshot();
    choose(inspector().pupDash, 2);
    EXPECT_EQ(a->objDashPattern(), inspector().pupDash->itemData(2).toInt());
    EXPECT_EQ(a->dashInfo(), inspector().dashInfoFor(a->objDashPattern()));
    EXPECT_TRUE(inspector().sldrDashScale->isEnabled());
    EXPECT_FALSE(inspector().pupLDrawStyles->isEnabled());
    expectOneUndoableStep(before, "Set Object Property");

    choose(inspector().pupDash, 0);
    before = snapshot();
    choose(inspector().pupLDrawStyles, 1);
    EXPECT_EQ(a->lineDrawPattern(), 1);
    // A line pattern leaves no cap, join or dash to choose.
    EXPECT_FALSE(inspector().pupDash->isEnabled());
    EXPECT_FALSE(inspector().mtxCap->button(0)->isEnabled());
    EXPECT_TRUE(inspector().sldrDrawIntensity->isEnabled());
    expectOneUndoableStep(before, "Set Object Property");
    choose(inspector().pupLDrawStyles, 0);
    EXPECT_TRUE(inspector().pupDash->isEnabled());
    EXPECT_TRUE(inspector().mtxJoin->button(0)->isEnabled());
}

TEST_F(InspectorWindow, GradientTypeStripAndPresets)
{
    const auto a = addRect(Rect(40, 40, 160, 100), Color::colorWithCalibratedRed(0.2f, 0.6f, 0.2f));
    select({a});
    PropertyList before = snapshot();
    choose(inspector().pupGradType, 1);
    EXPECT_EQ(a->objGradientType(), 1);
    ASSERT_TRUE(a->gradientView());
    EXPECT_EQ(inspector().gradView->gradientModel(), a->gradientView());
    EXPECT_TRUE(inspector().btnToGradMini->isEnabled());
    expectOneUndoableStep(before, "Set Object Property");

    before = snapshot();
    type(inspector().txRotateGrad, "45");
    EXPECT_FLOAT_EQ(a->gradientRotate(), 45);
    doc.undoManager()->undo();
    settle();
    EXPECT_EQ(snapshot(), before);
    doc.undoManager()->removeAllActions();

    before = snapshot();
    press(inspector().optFlipHGrad);
    EXPECT_EQ(a->gradientFlip(), 1);
    expectOneUndoableStep(before, "Object Property");

    // The third built-in preset applied: five stops.
    inspector().gradStepper->setValue(2);
    settle();
    EXPECT_EQ(inspector().txGradInfo->text(), QStringLiteral("3/%1").arg(inspector().gradientPresets().count()));
    before = snapshot();
    press(inspector().btnFromGradMini);
    EXPECT_EQ(a->gradientView()->colors().size(), 5u);
    expectOneUndoableStep(before, "Set Object Property");
}

TEST_F(InspectorWindow, OptionsRepetitionClippingAndShadowSwitches)
{
    const auto a = addRect(Rect(40, 40, 120, 80));
    select({a});
    PropertyList before = snapshot();
    choose(inspector().pupRepeat, 3);
    EXPECT_EQ(a->repeatType(), 3);
    expectOneUndoableStep(before, "Set Object Property");

    before = snapshot();
    press(inspector().mtxClipType->button(2));
    EXPECT_EQ(a->clipType(), 2);
    expectOneUndoableStep(before, "Set Object Property");

    before = snapshot();
    press(inspector().optExclusive);
    EXPECT_TRUE(a->isExclusive());
    expectOneUndoableStep(before, "Object Property");

    before = snapshot();
    press(inspector().optIndvShadow);
    EXPECT_TRUE(a->indvShadow());
    EXPECT_TRUE(inspector().btnIndvShdwVals->isEnabled());
    doc.undoManager()->undo();
    settle();
    EXPECT_EQ(snapshot(), before);
    doc.undoManager()->redo();
    settle();

    press(inspector().optNoShadow);
    EXPECT_TRUE(a->noShadow());
    EXPECT_FALSE(inspector().optIndvShadow->isEnabled());
}

TEST_F(InspectorWindow, TextOptionsReachTextObjectsAndTheFillReachesAll)
{
    auto text = VekObjText::create();
    text->setBounds(Rect(250, 40, 150, 60));
    text->setContents(AttributedString(QStringLiteral("Inspected text")));
    add(text);
    const auto a = addRect(Rect(40, 40, 120, 80));
    select({text});
    EXPECT_EQ(inspector().txObjClass->text(), "Current Object: Text");
    EXPECT_TRUE(inspector().sldrTxtPadding->isEnabled());

    PropertyList before = snapshot();
    type(inspector().txTxtPadding, "12");
    EXPECT_FLOAT_EQ(text->tcPadding(), 12);
    doc.undoManager()->undo();
    settle();
    EXPECT_EQ(snapshot(), before);
    doc.undoManager()->removeAllActions();

    before = snapshot();
    const bool simpleClip = text->simpleClip();
    press(inspector().optTxtSimpleClip);
    EXPECT_NE(text->simpleClip(), simpleClip);
    expectOneUndoableStep(before, "Object Property");

    // Two objects: the outline colour goes to the text only, the fill to both.
    select({a, text});
    EXPECT_EQ(inspector().txObjClass->text(), "Current Object: -- multiple --");
    pickInPanel(inspector().cwObjFill, Color::colorWithCalibratedRed(1, 1, 0));
    EXPECT_EQ(a->fillColor(), Color::colorWithCalibratedRed(1, 1, 0));
    EXPECT_EQ(text->fillColor(), Color::colorWithCalibratedRed(1, 1, 0));
    doc.undoManager()->removeAllActions();
    select({text});
    before = snapshot();
    const PropertyList pathBefore = a->propertyListRepresentation();
    ASSERT_EQ(view->selectedObjects().size(), 1u);
    ASSERT_TRUE(inspector().cwTxtOutline->isEnabled());
    pickInPanel(inspector().cwTxtOutline, Color::colorWithCalibratedRed(0, 0.5f, 0));
    EXPECT_EQ(a->propertyListRepresentation(), pathBefore);
    expectOneUndoableStep(before, "Set Object Color");
}

TEST_F(InspectorWindow, ImageOptionsTintAndCompositing)
{
    auto image = VekObjImage::create();
    QImage picture(40, 30, QImage::Format_ARGB32);
    picture.fill(Qt::darkCyan);
    image->setImage(Image(picture));
    image->setBounds(Rect(60, 60, 80, 60));
    add(image);
    select({image});
    EXPECT_EQ(inspector().txObjClass->text(), "Current Object: Image");
    EXPECT_EQ(inspector().txImgSzW->text(), QString::number(int(40 / 28.35f)));
    EXPECT_TRUE(inspector().btnImgOpenIFpanel->isEnabled());

    PropertyList before = snapshot();
    choose(inspector().pupImgCompositeOps, 5);
    EXPECT_EQ(image->compositeOperation(), 5u);
    expectOneUndoableStep(before, "Set Object Property");

    before = snapshot();
    pickInPanel(inspector().cwImgColor, Color::colorWithCalibratedRed(1, 0, 1));
    ASSERT_TRUE(image->colorizingColor());
    EXPECT_TRUE(inspector().btnImgColorReset->isEnabled());
    expectOneUndoableStep(before, "Set Object Color");

    press(inspector().btnImgColorReset);
    EXPECT_FALSE(image->colorizingColor().has_value() && image->colorizingColor()->alphaComponent() > 0);

    // The filter panel opens on the image and the inspector makes way for it.
    press(inspector().btnImgOpenIFpanel);
    VekIFController &filters = VekIFController::sharedIFController();
    EXPECT_TRUE(filters.isVisible());
    EXPECT_EQ(filters.currentObject(), image);
    EXPECT_FALSE(inspector().isVisible());
    filters.hide();
}

TEST_F(InspectorWindow, TheLabelNamesWhatIsShown)
{
    const auto a = addRect(Rect(40, 40, 120, 80));
    const auto b = addRect(Rect(240, 40, 120, 80));
    select({});
    EXPECT_EQ(inspector().txObjClass->text(), "Current Object: -- none --");
    EXPECT_FALSE(inspector().cwObjFill->isEnabled());
    EXPECT_EQ(inspector().txLocX->text(), "--");
    select({a, b});
    EXPECT_EQ(inspector().txObjClass->text(), "Current Object: -- multiple --");
    EXPECT_EQ(inspector().optObjFill->checkState(), Qt::PartiallyChecked);
    // A change of an object that is not the one shown leaves the panel as it is.
    select({a});
    const QString width = inspector().txSzW->text();
    b->setBounds(Rect(240, 40, 300, 80));
    settle();
    EXPECT_EQ(inspector().txSzW->text(), width);
}

} // namespace

namespace {

TEST_F(InspectorWindow, AnObjectStyledThroughTheInspectorLooksAsStyled)
{
    const auto a = addRect(Rect(40, 40, 160, 100));
    select({a});
    pickInPanel(inspector().cwObjFill, Color::colorWithCalibratedRed(1, 0.8f, 0));
    pickInPanel(inspector().cwObjStroke, Color::colorWithCalibratedRed(0, 0, 0.6f));
    type(inspector().txLineWidth, "6");
    choose(inspector().pupDash, 1);
    press(inspector().mtxJoin->button(1));
    // Deselected, so that no knobs show.
    click(Point(595, 495));
    QCoreApplication::processEvents();
    const QPoint origin = (view->rulerCanvasOrigin() + QPointF(20, 20)).toPoint();
    const QImage shot = view->viewport()->grab(QRect(origin, QSize(220, 160))).toImage();
    expectMatchesGolden(shot, QStringLiteral("obj_info_styled.png"), 0.02);
}

} // namespace
