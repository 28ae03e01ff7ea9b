// Recorded drawing as an SVG document.
#include "platform/graphics/svg_writer.h"

#include "platform/graphics/recording_paint_device.h"

#include <QBuffer>
#include <QGradient>
#include <QRawFont>
#include <QRegularExpression>

#include <cmath>

namespace {

// Numbers to a thousandth, without trailing zeros or exponents (SVG's number syntax).
QByteArray number(qreal value)
{
    if (!std::isfinite(value))
        return "0";
    QByteArray text = QByteArray::number(std::round(value * 1000) / 1000, 'f', 3);
    while (text.endsWith('0'))
        text.chop(1);
    if (text.endsWith('.'))
        text.chop(1);
    return text == "-0" ? QByteArray("0") : text;
}

QByteArray hexColor(const QColor &color)
{
    return color.toRgb().name(QColor::HexRgb).toLatin1();
}

QByteArray matrix(const QTransform &t)
{
    return "matrix(" + number(t.m11()) + ' ' + number(t.m12()) + ' ' + number(t.m21()) + ' ' + number(t.m22()) + ' '
         + number(t.dx()) + ' ' + number(t.dy()) + ')';
}

QByteArray pathData(const QPainterPath &path)
{
    QByteArray d;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            d += 'M' + number(e.x) + ' ' + number(e.y);
            break;
        case QPainterPath::LineToElement:
            d += 'L' + number(e.x) + ' ' + number(e.y);
            break;
        case QPainterPath::CurveToElement: {
            const QPainterPath::Element c2 = path.elementAt(i + 1), end = path.elementAt(i + 2);
            d += 'C' + number(e.x) + ' ' + number(e.y) + ' ' + number(c2.x) + ' ' + number(c2.y) + ' ' + number(end.x)
               + ' ' + number(end.y);
            i += 2;
            break;
        }
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
    return d;
}

// "Nimbus Sans [UKWN]" is Qt's name for a family of one foundry among several: other
// programs know the family by its own name.
QString familyWithoutFoundry(QString family)
{
    static const QRegularExpression foundry(QStringLiteral("\\s*\\[[^\\]]*\\]$"));
    return family.remove(foundry);
}

QByteArray escaped(const QString &text)
{
    return text.toHtmlEscaped().replace(u'"', QStringLiteral("&quot;")).toUtf8();
}

QByteArray pngData(const QImage &image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return "data:image/png;base64," + png.toBase64();
}

class SvgBuilder {
public:
    SvgBuilder(QSizeF size, bool textAsText) : m_size(size), m_textAsText(textAsText) {}

    // A fill followed by the stroke of the same outline (as objects draw) becomes one
    // element, which an editor reads as one shape.
    static bool strokesFillOf(const RecordedDraw &fill, const RecordedDraw &stroke)
    {
        return fill.kind == RecordedDraw::Kind::Path && stroke.kind == RecordedDraw::Kind::Path
            && fill.pen.style() == Qt::NoPen && stroke.brush.style() == Qt::NoBrush && fill.path == stroke.path
            && fill.transform == stroke.transform && fill.opacity == stroke.opacity
            && fill.clipped == stroke.clipped && (!fill.clipped || fill.clip == stroke.clip);
    }

    void addFilledAndStroked(const RecordedDraw &fill, const RecordedDraw &stroke)
    {
        setClip(fill);
        addPath(fill.path, fill.brush, stroke.pen, fill);
    }

    void add(const RecordedDraw &draw)
    {
        setClip(draw);
        switch (draw.kind) {
        case RecordedDraw::Kind::Path:
            addPath(draw.path, draw.brush, draw.pen, draw);
            break;
        case RecordedDraw::Kind::Image:
            addImage(draw);
            break;
        case RecordedDraw::Kind::Text: {
            if (!draw.link.isEmpty())
                m_body += "<a xlink:href=\"" + escaped(draw.link) + "\">\n";
            if (!m_textAsText || !addText(draw)) {
                // Text runs as their outlines, filled with the pen's brush as the painter fills them.
                QPainterPath outline = draw.path;
                if (outline.isEmpty() && !draw.text.isEmpty())
                    outline.addText(draw.position, draw.font, draw.text);
                addPath(outline, draw.pen.brush(), Qt::NoPen, draw);
            }
            if (!draw.link.isEmpty())
                m_body += "</a>\n";
            break;
        }
        }
    }

