// File names and formats of the export panel, and the dispatch to the writers.
#include "export/export_dispatch.h"

#include "canvas/offscreen_images.h"
#include "document/vek_document.h"
#include "export/bitmap_export.h"
#include "export/eps_export.h"
#include "export/pdf_export.h"
#include "export/svg_export.h"
#include "model/vek_object.h"
#include "platform/foundation/c_locale.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

const QStringList &exportFormatNames()
{
    static const QStringList names = {"jpg", "jp2", "pdf", "png", "tiff", "eps", "eps-simple", "icns", "svg"};
    return names;
}

QString extensionForFormat(const QString &format)
{
    return format == QLatin1String("eps-simple") ? QStringLiteral("eps") : format;
}

QString controlFileExtension(const QString &name, const QString &format)
{
    const QString wanted = extensionForFormat(format.isEmpty() ? QStringLiteral("tiff") : format);
    const QString extension = QFileInfo(name).suffix().toLower();
    if (!QFileInfo(name).completeSuffix().isEmpty()
        && (extension == wanted || (wanted == QLatin1String("jpg") && extension == QLatin1String("jpeg"))
            || (wanted == QLatin1String("tiff") && extension == QLatin1String("tif"))))
        return name;
    return name + QLatin1Char('.') + wanted;
}

QString formatForPath(const QString &path)
{
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension.isEmpty())
        return QStringLiteral("tiff");
    if (extension == QLatin1String("jpeg"))
        return QStringLiteral("jpg");
    if (extension == QLatin1String("tif"))
        return QStringLiteral("tiff");
    return extension;
}

std::optional<std::vector<int>> pagesFromList(const QString &text, int pageCount)
{
    const int leading = intValueOf(text);
    if (text.isEmpty() || leading < 1 || leading > pageCount)
        return std::nullopt;
    std::vector<int> pages;
    for (const QString &part : text.split(QLatin1Char(','))) {
        const int page = intValueOf(part);
        if (page >= 1 && page <= pageCount)
            pages.push_back(page);
    }
    return pages;
}

bool isVectorExportFormat(const QString &format)
{
    return format == QLatin1String("pdf") || format == QLatin1String("eps") || format == QLatin1String("eps-simple")
        || format == QLatin1String("svg");
}

Rect selectionArea(const std::vector<std::shared_ptr<VekObject>> &objects, const QString &format)
{
    const bool vector = isVectorExportFormat(format);
    Rect area;
    for (const auto &object : objects)
        area = unionRect(area, vector ? object->drawingBounds() : object->boundsToRedraw());
    return area;
}

namespace {

// The size in points a file gives an image of `pixels`: more pixels a point than one make
// the resolution they draw at; otherwise other document resolutions than 72 keep the pixels
// and give the file that resolution.
Size filePointSize(VekDocument &document, QSize pixels, float pixelsPerPoint)
{
    const Size size(float(pixels.width()), float(pixels.height()));
    if (pixelsPerPoint > 0 && pixelsPerPoint != 1)
        return Size(size.width / pixelsPerPoint, size.height / pixelsPerPoint);
    if (document.resolution() == 72)
        return size;
    const Size converted = VekDocument::convertDefaultSizeToResolution(size, document.resolution());
    return converted.width > 0 && converted.height > 0 ? Size(std::round(converted.width), std::round(converted.height))
                                                       : size;
}

} // namespace

bool saveArea(VekDocument &document, const ExportRequest &request, QString *error, QString *warning)
{
    if (request.path.isEmpty())
        return false;
    ExportSelection selection{request.area, request.objects, request.clip};
    const QString &format = request.format;
    if (format == QLatin1String("pdf"))
        return saveAsPdf(document, request.path, selection, request.flattenResolution, request.displayName, error,
                         warning);
    if (format == QLatin1String("eps-simple"))
        return savePathsAsEps(document, request.path, request.area,
                              request.objects.empty() ? document.objects() : request.objects, error);
    if (format == QLatin1String("eps"))
        return saveAsEps(document, request.path, selection, error);
    if (format == QLatin1String("svg"))
        return saveAsSvg(document, request.path, selection, !request.textAsOutlines, error);

    CanvasImageRequest imageRequest;
    imageRequest.rect = request.area;
    imageRequest.opaque = format == QLatin1String("jpg") || format == QLatin1String("jp2");
    imageRequest.pathClip = request.clip;
    imageRequest.drawingToCopy = request.clip;
    imageRequest.selected = request.objects;
    imageRequest.scale = request.pixelsPerPoint;
    // A PNG of the drawing as it is is written while it is drawn, without the whole image.
    if (format == QLatin1String("png") && !request.clip && !document.useCMYK()) {
        QString why;
        const bool ok = saveCanvasImageAsPng(
            document, imageRequest, request.path,
            [&](QSize pixels) { return filePointSize(document, pixels, request.pixelsPerPoint); }, &why);
        if (!ok && error)
            *error = why.isEmpty() ? QStringLiteral("the image is too large or empty") : why;
        return ok;
    }
    Image image = imageWithinRect(document, imageRequest);
    if (!image.isValid()) {
        if (error)
            *error = QStringLiteral("the image is too large or empty");
        return false;
    }
    if (format != QLatin1String("icns")) {
        BitmapRep bitmap = image.bitmap();
        const QSize pixels(bitmap.pixelsWide(), bitmap.pixelsHigh());
        if (const Size size = filePointSize(document, pixels, request.pixelsPerPoint); !(size == image.size())) {
            bitmap.setSize(size);
            image = Image(bitmap);
        }
    }
    QString why;
    bool ok = false;
    if (format == QLatin1String("png"))
        ok = saveAsPng(image, request.path, &why);
    else if (format == QLatin1String("jpg") || format == QLatin1String("jp2"))
        ok = saveAsJpeg(image, request.path, std::max(0.1f, request.compressionFactor), format == QLatin1String("jp2"),
                        &why);
    else if (format == QLatin1String("icns"))
        ok = saveImageAsIcns(image, request.path, &why);
    else
        ok = saveAsTiff(image, request.path, &why);
    if (!ok && error)
        *error = why.isEmpty() ? QStringLiteral("the image could not be written") : why;
    return ok;
}
