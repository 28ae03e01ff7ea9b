// Placing the links and anchors of text boxes on printed pages.
#include "document/export/pdf_links.h"

#include "canvas/paper_pages.h"
#include "document/vek_document.h"
#include "model/vek_obj_text.h"

#include <cmath>

namespace {

// The page (from 1) a canvas y coordinate lies on: a point exactly on a page's top edge
// belongs to that page, not to the bottom of the one before.
int pageOfY(float y, float pageHeight)
{
    return std::max(1, int(std::floor(y / pageHeight)) + 1);
}

} // namespace

std::optional<Rect> anchorRectInDocument(const VekDocument &document, const QString &name)
{
    if (!document.anchors().contains(name))
        return std::nullopt;
    return document.anchorInView(name);
}

std::vector<PdfLinkAnnotation> linkAnnotationsFor(VekDocument &document, const PaperLayout &layout, int firstPage,
                                                  int lastPage)
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
        for (int i = 0; i < links.count(); ++i) {
            const PropertyList entry = links.at(i);
            const QString target = entry.at(0).stringValue();
            const Rect rect = rectFromString(entry.at(1).stringValue());
            if (target.isEmpty() || rect.isEmpty())
                continue;
            const int page = pageOfY(rect.midY(), pageHeight);
            if (page < firstPage || page > lastPage)
                continue;
            PdfLinkAnnotation link;
            link.page = page - firstPage;
            const Rect onPaper = layout.paperRectInPdf(page, rect);
            link.rect = QRectF(onPaper.minX(), onPaper.minY(), onPaper.width(), onPaper.height());
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
