// A two-page document for the export tests, and the independent tools that read exports.
//
// Pages of 300 x 200 points. Page 1: a red rectangle (20, 20, 80, 60) with a black stroke
// and its own shadow, an image (200, 40, 40, 20), a path carrying the text "Along the path",
// and a text box (105, 2, 190, 36) whose "the anchor" links to "#target" and whose
// "example.org" links to http://example.org/; page 2: a blue oval (150, 230, 60, 40), a
// rectangle (20, 220, 100, 50) filled with a linear gradient, and a text box (20, 300, 200,
// 40) whose word "target" carries the anchor "#target"; a green rectangle repeated on every
// page at (250, 150, 30, 30). Both pages show the one-page background PDF: the words
// "Background words" and a yellow band along the bottom (y 180..200 of each page).
#pragma once

#include "document/vek_document.h"
#include "model/vek_obj_image.h"
#include "model/vek_obj_path.h"
#include "model/vek_obj_text.h"
#include "platform/foundation/archiving.h"
#include "platform/pdf/pdf_document.h"
#include "tests/platform/pdf/pdf_fixtures.h"
#include "tests/support/gui_app.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMultiMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace exportfixture {

inline std::shared_ptr<VekObjPath> pathObject(const BezierPath &path, const Color &fill)
{
    auto o = VekObjPath::create();
    o->setBezierPath(path);
    o->setBounds(path.bounds());
    o->setFillColor(fill);
    o->setDrawsFill(true);
    o->setDrawsStroke(false);
    return o;
}

inline TextAttributes textFont()
{
    TextAttributes a;
    a.font = Font{QStringLiteral("DejaVuSans"), 12};
    a.foregroundColor = Color::blackColor();
    return a;
}

// A text box of the string in the fixture's font, each (range, attributes) added on top.
inline std::shared_ptr<VekObjText> textBox(const Rect &bounds, const QString &string,
                                           const std::vector<std::pair<QString, TextAttributes>> &marked = {})
{
    AttributedString text(string, textFont());
    for (const auto &[part, attributes] : marked)
        text.addAttributes(attributes, {int(string.indexOf(part)), int(part.size())});
    auto box = VekObjText::create();
    box->setBounds(bounds);
    box->setContents(text);
    return box;
}

inline TextAttributes linkTo(const QString &target)
{
    TextAttributes a;
    a.link = target;
    return a;
}

inline TextAttributes anchorNamed(const QString &name)
{
    TextAttributes a;
    a.anchor = name;
    return a;
}

inline QByteArray backgroundPdf()
{
    return pdfFromObjects({
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 200] /Contents 4 0 R"
        " /Resources << /Font << /F1 5 0 R >> >> >>",
        streamObject("", "1 1 0 rg 0 0 300 20 re f BT 0 0 0 rg /F1 14 Tf 100 100 Td (Background words) Tj ET"),
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
    });
}

struct Document {
    Document()
    {
        ensureGuiApp();
        // A background PDF brings its page count and paper; the document then gets A4 paper
        // with the default margins, two pages, and the PDF page behind both.
        const QByteArray pdf = backgroundPdf();
        doc.setBackgroundPDF(PdfDocument::openData(pdf), pdf);
        doc.setPrintInfo(PrintInfo::defaults());
        doc.setDrawAreaSizePerPage({300, 200});
        doc.setNumberOfPages(2);
        doc.insertBgPDFPage(1, 1, false);

        auto red = pathObject(BezierPath::bezierPathWithRect(Rect(20, 20, 80, 60)), Color::redColor());
        red->setDrawsStroke(true);
        red->setObjStrokeColor(Color::blackColor());
        PropertyList shadow = PropertyList::dictionary();
        shadow.insert(ShadowAngleKey, PropertyList::fromFloat(-45));
        shadow.insert(ShadowOffsetKey, PropertyList::fromFloat(4));
        shadow.insert(ShadowBlurKey, PropertyList::fromFloat(3));
        shadow.insert(ShadowColorKey, PropertyList::fromData(*archivedDataWithRootObject(Color::blackColor()).value));
        shadow.insert(ShadowStateKey, PropertyList::fromInt(1));
        red->setIndvShadowValues(shadow);
        add(red);

        auto image = VekObjImage::create();
        QImage pixels(40, 20, QImage::Format_ARGB32);
        pixels.fill(Qt::magenta);
        image->setImage(Image(pixels));
        image->setBounds(Rect(200, 40, 40, 20));
        add(image);

        auto carrier = pathObject(BezierPath::bezierPathWithRect(Rect(20, 120, 200, 30)), Color::clearColor());
        carrier->setDrawsFill(false);
        carrier->setAttStringForPath(AttributedString(QStringLiteral("Along the path"), textFont()));
        add(carrier);
        add(textBox(Rect(105, 2, 190, 36), QStringLiteral("Go to the anchor or example.org"),
                    {{QStringLiteral("the anchor"), linkTo(QStringLiteral("#target"))},
                     {QStringLiteral("example.org"), linkTo(QStringLiteral("http://example.org/"))}}));

        add(pathObject(BezierPath::bezierPathWithOvalInRect(Rect(150, 230, 60, 40)), Color::blueColor()));
        auto gradient = pathObject(BezierPath::bezierPathWithRect(Rect(20, 220, 100, 50)), Color::redColor());
        add(gradient);
        gradient->setGradientType(1, true);
        add(textBox(Rect(20, 300, 200, 40), QStringLiteral("Here is the target"),
                    {{QStringLiteral("target"), anchorNamed(QStringLiteral("#target"))}}));
        auto everyPage = pathObject(BezierPath::bezierPathWithRect(Rect(250, 150, 30, 30)), Color::greenColor());
        everyPage->setRepeatType(3);
        add(everyPage);
    }
    void add(const std::shared_ptr<VekObject> &object) { doc.insertObject(object, 0, false); }

