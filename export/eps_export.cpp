// EPS through Ghostscript and the simple PostScript writer.
#include "export/eps_export.h"

#include "canvas/page_geometry.h"
#include "document/vek_document.h"
#include "export/pdf_export.h"
#include "export/postscript_string.h"
#include "model/calendar_date_format.h"
#include "model/vek_obj_format.h"
#include "model/vek_obj_grid.h"
#include "model/vek_obj_text.h"
#include "platform/color/color.h"
#include "platform/foundation/c_locale.h"
#include "platform/foundation/file_writing.h"
#include "platform/text/font_registry.h"
#include "platform/text/text_drawing.h"

#include <QDateTime>
#include <QFontDatabase>
#include <QRegularExpression>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <array>
#include <cerrno>
#include <cmath>
#include <iconv.h>

namespace {

const QStringList StandardFonts = {
    "Times-Roman", "Times-Italic", "Times-Bold", "Times-BoldItalic", "Helvetica", "Helvetica-Oblique",
    "Helvetica-Bold", "Helvetica-BoldOblique", "Courier", "Courier-Oblique", "Courier-Bold", "Courier-BoldOblique",
    "Symbol", "Ryumin-Light-H", "GothicBBB-Medium-H"};

QByteArray num(double value)
{
    return formatFixed(value).toLatin1();   // "%f" in the C locale
}

bool failWith(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

// Colour components in RGB; black where the colour has no RGB form.
std::array<float, 3> rgbOf(const Color &color)
{
    const std::optional<Color> rgb = color.colorUsingColorSpaceName(CalibratedRGBColorSpace);
    if (!rgb)
        return {0, 0, 0};
    return {rgb->redComponent(), rgb->greenComponent(), rgb->blueComponent()};
}

bool isJapaneseFace(const FontFace &face)
{
    return QFontDatabase::writingSystems(face.family).contains(QFontDatabase::Japanese);
}

} // namespace

namespace SimpleEps {

QString postScriptFontName(const QString &fontName)
{
    if (StandardFonts.contains(fontName))
        return fontName;
    const FontFace face = fontFace(fontName);
    if (isJapaneseFace(face))
        return fontName.contains(QLatin1String("Mincho"), Qt::CaseInsensitive) ? QStringLiteral("Ryumin-Light-H")
                                                                                : QStringLiteral("GothicBBB-Medium-H");
    QString base;
    // Times itself, or the substitute that draws it here.
    if (face.family == QLatin1String("Times") || face.family == QLatin1String("Nimbus Roman"))
        base = QStringLiteral("Times");
    else if (face.family == QLatin1String("Symbol"))
        return QStringLiteral("Symbol");
    else
        base = QFontDatabase::isFixedPitch(face.family, face.style) ? QStringLiteral("Courier")
                                                                    : QStringLiteral("Helvetica");
    // Bold is a weight of 9 or more on the platform's scale of 1 to 15 (5 regular): from
    // demi-bold on.
    const bool bold = face.bold || QFontDatabase::weight(face.family, face.style) >= QFont::DemiBold;
    const bool italic = face.italic;
    const QString slanted = base == QLatin1String("Times") ? QStringLiteral("Italic") : QStringLiteral("Oblique");
    if (bold && italic)
        return base + QStringLiteral("-Bold") + slanted;
    if (bold)
        return base + QStringLiteral("-Bold");
    if (italic)
        return base + QLatin1Char('-') + slanted;
    return base == QLatin1String("Times") ? QStringLiteral("Times-Roman") : base;
}

QByteArray latin1StringBody(const QString &line)
{
    QByteArray latin1;
    latin1.reserve(line.size());
    for (QChar c : line)
        latin1 += c.unicode() <= 0xFF ? char(c.unicode()) : '?';
    return postScriptStringBody(latin1);
}

QByteArray jisStringBody(const QString &line)
{
    QByteArray utf8 = line.toUtf8();
    QByteArray jis;
    iconv_t converter = iconv_open("ISO-2022-JP", "UTF-8");
    if (converter != iconv_t(-1)) {
        jis.resize(utf8.size() * 4 + 16);
        char *in = utf8.data();
        size_t inLeft = size_t(utf8.size());
        char *out = jis.data();
        size_t outLeft = size_t(jis.size());
        while (inLeft > 0 && iconv(converter, &in, &inLeft, &out, &outLeft) == size_t(-1)) {
            if (errno != EILSEQ && errno != EINVAL)
                break;
            ++in;   // a character JIS cannot hold is left out
            --inLeft;
        }
        iconv(converter, nullptr, nullptr, &out, &outLeft);   // back to ASCII at the end
        jis.resize(jis.size() - qsizetype(outLeft));
        iconv_close(converter);
    }
    QByteArray body;
    for (unsigned char byte : jis)
        body += '\\' + QByteArray::number(byte, 8).rightJustified(3, '0');
    return body;
}

QByteArray runSetup(const TextAttributes &attributes, bool *japanese)
{
    const Font font = attributes.font.value_or(Font{QStringLiteral("Helvetica"), 12});
    const QString name = postScriptFontName(font.name);
    *japanese = name == QLatin1String("Ryumin-Light-H") || name == QLatin1String("GothicBBB-Medium-H");
    // The strings carry Latin-1 bytes; a Latin font reads them only with that encoding (its
    // own standard encoding puts other letters at the accented ones). Symbol keeps its own.
    const bool latin = !*japanese && name != QLatin1String("Symbol");
    const auto rgb = rgbOf(attributes.foregroundColor.value_or(Color::blackColor()));
    return "\n/" + name.toLatin1() + (latin ? " findfont latin1\n" : " findfont\n") + QByteArray::number(int(font.size))
        + " scalefont setfont\nnewpath\n" + num(rgb[0]) + " " + num(rgb[1]) + " " + num(rgb[2]) + " rgb\n";
}

QByteArray showLine(float x, float y, const QString &line, bool japanese)
{
    return num(x) + " " + num(y) + " m\n(" + (japanese ? jisStringBody(line) : latin1StringBody(line)) + ") show\n";
}

QByteArray textCommands(const AttributedString &text, float originX, float originY)
{
    QByteArray out;
    float x = originX, y = originY;
    const float total = std::max(1, text.length());
    for (const TextRun &run : text.runs()) {
        const float fontSize = run.attributes.font ? run.attributes.font->size : 12;
        bool japanese = false;
        out += runSetup(run.attributes, &japanese);
        const QString runText = text.string().mid(run.range.location, run.range.length);
        const float runWidth = attributedStringSize(text.substring(run.range)).width;
        const QStringList lines = runText.split(QRegularExpression(QStringLiteral("[\\n\\r]")));
        float advance = 0;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0) {   // a line ended: down by the point size, back to the left edge
                y -= fontSize;
                x = originX;
                advance = 0;
            }
            const QString &line = lines[i];
            if (line.isEmpty())
                continue;
            out += showLine(x, y, line, japanese);
            advance = runWidth / total * float(line.length());
        }
        x += advance;
    }
    return out;
}

} // namespace SimpleEps

