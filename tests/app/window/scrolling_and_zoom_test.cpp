// The canvas keeps the user's place: the page field follows scrolling, and a new zoom shows
// the first selected object, or the page that was current.
#include "tests/app/window/window_driver.h"

#include "document/vek_document.h"
#include "model/vek_object.h"

#include <QLineEdit>
#include <QScrollBar>

namespace {

void addPages(VekDocumentWindow &window, int count)
{
    for (int i = 0; i < count; ++i)
        menuItem(window, QStringLiteral("Page"), QStringLiteral("Add Page"))->trigger();
    QCoreApplication::processEvents();
}

} // namespace

TEST_F(WindowTest, ThePageFieldFollowsScrolling)
{
    VekDocumentWindow &window = start();
    VekView &view = window.vekView();
    addPages(window, 3);
    ASSERT_EQ(view.numberOfPages(), 4);
    auto *pageField = window.findChild<QLineEdit *>(QStringLiteral("pageField"));
    ASSERT_TRUE(pageField);
    // Down to the middle of page 3 by the scroll bar, as the user drags it.
    const Rect third = view.rectForPage(3);
    view.verticalScrollBar()->setValue(int(third.midY() - view.viewport()->height() / 2.0));
    QCoreApplication::processEvents();
    EXPECT_EQ(view.currentPage(), 3);
    EXPECT_EQ(pageField->text(), QStringLiteral("3"));
    view.verticalScrollBar()->setValue(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(view.currentPage(), 1);
    EXPECT_EQ(pageField->text(), QStringLiteral("1"));
}

TEST_F(WindowTest, ANewZoomShowsTheFirstSelectedObjectOrKeepsThePage)
{
    VekDocumentWindow &window = start();
    CanvasDriver canvas(window);
    VekView &view = window.vekView();
    addPages(window, 3);
    // Page 3 current, nothing selected: zooming in keeps page 3 in sight.
    view.setCurrentPageTo(3);
    canvas.key(Qt::Key_Plus, Qt::ControlModifier);
    ASSERT_EQ(view.currentZoom(), 150);
    EXPECT_EQ(view.currentPage(), 3);
    EXPECT_TRUE(intersectsRect(view.visibleRect(), view.rectForPage(3)));
    // An object on page 2, selected: zooming shows it.
    view.setCurrentPageTo(2);
    const Rect page2 = view.rectForPage(2);
    chooseTool(QStringLiteral("Object"));
    canvas.drag({page2.minX() + 200, page2.minY() + 300}, {page2.minX() + 260, page2.minY() + 340});
    chooseTool(QStringLiteral("Arrow"));
    ASSERT_EQ(window.document().objects().size(), 1u);
    const std::shared_ptr<VekObject> box = window.document().objects().front();
    view.selectObjectExclusively(box);
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    QCoreApplication::processEvents();
    ASSERT_FALSE(intersectsRect(view.visibleRect(), box->bounds()));
    canvas.key(Qt::Key_Plus, Qt::ControlModifier);
    ASSERT_EQ(view.currentZoom(), 200);
    EXPECT_TRUE(containsRect(view.visibleRect(), box->bounds()));
}
