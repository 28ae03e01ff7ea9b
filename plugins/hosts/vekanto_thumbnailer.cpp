// vekanto-thumbnailer: the desktop's thumbnailer for Vekanto documents. It loads the preview
// plug-in through its interface and writes page 1 as a PNG of the requested size, or with
// --preview the document's full preview as PDF. It needs no display. A file that is no
// document, a damaged one, one that asks for no preview, or one whose stored preview is not
// what it claims to be gets a message naming it, no output and exit status 1. File names
// are taken as the bytes the file system holds.
//
//   vekanto-thumbnailer [-s SIZE] INPUT OUTPUT.png
//   vekanto-thumbnailer --preview INPUT OUTPUT.pdf
#include "platform/foundation/native_path_files.h"
#include "platform/pdf/pdf_document.h"
#include "plugins/hosts/document_check.h"
#include "plugins/hosts/host_limits.h"
#include "plugins/hosts/plugin_library.h"
#include "plugins/preview/preview_interface.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>

#include <cstdio>

namespace {

struct Answer {
    QByteArray data;
    QByteArray contentType;
};

void keepAnswer(VekPreviewRequest *request, const char *bytes, size_t length, const char *contentType)
{
    auto *answer = static_cast<Answer *>(request->host);
    answer->data = QByteArray(bytes, qsizetype(length));
    answer->contentType = contentType ? QByteArray(contentType) : QByteArray();
}

int fail(const QString &message)
{
    std::fprintf(stderr, "vekanto-thumbnailer: %s\n", qPrintable(message));
    return 1;
}

int usage()
{
    std::fprintf(stderr, "usage: vekanto-thumbnailer [-s SIZE] INPUT OUTPUT.png\n"
                         "       vekanto-thumbnailer --preview INPUT OUTPUT.pdf\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QByteArrayList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QByteArray(argv[i]);
    bool preview = false;
    int size = 256;
    if (!arguments.isEmpty() && arguments.first() == "--preview") {
        preview = true;
        arguments.removeFirst();
    } else if (arguments.size() >= 2 && arguments.first() == "-s") {
        bool ok = false;
        size = arguments.at(1).toInt(&ok);
        if (!ok || size < 1 || size > 4096)
            return usage();
        arguments.remove(0, 2);
    }
    if (arguments.size() != 2)
        return usage();
    const QByteArray input = arguments.at(0), output = arguments.at(1);
    const QString inputName = nativePathForMessages(input);
    limitHostResources(inputName);
    QGuiApplication application(argc, argv);
    if (const QString why = whyNotADocument(input.constData()); !why.isEmpty())
        return fail(QStringLiteral("%1: %2").arg(inputName, why));

    PlugInLibrary library(QStringLiteral("VekantoPreview"));
    auto *instance = static_cast<VekPreviewInterface **>(
        library.instance(VEK_PREVIEW_GENERATOR_TYPE_ID, VEK_PREVIEW_CALLBACKS_INTERFACE_ID));
    if (!instance)
        return fail(library.error());
    VekPreviewInterface *table = *instance;
    Answer answer;
    VekPreviewRequest request{&answer, keepAnswer};
    int32_t status = 0;
    if (preview)
        status = table->GeneratePreviewForURL(instance, &request, input.constData(), "kestrum.vekanto.vek", nullptr);
    else
        status = table->GenerateThumbnailForURL(instance, &request, input.constData(), "kestrum.vekanto.vek",
                                                nullptr, VekPreviewSize{double(size), double(size)});
    table->Release(instance);
    if (status != 0 || answer.data.isEmpty())
        return fail(QStringLiteral("%1: the document asks for no preview.").arg(inputName));

    QByteArray bytes = answer.data;
    if (preview) {
        // A preview stored in the file is handed over as it is: it must be a PDF.
        const auto pdf = PdfDocument::openData(answer.data);
        if (!answer.data.startsWith("%PDF-") || !pdf || pdf->pageCount() < 1)
            return fail(QStringLiteral("%1: the stored preview is damaged (it is not a PDF).").arg(inputName));
    } else {
        QImage image = QImage::fromData(answer.data);
        if (image.isNull())
            return fail(QStringLiteral("%1: the stored thumbnail is damaged.").arg(inputName));
        // A PNG that fits is written as the plug-in answered it, not encoded again.
        QBuffer answered(&answer.data);
        answered.open(QIODevice::ReadOnly);
        const bool fits = image.width() <= size && image.height() <= size;
        if (!fits || QImageReader::imageFormat(&answered) != "png") {
            if (!fits)
                image = image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            QBuffer buffer(&bytes);
            bytes.clear();
            if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
                return fail(QStringLiteral("%1: the thumbnail cannot be encoded.").arg(inputName));
        }
    }
    QString why;
    if (!writeWholeFileAtNativePath(output, bytes, &why))
        return fail(QStringLiteral("%1 cannot be written: %2").arg(nativePathForMessages(output), why));
    return 0;
}
