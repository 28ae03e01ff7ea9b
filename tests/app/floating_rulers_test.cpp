// The floating rulers in the application: the Window menu's toggles and their titles, the
// document whose zoom they measure, hiding when no document is left, and their colours.
#include "tests/app/shell_fixture.h"

#include "canvas/ui/floating_ruler.h"
#include "canvas/ui/vek_view.h"

namespace {

const auto *const configHome = ::testing::AddGlobalTestEnvironment(new PrivateConfigHome);

// The rulers belong to the whole run: each test starts and ends with both hidden.
class FloatingRulersInShell : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        hideBoth();
    }
    void TearDown() override
    {
        hideBoth();
        ShellTest::TearDown();
    }
    static FloatingRulerController &rulers() { return FloatingRulerController::sharedFloatingRulerController(); }
    static void hideBoth()
    {
        for (FloatingRulerView *ruler : {rulers().horizontalRuler(), rulers().verticalRuler()})
            if (ruler)
                ruler->hide();
    }
    QString titleOfItem(int tag)
    {
        ActionSender sender{tag, 0, QStringLiteral("?"), nullptr};
        EXPECT_TRUE(controller->responderChain().validateAction(QStringLiteral("toggleFloatingRuler"), sender));
        return sender.title;
    }
    void chooseItem(int tag)
    {
        EXPECT_TRUE(controller->responderChain().performAction(QStringLiteral("toggleFloatingRuler"),
                                                               ActionSender{tag, 0, {}, nullptr}));
    }
};

TEST_F(FloatingRulersInShell, EachItemTogglesItsOwnRulerAndSaysWhatItWillDo)
{
    controller->startUp({});
    EXPECT_EQ(titleOfItem(0), "Show Horizontal Ruler");
    EXPECT_EQ(titleOfItem(1), "Show Vertical Ruler");

    chooseItem(1);
    EXPECT_TRUE(rulers().verticalRulerIsVisible());
    EXPECT_FALSE(rulers().horizontalRulerIsVisible());
    EXPECT_EQ(titleOfItem(1), "Hide Vertical Ruler");
    EXPECT_EQ(titleOfItem(0), "Show Horizontal Ruler");

    chooseItem(0);
    chooseItem(1);
    EXPECT_TRUE(rulers().horizontalRulerIsVisible());
    EXPECT_FALSE(rulers().verticalRulerIsVisible());
    EXPECT_EQ(titleOfItem(0), "Hide Horizontal Ruler");
}

TEST_F(FloatingRulersInShell, TheRulersMeasureTheCurrentDocumentAtItsZoom)
{
    controller->startUp({});
    windows().front()->vekView().setCurrentZoom(200);
    chooseItem(0);
    ASSERT_TRUE(rulers().horizontalRuler());
    EXPECT_EQ(rulers().currentDocument(), &windows().front()->document());
    EXPECT_DOUBLE_EQ(rulers().horizontalRuler()->zoomFactor(), 2.0);
}

TEST_F(FloatingRulersInShell, WhenTheLastDocumentClosesTheRulersHideAndStayHidden)
{
    controller->startUp({});
    chooseItem(0);
    chooseItem(1);
    windows().front()->close();
    flushDeletes();
    QCoreApplication::processEvents();
    ASSERT_TRUE(windows().empty());
    EXPECT_FALSE(rulers().horizontalRulerIsVisible());
    EXPECT_FALSE(rulers().verticalRulerIsVisible());
    EXPECT_EQ(rulers().currentDocument(), nullptr);

    controller->docController().createVekUntitledDocument();
    EXPECT_FALSE(rulers().horizontalRulerIsVisible());
}

TEST_F(FloatingRulersInShell, TheRulerColoursAreThePreferencesColours)
{
    controller->startUp({});
    EXPECT_EQ(controller->frBGColor(), controller->preferences().colorForKey(QStringLiteral("cwFRbg")));
    const Color marks = Color::colorWithCalibratedRed(0.5f, 0.1f, 0.1f);
    controller->preferences().setColorForKey(marks, QStringLiteral("cwFRmk"));
    EXPECT_EQ(controller->frMKColor(), marks);
}

} // namespace
