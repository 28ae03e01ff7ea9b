// Page changes carry every object of the pages with them, and undo puts everything back.
#include "canvas/page_commands.h"

#include "platform/pdf/pdf_document.h"
#include "tests/canvas/command_fixture.h"
#include "tests/platform/pdf/pdf_fixtures.h"

namespace {

// Three pages: an object inside each page, one on page 2 crossing into page 3, one on
// page 2 sticking out on the right, and one repeating on every page.
struct ThreePages : CommandFixture {
    ThreePages() : CommandFixture(3)
    {
        first = add({10, 10, 20, 20});
        second = add({10, 110, 20, 20});
        crossing = add({40, 190, 20, 20});
        overhanging = add({190, 130, 40, 20});
        third = add({10, 210, 20, 20});
        repeating = add({100, 10, 10, 10});
        repeating->setRepeatType(3);
        settle();
        original = allBounds();
        originalOrder = order();
    }
    Rect moved(const Rect &r, float dy) const { return offsetRect(r, 0, dy); }
    // Undo restores the objects, their order and the pages exactly; redo gives `after` again.
    void expectUndoRedo(const std::vector<Rect> &after, int pagesAfter)
    {
        EXPECT_EQ(doc.undoManager()->undoActionName(), QStringLiteral("Page Change"));
        const auto orderAfter = order();
        undo();
        EXPECT_EQ(allBounds(), original);
        EXPECT_EQ(order(), originalOrder);
        EXPECT_EQ(doc.numberOfPages(), 3);
        redo();
        EXPECT_EQ(allBounds(), after);
        EXPECT_EQ(order(), orderAfter);
        EXPECT_EQ(doc.numberOfPages(), pagesAfter);
    }

    std::shared_ptr<VekObject> first, second, crossing, overhanging, third, repeating;
    std::vector<Rect> original;
    std::vector<VekObject *> originalOrder;
};

} // namespace

TEST(PageCommands, RemovingAPageDeletesItsObjectsAndMovesLaterPagesUp)
{
    ThreePages f;
    auto context = f.context({}, 2);
    removePageAt(context, 2);
    f.step();

    EXPECT_EQ(f.doc.numberOfPages(), 2);
    // The objects lying wholly on page 2 are gone, the one sticking out on the right too;
    // the one crossing into page 3 stays where it was.
    EXPECT_EQ(f.order(), (std::vector<VekObject *>{f.first.get(), f.crossing.get(), f.third.get(), f.repeating.get()}));
    EXPECT_EQ(f.third->bounds(), Rect(10, 110, 20, 20));
    EXPECT_EQ(f.crossing->bounds(), Rect(40, 190, 20, 20));
    EXPECT_EQ(f.first->bounds(), Rect(10, 10, 20, 20));
    EXPECT_EQ(f.repeating->bounds(), Rect(100, 10, 10, 10));
    EXPECT_EQ(f.host.currentPage, 1);
    EXPECT_EQ(context.currentPage, 1);
    f.expectUndoRedo(f.allBounds(), 2);
    EXPECT_EQ(f.host.currentPage, 1);
}

TEST(PageCommands, RemovingThePageARepeatingObjectIsStoredOnKeepsIt)
{
    ThreePages f;
    auto context = f.context({}, 1);
    removePageAt(context, 1);
    f.step();
    EXPECT_EQ(f.order(), (std::vector<VekObject *>{f.second.get(), f.crossing.get(), f.overhanging.get(),
                                                   f.third.get(), f.repeating.get()}));
    EXPECT_EQ(f.repeating->bounds(), Rect(100, 10, 10, 10));
    EXPECT_EQ(f.second->bounds(), Rect(10, 10, 20, 20));
    EXPECT_EQ(f.crossing->bounds(), Rect(40, 90, 20, 20));
    EXPECT_EQ(f.overhanging->bounds(), Rect(190, 30, 40, 20));
    f.expectUndoRedo(f.allBounds(), 2);
}

TEST(PageCommands, InsertingAPageMovesThatPageAndLaterOnesDown)
{
    ThreePages f;
    auto context = f.context({}, 2);
    insertPageAt(context, 2);
    f.step();

    EXPECT_EQ(f.doc.numberOfPages(), 4);
    const std::vector<Rect> expected{f.original[0],           f.moved(f.original[1], 100), f.moved(f.original[2], 100),
                                     f.moved(f.original[3], 100), f.moved(f.original[4], 100), f.original[5]};
    EXPECT_EQ(f.allBounds(), expected);
    EXPECT_EQ(f.host.currentPage, 2);
    f.expectUndoRedo(expected, 4);
}