namespace {

// Canvas point -> EPS point: offset by the area's origin, y turned up from the page's top.
struct EpsPage {
    float ax = 0, ay = 0, height = 0;
    QByteArray point(Point p) const { return num(p.x - ax) + " " + num(height - p.y + ay); }
};

QByteArray header(float width, float height)
{
    return "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 " + QByteArray::number(int(std::ceil(width))) + " "
        + QByteArray::number(int(height)) + "\n%%Creator: Vekanto\n%%Title: \n%%CreationDate: "
        + describeDate(QDateTime::currentDateTime(), DefaultCalendarFormat).toLatin1()
        + "\n%%EndComments\n%%BeginProlog\n"
          "/bd { bind def } bind def\n/incompound false def\n"
          "/m { moveto } bd\n/l { lineto } bd\n/c { curveto } bd\n/z { closepath } bd\n"
          "/lw { setlinewidth } bd\n/lj { setlinejoin } bd\n/lc { setlinecap } bd\n"
          "/rgb { setrgbcolor } bd\n"
          // A copy of a font that reads its strings as Latin-1.
          "/latin1 { dup length dict begin { 1 index /FID ne { def } { pop pop } ifelse } forall\n"
          "  /Encoding ISOLatin1Encoding def currentdict end /VekLatin1Font exch definefont } bd\n"
          "%%EndProlog\n%%BeginSetup\n%%EndSetup\n"
          "0 setgray 0 setlinecap 1 setlinewidth 1 setflat\n0 setlinejoin 10 setmiterlimit [ ] 0 setdash\n"
          "false setoverprint false setstrokeadjust\n";
}

// A new path of the elements, to be filled or stroked.
QByteArray pathData(const BezierPath &path, const EpsPage &page)
{
    QByteArray out = "\nnewpath\n";
    for (int i = 0; i < path.elementCount(); ++i) {
        Point p[3];
        switch (path.elementAtIndex(i, p)) {
        case MoveToBezierPathElement: out += page.point(p[0]) + " m\n"; break;
        case LineToBezierPathElement: out += page.point(p[0]) + " l\n"; break;
        case CurveToBezierPathElement:
            out += page.point(p[0]) + " " + page.point(p[1]) + " " + page.point(p[2]) + " c\n";
            break;
        default: out += "z\n"; break;
        }
    }
    return out;
}

QByteArray rgbCommand(const Color &color)
{
    const auto rgb = rgbOf(color);
    return num(rgb[0]) + " " + num(rgb[1]) + " " + num(rgb[2]) + " rgb\n";
}

// Fills the current path, keeping it for a stroke after.
QByteArray fillCommands(const Color &color, bool evenOdd = false)
{
    return "gsave\n" + rgbCommand(color) + (evenOdd ? "eofill\ngrestore\n" : "fill\ngrestore\n");
}

QByteArray strokeCommands(float width, const Color &color, int cap = 0, int join = 0)
{
    return num(width) + " lw\n" + QByteArray::number(cap) + " lc\n" + QByteArray::number(join) + " lj\n"
        + rgbCommand(color) + "stroke\n";
}

QByteArray pathCommands(const VekObject &object, const EpsPage &page)
{
    QByteArray out = pathData(object.bezierPath(), page);
    if (object.drawsFill())
        out += fillCommands(object.fillColor(), object.fillRule() == 1);
    if (object.drawsStroke())
        out += strokeCommands(object.lineWidth(), object.strokeColor(), object.capStyle(), object.joinStyle());
    return out;
}

// Laid-out text piece by piece, each at its baseline.
QByteArray placedTextCommands(const AttributedString &text, const std::vector<PlacedText> &pieces, const EpsPage &page)
{
    QByteArray out;
    for (const PlacedText &piece : pieces) {
        QString characters = text.string().mid(piece.characters.location, piece.characters.length);
        characters.remove(QRegularExpression(QStringLiteral("[\\n\\r\\x{2028}\\x{2029}]")));
        characters.replace(QLatin1Char('\t'), QLatin1Char(' '));
        if (characters.isEmpty())
            continue;
        bool japanese = false;
        out += SimpleEps::runSetup(text.attributesAt(piece.characters.location), &japanese);
        out += SimpleEps::showLine(piece.baseline.x - page.ax, page.height - piece.baseline.y + page.ay, characters,
                                   japanese);
    }
    return out;
}

// The baseline of a text whose first line's top is at y: lower by its first font's ascent.
float baselineBelow(const AttributedString &text, float y)
{
    const TextAttributes &first = text.attributesAt(0);
    return y + fontMetrics(first.font.value_or(Font{QStringLiteral("Helvetica"), 12})).ascender;
}

QByteArray textAtTopLeft(const AttributedString &text, Point topLeft, const EpsPage &page)
{
    if (text.length() == 0)
        return {};
    return SimpleEps::textCommands(text, topLeft.x - page.ax, page.height - baselineBelow(text, topLeft.y) + page.ay);
}

// A page-number or date field on every page it shows on, with that page's value.
QByteArray fieldCommands(VekDocument &document, VekObjFormat &field, const EpsPage &page)
{
    QByteArray out;
    for (int number = 1; number <= document.numberOfPages(); ++number) {
        const Rect pageRect = ::pageRect(document, number);
        if (!field.shouldDrawOnPage(number, pageRect))
            continue;
        const Rect place = field.placeOnPage(number, pageRect);
        if (!(place == Rect()))
            out += textAtTopLeft(field.valueOnPage(number, false), place.origin, page);
    }
    return out;
}

// A table as it draws itself: the fill under the grid, the cells' colours and wrapped
// texts, the grid with its outer border, the borders set on columns and rows, the outline.
QByteArray tableCommands(const VekObjGrid &table, const EpsPage &page)
{
    QByteArray out;
    const auto [grid, borders] = table.linesInRect(table.bounds());
    if (!grid.isEmpty() && table.drawsFill())
        out += pathData(BezierPath::bezierPathWithRect(grid.bounds()), page) + fillCommands(table.fillColor());
    for (const VekObjGrid::DrawnCell &cell : table.drawnCells()) {
        if (cell.color)
            out += pathData(BezierPath::bezierPathWithRect(cell.frame), page) + fillCommands(*cell.color);
        if (cell.text)
            out += placedTextCommands(*cell.text, VekObjGrid::placedCellText(*cell.text, cell.frame), page);
    }
    // The grid is one point wide, as in PDF and print.
    if (!grid.isEmpty())
        out += pathData(grid, page) + strokeCommands(1, table.gridColor());
    if (!borders.isEmpty())
        out += pathData(borders, page) + strokeCommands(VekObjGrid::BorderLineWidth, table.gridColor());
    if (table.drawsStroke())
        out += pathData(BezierPath::bezierPathWithRect(table.bounds()), page)
            + strokeCommands(table.lineWidth(), table.strokeColor());
    return out;
}

} // namespace