    QByteArray finish()
    {
        closeClip();
        // A user unit is a point, as the SVG import reads it, so that a drawing comes back at
        // its size; renderers draw it at one pixel a point.
        const QByteArray w = number(m_size.width()), h = number(m_size.height());
        QByteArray svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                         "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
                         "version=\"1.1\" width=\""
                       + w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + ' ' + h + "\">\n";
        if (!m_defs.isEmpty())
            svg += "<defs>\n" + m_defs + "</defs>\n";
        return svg + m_body + "</svg>\n";
    }

private:
    QByteArray newId(const char *prefix) { return prefix + QByteArray::number(++m_ids); }

    // Consecutive draws under the same clip share one group that carries it.
    void setClip(const RecordedDraw &draw)
    {
        const bool clipped = draw.clipped && !draw.clip.isEmpty();
        if (clipped == m_inClip && (!clipped || draw.clip == m_clip))
            return;
        closeClip();
        if (!clipped)
            return;
        const QByteArray id = newId("clip");
        m_defs += "<clipPath id=\"" + id + "\"><path d=\"" + pathData(draw.clip) + "\" clip-rule=\""
                + (draw.clip.fillRule() == Qt::WindingFill ? "nonzero" : "evenodd") + "\"/></clipPath>\n";
        m_body += "<g clip-path=\"url(#" + id + ")\">\n";
        m_inClip = true;
        m_clip = draw.clip;
    }

    void closeClip()
    {
        if (m_inClip)
            m_body += "</g>\n";
        m_inClip = false;
        m_clip = QPainterPath();
    }

    // The paint of a brush: a colour, a gradient or an image pattern defined once here.
    // Returns the paint and multiplies *opacity by the colour's alpha.
    QByteArray paintFor(const QBrush &brush, qreal *opacity)
    {
        switch (brush.style()) {
        case Qt::LinearGradientPattern:
        case Qt::RadialGradientPattern:
            return "url(#" + gradient(brush) + ')';
        case Qt::TexturePattern:
            return "url(#" + texture(brush) + ')';
        default:
            *opacity *= brush.color().alphaF();
            return hexColor(brush.color());
        }
    }

    QByteArray gradient(const QBrush &brush)
    {
        const QGradient &g = *brush.gradient();
        const QByteArray id = newId("paint");
        QByteArray element;
        if (g.type() == QGradient::LinearGradient) {
            const auto &linear = static_cast<const QLinearGradient &>(g);
            element = "<linearGradient id=\"" + id + "\" x1=\"" + number(linear.start().x()) + "\" y1=\""
                    + number(linear.start().y()) + "\" x2=\"" + number(linear.finalStop().x()) + "\" y2=\""
                    + number(linear.finalStop().y()) + '"';
        } else {
            const auto &radial = static_cast<const QRadialGradient &>(g);
            element = "<radialGradient id=\"" + id + "\" cx=\"" + number(radial.center().x()) + "\" cy=\""
                    + number(radial.center().y()) + "\" r=\"" + number(radial.radius()) + "\" fx=\""
                    + number(radial.focalPoint().x()) + "\" fy=\"" + number(radial.focalPoint().y()) + '"';
        }
        element += g.coordinateMode() == QGradient::ObjectBoundingMode || g.coordinateMode() == QGradient::ObjectMode
                     ? " gradientUnits=\"objectBoundingBox\""
                     : " gradientUnits=\"userSpaceOnUse\"";
        if (!brush.transform().isIdentity())
            element += " gradientTransform=\"" + matrix(brush.transform()) + '"';
        if (g.spread() == QGradient::ReflectSpread)
            element += " spreadMethod=\"reflect\"";
        else if (g.spread() == QGradient::RepeatSpread)
            element += " spreadMethod=\"repeat\"";
        element += '>';
        for (const QGradientStop &stop : g.stops())
            element += "<stop offset=\"" + number(stop.first) + "\" stop-color=\"" + hexColor(stop.second)
                     + "\" stop-opacity=\"" + number(stop.second.alphaF()) + "\"/>";
        m_defs += element + (g.type() == QGradient::LinearGradient ? "</linearGradient>\n" : "</radialGradient>\n");
        return id;
    }