TEST(PageCommands, AddingAPage)
{
    {
        ThreePages f;
        auto context = f.context({}, 1);
        addPageAfter(context, 1);
        f.step();
        const std::vector<Rect> expected{f.original[0], f.moved(f.original[1], 100), f.moved(f.original[2], 100),
                                         f.moved(f.original[3], 100), f.moved(f.original[4], 100), f.original[5]};
        EXPECT_EQ(f.allBounds(), expected);
        EXPECT_EQ(f.host.currentPage, 2);
        f.expectUndoRedo(expected, 4);
    }
    {
        // After the last page nothing moves and the current page stays.
        ThreePages f;
        f.host.currentPage = 3;
        auto context = f.context({}, 3);
        addLastPage(context);
        f.step();
        EXPECT_EQ(f.doc.numberOfPages(), 4);
        EXPECT_EQ(f.allBounds(), f.original);
        EXPECT_EQ(f.host.currentPage, 3);
        f.expectUndoRedo(f.original, 4);
    }
}

TEST(PageCommands, MovingAPageCarriesItsObjectsAndClosesTheGap)
{
    {
        ThreePages f;
        auto context = f.context({}, 1);
        movePage(context, 1, 3);
        f.step();
        const std::vector<Rect> expected{f.moved(f.original[0], 200), f.moved(f.original[1], -100),
                                         f.moved(f.original[2], -100), f.moved(f.original[3], -100),
                                         f.moved(f.original[4], -100), f.original[5]};
        EXPECT_EQ(f.allBounds(), expected);
        EXPECT_EQ(f.host.currentPage, 3);
        f.undo();
        EXPECT_EQ(f.allBounds(), f.original);
    }
    {
        ThreePages f;
        auto context = f.context({}, 3);
        movePage(context, 3, 2);
        f.step();
        const std::vector<Rect> expected{f.original[0], f.moved(f.original[1], 100), f.moved(f.original[2], 100),
                                         f.moved(f.original[3], 100), f.moved(f.original[4], -100), f.original[5]};
        EXPECT_EQ(f.allBounds(), expected);
        f.undo();
        EXPECT_EQ(f.allBounds(), f.original);
    }
}

TEST(PageCommands, MenuCommandsOnTheCurrentPage)
{
    ThreePages f;
    auto onFirst = f.context({}, 1);
    movePageUp(onFirst);
    auto onLast = f.context({}, 3);
    movePageDown(onLast);
    EXPECT_EQ(f.allBounds(), f.original);
    EXPECT_FALSE(f.doc.undoManager()->canUndo());

    f.host.allowPageRemoval = false;
    auto onSecond = f.context({}, 2);
    removePage(onSecond);
    EXPECT_EQ(f.host.askedToRemove, std::vector<int>{2});
    EXPECT_EQ(f.doc.numberOfPages(), 3);

    f.host.allowPageRemoval = true;
    removePage(onSecond);
    EXPECT_EQ(f.doc.numberOfPages(), 2);

    auto again = f.context({}, 2);
    insertPage(again);
    EXPECT_EQ(f.doc.numberOfPages(), 3);
    EXPECT_EQ(f.host.currentPage, 2);

    CommandFixture single(1);
    auto only = single.context();
    removePage(only);
    EXPECT_EQ(single.host.beeps, 1);
    EXPECT_TRUE(single.host.askedToRemove.empty());
    EXPECT_EQ(single.doc.numberOfPages(), 1);
}

TEST(PageCommands, SettingTheCountAloneMovesNothingAndIsNotUndoable)
{
    ThreePages f;
    auto context = f.context();
    setPageCount(context, 0);
    EXPECT_EQ(f.doc.numberOfPages(), 1);
    EXPECT_EQ(f.allBounds(), f.original);
    EXPECT_EQ(f.host.frameUpdates, 1);
    f.step();
    EXPECT_FALSE(f.doc.undoManager()->canUndo());
}

TEST(PageCommands, TheBackgroundPagesFollow)
{
    CommandFixture f;
    const std::string page = "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 100] >>";
    const QByteArray data = pdfFromObjects(
        {"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R 4 0 R 5 0 R] /Count 3 >>", page, page, page});
    f.doc.setBackgroundPDF(PdfDocument::openData(data), data);
    f.settle();
    ASSERT_EQ(f.doc.numberOfPages(), 3);

    auto onSecond = f.context({}, 2);
    insertPageAt(onSecond, 2);
    f.step();
    EXPECT_EQ(f.doc.bgPDFpages(), (std::vector<int>{1, 2, 2, 3}));
    f.undo();
    EXPECT_EQ(f.doc.bgPDFpages(), (std::vector<int>{1, 2, 3}));

    auto again = f.context({}, 2);
    addPageAfter(again, 2);
    f.step();
    EXPECT_EQ(f.doc.bgPDFpages(), (std::vector<int>{1, 2, 0, 3}));
    f.undo();

    auto onFirst = f.context({}, 1);
    removePageAt(onFirst, 1);
    f.step();
    EXPECT_EQ(f.doc.bgPDFpages(), (std::vector<int>{2, 3}));
    f.undo();

    movePage(onFirst, 1, 3);
    f.step();
    EXPECT_EQ(f.doc.bgPDFpages(), (std::vector<int>{2, 3, 1}));
    f.undo();
    EXPECT_EQ(f.doc.bgPDFpages(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(f.doc.numberOfPages(), 3);
}
