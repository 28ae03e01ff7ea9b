// Text boxes typed into the canvas in a real window match small golden images: a line
// holding a composed character and a right-to-left word, and text flowing inside a clip
// oval (VEK_UPDATE_GOLDEN=1 writes them anew).
#include "canvas/ui/vek_view.h"

#include "document/vek_document.h"
#include "model/services/shell_services.h"
#include "model/vek_obj_path.h"
#include "model/vek_obj_text.h"
#include "tests/model/fakes.h"
#include "tests/support/golden_image.h"
#include "tests/support/widget_app.h"

#include <QInputMethodEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class TextToolShell : public ShellServices {
public:
    int tool = 6;
    int selectedTool() const override { return tool; }
    void selectArrowTool() override { tool = 0; }
};

class TextWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureWidgetApp();
        setShellServices(&shell);
        doc.setDrawAreaSizePerPage({200, 150});
        view = std::make_unique<VekView>(doc);
        view->setFrameShape(QFrame::NoFrame);
        view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view->resize(200, 150);
        view->show();
        view->setEventSource(&events);
        waitForExposure(*view);
    }
    void TearDown() override
    {
        view.reset();
        setShellServices(nullptr);
    }

    // Drags a box out with the text tool and types into it; the click that ends the
    // editing lands on the empty canvas.
    void typeBox(Point from, Point to, const QString &keys, const QString &committed = {})
    {
        shell.tool = 6;
        events.up(to);
        view->mouseDownWithEvent({EventType::LeftMouseDown, from, 0, 1});
        QTest::keyClicks(view.get(), keys);
        if (!committed.isEmpty()) {
            QInputMethodEvent commit(QString(), {});
            commit.setCommitString(committed);
            QCoreApplication::sendEvent(view.get(), &commit);
        }
        events.up({199, 149});
        view->mouseDownWithEvent({EventType::LeftMouseDown, {199, 149}, 0, 1});
        doc.undoManager()->closeEventGroup();
    }
    QImage shot()
    {
        QCoreApplication::processEvents();
        return view->viewport()->grab().toImage();
    }

    TextToolShell shell;
    VekDocument doc;
    ScriptedEventSource events;
    std::unique_ptr<VekView> view;
};

TEST_F(TextWindow, AComposedCharacterAndAHebrewWordMatchTheGoldenImage)
{
    typeBox({10, 20}, {190, 50}, QStringLiteral("Caf"), QStringLiteral("\u00e9 \u05e9\u05dc\u05d5\u05dd"));
    ASSERT_EQ(doc.objects().size(), 1u);
    typeBox({10, 70}, {190, 100}, QStringLiteral("Two words"));
    ASSERT_EQ(doc.objects().size(), 2u);
    expectMatchesGolden(shot(), QStringLiteral("text_rtl_200.png"));
}

TEST_F(TextWindow, TextInsideAClipOvalMatchesTheGoldenImage)
{
    const Rect ovalRect(20, 10, 160, 130);
    auto oval = VekObjPath::create();
    oval->setBezierPath(BezierPath::bezierPathWithOvalInRect(ovalRect));
    oval->setBounds(ovalRect);
    doc.insertObject(oval, 0, false);
    oval->setClipType(1);
    auto box = VekObjText::create();
    box->setBounds(ovalRect);
    QString words;
    for (int i = 0; i < 40; ++i)
        words += QStringLiteral("oval ");
    TextAttributes body;
    body.font = Font{QStringLiteral("DejaVuSans"), 10};
    box->setContents(AttributedString(words, body));
    doc.insertObject(box, 0, false);
    expectMatchesGolden(shot(), QStringLiteral("text_oval_200.png"));
}

} // namespace