    VekDocument doc;
};

// The standard output of a program run on a file (its exit code in *exitCode).
inline QString run(const QString &program, const QStringList &arguments, int *exitCode = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(120000);
    if (exitCode)
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Written {
    QTemporaryDir dir;
    QString path = dir.filePath("out.pdf");
    QString text() { return run("pdftotext", {"-layout", path, "-"}); }
    QString info() { return run("pdfinfo", {path}); }
    bool checks()
    {
        int code = 0;
        run("qpdf", {"--check", path}, &code);
        return code == 0;
    }
    QImage page(int number, int dpi = 72)
    {
        run("pdftoppm", {"-png", "-r", QString::number(dpi), "-f", QString::number(number), "-l",
                         QString::number(number), "-singlefile", path, dir.filePath("page")});
        return QImage(dir.filePath("page.png")).convertToFormat(QImage::Format_RGB32);
    }
};

// A link annotation as qpdf reads it from the file: page indexes from 0, PDF points.
struct Link {
    int page = -1;
    QRectF rect;
    QString uri;
    int destinationPage = -1;
    QPointF destination;
    bool hasAction = false;
};

inline std::vector<Link> linksIn(const QString &path)
{
    const QJsonObject json =
        QJsonDocument::fromJson(run("qpdf", {"--json=2", "--json-key=pages", "--json-key=qpdf", path}).toUtf8()).object();
    const QJsonObject objects = json.value("qpdf").toArray().at(1).toObject();
    auto value = [&](const QString &reference) { return objects.value("obj:" + reference).toObject().value("value"); };
    // An array or dictionary stored as an object of its own appears as its reference.
    auto resolved = [&](const QJsonValue &v) { return v.isString() && v.toString().endsWith(" R") ? value(v.toString()) : v; };
    QStringList pages;
    for (const QJsonValue &page : json.value("pages").toArray())
        pages << page.toObject().value("object").toString();
    std::vector<Link> links;
    for (int p = 0; p < pages.size(); ++p) {
        for (const QJsonValue &reference : resolved(value(pages[p]).toObject().value("/Annots")).toArray()) {
            const QJsonObject annotation = resolved(reference).toObject();
            if (annotation.value("/Subtype").toString() != "/Link")
                continue;
            Link link;
            link.page = p;
            const QJsonArray r = resolved(annotation.value("/Rect")).toArray();
            link.rect = QRectF(QPointF(r[0].toDouble(), r[1].toDouble()), QPointF(r[2].toDouble(), r[3].toDouble()));
            const QJsonObject action = resolved(annotation.value("/A")).toObject();
            if (action.value("/S").toString() == "/URI") {
                link.uri = action.value("/URI").toString().mid(2);   // qpdf writes "u:" before text strings
                link.hasAction = true;
            }
            const QJsonArray destination = resolved(annotation.value("/Dest")).toArray();
            if (!destination.isEmpty()) {
                link.destinationPage = int(pages.indexOf(destination[0].toString()));
                link.destination = QPointF(destination[2].toDouble(), destination[3].toDouble());
                link.hasAction = true;
            }
            links.push_back(link);
        }
    }
    return links;
}

// A document of one page of the size A4 paper with its default margins gives at the
// resolution, in the orientation, filled by a red rectangle.
inline void fillPageOfPaper(VekDocument &document, int resolution, PrintInfo::Orientation orientation)
{
    PrintInfo info = PrintInfo::defaults();
    info.orientation = orientation;
    document.setPrintInfo(info);
    document.setResolution(resolution);
    const Size page = document.drawAreaSizePerPage();
    auto red = VekObjPath::create();
    red->setBezierPath(BezierPath::bezierPathWithRect(Rect(0, 0, page.width, page.height)));
    red->setBounds(Rect(0, 0, page.width, page.height));
    red->setFillColor(Color::redColor());
    red->setDrawsFill(true);
    red->setDrawsStroke(false);
    document.insertObject(red, 0, false);
}

// The bounding box of the red pixels of an image (empty when there are none).
inline QRect redArea(const QImage &image)
{
    QRect area;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60)
                area |= QRect(x, y, 1, 1);
        }
    return area;
}

// The centre of each word on a page as pdftotext places it (PDF points, y up).
inline QMultiMap<QString, QPointF> wordCentres(const QString &path, int page, double pageHeight)
{
    const QString html = run("pdftotext", {"-bbox", "-f", QString::number(page), "-l", QString::number(page), path, "-"});
    static const QRegularExpression word(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>");
    QMultiMap<QString, QPointF> centres;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        centres.insert(m.captured(5), QPointF((m.captured(1).toDouble() + m.captured(3).toDouble()) / 2,
                                              pageHeight - (m.captured(2).toDouble() + m.captured(4).toDouble()) / 2));
    }
    return centres;
}

} // namespace exportfixture
