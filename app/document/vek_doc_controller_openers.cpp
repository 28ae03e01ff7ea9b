// The document controller's openers: one for each kind of file the application accepts.
#include "app/document/vek_doc_controller.h"
#include "app/document/vek_document_window.h"
#include "canvas/ui/vek_view.h"

#include "document/vek_document.h"
#include "panels/document_dialogs.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/plist_text_format.h"
#include "platform/foundation/plist_xml_format.h"
#include "platform/image/image_file.h"
#include "platform/pdf/pdf_document.h"
#include "platform/pdf/pdf_rewriter.h"
#include "platform/text/rtf.h"
#include "toolkit/pdf_without_text.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>

namespace {

constexpr int MaxPasswordRetries = 4;   // five passwords in all

bool readWholeFile(const QString &path, QByteArray *data, QString *reason)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (reason)
            *reason = file.errorString();
        return false;
    }
    *data = file.readAll();
    return true;
}

void setReason(QString *reason, const QString &text)
{
    if (reason)
        *reason = text;
}

std::shared_ptr<PdfDocument> openPdfData(const QByteArray &data, const QByteArray &password, QString *reason)
{
    // The PDF reader's own reasons name parser states, not what the user can do.
    std::shared_ptr<PdfDocument> pdf = PdfDocument::openData(data, password);
    if (!pdf) {
        setReason(reason, localizedString(QStringLiteral("It is damaged or is not a PDF document.")));
        return nullptr;
    }
    // A page tree neither QPDF nor Poppler can walk gives no page to show.
    if (pdf->pageCount() < 1 || pdf->pageSize(0).width <= 0 || pdf->pageSize(0).height <= 0) {
        setReason(reason, localizedString(QStringLiteral("The PDF file holds no page that can be shown.")));
        return nullptr;
    }
    return pdf;
}

bool isImageExtension(const QString &extension)
{
    return QImageReader::supportedImageFormats().contains(extension.toLatin1()) ||
           extension == QLatin1String("jp2") || extension == QLatin1String("j2k");
}

bool startsWithPdfMagic(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-";
}

} // namespace

bool VekDocController::openFile(const QString &path, QString *reason)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        setReason(reason, localizedString(QStringLiteral("The file does not exist.")));
        return false;
    }
    const QString extension = info.suffix().toLower();
    if (extension == QLatin1String("vek"))
        return openVekDocument(path, reason);
    if (extension == QLatin1String("qomt"))
        return openQOMTDocument(path, reason);
    if (extension == QLatin1String("svg") || extension == QLatin1String("svgz"))
        return openSVGDocument(path, reason);
    if (extension == QLatin1String("pdf") || startsWithPdfMagic(path))
        return openPDFDocument(path, reason);
    if (extension == QLatin1String("rtf") || extension == QLatin1String("rtfd"))
        return openTextDocument(path, reason);
    if (isImageExtension(extension))
        return openImageDocument(path, reason);
    setReason(reason, localizedString(QStringLiteral("Vekanto cannot open files of this kind.")));
    return false;
}

bool VekDocController::openImageDocument(const QString &path, QString *reason)
{
    QByteArray data;
    if (!readWholeFile(path, &data, reason))
        return false;
    QString error;
    const Image image = readImageData(data, &error);
    if (!image.isValid()) {
        setReason(reason, error.isEmpty() ? localizedString(QStringLiteral("The image could not be read.")) : error);
        return false;
    }
    std::unique_ptr<VekDocument> document = makeUntitledDocument();
    document->setBackgroundImage(image, data, Size{});
    showDocument(std::move(document), QString());
    return true;
}

std::shared_ptr<PdfDocument> VekDocController::unlockPDF(const QString &path, QByteArray *readableData,
                                                         QString *reason)
{
    QByteArray data;
    if (!readWholeFile(path, &data, reason))
        return nullptr;
    // Only a document that stays locked needs a password: one encrypted with an owner
    // password alone opens as it is.
    QByteArray password;
    if (PdfDocument::needsPassword(data)) {
        for (int retries = 0; retries <= MaxPasswordRetries; ++retries) {
            const std::optional<QString> typed = documentDialogs().askPassword(QFileInfo(path).fileName());
            if (!typed || typed->isEmpty()) {
                setReason(reason, QString());
                return nullptr;
            }
            if (PdfDocument::openData(data, typed->toUtf8())) {
                password = typed->toUtf8();
                break;
            }
            if (!documentDialogs().askToReenterPassword()) {
                setReason(reason, QString());
                return nullptr;
            }
        }
        if (password.isEmpty()) {
            setReason(reason, localizedString(QStringLiteral("The password was not accepted.")));
            return nullptr;
        }
        // The document keeps and saves the decrypted pages, so that it opens again
        // without the password.
        PdfRewriter rewriter;
        if (rewriter.openData(data, password)) {
            rewriter.dropEncryption();
            const QByteArray plain = rewriter.writeToData();
            if (!plain.isEmpty()) {
                data = plain;
                password.clear();
            }
        }
    }
    std::shared_ptr<PdfDocument> pdf = openPdfData(data, password, reason);
    if (pdf)
        *readableData = data;
    return pdf;
}

