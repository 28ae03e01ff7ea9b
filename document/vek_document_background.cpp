// The document's background: an image, or the pages of a PDF with the list of which PDF
// page each document page shows.
#include "document/vek_document.h"

#include "model/services/canvas_services.h"
#include "platform/foundation/localized_strings.h"
#include "platform/pdf/pdf_document.h"
#include "platform/pdf/pdf_rewriter.h"
#include "platform/image/image_file.h"
#include "toolkit/image_functions.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>


namespace {

// A page's shown size: its media box, turned for a rotation of 90 or 270 degrees; the size
// Poppler shows the page at when QPDF could not walk the page tree.
Size shownMediaSize(const PdfDocument &pdf, int page)
{
    const Rect media = pdf.boundsForBox(page, PdfBox::Media);
    if (!(media.width() > 0 && media.height() > 0))
        return pdf.pageSize(page);
    const int rotation = ((pdf.rotation(page) % 360) + 360) % 360;
    return rotation == 90 || rotation == 270 ? Size{media.height(), media.width()} : media.size;
}

// A one-page PDF of the image at its size in points; empty when it cannot be made.
QByteArray onePagePdfOf(const Image &image)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("image.pdf"));
    QFile file(path);
    if (!image.isValid() || !SaveImageAsPDF(image, path) || !file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

void VekDocument::setBackgroundImage(const Image &image, const QByteArray &data, Size drawAreaSize)
{
    _bgImage = Image();
    _bgImageData.clear();
    if (!image.isValid())
        return;
    float resolution = 72;
    const Image atPixels = createDefaultResolutionImage(image, &resolution);
    _bgImage = atPixels.isValid() ? atPixels : image;
    if (std::isfinite(resolution))
        setResolution(int(std::lround(resolution)));
    _bgImageData = data;
    if (drawAreaSize == Size()) {
        // The page is the image's pixels; the paper its size in points at its resolution,
        // so that the image fills the paper.
        PrintInfo info = printInfo();
        info.paperSize = convertDefaultSizeToResolution(_bgImage.size(), _resolution);
        info.paperName.clear();
        info.leftMargin = info.rightMargin = info.topMargin = info.bottomMargin = 0;
        info.horizontallyCentered = info.verticallyCentered = false;
        _printInfo = info;
        setDrawAreaSizePerPage(_bgImage.size());
    }
    if (hasWindow())
        updateChangeCount();
}

void VekDocument::setBackgroundPDF(const std::shared_ptr<PdfDocument> &pdf, const QByteArray &data,
                                   const QString &sourcePath)
{
    if (!pdf) {
        _docRotation = 0;
        _bgPDF.reset();
        _bgPDFData.clear();
        _bgPDFpages.clear();
        return;
    }
    const int n = pdf->pageCount();
    if (n > 0) {
        // The page takes the largest page size of the PDF, rounded up to whole points.
        _docRotation = pdf->rotation(0);
        Size size = shownMediaSize(*pdf, 0);
        const float firstWidth = pdf->boundsForBox(0, PdfBox::Media).width();
        for (int page = 1; page < n; ++page) {
            if (pdf->boundsForBox(page, PdfBox::Media).width() == firstWidth)
                continue;
            const Size other = shownMediaSize(*pdf, page);
            size = {std::max(size.width, other.width), std::max(size.height, other.height)};
        }
        size = {std::ceil(size.width), std::ceil(size.height)};
        PrintInfo info = printInfo();
        info.paperSize = size;
        info.paperName.clear();
        info.leftMargin = info.rightMargin = info.topMargin = info.bottomMargin = 0;
        info.horizontallyCentered = info.verticallyCentered = false;
        _printInfo = info;
        _drawAreaSize = convertToDefaultSizeFromResolution(size, float(_resolution));
    }
    _bgPDF = pdf;
    _bgPDFpages.clear();
    if (n > 0) {
        _numPages = n;
        for (int i = 1; i <= n; ++i)
            insertBgPDFPage(i, i - 1, false);
    }
    _bgPDFData = data;
    if (hasWindow()) {
        _vekView->display();
        updateChangeCount();
    }
    // The document's empty metadata come from the PDF's; the title from the file's name
    // when the PDF has none.
    if (title().isEmpty()) {
        const QString pdfTitle = pdf->info(QStringLiteral("Title"));
        const QString candidate = sourcePath.isEmpty() ? QString() : QFileInfo(sourcePath).completeBaseName();
        if (!pdfTitle.isEmpty() || !candidate.isEmpty())
            _title = pdfTitle.isEmpty() ? candidate : pdfTitle;
    }
    if (author().isEmpty() && !pdf->info(QStringLiteral("Author")).isEmpty())
        _author = pdf->info(QStringLiteral("Author"));
    if (subject().isEmpty() && !pdf->info(QStringLiteral("Subject")).isEmpty())
        _subject = pdf->info(QStringLiteral("Subject"));
}

void VekDocument::insertBgPDFPage(int page, int index, bool update)
{
    index = std::clamp(index, 0, int(_bgPDFpages.size()));
    if (update)
        _undo.registerUndoWithTarget(this, [this, index] { removeBgPDFPageAtIndex(index); });
    _bgPDFpages.insert(_bgPDFpages.begin() + index, page);
    if (update && hasWindow())
        _vekView->display();
}

void VekDocument::removeBgPDFPageAtIndex(int index)
{
    if (index < 0 || index >= int(_bgPDFpages.size()))
        return;
    const int page = _bgPDFpages[size_t(index)];
    _undo.registerUndoWithTarget(this, [this, page, index] { insertBgPDFPage(page, index, true); });
    _bgPDFpages.erase(_bgPDFpages.begin() + index);
}

void VekDocument::moveBgPDFPage(int from, int to)
{
    const int count = int(_bgPDFpages.size());
    if (from < 0 || from >= count)
        return;
    to = std::clamp(to, 0, count - 1);
    if (from == to)
        return;
    _undo.registerUndoWithTarget(this, [this, from, to] { moveBgPDFPage(to, from); });
    const int page = _bgPDFpages[size_t(from)];
    _bgPDFpages.erase(_bgPDFpages.begin() + from);
    _bgPDFpages.insert(_bgPDFpages.begin() + to, page);
}

VekDocument::BackgroundState VekDocument::backgroundState() const
{
    return {_bgImage, _bgImageData, _bgPDF, _bgPDFData, _bgPDFpages, _numPages, _docRotation, _printInfo, _drawAreaSize};
}

void VekDocument::restoreBackground(const BackgroundState &state)
{
    _undo.registerUndoWithTarget(this, [this, now = backgroundState()] { restoreBackground(now); });
    _bgImage = state.image;
    _bgImageData = state.imageData;
    _bgPDF = state.pdf;
    _bgPDFData = state.data;
    _bgPDFpages = state.pages;
    _numPages = state.numPages;
    _docRotation = state.rotation;
    _printInfo = state.printInfo;
    _drawAreaSize = state.drawAreaSize;
    if (hasWindow())
        _vekView->updateFrame();
}

int VekDocument::numberOfPagesOfBackgroundPDF() const
{
    return _bgPDF ? _bgPDF->pageCount() : 0;
}

QByteArray VekDocument::backgroundPDFForPages(const std::vector<int> &pageMap) const
{
    if (!_bgPDF || _bgPDFData.isEmpty() || pageMap.empty())
        return {};
    PdfRewriter rewriter;
    const Size page = convertDefaultSizeToResolution(_drawAreaSize, _resolution);
    if (!rewriter.openData(_bgPDFData) || !rewriter.arrangePages(pageMap, page.width, page.height))
        return {};
    return rewriter.writeToData();
}

bool VekDocument::mergeBackgroundPDF(const QByteArray &pdfData)
{
    QByteArray merged = pdfData;
    if (!pdfData.startsWith("%PDF")) {
        // An image becomes a one-page PDF of its pixels at one point a pixel.
        merged = onePagePdfOf(createDefaultResolutionImage(readImageData(pdfData), nullptr));
        if (merged.isEmpty())
            return false;
    }
    PdfRewriter addition;
    if (!addition.openData(merged) || addition.pageCount() < 1)
        return false;

    // The present background as pages in the order shown, the new pages after them. A
    // background image becomes the first of those pages, at the page's size, so that it and
    // the merged pages all show.
    QByteArray present = _bgPDF ? _bgPDFData : QByteArray();
    std::vector<int> shownPages = _bgPDF ? _bgPDFpages : std::vector<int>();
    if (!_bgPDF && _bgImage.isValid()) {
        Image atPageSize = _bgImage;
        atPageSize.setSize(convertDefaultSizeToResolution(_bgImage.size(), _resolution));
        present = onePagePdfOf(atPageSize);
        shownPages = {1};
        if (present.isEmpty())
            return false;
    }
    const int shown = int(shownPages.size());
    QByteArray combined = merged;
    if (shown > 0) {
        PdfRewriter base;
        const Size page = convertDefaultSizeToResolution(drawAreaSizePerPage(), _resolution);
        if (!base.openData(present) || !base.arrangePages(shownPages, page.width, page.height)
            || !base.appendPagesOf(merged))
            return false;
        combined = base.writeToData();
    }
    auto pdf = PdfDocument::openData(combined);
    if (!pdf || combined.isEmpty())
        return false;

    // One undo step puts back the background, its page list, the page count and the page
    // geometry (a first background sets paper and page).
    _undo.registerUndoWithTarget(this, [this, before = backgroundState()] { restoreBackground(before); });

    if (shown > 0) {
        // The pages already shown stay as they are drawn now, followed by the new ones; no
        // page is cut, and the list counts them through in order.
        _bgImage = Image();
        _bgImageData.clear();
        _bgPDF = pdf;
        _bgPDFData = combined;
        _docRotation = 0;
        _bgPDFpages.clear();
        for (int i = 1; i <= pdf->pageCount(); ++i)
            _bgPDFpages.push_back(i);
        _numPages = std::max(_numPages, pdf->pageCount());
    } else {
        setBackgroundPDF(pdf, combined);
    }
    _undo.setActionName(localizedString(QStringLiteral("Merge Background")));
    updateChangeCount();
    if (hasWindow())
        _vekView->updateFrame();
    return true;
}
