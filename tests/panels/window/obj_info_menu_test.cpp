// The running application opens and closes the inspector from its Window menu, the inspector
// follows the document window's canvas, and the document info panel's shadow button opens the
// shadow panel for the document.
#include "app/document/vek_doc_controller.h"
#include "app/document/vek_document_window.h"
#include "app/vek_main_controller.h"
#include "canvas/ui/vek_view.h"
#include "document/vek_document.h"
#include "model/vek_obj_path.h"
#include "panels/docinfo/doc_info_controller.h"
#include "panels/obj_info/vek_obj_info_controller.h"
#include "panels/shadow/vek_shadow_controller.h"
#include "platform/foundation/user_defaults.h"
#include "tests/support/golden_image.h"
#include "tests/support/widget_app.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

QAction *windowMenuItem(QMainWindow &window, const QString &title)
{
    for (QAction *top : window.menuBar()->actions())
        if (top->text() == QLatin1String("Window") && top->menu()) {
            // The menu names its items as it opens.
            emit top->menu()->aboutToShow();
            for (QAction *action : top->menu()->actions())
                if (action->text() == title)
                    return action;
        }
    return nullptr;
}

TEST(InspectorMenu, TheWindowMenuOpensAndClosesTheInspectorOnTheMainDocument)
{
    ensureWidgetApp();
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    UserDefaults defaults(home.filePath(QStringLiteral("prefs.plist")));
    auto controller = std::make_unique<VekMainController>(defaults);
    VekDocumentWindow *window = controller->docController().createVekUntitledDocument();
    ASSERT_TRUE(window);
    window->resize(900, 700);
    window->show();
    waitForExposure(*window);
    auto path = VekObjPath::create();
    path->setBezierPath(BezierPath::bezierPathWithOvalInRect(Rect(50, 50, 100, 60)));
    path->setBounds(Rect(50, 50, 100, 60));
    window->document().insertObject(path, 0, false);
    window->vekView().selectObjects({path});

    QAction *open = windowMenuItem(*window, QStringLiteral("Open Object Info Panel"));
    ASSERT_TRUE(open);
    open->trigger();
    VekObjInfoController &inspector = VekObjInfoController::sharedObjInfoController();
    EXPECT_TRUE(inspector.isVisible());
    EXPECT_EQ(inspector.currentObject(), path);
    EXPECT_EQ(inspector.txObjClass->text(), "Current Object: Path");
    QAction *close = windowMenuItem(*window, QStringLiteral("Close Object Info Panel"));
    ASSERT_TRUE(close);
    close->trigger();
    EXPECT_FALSE(inspector.isVisible());

    // The document info panel's shadow button: the shadow panel for the document.
    QPushButton *shadowButton = controller->docInfoController().findChild<QPushButton *>("btnShowShadowPanel");
    ASSERT_TRUE(shadowButton);
    controller->docInfoController().showWindow();
    waitForExposure(controller->docInfoController());
    // The button follows the document's shadow switch.
    if (!shadowButton->isEnabled())
        QTest::mouseClick(controller->docInfoController().findChild<QCheckBox *>("optShadow"), Qt::LeftButton,
                          Qt::NoModifier, QPoint(6, 6));
    ASSERT_TRUE(shadowButton->isEnabled());
    QTest::mouseClick(shadowButton, Qt::LeftButton);
    VekShadowController &shadow = VekShadowController::sharedShadowController();
    EXPECT_TRUE(shadow.isVisible());
    EXPECT_EQ(shadow.level(), ShadowPanelLevel::Document);
    EXPECT_EQ(shadow.currentDocument(), &window->document());

    // A closing document takes both panels away.
    open = windowMenuItem(*window, QStringLiteral("Open Object Info Panel"));
    open->trigger();
    window->document().documentWasSaved();
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(inspector.isVisible());
    EXPECT_FALSE(shadow.isVisible());
    EXPECT_EQ(shadow.currentDocument(), nullptr);
    controller->docInfoController().hide();
    controller.reset();
}

} // namespace