void VekDocController::showPDFDocument(const std::shared_ptr<PdfDocument> &pdf, const QByteArray &data,
                                       const QString &path)
{
    std::unique_ptr<VekDocument> document = makeUntitledDocument();
    document->setBackgroundPDF(pdf, data, path);
    showDocument(std::move(document), QString());
}

bool VekDocController::openPDFDocument(const QString &path, QString *reason)
{
    QByteArray data;
    std::shared_ptr<PdfDocument> pdf = unlockPDF(path, &data, reason);
    if (!pdf)
        return false;
    showPDFDocument(pdf, data, path);
    return true;
}

bool VekDocController::importPDFimageOf(const QString &path, QString *reason)
{
    // A private folder instead of a fixed name in the shared temporary folder.
    QTemporaryDir folder;
    const QString copy = folder.filePath(QStringLiteral("tmpVeKpdfImageOnly.pdf"));
    if (!folder.isValid() || !CreatePDFwoText(copy, path)) {
        setReason(reason, localizedString(QStringLiteral("The text could not be removed from the PDF file.")));
        return false;
    }
    QByteArray data;
    if (!readWholeFile(copy, &data, reason))
        return false;
    std::shared_ptr<PdfDocument> pdf = openPdfData(data, {}, reason);
    if (!pdf)
        return false;
    showPDFDocument(pdf, data, path);
    return true;
}

bool VekDocController::openQOMTDocument(const QString &path, QString *reason)
{
    QByteArray data;
    if (!readWholeFile(path, &data, reason))
        return false;
    if (data.isEmpty()) {
        setReason(reason, localizedString(QStringLiteral("The file is empty.")));
        return false;
    }
    // A first "{" means the old text form; anything else is read as an XML property list.
    PropertyListError error;
    const PropertyList contents = data.startsWith('{') ? propertyListFromText(data, &error)
                                                       : propertyListFromXml(data, &error);
    if (!contents.isDictionary()) {
        setReason(reason, localizedString(QStringLiteral("It is damaged or is not a predecessor document.")));
        return false;
    }
    std::unique_ptr<VekDocument> document = makeUntitledDocument();
    document->readinQomtContents(contents);
    // The document stays untitled (saving asks for a file) but shows the name it came from.
    showDocument(std::move(document), QString(), path);
    return true;
}

// An SVG (or gzip-compressed SVG) file becomes the drawing objects of a new document.
bool VekDocController::openSVGDocument(const QString &path, QString *reason)
{
    QString error;
    QStringList notes;
    std::unique_ptr<VekDocument> document = VekDocument::documentFromSVGFile(path, &error, &notes);
    if (!document) {
        setReason(reason, error);
        return false;
    }
    showDocument(std::move(document), QString());
    // The drawing opened, but the user should know what of the file it leaves out.
    if (!notes.isEmpty())
        documentDialogs().showAlert(currentVekDocument(),
                                    localizedString(QStringLiteral("Part of \"%1\" was left out."))
                                        .arg(QFileInfo(path).fileName()),
                                    notes.join(QLatin1Char('\n')));
    return true;
}

// An RTF or RTFD file becomes one text box holding the whole text, at the top left of a
// new document's first page.
bool VekDocController::openTextDocument(const QString &path, QString *reason)
{
    std::optional<AttributedString> text;
    if (QFileInfo(path).isDir()) {
        text = readRTFDDirectory(path);
    } else {
        QByteArray data;
        if (!readWholeFile(path, &data, reason))
            return false;
        text = attributedStringWithRTF(data);
    }
    if (!text) {
        setReason(reason, localizedString(QStringLiteral("The file holds no readable RTF text.")));
        return false;
    }
    std::unique_ptr<VekDocument> document = makeUntitledDocument();
    VekDocument &shown = *document;
    showDocument(std::move(document), QString());
    if (auto *view = dynamic_cast<VekView *>(shown.vekView()))
        view->makeNewTextObjectWith(*text, Point{0, 0}, false);
    return true;
}