bool savePathsAsEps(VekDocument &document, const QString &path, const Rect &area,
                    const std::vector<std::shared_ptr<VekObject>> &objects, QString *error)
{
    if (objects.empty() || path.isEmpty())
        return false;
    EpsPage page;
    Rect bounds = area;
    if (area.isEmpty()) {
        const Size size = document.drawAreaSizePerPage();
        bounds = Rect(0, 0, size.width, size.height * float(document.numberOfPages()));
    } else {
        page.ax = area.origin.x;
        page.ay = area.origin.y;
    }
    page.height = std::ceil(bounds.height());
    QByteArray eps = header(bounds.width(), page.height);
    for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
        if (auto box = std::dynamic_pointer_cast<VekObjText>(*it); box && box->contents().length() > 0)
            eps += placedTextCommands(box->contents().text(), box->placedText(), page);
        else if (auto field = std::dynamic_pointer_cast<VekObjFormat>(*it))
            eps += fieldCommands(document, *field, page);
        else if (auto table = std::dynamic_pointer_cast<VekObjGrid>(*it))
            eps += tableCommands(*table, page);
        else if ((*it)->hasEditablePath())
            eps += pathCommands(**it, page);
    }
    eps += "%%EOF\n";
    return writeWholeFile(path, eps, error) && QFile::exists(path);
}

