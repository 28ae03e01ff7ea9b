// Rewriting PDF files with QPDF: open, change in place, write a valid file atomically.
//
// Each change is a member function in a file of its own (pdf_text_removal.cpp, ...);
// they share the parsed document through pdf_rewriter_private.h.
#pragma once

#include <QByteArray>
#include <QString>

#include <QMap>
#include <QRectF>

#include <memory>
#include <vector>

class CmykStandIns;
class PdfPageMarkers;

// A link annotation: a rectangle of a page (index from 0, PDF points, y up) that opens a
// URI or, when the URI is empty, shows a point of another page (index from 0, PDF points);
// with neither (a negative destination page) it does nothing when clicked.
struct PdfLinkAnnotation {
    int page = 0;
    QRectF rect;
    QString uri;
    int destinationPage = 0;
    QPointF destination;
};

class PdfRewriter {
public:
    PdfRewriter();
    ~PdfRewriter();
    PdfRewriter(const PdfRewriter &) = delete;
    PdfRewriter &operator=(const PdfRewriter &) = delete;

    // Parses a file or PDF data, with a password for an encrypted one. False on failure,
    // with the reason in errorString().
    bool open(const QString &path, const QByteArray &password = {});
    bool openData(const QByteArray &data, const QByteArray &password = {});
    bool isOpen() const;
    QString errorString() const;
    int pageCount() const;

    // Removes all text: the operators that show text, select a font or set a text
    // rendering mode go from the content streams of the pages, of form XObjects
    // (annotation appearances included) and of tiling patterns; fonts are taken out of
    // every resource dictionary (so they are no longer written), and the interactive
    // form, whose fields a viewer would redraw with text, is dropped. False (with the
    // reason in errorString()) when the document's structure does not allow it.
    bool removeText();

    // Rearranges the pages: the new document's page i shows the old page pageMap[i]
    // (1-based; a page may appear more than once), or, for 0 or a number beyond the page
    // count, a blank page of blankSize points. False (with the reason in errorString())
    // when the pages cannot be read.
    bool arrangePages(const std::vector<int> &pageMap, double blankWidth, double blankHeight);
    // Appends the pages of another PDF after the last page. False when it cannot be read.
    bool appendPagesOf(const QByteArray &otherPdf);
    // Replaces what the graphics context painted in place of what the PDF writer cannot
    // write: CMYK stand-in colours of the table become DeviceCMYK colours, and rectangles
    // filled with a page marker become that PDF page as a form XObject (vectors). Either
    // table may be null. False (with the reason in errorString()) when a page cannot be read.
    bool resolveStandIns(const CmykStandIns *standIns, const PdfPageMarkers *markers);
    // Makes every page's contents smaller, without changing what they show: state set just
    // before a restore or replaced before it is used, state that is already current, groups
    // that only set state, and decimals beyond the fourth go; a fill and a stroke of the same
    // path become one operator. The contents are rewritten now, deflated.
    bool compactContents();
    // Gives every page a media box of exactly width x height points that keeps the page's
    // top edge where it is (for writers that can only make whole-point pages and place
    // their drawing from the top). False when a page has no media box.
    bool setPageSizeKeepingTop(double width, double height);
    // Sets entries of the information dictionary ("Title", "Author", "Subject", "Keywords",
    // "Creator", ...); an empty value removes the entry.
    void setInfo(const QMap<QString, QString> &entries);
    // Adds link annotations without a border. False when a page index is out of range.
    bool addLinks(const std::vector<PdfLinkAnnotation> &links);
    // Makes the written file encrypted (AES-256, every permission granted) with these
    // passwords; an empty user password lets anyone open it.
    void setEncryption(const QByteArray &userPassword, const QByteArray &ownerPassword);
    // Writes the document without the source's encryption (a document opened with its
    // password is then readable without one).
    void dropEncryption();

    // The rewritten document. write() replaces the file at path only once the whole new
    // file is on disk (a temporary file in the same folder, renamed); it leaves no
    // temporary file behind on failure. Object streams are kept as the source had them,
    // or made for all objects that may go into one when packObjects is set.
    QByteArray writeToData(bool packObjects = false);
    bool write(const QString &path, bool packObjects = false);

    struct Private;

private:
    bool fail(const QString &why);
    std::unique_ptr<Private> d;
};

// QPDF's own check of a file: its structure, cross-reference, every stream decoded
// and every page's content parsed. True when no error or warning was found; the
// messages go to *report when given.
bool checkPdfFile(const QString &path, QString *report = nullptr);
