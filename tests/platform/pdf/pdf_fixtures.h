// Small PDF files made inside the tests: hand-written objects and QPdfWriter output.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QFont>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <string>
#include <vector>

// A PDF of the given objects (numbered from 1, object 1 the catalogue) with a correct
// cross-reference table.
inline QByteArray pdfFromObjects(const std::vector<std::string> &objects)
{
    std::string out = "%PDF-1.7\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(out.size());
        out += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const size_t xref = out.size();
    out += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        char line[32];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        out += line;
    }
    out += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n"
        + std::to_string(xref) + "\n%%EOF\n";
    return QByteArray::fromStdString(out);
}

inline std::string streamObject(const std::string &dict, const std::string &data)
{
    return "<< " + dict + " /Length " + std::to_string(data.size()) + " >>\nstream\n" + data + "\nendstream";
}

// A 200 x 200 page: "Hello" in Helvetica, a red square at (10, 10)-(60, 60) (PDF
// coordinates), a green square at (100, 100)-(120, 120) whose colour is set inside the
// text object, and a form XObject holding the text "Inside" and a blue square at
// (150, 10)-(170, 30). An annotation's appearance shows "Note".
inline QByteArray handMadeTextPdf()
{
    const std::string content = "1 0 0 rg 10 10 50 50 re f\n"
                                "BT 0 1 0 rg /F1 24 Tf 20 150 Td (Hello) Tj ET\n"
                                "100 100 20 20 re f\n"
                                "q 1 0 0 1 150 10 cm /X1 Do Q\n"
                                "q 10 0 0 10 150 150 cm BI /W 1 /H 1 /CS /RGB /BPC 8 ID \xff\x01\xfe EI Q\n";
    const std::string form = "BT /F1 12 Tf 0 40 Td (Inside) Tj ET 0 0 1 rg 0 0 20 20 re f";
    const std::string appearance = "BT /F1 10 Tf 2 2 Td (Note) Tj ET";
    return pdfFromObjects({
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] /Contents 4 0 R"
        " /Resources << /Font << /F1 5 0 R >> /XObject << /X1 6 0 R >> >> /Annots [7 0 R] >>",
        streamObject("", content),
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
        streamObject("/Type /XObject /Subtype /Form /BBox [0 0 60 60] /Resources << /Font << /F1 5 0 R >> >>", form),
        "<< /Type /Annot /Subtype /FreeText /Rect [20 60 80 80] /AP << /N 8 0 R >> /DA (/F1 10 Tf) >>",
        streamObject("/BBox [0 0 60 20] /Resources << /Font << /F1 5 0 R >> >>", appearance),
    });
}

// A one-page PDF from QPdfWriter (compressed streams, an embedded font subset): the text
// "Vekanto text" at the top, a red rectangle and a blue image below it. Page 200 x 200
// points; the rectangle covers (20, 100)-(80, 160) and the image (120, 100)-(180, 160) in
// y-down page coordinates. Needs a QGuiApplication.
inline QByteArray qtPdfWithTextPathAndImage()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(72);
    writer.setPageLayout(QPageLayout(QPageSize(QSizeF(200, 200), QPageSize::Point), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0)));
    QPainter painter(&writer);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(20);
    painter.setFont(font);
    painter.drawText(QPointF(10, 40), QStringLiteral("Vekanto text"));
    painter.fillRect(QRectF(20, 100, 60, 60), Qt::red);
    QImage image(30, 30, QImage::Format_RGB32);
    image.fill(Qt::blue);
    painter.drawImage(QRectF(120, 100, 60, 60), image);
    painter.end();
    return bytes;
}

// What a command-line tool (pdffonts, qpdf, ...) prints for the PDF, given as its last argument.
inline QByteArray pdfToolOutput(const QString &program, const QStringList &arguments, const QByteArray &pdf)
{
    QTemporaryDir dir;
    QFile in(dir.filePath("in.pdf"));
    in.open(QIODevice::WriteOnly);
    in.write(pdf);
    in.close();
    QProcess process;
    process.start(program, arguments + QStringList{in.fileName()});
    process.waitForFinished();
    return process.readAllStandardOutput();
}
