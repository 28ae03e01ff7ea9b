// Vector PDF output: pages drawn through a graphics context, then finished by the QPDF
// passes that Qt's writer cannot do itself, and written only once complete.
//
// Drawing happens in points, y growing downwards from the top left of each page. Text is
// written as text, PDF pages drawn as images stay vectors (see pdf_page_markers.h), CMYK
// colours stay DeviceCMYK when asked for, and the information dictionary and link
// annotations are added at the end.
//
//     PdfOutput output(Size(595, 842));
//     { GraphicsContext::Scope scope(output.context()); draw(); }
//     output.setInfo({{"Title", "Plan"}});
//     QString error;
//     output.finishToFile(path, &error);
#pragma once

#include "platform/geometry/geometry.h"
#include "platform/pdf/pdf_rewriter.h"

#include <QByteArray>
#include <QMap>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class GraphicsContext;

class PdfOutput {
public:
    // Every page measures pageSize points. With keepCmyk, CMYK colours become DeviceCMYK.
    explicit PdfOutput(Size pageSize, bool keepCmyk = false);
    ~PdfOutput();
    PdfOutput(const PdfOutput &) = delete;
    PdfOutput &operator=(const PdfOutput &) = delete;

    // The context of the current page; the first page exists from the start.
    GraphicsContext &context();
    // Ends the current page and begins the next, with the context's state reset.
    void newPage();
    int pageCount() const { return m_pages; }

    void setInfo(const QMap<QString, QString> &entries) { m_info = entries; }
    void addLink(const PdfLinkAnnotation &link) { m_links.push_back(link); }
    // Links placed by looking at the finished pages: finish() calls the placer with the
    // complete PDF before any link annotation is added, and adds the links it gives.
    using LinkPlacer = std::function<std::vector<PdfLinkAnnotation>(const QByteArray &pdfWithoutLinks)>;
    void setLinkPlacer(LinkPlacer placer) { m_linkPlacer = std::move(placer); }

    // Ends drawing and runs the passes. The finished PDF, or empty data with the reason
    // in *error. Drawing after this does nothing.
    QByteArray finish(QString *error = nullptr);
    // finish(), then replaces the file at path with the result only once it is complete.
    bool finishToFile(const QString &path, QString *error = nullptr);

private:
    struct Private;
    std::unique_ptr<Private> d;
    int m_pages = 1;
    QMap<QString, QString> m_info;
    std::vector<PdfLinkAnnotation> m_links;
    LinkPlacer m_linkPlacer;
};
