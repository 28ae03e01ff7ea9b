// PDF reading: Poppler for pages, rendering and text, QPDF for the page boxes.
#include "platform/pdf/pdf_document.h"

#include "platform/image/pixel_budget.h"

#include <poppler/qt6/poppler-qt6.h>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <QFile>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <optional>
#include <vector>

namespace {

struct PageBoxes {
    Rect media, crop, bleed, trim, art;
    int rotation = 0;
};

Rect rectFromArray(QPDFObjectHandle box)
{
    if (!box.isRectangle())
        return {};
    const QPDFObjectHandle::Rectangle r = box.getArrayAsRectangle();
    return Rect(float(std::min(r.llx, r.urx)), float(std::min(r.lly, r.ury)), float(std::abs(r.urx - r.llx)),
                float(std::abs(r.ury - r.lly)));
}

std::vector<PageBoxes> readBoxes(const QByteArray &data, const QByteArray &password)
{
    std::vector<PageBoxes> pages;
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processMemoryFile("document", data.constData(), size_t(data.size()),
                              password.isEmpty() ? nullptr : password.constData());
        for (QPDFPageObjectHelper &page : QPDFPageDocumentHelper(pdf).getAllPages()) {
            PageBoxes b;
            b.media = rectFromArray(page.getMediaBox());
            b.crop = rectFromArray(page.getCropBox(false, true));
            b.bleed = rectFromArray(page.getBleedBox(false, true));
            b.trim = rectFromArray(page.getTrimBox(false, true));
            b.art = rectFromArray(page.getArtBox(false, true));
            if (b.crop.isEmpty())
                b.crop = b.media;
            for (Rect *r : {&b.bleed, &b.trim, &b.art})
                if (r->isEmpty())
                    *r = b.crop;
            QPDFObjectHandle rotate = page.getAttribute("/Rotate", false);
            const int degrees = rotate.isInteger() ? rotate.getIntValueAsInt() : 0;
            b.rotation = ((degrees / 90 * 90) % 360 + 360) % 360;
            pages.push_back(b);
        }
    } catch (const std::exception &) {
        pages.clear();
    }
    return pages;
}

// Poppler reports every oddity of a file on the debug output; a damaged file shows up as
// a failed open or a missing page here, so its messages are dropped.
void silencePoppler()
{
    static const bool once = [] {
        Poppler::setDebugErrorFunction([](const QString &, const QVariant &) {}, QVariant());
        return true;
    }();
    (void)once;
}

// The resolution a page renders at within the pixel budget: coarser for a huge page or zoom.
double budgetedDpi(const QSizeF &points, double dpi)
{
    const double wide = points.width() * dpi / 72.0, high = points.height() * dpi / 72.0;
    const QSize fitted = PixelBudget::fitted(wide, high);
    if (fitted.isEmpty())
        return 0;
    if (double(fitted.width()) < std::floor(wide + 0.5))
        dpi *= fitted.width() / wide;
    return dpi;
}

// A rectangle of the shown page (points, y down from the top left, the page's rotation
// applied, as Poppler's text functions give them) in the page's own PDF space.
Rect shownToPageSpace(const QRectF &shown, const Rect &crop, int rotation)
{
    auto map = [&](double sx, double sy) -> Point {
        switch (rotation) {
        case 90:
            return Point{float(crop.minX() + sy), float(crop.minY() + sx)};
        case 180:
            return Point{float(crop.maxX() - sx), float(crop.minY() + sy)};
        case 270:
            return Point{float(crop.maxX() - sy), float(crop.maxY() - sx)};
        default:
            return Point{float(crop.minX() + sx), float(crop.maxY() - sy)};
        }
    };
    const Point a = map(shown.left(), shown.top()), b = map(shown.right(), shown.bottom());
    return Rect(std::min(a.x, b.x), std::min(a.y, b.y), std::abs(b.x - a.x), std::abs(b.y - a.y));
}

} // namespace

struct PdfDocument::Private {
    std::unique_ptr<Poppler::Document> document;
    QByteArray data;
    QByteArray password;
    mutable std::optional<std::vector<PageBoxes>> boxes;
    // Tiles of one drawing render on several threads; a Poppler document and the lazily read
    // page boxes take one of them at a time.
    mutable std::recursive_mutex mutex;

