// VekDocument: the drawing objects of an imported SVG file, and the page fitted to them.
#include "document/vek_document.h"

#include "model/gradient/vek_gradient_view.h"
#include "model/services/canvas_services.h"
#include "model/vek_obj_image.h"
#include "model/vek_obj_path.h"
#include "model/vek_obj_text.h"
#include "platform/text/text_drawing.h"
#include "platform/foundation/archiving.h"
#include "svg/svg_definitions.h"
#include "svg/svg_import.h"
#include "svg/svg_scanner.h"

#include <QFile>
#include <QFileInfo>

#include <zlib.h>

#include <cmath>

namespace {

// A scale of 0 counts as 1.
double usableScale(double scale) { return scale == 0 ? 1 : scale; }

// The gradient of a paint server as the object stores it: colours and the shares of the
// segments between neighbouring stops. Stops that do not begin at 0 or end at 1 get the
// first and last colour repeated at the ends, so the colours stay where the file put them.
void applyGradient(VekObject &object, const SvgDefinition &server, float fillOpacity)
{
    std::vector<Color> colors;
    std::vector<float> positions;
    for (const SvgStop &stop : server.stops) {
        const float alpha = stop.opacity * fillOpacity;
        colors.push_back(alpha < 1 ? stop.color.colorWithAlphaComponent(stop.color.alphaComponent() * alpha) : stop.color);
        positions.push_back(stop.offset);
    }
    if (colors.size() < 2) {
        object.setGradientType(GradientNone, false);
        return;
    }
    if (positions.front() > 0) {
        colors.insert(colors.begin(), colors.front());
        positions.insert(positions.begin(), 0);
    }
    if (positions.back() < 1) {
        colors.push_back(colors.back());
        positions.push_back(1);
    }
    PropertyList archived = PropertyList::array(), shares = PropertyList::array();
    for (const Color &color : colors)
        if (const auto data = archivedDataWithRootObject(color))
            archived.append(PropertyList::fromData(*data.value));
    for (size_t i = 1; i < positions.size(); ++i)
        shares.append(PropertyList::fromFloat(positions[i] - positions[i - 1]));
    object.setGradientColorsAndColorRects(archived, shares);
}

Color withOpacity(const Color &color, float opacity)
{
    return opacity < 1 ? color.colorWithAlphaComponent(color.alphaComponent() * std::max(0.0f, opacity)) : color;
}

std::shared_ptr<VekObject> pathObject(const SvgObjectInfo &info)
{
    const SvgGraphicsState &s = info.state;
    auto object = VekObjPath::create();
    const Rect bounds = info.bezierPath.bounds();
    if (bounds.size.width > 0 || bounds.size.height > 0)
        object->setBounds(bounds);
    object->setBezierPath(info.bezierPath);
    const double scale = 0.5 * (std::abs(usableScale(s.scaleX)) + std::abs(usableScale(s.scaleY)));
    object->setObjLineWidth(float(s.strokeWidth * scale));
    object->setCapStyle(s.lineCap);
    object->setJoinStyle(s.lineJoin);
    object->setObjFillRule(s.fillRule);
    if (s.skewX != 0)
        object->setSkewX(float(s.skewX), false);
    if (s.skewY != 0)
        object->setSkewY(float(s.skewY), false);
    // The stroke and fill opacities apply to the colours (the object has one alpha each).
    if (s.strokeColor.color)
        object->setObjStrokeColor(withOpacity(*s.strokeColor.color, s.strokeOpacity));
    if (s.fillColor.color) {
        object->setFillColor(withOpacity(*s.fillColor.color, s.fillOpacity));
    } else if (s.fillColor.server) {
        object->setDrawsFill(true);
        const SvgDefinition &server = *s.fillColor.server;
        if (server.gradientClass == u"SVGLinearGradient" || server.gradientClass == u"SVGRadialGradient") {
            // An SVG radial gradient is concentric circles: the circular kind, not the radial (rays) one.
            object->setGradientType(server.gradientClass == u"SVGLinearGradient" ? GradientLinear : GradientCircular, false);
            applyGradient(*object, server, s.fillOpacity);
        }
    }
    // Dashes in user units, scaled like the line width.
    if (!s.dashArray.empty()) {
        PropertyList pattern = PropertyList::array();
        for (float dash : s.dashArray)
            pattern.append(PropertyList::fromFloat(float(dash * scale)));
        PropertyList dashInfo = PropertyList::dictionary();
        dashInfo.insert(QStringLiteral("pattern"), pattern);
        dashInfo.insert(QStringLiteral("phase"), PropertyList::fromFloat(s.dashOffset));
        object->setDashInfo(dashInfo);
    }
    return object;
}

QStringList positionList(const std::optional<QString> &text)
{
    return text ? text->split(u' ', Qt::SkipEmptyParts) : QStringList();
}

float listValue(const QStringList &list, qsizetype k) { return float(svgLeadingDouble(list.at(k))); }

std::shared_ptr<VekObjText> textObject(const AttributedString &text, const Rect &bounds)
{
    auto object = VekObjText::create();
    object->setContents(text);
    object->setBounds(bounds);
    object->setToNaturalSize();
    return object;
}

// The text objects of a text run: one object, or one per glyph when the run places its
// glyphs one by one. The accumulated rotation is in radians; objects turn in degrees.
std::vector<std::shared_ptr<VekObject>> textObjects(const SvgObjectInfo &info)
{
    std::vector<std::shared_ptr<VekObject>> objects;
    const SvgTextRun &run = *info.text;
    if (run.string.isEmpty())
        return objects;
    const AttributedString text(run.string, run.attributes);
    const double rotate = info.state.rotate * 180 / M_PI;
    const Point t = run.textTranslate;
    const QStringList xs = positionList(run.textXPositionString), ys = positionList(run.textYPositionString);
    const QStringList rotations = positionList(run.textRotationString);
    if ((xs.size() > 1 || ys.size() > 1) && !xs.isEmpty() && !ys.isEmpty()) {
        const Size whole = attributedStringSize(text);
        float x = t.x, y = t.y - whole.height;
        const qsizetype count = std::min<qsizetype>(text.length(), std::max(xs.size(), ys.size()));
        for (qsizetype k = 0; k < count; ++k) {
            const AttributedString glyph = text.substring(TextRange{int(k), 1});
            const Size size = attributedStringSize(glyph);
            if (k < xs.size())
                x = t.x + listValue(xs, k);
            if (k < ys.size())
                y = t.y + listValue(ys, k);
            auto object = textObject(glyph, Rect(x, y, size.width + 12.0f, size.height));
            // Glyphs beyond the rotation list keep the run's own rotation.
            const double angle = k < rotations.size() ? listValue(rotations, k) : rotate;
            if (angle != 0)
                object->setRotation(float(angle), Point(x + size.width * 0.5f, y + size.height * 0.5f), false);
            objects.push_back(object);
        }
        return objects;
    }
    const Size size = attributedStringSize(text);
    float x = xs.size() == 1 ? listValue(xs, 0) : t.x;
    const float y = ys.size() == 1 ? listValue(ys, 0) : t.y;
    if (info.state.writingDirection == 1)
        x -= size.width;
    auto object = textObject(text, Rect(x, y, size.width + 12.0f, size.height));
    const Rect b = object->bounds();
    if (rotate != 0)
        object->setRotation(float(rotate), Point(b.origin.x + b.size.width / 2, b.origin.y + b.size.height / 2), false);
    if (info.state.skewX != 0)
        object->setSkewX(float(info.state.skewX), false);
    if (info.state.skewY != 0)
        object->setSkewY(float(info.state.skewY), false);
    objects.push_back(object);
    return objects;
}

// The bytes of an SVG file, unpacked when gzip-compressed (.svgz); nothing beyond the size
// limit, unpacked or not.
std::optional<QByteArray> svgFileData(const QString &path, QString *error)
{
    const QFileInfo info(path);
    if (!info.isFile()) {
        *error = QStringLiteral("The file does not exist.");
        return std::nullopt;
    }
    if (info.size() > SvgMaximumFileSize) {
        *error = QStringLiteral("The file is too large.");
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("The file cannot be read.");
        return std::nullopt;
    }
    QByteArray data = file.readAll();
    if (data.size() < 2 || uchar(data[0]) != 0x1f || uchar(data[1]) != 0x8b)
        return data;
    z_stream stream{};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) {
        *error = QStringLiteral("The file cannot be read.");
        return std::nullopt;
    }
    QByteArray out;
    char buffer[65536];
    stream.next_in = reinterpret_cast<Bytef *>(data.data());
    stream.avail_in = uInt(data.size());
    int status = Z_OK;
    while (status == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef *>(buffer);
        stream.avail_out = sizeof buffer;
        status = inflate(&stream, Z_NO_FLUSH);
        out.append(buffer, qsizetype(sizeof buffer - stream.avail_out));
        if (out.size() > SvgMaximumFileSize)
            status = Z_MEM_ERROR;
    }
    inflateEnd(&stream);
    if (status != Z_STREAM_END) {
        *error = QStringLiteral("The compressed file is damaged or too large.");
        return std::nullopt;
    }
    return out;
}

} // namespace

