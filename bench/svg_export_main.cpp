// vek_svg_export: one SVG file exported as PNG or PDF (by the output's extension) the way the
// application exports a page, as a process of its own, so that benchmarks can compare whole
// processes (time, CPU and peak memory) with rsvg-convert.
//
//   vek_svg_export INPUT.svg OUTPUT.png|OUTPUT.pdf
#include "document/vek_document.h"
#include "export/export_dispatch.h"

#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: vek_svg_export INPUT.svg OUTPUT.png|OUTPUT.pdf\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QString error;
    const std::unique_ptr<VekDocument> document = VekDocument::documentFromSVGFile(QString::fromLocal8Bit(argv[1]), &error);
    if (!document) {
        std::fprintf(stderr, "vek_svg_export: %s\n", qPrintable(error));
        return 1;
    }
    ExportRequest request;
    request.path = QString::fromLocal8Bit(argv[2]);
    request.format = QFileInfo(request.path).suffix().toLower();
    if (!saveArea(*document, request, &error)) {
        std::fprintf(stderr, "vek_svg_export: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