    // A texture tiles from the brush origin (the user-space origin) under the brush's transform.
    QByteArray texture(const QBrush &brush)
    {
        const QImage image = brush.textureImage();
        const QByteArray id = newId("paint");
        const QByteArray w = number(image.width()), h = number(image.height());
        m_defs += "<pattern id=\"" + id + "\" patternUnits=\"userSpaceOnUse\" width=\"" + w + "\" height=\"" + h + '"'
                + (brush.transform().isIdentity() ? QByteArray() : " patternTransform=\"" + matrix(brush.transform()) + '"')
                + "><image width=\"" + w + "\" height=\"" + h + "\" xlink:href=\"" + pngData(image) + "\"/></pattern>\n";
        return id;
    }

    void addPath(const QPainterPath &path, const QBrush &brush, const QPen &pen, const RecordedDraw &draw)
    {
        const bool fills = brush.style() != Qt::NoBrush;
        const bool strokes = pen.style() != Qt::NoPen && pen.brush().style() != Qt::NoBrush;
        if (path.isEmpty() || (!fills && !strokes))
            return;
        QByteArray element = "<path d=\"" + pathData(path) + '"';
        if (!draw.transform.isIdentity())
            element += " transform=\"" + matrix(draw.transform) + '"';
        if (fills) {
            qreal opacity = draw.opacity;
            element += " fill=\"" + paintFor(brush, &opacity) + '"';
            if (opacity < 1)
                element += " fill-opacity=\"" + number(opacity) + '"';
            if (path.fillRule() == Qt::OddEvenFill)
                element += " fill-rule=\"evenodd\"";
        } else {
            element += " fill=\"none\"";
        }
        if (strokes)
            element += strokeAttributes(pen, draw.opacity);
        m_body += element + "/>\n";
    }

    QByteArray strokeAttributes(const QPen &pen, qreal opacity)
    {
        QByteArray a = " stroke=\"" + paintFor(pen.brush(), &opacity) + '"';
        if (opacity < 1)
            a += " stroke-opacity=\"" + number(opacity) + '"';
        // A cosmetic pen keeps its width in device units whatever the transform; width 0 is one unit.
        const qreal width = pen.widthF() > 0 ? pen.widthF() : 1;
        a += " stroke-width=\"" + number(width) + '"';
        if (pen.isCosmetic())
            a += " vector-effect=\"non-scaling-stroke\"";
        if (pen.capStyle() == Qt::RoundCap)
            a += " stroke-linecap=\"round\"";
        else if (pen.capStyle() == Qt::SquareCap)
            a += " stroke-linecap=\"square\"";
        if (pen.joinStyle() == Qt::RoundJoin)
            a += " stroke-linejoin=\"round\"";
        else if (pen.joinStyle() == Qt::BevelJoin)
            a += " stroke-linejoin=\"bevel\"";
        else if (pen.miterLimit() != 4)
            a += " stroke-miterlimit=\"" + number(std::max<qreal>(pen.miterLimit(), 1)) + '"';
        if (pen.style() != Qt::SolidLine) {
            // Qt's dashes are in units of the pen's width; SVG's in user units.
            QByteArray dashes;
            for (const qreal dash : pen.dashPattern())
                dashes += (dashes.isEmpty() ? "" : " ") + number(dash * width);
            if (!dashes.isEmpty())
                a += " stroke-dasharray=\"" + dashes + '"';
            if (pen.dashOffset() != 0)
                a += " stroke-dashoffset=\"" + number(pen.dashOffset() * width) + '"';
        }
        return a;
    }

