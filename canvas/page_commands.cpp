// Page changes that carry the objects of the pages with them.
#include "canvas/page_commands.h"

#include "canvas/page_geometry.h"
#include "canvas/page_membership.h"
#include "document/vek_document.h"
#include "model/vek_object.h"
#include "platform/foundation/localized_strings.h"

#include <algorithm>

namespace {

using Objects = std::vector<std::shared_ptr<VekObject>>;

enum class PageChange { Add, Insert, Remove };

const void *undoTarget(const CanvasCommandContext &context)
{
    return context.canvas ? context.canvas : &context.document;
}

float pageHeight(const CanvasCommandContext &context)
{
    return context.document.drawAreaSizePerPage().height;
}

// The objects owned by pages first..last, collected before anything moves.
Objects objectsOwnedByPages(CanvasCommandContext &context, int first, int last)
{
    Objects owned;
    for (const auto &object : context.document.objects()) {
        const int page = owningPage(context.document, *object);
        if (page >= first && page <= last)
            owned.push_back(object);
    }
    return owned;
}

void moveObjects(const Objects &objects, float dy)
{
    for (const auto &object : objects)
        object->moveBy(0, dy);
}

struct PageState {
    int count;
    int currentPage;
};

// Sets the page count and the current page, registering the way back.
void restorePages(VekDocument &document, CanvasCommandHost &host, const void *target, PageState state,
                  PageState back)
{
    document.undoManager()->registerUndoWithTarget(target, [&document, &host, target, state, back] {
        restorePages(document, host, target, back, state);
    });
    document.setNumberOfPages(state.count);
    host.updateFrame();
    host.setCurrentPageTo(state.currentPage);
}

void changePages(CanvasCommandContext &context, PageChange change, int page)
{
    VekDocument &document = context.document;
    const int count = document.numberOfPages();
    if (change == PageChange::Remove && count <= 1)
        return;
    page = std::clamp(page, 1, count);
    const float height = pageHeight(context);
    const bool hasBackgroundPDF = document.backgroundPDF() != nullptr;
    int newCurrent = context.currentPage;

    switch (change) {
    case PageChange::Add:
        if (hasBackgroundPDF)
            document.insertBgPDFPage(0, page, true);
        moveObjects(objectsOwnedByPages(context, page + 1, count), height);
        if (page != count)
            newCurrent = page + 1;
        break;
    case PageChange::Insert:
        if (hasBackgroundPDF)
            document.insertBgPDFPage(page, page - 1, true);
        moveObjects(objectsOwnedByPages(context, page, count), height);
        newCurrent = page;
        break;
    case PageChange::Remove: {
        document.removeBgPDFPageAtIndex(page - 1);
        const Objects later = objectsOwnedByPages(context, page + 1, count);
        for (const auto &object : objectsInRectOrdered(document, pageRect(document, page), PageMembership::Contained)) {
            if (object->repeatType() == 0)
                document.removeObject(object);
        }
        moveObjects(later, -height);
        newCurrent = std::max(1, page - 1);
        break;
    }
    }

    const PageState changed{change == PageChange::Remove ? count - 1 : count + 1, newCurrent};
    restorePages(document, context.host, undoTarget(context), changed, {count, context.currentPage});
    context.currentPage = newCurrent;
    document.undoManager()->setActionName(localizedString(QStringLiteral("Page Change")));
}

} // namespace

void setPageCount(CanvasCommandContext &context, int count)
{
    count = std::max(1, count);
    if (count == context.document.numberOfPages())
        return;
    context.document.setNumberOfPages(count);
    context.host.updateFrame();
}

void addPageAfter(CanvasCommandContext &context, int page)
{
    changePages(context, PageChange::Add, page);
}

void insertPageAt(CanvasCommandContext &context, int page)
{
    changePages(context, PageChange::Insert, page);
}

void removePageAt(CanvasCommandContext &context, int page)
{
    changePages(context, PageChange::Remove, page);
}

void movePage(CanvasCommandContext &context, int from, int to)
{
    VekDocument &document = context.document;
    const int count = document.numberOfPages();
    if (from == to || from < 1 || to < 1 || from > count || to > count)
        return;
    if (document.backgroundPDF())
        document.moveBgPDFPage(from - 1, to - 1);
    const float height = pageHeight(context);
    const Objects moved = objectsOwnedByPage(document, from);
    if (from < to)
        moveObjects(objectsOwnedByPages(context, from + 1, to), -height);
    else
        moveObjects(objectsOwnedByPages(context, to, from - 1), height);
    moveObjects(moved, float(to - from) * height);
    context.currentPage = to;
    context.host.setCurrentPageTo(to);
}

void insertPage(CanvasCommandContext &context)
{
    insertPageAt(context, context.currentPage);
}

void addPage(CanvasCommandContext &context)
{
    addPageAfter(context, context.currentPage);
}

void addLastPage(CanvasCommandContext &context)
{
    addPageAfter(context, context.document.numberOfPages());
}

void removePage(CanvasCommandContext &context)
{
    if (context.document.numberOfPages() <= 1) {
        context.host.beep();
        return;
    }
    if (context.host.confirmPageRemoval(context.currentPage))
        removePageAt(context, context.currentPage);
}

void movePageUp(CanvasCommandContext &context)
{
    if (context.currentPage >= 2)
        movePage(context, context.currentPage, context.currentPage - 1);
}

void movePageDown(CanvasCommandContext &context)
{
    if (context.currentPage < context.document.numberOfPages())
        movePage(context, context.currentPage, context.currentPage + 1);
}
