// The shadow panel at the document and object levels: the dial, the fields with their
// limits, the blur, reset to and save as the default of the level above.
#include "tests/panels/window/obj_info_fixture.h"

#include "model/services/panel_services.h"
#include "panels/shadow/shadow_values.h"
#include "panels/shadow/vek_shadow_controller.h"
#include "panels/shadow/vek_shadow_view.h"

#include <QCheckBox>
#include <QPushButton>

namespace {

class ShadowPanel : public InspectorWindow {
protected:
    void SetUp() override
    {
        InspectorWindow::SetUp();
        UserDefaults::standardUserDefaults().removeObjectForKey(DefaultsKey::Shadow);
        panel().alert = [this](const QString &title, const QString &message) { alerts << title + "|" + message; };
    }
    void TearDown() override
    {
        panel().hide();
        InspectorWindow::TearDown();
    }
    static VekShadowController &panel() { return VekShadowController::sharedShadowController(); }
    QStringList alerts;
};

TEST_F(ShadowPanel, TheDocumentLevelEditsTheDocumentsShadowAndTheApplicationDefault)
{
    panel().updateAndShowWindow(true, ShadowPanelLevel::Document);
    EXPECT_TRUE(panel().isVisible());
    EXPECT_EQ(panel().windowTitle(), "Document Shadow Values");
    EXPECT_EQ(panel().currentDocument(), &doc);

    type(panel().txAngle, "400");
    EXPECT_FLOAT_EQ(doc.shadowAngle(), 0);
    type(panel().txAngle, "359.9");
    EXPECT_FLOAT_EQ(doc.shadowAngle(), 359.9f);
    type(panel().txOffset, "0.1");
    EXPECT_FLOAT_EQ(doc.shadowOffset(), 0.5f);
    // A click at the dial's right edge: the shadow falls right, 30 away.
    QTest::mouseClick(panel().shadowView, Qt::LeftButton, Qt::NoModifier,
                      QPoint(panel().shadowView->width() - 1, panel().shadowView->height() / 2));
    EXPECT_NEAR(doc.shadowAngle(), 90, 2);
    EXPECT_NEAR(doc.shadowOffset(), 30, 1.5);
    slide(panel().sldrBlur, 8);
    EXPECT_NEAR(doc.shadowBlur(), 8, 0.05);

    // Saved as the application's default, then the document reset to it.
    press(panel().btnSaveDefault);
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts[0], "Save as Default|Vekanto default shadow values were updated.");
    const PropertyList saved = UserDefaults::standardUserDefaults().dictionaryForKey(DefaultsKey::Shadow);
    EXPECT_NEAR(saved.value("blur").floatValue(), 8, 0.05);
    type(panel().txAngle, "45");
    press(panel().btnReset);
    EXPECT_NEAR(doc.shadowAngle(), 90, 2);

    // Without a default of the user's the built-in one comes back.
    UserDefaults::standardUserDefaults().removeObjectForKey(DefaultsKey::Shadow);
    press(panel().btnReset);
    EXPECT_FLOAT_EQ(doc.shadowAngle(), 180);
    EXPECT_FLOAT_EQ(doc.shadowOffset(), 5);
    EXPECT_FLOAT_EQ(doc.shadowBlur(), 5);
    EXPECT_EQ(doc.shadowColor(), defaultShadowColor());
}

TEST_F(ShadowPanel, TheObjectLevelEditsTheSelectedObjectsOwnShadows)
{
    const auto a = addRect(Rect(40, 40, 100, 60));
    const auto b = addRect(Rect(200, 40, 100, 60));
    select({a});
    press(inspector().optIndvShadow);
    ASSERT_TRUE(a->indvShadow());
    // The object with its own shadow is the one shown, so the values button is on.
    select({b, a});
    ASSERT_EQ(inspector().currentObject(), a);
    doc.undoManager()->removeAllActions();
    // The inspector's button opens the panel for the objects.
    press(inspector().btnIndvShdwVals);
    EXPECT_TRUE(panel().isVisible());
    EXPECT_EQ(panel().level(), ShadowPanelLevel::Objects);
    EXPECT_EQ(panel().windowTitle(), "Object Shadow Values");

    PropertyList before = snapshot();
    type(panel().txAngle, "-10");
    EXPECT_FLOAT_EQ(a->indvShadowAngle(), 0);
    EXPECT_FLOAT_EQ(b->indvShadowAngle(), 0);
    doc.undoManager()->undo();
    settle();
    EXPECT_EQ(snapshot(), before);
    doc.undoManager()->removeAllActions();

    before = snapshot();
    type(panel().txOffset, "12");
    EXPECT_FLOAT_EQ(a->indvShadowOffset(), 12);
    EXPECT_FLOAT_EQ(b->indvShadowOffset(), 12);
    const PropertyList moved = snapshot();
    pickInPanel(panel().cwShadow, Color::colorWithCalibratedRed(0, 0, 1, 0.5f));
    EXPECT_EQ(a->indvShadowColor(), Color::colorWithCalibratedRed(0, 0, 1, 0.5f));
    // Each change is a step of its own.
    doc.undoManager()->undo();
    settle();
    EXPECT_EQ(snapshot(), moved);
    doc.undoManager()->undo();
    settle();
    EXPECT_EQ(snapshot(), before);
    doc.undoManager()->removeAllActions();

    // Reset to the document's values keeps each object's own on/off state.
    doc.setShadowAngle(33);
    press(panel().btnReset);
    EXPECT_FLOAT_EQ(a->indvShadowAngle(), 33);
    EXPECT_FLOAT_EQ(b->indvShadowAngle(), 33);
    EXPECT_TRUE(a->indvShadow());
    EXPECT_FALSE(b->indvShadow());

    // Saved as the document's default: the document changes, the user defaults do not.
    type(panel().txAngle, "120");
    press(panel().btnSaveDefault);
    EXPECT_FLOAT_EQ(doc.shadowAngle(), 120);
    EXPECT_TRUE(UserDefaults::standardUserDefaults().objectForKey(DefaultsKey::Shadow).isAbsent());
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts[0], "Save as Default|This document's default shadow values were updated.");
}

TEST_F(ShadowPanel, AClosingDocumentTakesThePanelAwayAndLeavesItNothingToEdit)
{
    panel().updateAndShowWindow(true, ShadowPanelLevel::Document);
    panel().documentWillClose(doc);
    EXPECT_FALSE(panel().isVisible());
    EXPECT_EQ(panel().currentDocument(), nullptr);
    const float angle = doc.shadowAngle();
    type(panel().txAngle, "77");
    EXPECT_FLOAT_EQ(doc.shadowAngle(), angle);
}

} // namespace
