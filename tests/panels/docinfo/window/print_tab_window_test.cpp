// The print tab as a user edits it: paper and orientation chosen in the panel change the page
// that the canvas, its rulers and its scroll range show at once, and undo takes them back.
#include "tests/panels/docinfo/window/doc_info_fixture.h"

#include "canvas/ui/ruler_host.h"
#include "panels/docinfo/paper_list.h"
#include "panels/docinfo/print_tab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

namespace {

const auto *const configHome = ::testing::AddGlobalTestEnvironment(new PrivateConfigHome);

void chooseItem(QComboBox *popup, int index)
{
    popup->setCurrentIndex(index);
    emit popup->activated(index);
}

struct PageState {
    Rect page;
    double rulerOrigin;
    int scrollRange;
    PrintInfo info;
};

} // namespace

TEST_F(DocInfoWindowTest, PaperAndOrientationChangeTheCanvasAndRulersAndUndoAll)
{
    openPanel();
    panel().selectTab(QStringLiteral("print"));
    PrintTab &print = *panel().printTab;
    const auto state = [this] {
        return PageState{view().rectForPage(1), view().rulerHost().rulerOrigin(Qt::Horizontal),
                         view().verticalScrollBar()->maximum(), document().printInfo()};
    };
    const PageState before = state();

    const int a5 = print.pupPaperSizes->findData(QStringLiteral("A5"));
    ASSERT_GE(a5, 0);
    chooseItem(print.pupPaperSizes, a5);
    endPass();
    const Size a5Size = PaperList::shared().paperSizeForPaperName(QStringLiteral("A5"));
    const PrintInfo &info = document().printInfo();
    EXPECT_EQ(info.paperName, QStringLiteral("A5"));
    EXPECT_NEAR(view().rectForPage(1).width(), a5Size.width - info.leftMargin - info.rightMargin, 1.0);
    EXPECT_NEAR(view().rectForPage(1).height(), a5Size.height - info.topMargin - info.bottomMargin, 1.0);
    const PageState portrait = state();
    EXPECT_NE(portrait.rulerOrigin, before.rulerOrigin);   // a narrower page sits further in

    chooseItem(print.pupOrientation, 1);
    endPass();
    const Rect landscape = view().rectForPage(1);
    EXPECT_GT(landscape.width(), landscape.height());
    EXPECT_NEAR(landscape.width(), a5Size.height - info.leftMargin - info.rightMargin, 1.0);
    EXPECT_NE(state().rulerOrigin, portrait.rulerOrigin);
    EXPECT_EQ(view().rulerHost().rulerOrigin(Qt::Horizontal), view().rulerCanvasOrigin().x());
    EXPECT_LE(state().scrollRange, portrait.scrollRange);
    EXPECT_TRUE(print.txPaperSize->text().startsWith(QString::number(int(std::ceil(a5Size.width)))));

    undo();
    EXPECT_EQ(view().rectForPage(1), portrait.page);
    undo();
    EXPECT_EQ(view().rectForPage(1), before.page);
    EXPECT_EQ(document().printInfo(), before.info);
    EXPECT_EQ(view().rulerHost().rulerOrigin(Qt::Horizontal), before.rulerOrigin);
    redo();
    redo();
    EXPECT_EQ(view().rectForPage(1), landscape);
    EXPECT_EQ(print.pupOrientation->currentIndex(), 1);
}

TEST_F(DocInfoWindowTest, TypedMarginsAndPageSizeAreUndoableAndHeadersNeedAMargin)
{
    openPanel();
    panel().selectTab(QStringLiteral("print"));
    PrintTab &print = *panel().printTab;
    const PrintInfo before = document().printInfo();
    typeInto(print.marginL, QStringLiteral("10"));
    endPass();
    EXPECT_EQ(document().printInfo().leftMargin, 10.0f);
    typeInto(print.txDrawAreaW, QStringLiteral("300"));
    endPass();
    EXPECT_NEAR(view().rectForPage(1).width(), 300.0, 0.01);

    // Header and footer printing is offered only while a margin leaves room for it.
    for (VekTextField *margin : {print.marginL, print.marginR, print.marginT, print.marginB}) {
        typeInto(margin, QStringLiteral("0"));
        endPass();
    }
    EXPECT_FALSE(print.optAddBorder->isEnabled());
    EXPECT_FALSE(print.btnEditBorder->isEnabled());
    for (int step = 0; step < 6; ++step)
        undo();
    EXPECT_EQ(document().printInfo(), before);
    EXPECT_TRUE(print.optAddBorder->isEnabled());
}
