// What the inspector's window tests share: a document shown in a canvas beside the shared
// inspector, the canvas made the main window's, objects put on it, clicks on the canvas and
// the panel's controls, and the document's state before and after a step for its undo.
#pragma once

#include "canvas/ui/vek_view.h"
#include "document/vek_document.h"
#include "model/vek_obj_path.h"
#include "panels/colour_panel.h"
#include "panels/colour_well.h"
#include "panels/float_slider.h"
#include "panels/obj_info/vek_obj_info_controller.h"
#include "panels/panel_canvas.h"
#include "platform/foundation/undo_manager.h"
#include "platform/foundation/user_defaults.h"
#include "tests/support/golden_image.h"
#include "tests/support/widget_app.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

// The test program keeps its user defaults in a folder of its own.
class PrivateDefaultsFolder : public ::testing::Environment {
public:
    void SetUp() override { qputenv("XDG_CONFIG_HOME", m_home.path().toLocal8Bit()); }

private:
    QTemporaryDir m_home;
};
inline const auto *const privateDefaultsFolder = ::testing::AddGlobalTestEnvironment(new PrivateDefaultsFolder);

class InspectorWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureWidgetApp();
        doc.setDrawAreaSizePerPage({600, 500});
        view = std::make_unique<VekView>(doc);
        view->setFrameShape(QFrame::NoFrame);
        view->resize(640, 540);
        view->move(0, 0);
        view->show();
        waitForExposure(*view);
        setMainCanvasProvider([this]() -> PanelCanvas * { return view.get(); });
        inspector().move(660, 0);
        inspector().showWindow();
        waitForExposure(inspector());
    }
    void TearDown() override
    {
        inspector().hide();
        setMainCanvasProvider(nullptr);
        view.reset();
    }

    static VekObjInfoController &inspector() { return VekObjInfoController::sharedObjInfoController(); }

    std::shared_ptr<VekObjPath> addRect(const Rect &r, const Color &fill = Color::whiteColor())
    {
        auto o = VekObjPath::create();
        o->setBezierPath(BezierPath::bezierPathWithRect(r));
        o->setBounds(r);
        o->setFillColor(fill);
        return add(o);
    }
    template <typename T>
    std::shared_ptr<T> add(const std::shared_ptr<T> &o)
    {
        doc.insertObject(o, 0, false);
        settle();
        doc.undoManager()->removeAllActions();
        return o;
    }

    // A click on the canvas at a canvas point, as the user makes it (the canvas tracks the
    // press in a loop of its own, so the release is posted first).
    void click(Point p, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget *viewport = view->viewport();
        const QPointF at = view->rulerCanvasOrigin() + QPointF(p.x, p.y);
        QCoreApplication::postEvent(viewport, new QMouseEvent(QEvent::MouseButtonRelease, at, viewport->mapToGlobal(at),
                                                              Qt::LeftButton, Qt::NoButton, modifiers));
        QMouseEvent press(QEvent::MouseButtonPress, at, viewport->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          modifiers);
        QCoreApplication::sendEvent(viewport, &press);
        settle();
    }
    // Selects the objects by clicking their middles, the others with Shift; the selection's
    // own undo steps are dropped so that each test's steps are the inspector's.
    void select(const std::vector<std::shared_ptr<VekObject>> &objects)
    {
        // A click on the empty corner of the page first clears the selection.
        click(Point(595, 495));
        for (size_t i = 0; i < objects.size(); ++i) {
            const Rect b = objects[i]->bounds();
            click(Point(b.midX(), b.midY()), i == 0 ? Qt::NoModifier : Qt::ShiftModifier);
        }
        doc.undoManager()->removeAllActions();
    }

    // Ends the event loop's pass, which closes the undo step.
    static void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    // Brings the inspector's page holding the control to the front, as the user would first.
    static void showPageOf(QWidget *control)
    {
        auto *tabs = inspector().findChild<QTabWidget *>(QStringLiteral("tabs"));
        for (QWidget *w = control; w && tabs; w = w->parentWidget())
            if (tabs->indexOf(w) >= 0) {
                tabs->setCurrentWidget(w);
                settle();
                return;
            }
    }
    // Typed into a field and confirmed with Return.
    static void type(QLineEdit *field, const QString &text)
    {
        showPageOf(field);
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
        settle();
    }
    // Chosen with the keyboard, as from a closed pop-up.
    static void choose(QComboBox *popUp, int index)
    {
        showPageOf(popUp);
        popUp->setFocus();
        while (popUp->currentIndex() < index)
            QTest::keyClick(popUp, Qt::Key_Down);
        while (popUp->currentIndex() > index)
            QTest::keyClick(popUp, Qt::Key_Up);
        settle();
    }
    static void press(QAbstractButton *button)
    {
        showPageOf(button);
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(6, button->height() / 2));
        settle();
    }
    // The slider moved to the value and let go.
    static void slide(FloatSlider *slider, double value)
    {
        showPageOf(slider);
        const double share = (value - slider->floatMinimum()) / (slider->floatMaximum() - slider->floatMinimum());
        slider->setValue(int(std::lround(share * slider->maximum())));
        settle();
    }
    // A colour chosen for the well in the shared colour panel, after a click on the well.
    static void pickInPanel(ColourWell *well, const Color &color)
    {
        showPageOf(well);
        QWidget *panel = well->window();
        panel->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(panel));
        QTest::mouseClick(well, Qt::LeftButton);
        EXPECT_TRUE(well->isActive());
        ColourPanel::sharedColorPanel().pickColor(color);
        settle();
    }

    // Every object's dictionary form, in order.
    PropertyList snapshot() const
    {
        PropertyList all = PropertyList::array();
        for (const auto &o : doc.objects())
            all.append(o->propertyListRepresentation());
        return all;
    }
    // Undoing the step gives back `before` exactly, redoing it gives back what it made.
    void expectOneUndoableStep(const PropertyList &before, const QString &name)
    {
        const PropertyList after = snapshot();
        EXPECT_NE(after, before) << name.toStdString();
        EXPECT_EQ(doc.undoManager()->undoActionName(), name);
        doc.undoManager()->undo();
        settle();
        EXPECT_EQ(snapshot(), before) << name.toStdString();
        doc.undoManager()->redo();
        settle();
        EXPECT_EQ(snapshot(), after) << name.toStdString();
        doc.undoManager()->removeAllActions();
    }

    VekDocument doc;
    std::unique_ptr<VekView> view;
};
