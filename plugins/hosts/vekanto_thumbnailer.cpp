// vekanto-thumbnailer: the desktop's thumbnailer for Vekanto documents. It loads the preview
// plug-in through its interface and writes page 1 as a PNG of the requested size, or with
// --preview the document's full preview as PDF. It needs no display.
//
//   vekanto-thumbnailer [-s SIZE] INPUT OUTPUT.png
//   vekanto-thumbnailer --preview INPUT OUTPUT.pdf
#include "platform/foundation/file_writing.h"
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
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    bool preview = false;
    int size = 256;
    if (!arguments.isEmpty() && arguments.first() == QLatin1String("--preview")) {
        preview = true;
        arguments.removeFirst();
    } else if (arguments.size() >= 2 && arguments.first() == QLatin1String("-s")) {
        bool ok = false;
        size = arguments.at(1).toInt(&ok);
        if (!ok || size < 1 || size > 4096)
            return usage();
        arguments.remove(0, 2);
    }
    if (arguments.size() != 2)
        return usage();
    const QString input = arguments.at(0), output = arguments.at(1);
    limitHostResources(input);
    QGuiApplication application(argc, argv);

    PlugInLibrary library(QStringLiteral("VekantoPreview"));
    auto *instance = static_cast<VekPreviewInterface **>(
        library.instance(VEK_PREVIEW_GENERATOR_TYPE_ID, VEK_PREVIEW_CALLBACKS_INTERFACE_ID));
    if (!instance)
        return fail(library.error());
    VekPreviewInterface *table = *instance;
    Answer answer;
    VekPreviewRequest request{&answer, keepAnswer};
    const QByteArray path = input.toLocal8Bit();
    int32_t status = 0;
    if (preview)
        status = table->GeneratePreviewForURL(instance, &request, path.constData(), "kestrum.vekanto.vek", nullptr);
    else
        status = table->GenerateThumbnailForURL(instance, &request, path.constData(), "kestrum.vekanto.vek",
                                                nullptr, VekPreviewSize{double(size), double(size)});
    table->Release(instance);
    if (status != 0 || answer.data.isEmpty())
        return fail(QStringLiteral("%1 is not a Vekanto document that can be shown, or it asks for no preview.")
                        .arg(input));

    QByteArray bytes = answer.data;
    if (!preview) {
        QImage image = QImage::fromData(answer.data);
        if (image.isNull())
            return fail(QStringLiteral("%1: the stored thumbnail is damaged.").arg(input));
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
                return fail(QStringLiteral("%1: the thumbnail cannot be encoded.").arg(input));
        }
    }
    QString why;
    if (!writeWholeFile(output, bytes, &why))
        return fail(QStringLiteral("%1 cannot be written: %2").arg(output, why));
    return 0;
}
