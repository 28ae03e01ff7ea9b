// What the SVG import tests share: importing text or fixture files, and drawing an imported
// document or running rsvg-convert on the same file.
#pragma once

#include "canvas/document_renderer.h"
#include "canvas/offscreen_canvas.h"
#include "document/vek_document.h"
#include "platform/graphics/graphics_context.h"
#include "svg/svg_import.h"
#include "tests/support/gui_app.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

inline QString svgFixturePath(const QString &name)
{
    return QStringLiteral(VEK_TEST_DATA_DIR "/") + name;
}

inline SvgImportPropertyList importSvgText(const QByteArray &svg, const QString &path = QString())
{
    auto result = svgPropertyListFromData(svg, path);
    EXPECT_TRUE(result.has_value());
    return result.value_or(SvgImportPropertyList());
}

// The path and image infos of an import, in drawing order.
inline std::vector<const SvgObjectInfo *> drawnInfos(const SvgImportPropertyList &list)
{
    std::vector<const SvgObjectInfo *> result;
    for (const SvgObjectInfo &info : list.objectInfos)
        if (info.classNr == SvgPathObject || info.classNr == SvgImageObject)
            result.push_back(&info);
    return result;
}

inline std::unique_ptr<VekDocument> importSvgFile(const QString &path)
{
    QString error;
    auto document = VekDocument::documentFromSVGFile(path, &error);
    EXPECT_TRUE(document) << error.toStdString();
    return document;
}

// The document's first page on white, one pixel a point.
inline QImage renderDocumentPage(VekDocument &document)
{
    const Size page = document.drawAreaSizePerPage();
    QImage pixels(int(page.width), int(page.height), QImage::Format_ARGB32);
    pixels.fill(Qt::white);
    GraphicsContext context(pixels);
    GraphicsContext::Scope scope(context);
    OffscreenCanvas canvas(document);
    RenderRequest request;
    request.dirty = Rect(0, 0, page.width, page.height);
    drawDocumentPages(document, canvas, request);
    return pixels;
}

// What rsvg-convert draws for the file, on white, or a null image when it fails.
inline QImage renderWithRsvg(const QString &path)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.png"));
    QProcess rsvg;
    rsvg.start(QStringLiteral("rsvg-convert"), {QStringLiteral("--background-color=white"), QStringLiteral("-o"), out, path});
    if (!rsvg.waitForFinished(30000) || rsvg.exitCode() != 0)
        return QImage();
    return QImage(out).convertToFormat(QImage::Format_ARGB32);
}

// The share of pixels whose colour differs by more than `tolerance` in any channel.
inline double mismatchRatio(const QImage &a, const QImage &b, int tolerance = 48)
{
    if (a.size() != b.size() || a.isNull())
        return 1.0;
    qint64 differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        const QRgb *pa = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const QRgb *pb = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            if (std::abs(qRed(pa[x]) - qRed(pb[x])) > tolerance || std::abs(qGreen(pa[x]) - qGreen(pb[x])) > tolerance
                || std::abs(qBlue(pa[x]) - qBlue(pb[x])) > tolerance)
                ++differing;
        }
    }
    return double(differing) / (double(a.width()) * a.height());
}
