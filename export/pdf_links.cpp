// Placing the links and anchors of text boxes on printed pages.
#include "export/pdf_links.h"

#include "canvas/paper_pages.h"
#include "document/vek_document.h"
#include "model/vek_obj_text.h"
#include "platform/pdf/pdf_document.h"

#include <cmath>

namespace {

// The page (from 1) a canvas y coordinate lies on: a point exactly on a page's top edge
// belongs to that page, not to the bottom of the one before.
int pageOfY(float y, float pageHeight)
{
    return std::max(1, int(std::floor(y / pageHeight)) + 1);
}

// The page (from 1) a bottom edge at y lies on: an edge exactly at a page's bottom belongs to
// that page.
int pageOfBottomEdge(float y, float pageHeight)
{
    return std::max(1, int(std::ceil(y / pageHeight)));
}

// A link's annotation: a printed page number and a rectangle in PDF points of the paper.
struct LinkPlace {
    int page = 0;
    Rect rect;
};

// Where the printed pages show a link's text near its computed place. A match is taken on
// the computed page or the next when it overlaps the computed rectangle, or when it starts
// within 5 points of its left edge and either lies within the allowance of its height or,
// on the next page, begins within the allowance below the top of the page's content. A
// taken match cut off by the bottom margin (its middle below the content) shows on the next
// page: the link goes to the top of the content there.
std::optional<LinkPlace> printedPlaceOf(const PdfDocument &printed, const QString &text, const LinkPlace &computed,
                                        float allowance, const PaperLayout &layout, int firstPage, int lastPage)
{
    // Every page's content sits at the same place on its paper.
    const float contentTop = layout.paperRectInPdf(1, Rect(0, 0, 0, 0)).minY();
    const float contentBottom = layout.paperRectInPdf(1, Rect(0, layout.page.height, 0, 0)).minY();
    const Rect &c = computed.rect;
    for (auto match = printed.findText(text, computed.page - firstPage); match;
         match = printed.findTextAfter(text, *match)) {
        const int page = match->page + firstPage;
        if (page > computed.page + 2)
            break;
        if (page > computed.page + 1)
            continue;
        const Rect &m = match->bounds;
        const bool near = intersectsRect(m, c)
            || (std::abs(m.minX() - c.minX()) < 5
                && (std::abs(c.minY() - m.minY()) < allowance
                    || (page == computed.page + 1 && contentTop - m.maxY() < allowance)));
        if (!near)
            continue;
        if (m.midY() < contentBottom && page < lastPage)
            return LinkPlace{page + 1, Rect(m.minX(), contentTop - m.height(), m.width(), m.height())};
        return LinkPlace{page, m};
    }
    return std::nullopt;
}

} // namespace

std::optional<Rect> anchorRectInDocument(const VekDocument &document, const QString &name)
{
    if (!document.anchors().contains(name))
        return std::nullopt;
    return document.anchorInView(name);
}

bool documentHasTextLinks(const VekDocument &document)
{
    for (const auto &object : document.objects())
        if (auto text = std::dynamic_pointer_cast<VekObjText>(object))
            for (const TextRun &run : text->contents().text().runs())
                if (run.attributes.link)
                    return true;
    return false;
}

std::vector<PdfLinkAnnotation> linkAnnotationsFor(VekDocument &document, const PaperLayout &layout, int firstPage,
                                                  int lastPage, const PdfDocument *printed)
{
    std::vector<PdfLinkAnnotation> annotations;
    const float pageHeight = layout.page.height;
    if (pageHeight <= 0)
        return annotations;
    for (const auto &object : document.objects()) {
        auto text = std::dynamic_pointer_cast<VekObjText>(object);
        if (!text)
            continue;
        const PropertyList links = text->linkInfo();
        if (links.count() == 0)
            continue;
        // A box over a page break prints lower than its layout says from the break on (the
        // page moves a line the break would cut onto the next page), so its links are looked
        // for in the print, with an allowance (on paper) growing with the pages it crosses.
        const Rect bounds = text->bounds();
        const int pagesCrossed =
            pageOfBottomEdge(bounds.maxY(), pageHeight) - pageOfY(bounds.minY(), pageHeight);
        const float allowance =
            pagesCrossed > 0 ? std::min(bounds.height(), 10.0f * float(pagesCrossed)) * layout.scale : 0;
        bool search = allowance > 0;
        for (int i = 0; i < links.count(); ++i) {
            const PropertyList entry = links.at(i);
            const QString target = entry.at(0).stringValue();
            const Rect rect = rectFromString(entry.at(1).stringValue());
            if (target.isEmpty() || rect.isEmpty())
                continue;
            const int page = pageOfY(rect.midY(), pageHeight);
            if (page < firstPage || page > lastPage)
                continue;
            LinkPlace place{page, layout.paperRectInPdf(page, rect)};
            if (printed) {
                // A page without any character cannot show the link: the next one may.
                if (place.page < lastPage && !printed->pageHasCharacters(place.page - firstPage)) {
                    ++place.page;
                    search = true;
                }
                const QString linked = entry.at(2).stringValue();
                if (search && !linked.isEmpty() && printed->pageHasCharacters(place.page - firstPage))
                    if (auto found = printedPlaceOf(*printed, linked, place, allowance, layout, firstPage, lastPage))
                        place = *found;
            }
            PdfLinkAnnotation link;
            link.page = place.page - firstPage;
            link.rect = QRectF(place.rect.minX(), place.rect.minY(), place.rect.width(), place.rect.height());
            if (target.startsWith(QLatin1Char('#'))) {
                const std::optional<Rect> anchor = anchorRectInDocument(document, target);
                if (!anchor) {
                    // A name nobody carries (any more): the link stays, without an action.
                    link.destinationPage = -1;
                    annotations.push_back(link);
                    continue;
                }
                const int anchorPage = pageOfY(anchor->minY(), pageHeight);
                if (anchorPage < firstPage || anchorPage > lastPage)
                    continue;
                // The view opens with the anchor's top left corner at the window's top left.
                const Rect place = layout.paperRectInPdf(anchorPage, Rect(anchor->origin, Size(0, 0)));
                link.destinationPage = anchorPage - firstPage;
                link.destination = QPointF(place.minX(), place.minY());
            } else {
                link.uri = target;
            }
            annotations.push_back(link);
        }
    }
    return annotations;
}
