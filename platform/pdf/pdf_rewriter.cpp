// Opening, writing and checking PDF files with QPDF.
#include "platform/pdf/pdf_rewriter.h"
#include "platform/pdf/pdf_rewriter_private.h"

#include "platform/foundation/file_writing.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDFJob.hh>
#include <qpdf/QPDFLogger.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <QFile>

#include <sstream>

PdfRewriter::PdfRewriter() : d(std::make_unique<Private>()) {}
PdfRewriter::~PdfRewriter() = default;

bool PdfRewriter::fail(const QString &why)
{
    d->error = why;
    return false;
}

bool PdfRewriter::open(const QString &path, const QByteArray &password)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    return openData(file.readAll(), password);
}

bool PdfRewriter::openData(const QByteArray &data, const QByteArray &password)
{
    d = std::make_unique<Private>();
    d->data = data;
    try {
        d->pdf.setSuppressWarnings(true);
        d->pdf.processMemoryFile("document", d->data.constData(), size_t(d->data.size()),
                                 password.isEmpty() ? nullptr : password.constData());
        // Reading the page tree here makes a broken file fail now, not while writing.
        QPDFPageDocumentHelper(d->pdf).getAllPages();
    } catch (const std::exception &e) {
        return fail(QString::fromStdString(e.what()));
    }
    d->open = true;
    return true;
}

bool PdfRewriter::isOpen() const
{
    return d->open;
}

QString PdfRewriter::errorString() const
{
    return d->error;
}

int PdfRewriter::pageCount() const
{
    if (!d->open)
        return 0;
    return int(QPDFPageDocumentHelper(d->pdf).getAllPages().size());
}

void PdfRewriter::setEncryption(const QByteArray &userPassword, const QByteArray &ownerPassword)
{
    d->encrypt = true;
    d->userPassword = userPassword;
    d->ownerPassword = ownerPassword;
}

void PdfRewriter::dropEncryption()
{
    d->dropEncryption = true;
}

QByteArray PdfRewriter::writeToData(bool packObjects)
{
    if (!d->open)
        return {};
    try {
        QPDFWriter writer(d->pdf);
        writer.setOutputMemory();
        writer.setObjectStreamMode(packObjects ? qpdf_o_generate : qpdf_o_preserve);
        if (d->encrypt)
            writer.setR6EncryptionParameters(d->userPassword.constData(), d->ownerPassword.constData(), true, true,
                                             true, true, true, true, qpdf_r3p_full, true);
        else if (d->dropEncryption)
            writer.setPreserveEncryption(false);
        writer.write();
        std::shared_ptr<Buffer> buffer = writer.getBufferSharedPointer();
        return QByteArray(reinterpret_cast<const char *>(buffer->getBuffer()), qsizetype(buffer->getSize()));
    } catch (const std::exception &e) {
        d->error = QString::fromStdString(e.what());
        return {};
    }
}

bool PdfRewriter::write(const QString &path, bool packObjects)
{
    const QByteArray bytes = writeToData(packObjects);
    if (bytes.isEmpty())
        return false;
    QString why;
    return writeWholeFile(path, bytes, &why) || fail(why);
}

bool checkPdfFile(const QString &path, QString *report)
{
    std::ostringstream out;
    std::ostringstream err;
    int code = QPDFJob::EXIT_ERROR;
    try {
        QPDFJob job;
        std::shared_ptr<QPDFLogger> logger = QPDFLogger::create();
        logger->setOutputStreams(&out, &err);
        job.setLogger(logger);
        const QByteArray file = QFile::encodeName(path);
        const char *argv[] = {"qpdf", "--check", file.constData(), nullptr};
        job.initializeFromArgv(argv);
        job.run();
        code = job.getExitCode();
    } catch (const std::exception &e) {
        err << e.what();
    }
    if (report)
        *report = QString::fromStdString(out.str() + err.str());
    return code == 0;
}