    const PageBoxes *pageBoxes(int page) const
    {
        std::lock_guard lock(mutex);
        if (!boxes)
            boxes = readBoxes(data, password);
        return page >= 0 && page < int(boxes->size()) ? &(*boxes)[size_t(page)] : nullptr;
    }
    std::unique_ptr<Poppler::Page> page(int index) const
    {
        return index >= 0 && index < document->numPages() ? document->page(index) : nullptr;
    }
};

PdfDocument::PdfDocument(std::unique_ptr<Private> d) : d(std::move(d)) {}
PdfDocument::~PdfDocument() = default;

std::shared_ptr<PdfDocument> PdfDocument::open(const QString &path, const QByteArray &password, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return nullptr;
    }
    return openData(file.readAll(), password, error);
}

std::shared_ptr<PdfDocument> PdfDocument::openData(const QByteArray &data, const QByteArray &password,
                                                   QString *error)
{
    auto fail = [error](const char *why) {
        if (error)
            *error = QString::fromLatin1(why);
        return std::shared_ptr<PdfDocument>();
    };
    silencePoppler();
    auto d = std::make_unique<Private>();
    d->data = data;
    d->password = password;
    d->document = Poppler::Document::loadFromData(d->data, password, password);
    if (!d->document)
        return fail("not a readable PDF document");
    if (d->document->isLocked())
        return fail(password.isEmpty() ? "the document needs a password" : "wrong password");
    d->document->setRenderHint(Poppler::Document::Antialiasing);
    d->document->setRenderHint(Poppler::Document::TextAntialiasing);
    d->document->setRenderHint(Poppler::Document::IgnorePaperColor);
    return std::shared_ptr<PdfDocument>(new PdfDocument(std::move(d)));
}

bool PdfDocument::needsPassword(const QByteArray &data)
{
    silencePoppler();
    std::unique_ptr<Poppler::Document> document = Poppler::Document::loadFromData(data);
    return document && document->isLocked();
}

int PdfDocument::pageCount() const
{
    return d->document->numPages();
}

Rect PdfDocument::boundsForBox(int page, PdfBox box) const
{
    const PageBoxes *b = d->pageBoxes(page);
    if (!b)
        return {};
    switch (box) {
    case PdfBox::Media:
        return b->media;
    case PdfBox::Crop:
        return b->crop;
    case PdfBox::Bleed:
        return b->bleed;
    case PdfBox::Trim:
        return b->trim;
    case PdfBox::Art:
        return b->art;
    }
    return {};
}

int PdfDocument::rotation(int page) const
{
    const PageBoxes *b = d->pageBoxes(page);
    return b ? b->rotation : 0;
}

Size PdfDocument::pageSize(int page) const
{
    const Rect crop = boundsForBox(page, PdfBox::Crop);
    if (crop.size.width > 0 && crop.size.height > 0)
        return rotation(page) % 180 ? Size{crop.height(), crop.width()} : crop.size;
    // QPDF could not walk a damaged page tree that Poppler repaired: take the size Poppler
    // renders the page with.
    std::lock_guard lock(d->mutex);
    std::unique_ptr<Poppler::Page> p = d->page(page);
    if (!p)
        return {};
    const QSizeF shown = p->pageSizeF();
    if (!(shown.width() > 0) || !(shown.height() > 0))
        return {};
    return {float(shown.width()), float(shown.height())};
}

QImage PdfDocument::renderPage(int page, double dpi) const
{
    std::lock_guard lock(d->mutex);
    std::unique_ptr<Poppler::Page> p = d->page(page);
    if (!p || !(dpi > 0))
        return {};
    dpi = budgetedDpi(p->pageSizeF(), dpi);
    return dpi > 0 ? p->renderToImage(dpi, dpi) : QImage();
}

