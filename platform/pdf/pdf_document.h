// A PDF document opened for reading: pages, their boxes and rotation, rendering and text.
//
// Poppler renders and extracts text; the page boxes are read with QPDF, which Poppler's
// Qt front end does not expose. Boxes are in the page's own PDF coordinates (y up,
// points); rendered images show the crop box with the page's rotation applied, top row
// first, on a transparent background.
#pragma once

#include "platform/geometry/geometry.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <memory>
#include <optional>

class QPainter;
class QRectF;

enum class PdfBox { Media, Crop, Bleed, Trim, Art };

// Where a searched text shows: the page (index from 0), the match's place among that page's
// matches in reading order, and its bounds in the page's PDF coordinates (points, origin at
// the page space's origin, y up: the space the crop box is given in).
struct PdfTextMatch {
    int page = 0;
    int ordinal = 0;
    Rect bounds;
};

class PdfDocument {
public:
    ~PdfDocument();
    PdfDocument(const PdfDocument &) = delete;
    PdfDocument &operator=(const PdfDocument &) = delete;

    // Opens a file or PDF data; the password opens an encrypted document (as owner or
    // user password). Null on failure, with the reason in *error when given.
    static std::shared_ptr<PdfDocument> open(const QString &path, const QByteArray &password = {},
                                             QString *error = nullptr);
    static std::shared_ptr<PdfDocument> openData(const QByteArray &data, const QByteArray &password = {},
                                                 QString *error = nullptr);

    // Whether the data is a PDF that opens only with a password (a document encrypted with
    // an owner password alone opens without one).
    static bool needsPassword(const QByteArray &data);

    int pageCount() const;
    // The box of a page (index from 0); a missing crop box falls back to the media box,
    // and the bleed, trim and art boxes to the crop box. The zero rectangle for a bad index.
    Rect boundsForBox(int page, PdfBox box = PdfBox::Crop) const;
    // The page's /Rotate, turned clockwise, as 0, 90, 180 or 270.
    int rotation(int page) const;
    // The size the page is shown at: the crop box, its sides swapped for 90 and 270.
    Size pageSize(int page) const;

    // The shown page at dpi dots per inch; a null image for a bad index.
    QImage renderPage(int page, double dpi) const;
    // Draws the shown page into the target rectangle of the painter, as a raster made at
    // the painter's device resolution (Poppler's vector painting is not reliable).
    void drawPage(int page, QPainter &painter, const QRectF &target) const;
    // The page's text in reading order.
    QString pageText(int page) const;
    // Whether the page shows any character (false for a bad index).
    bool pageHasCharacters(int page) const;
    // The first match of the text, literally (case and accents as given), on the page
    // fromPage or a later one; findTextAfter continues after a match it gave. A match lies
    // on one line; nothing when there is none or the text is empty.
    std::optional<PdfTextMatch> findText(const QString &text, int fromPage = 0) const;
    std::optional<PdfTextMatch> findTextAfter(const QString &text, const PdfTextMatch &previous) const;
    // An entry of the document's information dictionary ("Title", "Author", "Subject",
    // ...), or an empty string.
    QString info(const QString &key) const;

    // The bytes the document was opened from and the password that opened them, for
    // passes that copy its pages into other files.
    const QByteArray &data() const;
    const QByteArray &password() const;

private:
    struct Private;
    explicit PdfDocument(std::unique_ptr<Private> d);
    std::unique_ptr<Private> d;
};
