// Image elements: data URLs, relative and absolute files, the frame in output coordinates.
#include "svg/svg_image.h"

#include "platform/image/image_file.h"
#include "svg/svg_clipping.h"
#include "svg/svg_geometry.h"
#include "svg/svg_scanner.h"
#include "svg/svg_shapes.h"
#include "svg/svg_styles.h"
#include "svg/svg_text_utilities.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace {

std::optional<SvgReferencedData> dataUrl(const QString &href)
{
    const qsizetype start = href.indexOf(u"data:");
    const QString rest = href.mid(start + 5);
    SvgScanner scanner(rest, u"");
    QString mediaType = scanner.scanUpToCharacters(u";,").value_or(QString());
    const auto run = scanner.scanCharacters(u";,");
    if (!run)
        return std::nullopt;   // a media type followed by no delimiter
    QString encoding;
    if (*run == u";") {
        encoding = scanner.scanUpToCharacters(u";,").value_or(QString());
        scanner.scanCharacters(u";,");
    }
    if (encoding != u"base64")
        return std::nullopt;
    if (rest.size() - scanner.location() > SvgMaximumReferencedSize * 4 / 3 + 16)
        return std::nullopt;
    QByteArray bytes = svgBase64(rest.mid(scanner.location()));
    if (bytes.isEmpty())
        return std::nullopt;
    mediaType = mediaType.toLower();
    return SvgReferencedData{bytes, mediaType.isEmpty() ? QStringLiteral("image/jpg") : mediaType};
}

// Reads a regular file within the size limit (devices, pipes and folders are refused).
std::optional<QByteArray> readRegularFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > SvgMaximumReferencedSize)
        return std::nullopt;
    QFile file(info.canonicalFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.read(SvgMaximumReferencedSize + 1);
    if (bytes.size() > SvgMaximumReferencedSize)
        return std::nullopt;
    return bytes;
}

} // namespace

std::optional<SvgReferencedData> svgReferencedData(const QString &href, const SvgGraphicsState &state)
{
    if (href.contains(u"data:"))
        return dataUrl(href);
    QString path;
    if (href.startsWith(u'/')) {
        path = href;
    } else if (href.contains(u':')) {
        // Only file URLs are followed; every other scheme would reach the network.
        const QUrl url(href);
        if (!url.isValid() || !url.isLocalFile())
            return std::nullopt;
        path = url.toLocalFile();
    } else {
        const QString relative = QUrl::fromPercentEncoding(href.toUtf8());
        const QString base = state.fileURL.isEmpty() ? QDir::homePath() : QFileInfo(state.fileURL).absolutePath();
        path = QDir(base).filePath(relative);
    }
    const auto bytes = readRegularFile(path);
    if (!bytes)
        return std::nullopt;
    return SvgReferencedData{*bytes, QStringLiteral("image/") + QFileInfo(path).suffix().toLower()};
}

void imageElement(const SvgAttributes &attributes, const SvgGraphicsState &parent, const QString &tagName,
                  SvgObjectInfo &info)
{
    if (attributes.empty())
        return;
    SvgGraphicsState base = parent;
    for (const auto &[name, value] : attributes)
        if (name == u"color-profile")
            xmlStyle(name, value, base);
    double x = 0, y = 0;
    std::optional<double> width, height;
    SvgAspectRatio ratio;
    Image picture;
    const SvgGraphicsState state = svgAttributePass(attributes, tagName, base, [&](const QString &n, const QString &v, SvgGraphicsState &s) {
        const double vbw = s.viewBox ? s.viewBox->size.width : 0, vbh = s.viewBox ? s.viewBox->size.height : 0;
        if (n == u"x")
            x = unitToPix(v, s, vbw);
        else if (n == u"y")
            y = unitToPix(v, s, vbh);
        else if (n == u"width")
            width = unitToPix(v, s, vbw);
        else if (n == u"height")
            height = unitToPix(v, s, vbh);
        else if (n == u"preserveAspectRatio")
            ratio = svgAspectRatio(v);
        else if (n == u"xlink:href" || n == u"href") {
            picture = Image();
            // SVG pictures are not read: importing one would re-enter this importer.
            if (const auto data = svgReferencedData(v, s); data && data->mediaType != u"image/svg"
                                                           && data->mediaType != u"image/svg+xml")
                picture = readImageData(data->bytes);
        } else {
            return false;
        }
        return true;
    });
    if (!picture.isValid())
        return;
    // Without a width or height the picture keeps its own; within its viewport it is fitted
    // under preserveAspectRatio, and the viewport cuts off what "slice" lets overflow.
    const Rect viewport(float(x), float(y), float(width.value_or(picture.size().width)),
                        float(height.value_or(picture.size().height)));
    const Rect placed = svgFittedRect(picture.size(), viewport, ratio);
    info.classNr = SvgImageObject;
    info.image = picture;
    info.state = state;
    info.imageFrame = Rect(state.ctm.map(placed.origin.x, placed.origin.y),
                           Size(float(placed.size.width * state.scaleX), float(placed.size.height * state.scaleY)));
    if (ratio.slice && placed != viewport) {
        const Point corners[4] = {state.ctm.map(viewport.minX(), viewport.minY()), state.ctm.map(viewport.maxX(), viewport.minY()),
                                  state.ctm.map(viewport.maxX(), viewport.maxY()), state.ctm.map(viewport.minX(), viewport.maxY())};
        BezierPath clip;
        clip.appendBezierPathWithPoints(corners, 4);
        clip.closePath();
        svgClipStateTo(info.state, SvgClip{clip, 0});
    }
}