bool saveAsEps(VekDocument &document, const QString &path, const ExportSelection &selection, QString *error)
{
    const QString gs = QStandardPaths::findExecutable(QStringLiteral("gs"));
    if (gs.isEmpty())
        return failWith(error, QStringLiteral("EPS needs Ghostscript (the program \"gs\"), which is not installed."));
    ExportSelection area = selection;
    if (area.area.isEmpty()) {
        const Size size = document.drawAreaSizePerPage();
        area.area = Rect(0, 0, size.width, size.height * float(document.numberOfPages()));
    }
    const QByteArray pdf = areaAsPDF(document, area, error);
    if (pdf.isEmpty())
        return false;
    QTemporaryDir work;
    QFile input(work.filePath(QStringLiteral("area.pdf")));
    if (!work.isValid() || !input.open(QIODevice::WriteOnly) || input.write(pdf) != pdf.size())
        return failWith(error, QStringLiteral("The temporary file for Ghostscript cannot be written."));
    input.close();
    const QString output = work.filePath(QStringLiteral("area.eps"));
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(gs, {QStringLiteral("-dBATCH"), QStringLiteral("-dNOPAUSE"), QStringLiteral("-dSAFER"),
                       QStringLiteral("-dQUIET"), QStringLiteral("-sDEVICE=eps2write"),
                       QStringLiteral("-sOutputFile=%1").arg(output), input.fileName()});
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return failWith(error, QStringLiteral("Ghostscript could not make EPS: %1")
                                   .arg(QString::fromLocal8Bit(process.readAll()).trimmed()));
    QFile result(output);
    if (!result.open(QIODevice::ReadOnly))
        return failWith(error, QStringLiteral("Ghostscript wrote no EPS."));
    return writeWholeFile(path, result.readAll(), error);
}