std::unique_ptr<VekDocument> VekDocument::documentFromSVGFile(const QString &path, QString *error)
{
    QString ignored;
    QString &reason = error ? *error : ignored;
    const auto data = svgFileData(path, &reason);
    if (!data)
        return nullptr;
    const SvgXmlDocument xml = MakeXMLDocumentWithData(*data);
    if (!xml) {
        reason = QStringLiteral("The file is not a readable SVG file.");
        return nullptr;
    }
    const auto properties = GetPropertyListFromXMLDocument(xml.get(), QFileInfo(path).absoluteFilePath());
    auto document = std::make_unique<VekDocument>();
    if (!properties || !document->setsvgproperties(*properties)) {
        reason = QStringLiteral("The SVG file holds nothing that can be drawn.");
        return nullptr;
    }
    return document;
}

bool VekDocument::setsvgproperties(const SvgImportPropertyList &properties)
{
    if (properties.objectInfos.empty())
        return false;
    Rect united;
    bool unitedEmpty = true;
    auto unite = [&](const Rect &r) {
        if (unitedEmpty) {
            united = r;
            unitedEmpty = false;
            return;
        }
        const float minX = std::min(united.origin.x, r.origin.x), minY = std::min(united.origin.y, r.origin.y);
        const float maxX = std::max(united.maxX(), r.maxX()), maxY = std::max(united.maxY(), r.maxY());
        united = Rect(minX, minY, maxX - minX, maxY - minY);
    };
    std::vector<std::shared_ptr<VekObject>> made;
    for (const SvgObjectInfo &info : properties.objectInfos) {
        std::shared_ptr<VekObject> object;
        if (info.classNr == SvgPathObject && !info.bezierPath.isEmpty()) {
            object = pathObject(info);
        } else if (info.classNr == SvgImageObject && info.image.isValid() && info.imageFrame.size.width > 0
                   && info.imageFrame.size.height > 0) {
            auto image = VekObjImage::create();
            image->setBounds(info.imageFrame);
            image->setImage(info.image);
            object = image;
        }
        if (info.classNr == SvgTextObject && info.text) {
            // Text objects do not count towards the area fitted onto the page.
            for (auto &text : textObjects(info))
                made.push_back(std::move(text));
            continue;
        }
        if (!object)
            continue;
        unite(object->bounds());
        made.push_back(std::move(object));
    }
    // Each object goes in front of the ones before it (index 0 is the front): appending the
    // objects last to first gives that order without moving the list on every insertion.
    for (auto it = made.rbegin(); it != made.rend(); ++it)
        insertObject(*it, int(_objects.size()), false);
    if (_objects.empty())
        return false;

    Size page = drawAreaSizePerPage();
    const double sx = usableScale(properties.svgScaleX.value_or(1)), sy = usableScale(properties.svgScaleY.value_or(1));
    if (properties.svgViewBox) {
        Rect r = *properties.svgViewBox;
        if (std::abs(sx) != 1)
            r.size.width *= float(sx);
        if (std::abs(sy) != 1)
            r.size.height *= float(sy);
        if (r.size.width > 0 && r.size.height > 0 && r.size != page) {
            setDrawAreaSizePerPage(r.size);
            page = drawAreaSizePerPage();
        }
    }
    const float fx = page.width < united.size.width ? page.width / united.size.width : 1;
    const float fy = page.height < united.size.height ? page.height / united.size.height : 1;
    if (fx != 1 || fy != 1) {
        const float f = std::min(fx, fy);
        scaleObjectsByX(f, f);
        united = boundsForObjects(_objects);
    }
    auto shift = [](float origin, float extent, float limit) -> float {
        if (origin + extent <= limit || origin <= 0)
            return 0;
        const float over = origin + extent - limit;
        return origin <= over ? -origin : -over;
    };
    const float dx = shift(united.origin.x, united.size.width, page.width);
    const float dy = shift(united.origin.y, united.size.height, page.height);
    if (dx != 0 || dy != 0)
        for (const auto &object : _objects)
            object->moveBy(dx, dy);
    if (_vekView)
        _vekView->setNeedsDisplayInRect(_vekView->bounds());
    // The import is the document's starting point, not an edit.
    _undo.removeAllActions();
    documentWasSaved();
    return true;
}

void VekDocument::scaleObjectsByX(float sx, float sy)
{
    if (_objects.empty())
        return;
    const Rect all = boundsForObjects(_objects);
    const Point c(all.origin.x + all.size.width / 2, all.origin.y + all.size.height / 2);
    for (const auto &object : _objects) {
        const Rect b = object->bounds();
        object->setBounds(Rect(c.x - (c.x - b.origin.x) * sx, c.y - (c.y - b.origin.y) * sy, b.size.width * sx,
                               b.size.height * sy));
    }
}