void PdfDocument::drawPage(int page, QPainter &painter, const QRectF &target) const
{
    const Size shown = pageSize(page);
    if (shown.width <= 0 || shown.height <= 0 || target.isEmpty())
        return;
    // Resolution from the target's size on the device, kept within the pixel budget.
    const QTransform toDevice = painter.deviceTransform();
    const QRectF onDevice = toDevice.mapRect(target);
    const double dpi = 72.0 * std::max(onDevice.width() / shown.width, onDevice.height() / shown.height);
    // Only the part that can show is rendered: a tile or a dirty rectangle of a large page
    // asks for a small piece. A turned or sheared painter gets the whole page.
    QRectF shows = onDevice;
    if (toDevice.type() <= QTransform::TxScale) {
        if (const QPaintDevice *device = painter.device())
            shows &= QRectF(0, 0, device->width(), device->height());
        if (painter.hasClipping())
            shows &= toDevice.mapRect(painter.clipBoundingRect());
    }
    if (shows.isEmpty())
        return;

    std::lock_guard lock(d->mutex);
    std::unique_ptr<Poppler::Page> p = d->page(page);
    if (!p || !(dpi > 0))
        return;
    // The budget limits the part rendered, never the whole page: a huge page drawn at its
    // size costs what the part on the device costs.
    const QSizeF points = p->pageSizeF();
    const auto partAt = [&](double resolution, QSizeF &pixels) {
        pixels = QSizeF(points.width() * resolution / 72.0, points.height() * resolution / 72.0);
        const double sx = pixels.width() / onDevice.width(), sy = pixels.height() / onDevice.height();
        return QRectF((shows.x() - onDevice.x()) * sx, (shows.y() - onDevice.y()) * sy, shows.width() * sx,
                      shows.height() * sy)
                   .toAlignedRect()
               & QRect(0, 0, int(std::ceil(pixels.width())), int(std::ceil(pixels.height())));
    };
    double used = dpi;
    QSizeF pixels;
    QRect part = partAt(used, pixels);
    const QSize fitted = PixelBudget::fitted(part.width(), part.height());
    if (fitted.isEmpty())
        return;
    if (fitted.width() < part.width()) {
        used *= double(fitted.width()) / part.width();
        part = partAt(used, pixels);
    }
    if (part.isEmpty())
        return;
    const QImage image = p->renderToImage(used, used, part.x(), part.y(), part.width(), part.height());
    if (image.isNull())
        return;
    const double tx = target.width() / pixels.width(), ty = target.height() / pixels.height();
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(target.x() + part.x() * tx, target.y() + part.y() * ty, part.width() * tx,
                             part.height() * ty),
                      image);
    painter.restore();
}

QString PdfDocument::info(const QString &key) const
{
    std::lock_guard lock(d->mutex);
    return d->document->info(key);
}

QString PdfDocument::pageText(int page) const
{
    std::lock_guard lock(d->mutex);
    std::unique_ptr<Poppler::Page> p = d->page(page);
    return p ? p->text(QRectF()) : QString();
}

bool PdfDocument::pageHasCharacters(int page) const
{
    std::lock_guard lock(d->mutex);
    std::unique_ptr<Poppler::Page> p = d->page(page);
    return p && !p->textList().empty();
}

std::optional<PdfTextMatch> PdfDocument::findText(const QString &text, int fromPage) const
{
    return findTextAfter(text, PdfTextMatch{std::max(0, fromPage), -1, {}});
}

std::optional<PdfTextMatch> PdfDocument::findTextAfter(const QString &text, const PdfTextMatch &previous) const
{
    if (text.isEmpty())
        return std::nullopt;
    std::lock_guard lock(d->mutex);
    int skip = previous.ordinal + 1;   // matches of previous.page already given
    for (int page = std::max(0, previous.page); page < d->document->numPages(); ++page, skip = 0) {
        std::unique_ptr<Poppler::Page> p = d->page(page);
        const QList<QRectF> found = p ? p->search(text, Poppler::Page::NoSearchFlags) : QList<QRectF>();
        if (skip >= found.size())
            continue;
        const PageBoxes *boxes = d->pageBoxes(page);
        const Rect crop = boxes ? boxes->crop : Rect(0, 0, float(p->pageSizeF().width()), float(p->pageSizeF().height()));
        return PdfTextMatch{page, skip, shownToPageSpace(found[skip], crop, boxes ? boxes->rotation : 0)};
    }
    return std::nullopt;
}

const QByteArray &PdfDocument::data() const
{
    return d->data;
}

const QByteArray &PdfDocument::password() const
{
    return d->password;
}