    // A glyph run whose characters are known, one glyph each, as a text element with every
    // character at its glyph's position in the run's font. False for anything else.
    bool addText(const RecordedDraw &draw)
    {
        const QList<QPointF> positions = draw.glyphs.positions();
        const QString &characters = draw.characters;
        if (characters.isEmpty() || characters.size() != positions.size())
            return false;
        QByteArray xs, ys, content;
        for (qsizetype i = 0; i < characters.size(); ++i) {
            const QChar c = characters[i];
            if (c.isSurrogate() || c.unicode() < 0x20 || c.category() == QChar::Other_Format)
                return false;
            xs += (i ? " " : "") + number(positions[i].x());
            ys += (i ? " " : "") + number(positions[i].y());
            content += c == u'&' ? QByteArray("&amp;") : c == u'<' ? QByteArray("&lt;") : c == u'>' ? QByteArray("&gt;")
                                                                                             : QString(c).toUtf8();
        }
        const QRawFont font = draw.glyphs.rawFont();
        qreal opacity = draw.opacity;
        QByteArray element = "<text xml:space=\"preserve\" x=\"" + xs + "\" y=\"" + ys + '"';
        if (!draw.transform.isIdentity())
            element += " transform=\"" + matrix(draw.transform) + '"';
        element += " font-family=\"" + escaped(familyWithoutFoundry(font.familyName())) + "\" font-size=\"" + number(font.pixelSize()) + '"';
        if (font.weight() != QFont::Normal)
            element += " font-weight=\"" + QByteArray::number(font.weight()) + '"';
        if (font.style() == QFont::StyleItalic)
            element += " font-style=\"italic\"";
        else if (font.style() == QFont::StyleOblique)
            element += " font-style=\"oblique\"";
        element += " fill=\"" + paintFor(draw.pen.brush(), &opacity) + '"';
        if (opacity < 1)
            element += " fill-opacity=\"" + number(opacity) + '"';
        m_body += element + '>' + content + "</text>\n";
        return true;
    }

    void addImage(const RecordedDraw &draw)
    {
        const QRect source = draw.source.isEmpty() ? draw.image.rect() : draw.source.toAlignedRect();
        const QImage part = source == draw.image.rect() ? draw.image : draw.image.copy(source);
        if (part.isNull() || draw.target.isEmpty())
            return;
        QByteArray element = "<image x=\"" + number(draw.target.x()) + "\" y=\"" + number(draw.target.y())
                           + "\" width=\"" + number(draw.target.width()) + "\" height=\""
                           + number(draw.target.height()) + "\" preserveAspectRatio=\"none\"";
        if (!draw.transform.isIdentity())
            element += " transform=\"" + matrix(draw.transform) + '"';
        if (draw.opacity < 1)
            element += " opacity=\"" + number(draw.opacity) + '"';
        if (!draw.hints.testFlag(QPainter::SmoothPixmapTransform))
            element += " image-rendering=\"optimizeSpeed\"";
        m_body += element + " xlink:href=\"" + pngData(part) + "\"/>\n";
    }

    QSizeF m_size;
    bool m_textAsText;
    QByteArray m_defs;
    QByteArray m_body;
    int m_ids = 0;
    bool m_inClip = false;
    QPainterPath m_clip;
};

}  // namespace

QByteArray svgDocumentFromDraws(const std::vector<RecordedDraw> &draws, QSizeF size, bool textAsText)
{
    SvgBuilder builder(size, textAsText);
    for (size_t i = 0; i < draws.size(); ++i) {
        if (i + 1 < draws.size() && SvgBuilder::strokesFillOf(draws[i], draws[i + 1])) {
            builder.addFilledAndStroked(draws[i], draws[i + 1]);
            ++i;
        } else
            builder.add(draws[i]);
    }
    return builder.finish();
}
