// VekDocController: the application's document controller. It keeps the open document
// windows, makes untitled documents, remembers recent files, knows the document of the
// main window, and opens each kind of file the application accepts: own documents, images
// and PDF files as the background of a new document, predecessor documents, SVG drawings
// and RTF text.
//
// Every opener answers false on failure with the reason for the user in *reason; an empty
// reason means that the user cancelled and nothing needs saying. The alerts are the
// caller's (the application controller's) business.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <memory>
#include <vector>

class UserDefaults;
class VekDocument;
class VekDocumentWindow;

class VekDocController : public QObject {
    Q_OBJECT
public:
    static const QString DocumentTypeName;   // "Vekanto Document Type"

    // The recent files are kept in the given defaults.
    explicit VekDocController(UserDefaults &defaults, QObject *parent = nullptr);
    ~VekDocController() override;

    // The open document windows, oldest first.
    std::vector<VekDocumentWindow *> documentWindows() const;
    // The window of the main document: the last active document window, else the first
    // open one, else null.
    VekDocumentWindow *currentVekDocument() const;

    // A new document with the preferred page size, margins and paper, not yet shown.
    static std::unique_ptr<VekDocument> makeUntitledDocument();
    // Shows a document in a new window (an empty path for an untitled one, titled "Untitled",
    // or by the name of the file it was imported from).
    VekDocumentWindow *showDocument(std::unique_ptr<VekDocument> document, const QString &filePath,
                                    const QString &importedFrom = QString());
    // A new untitled document, shown.
    VekDocumentWindow *createVekUntitledDocument();

    // Opens a file of any kind the application accepts, chosen by its extension (a PDF also
    // by its first bytes), in a new window.
    bool openFile(const QString &path, QString *reason = nullptr);
    bool openVekDocument(const QString &path, QString *reason = nullptr);
    bool openImageDocument(const QString &path, QString *reason = nullptr);
    // Asks for the password of an encrypted PDF, as long as it stays locked (at most five
    // tries). The background keeps readable (decrypted) data, so the saved document opens
    // without the password.
    bool openPDFDocument(const QString &path, QString *reason = nullptr);
    // The text-less PDF import: the background is a copy of the PDF with its text removed,
    // and the new document's paper is the first page's size with no margins.
    bool importPDFimageOf(const QString &path, QString *reason = nullptr);
    bool openQOMTDocument(const QString &path, QString *reason = nullptr);
    bool openSVGDocument(const QString &path, QString *reason = nullptr);
    bool openTextDocument(const QString &path, QString *reason = nullptr);

    // A document window became the active one: the previous main document puts its
    // selection aside and the tool palette goes back to the arrow.
    void windowBecameMain(VekDocumentWindow *window);

    // The recent files, newest first (at most ten, kept in the user defaults).
    QStringList recentDocumentURLs() const;
    void noteNewRecentDocument(const QString &path);

signals:
    // A document window was made and is about to be shown (the application gives it its menus).
    void documentWindowOpened(VekDocumentWindow *window);
    void currentDocumentChanged(VekDocumentWindow *window);

private:
    void forgetWindow(VekDocumentWindow *window);
    VekDocumentWindow *windowForFile(const QString &path) const;
    // Reads and decrypts a PDF: the document and readable bytes; null when it stays locked.
    std::shared_ptr<class PdfDocument> unlockPDF(const QString &path, QByteArray *readableData, QString *reason);
    // A new untitled document with the PDF (and its bytes) as its background, shown.
    void showPDFDocument(const std::shared_ptr<class PdfDocument> &pdf, const QByteArray &data, const QString &path);

    UserDefaults &m_defaults;
    std::vector<QPointer<VekDocumentWindow>> m_windows;
    QPointer<VekDocumentWindow> m_current;
    int m_untitledCount = 0;
};
