// VekDocument: the drawing objects of an imported SVG file, and the page fitted to them.
#include "document/vek_document.h"

#include "model/gradient/vek_gradient_view.h"
#include "model/services/canvas_services.h"
#include "model/vek_obj_image.h"
#include "model/vek_obj_path.h"
#include "model/vek_obj_text.h"
#include "platform/text/layout_manager.h"
#include "platform/text/text_container.h"
#include "platform/text/text_drawing.h"
#include "platform/foundation/archiving.h"
#include "platform/foundation/c_locale.h"
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
    const float opacity = s.effectiveOpacity();
    if (s.strokeColor.color)
        object->setObjStrokeColor(withOpacity(*s.strokeColor.color, s.strokeOpacity * opacity));
    if (s.fillColor.color) {
        object->setFillColor(withOpacity(*s.fillColor.color, s.fillOpacity * opacity));
    } else if (s.fillColor.server) {
        object->setDrawsFill(true);
        const SvgDefinition &server = *s.fillColor.server;
        if (server.gradientClass == u"SVGLinearGradient" || server.gradientClass == u"SVGRadialGradient") {
            // An SVG radial gradient is concentric circles: the circular kind, not the radial (rays) one.
            object->setGradientType(server.gradientClass == u"SVGLinearGradient" ? GradientLinear : GradientCircular, false);
            applyGradient(*object, server, s.fillOpacity * opacity);
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

// An invisible path that clips the object directly in front of it.
std::shared_ptr<VekObject> clipObject(const SvgClip &clip)
{
    auto object = VekObjPath::create();
    const Rect bounds = clip.path.bounds();
    if (bounds.size.width > 0 || bounds.size.height > 0)
        object->setBounds(bounds);
    object->setBezierPath(clip.path);
    object->setObjFillRule(clip.rule);
    object->setDrawsFill(false);
    object->setObjStrokeColor(Color::colorWithCalibratedRed(0, 0, 0, 0));
    object->simplySetAsClip(1, nullptr);
    return object;
}

QStringList positionList(const std::optional<QString> &text)
{
    return text ? text->split(u' ', Qt::SkipEmptyParts) : QStringList();
}

float listValue(const QStringList &list, qsizetype k) { return float(svgLeadingDouble(list.at(k))); }

// Where the box draws its first glyph on the baseline, relative to the box's origin.
Point firstGlyphOrigin(const VekObjText &object)
{
    LayoutManager layout;
    TextContainer container(object.bounds().size);
    container.setLineFragmentPadding(object.tcPadding());
    layout.addTextContainer(&container);
    layout.setAttributedString(object.contents().text());
    const std::vector<LineFragment> &lines = layout.lineFragments();
    if (lines.empty())
        return Point();
    const Point location = layout.locationForGlyphAtIndex(0);
    return Point(lines.front().rect.origin.x + location.x, lines.front().rect.origin.y + location.y);
}

// A text box of the text whose first glyph sits on `origin` (a point on the baseline),
// turned by `degrees` about that point.
std::shared_ptr<VekObjText> textObjectAt(const AttributedString &text, Point origin, double degrees)
{
    auto object = VekObjText::create();
    object->setContents(text);
    const Size size = attributedStringSize(text);
    object->setBounds(Rect(origin.x, origin.y, size.width + 12.0f, size.height));
    object->setToNaturalSize();
    const Point glyph = firstGlyphOrigin(*object);
    Rect b = object->bounds();
    b.origin = Point(origin.x - glyph.x, origin.y - glyph.y);
    object->setBounds(b);
    if (degrees != 0) {
        // The box turns about its centre: move it so that the glyph comes back to `origin`.
        const Point centre(b.origin.x + b.size.width / 2, b.origin.y + b.size.height / 2);
        const double radians = degrees * M_PI / 180, c = std::cos(radians), s = std::sin(radians);
        const double ox = origin.x - centre.x, oy = origin.y - centre.y;
        const float dx = float(ox - (c * ox - s * oy)), dy = float(oy - (s * ox + c * oy));
        b.origin = Point(b.origin.x + dx, b.origin.y + dy);
        object->setBounds(b);
        object->setRotation(float(degrees), Point(centre.x + dx, centre.y + dy), false);
    }
    return object;
}

// The text objects of a text run: one object, or one per placed glyph when the run places
// its glyphs one by one (the last placed glyph carries the rest of the run). Each lands
// where the import placed its glyphs. The accumulated rotation is in radians; objects turn
// in degrees.
std::vector<std::shared_ptr<VekObject>> textObjects(const SvgObjectInfo &info)
{
    std::vector<std::shared_ptr<VekObject>> objects;
    const SvgTextRun &run = *info.text;
    if (run.string.isEmpty() || run.glyphOrigins.empty())
        return objects;
    const AttributedString text(run.string, run.attributes);
    const double rotate = info.state.rotate * 180 / M_PI;
    const QStringList rotations = positionList(run.textRotationString);
    const int placed = int(std::min<size_t>(run.glyphOrigins.size(), size_t(text.length())));
    if (placed > 1) {
        for (int k = 0; k < placed; ++k) {
            const int length = k + 1 < placed ? 1 : text.length() - k;
            // Glyphs beyond the rotation list keep its last angle, or the run's own rotation.
            const double angle = k < rotations.size() ? listValue(rotations, k)
                                 : !rotations.isEmpty() ? listValue(rotations, rotations.size() - 1)
                                                        : rotate;
            objects.push_back(textObjectAt(text.substring(TextRange{k, length}), run.glyphOrigins[size_t(k)], angle));
        }
        return objects;
    }
    auto object = textObjectAt(text, run.glyphOrigins.front(), rotate);
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

std::unique_ptr<VekDocument> VekDocument::documentFromSVGFile(const QString &path, QString *error, QStringList *notes)
{
    QString ignored;
    QString &reason = error ? *error : ignored;
    try {
        const auto data = svgFileData(path, &reason);
        if (!data)
            return nullptr;
        SvgXmlParseReport parsed;
        const SvgXmlDocument xml = MakeXMLDocumentWithData(*data, &parsed);
        if (parsed.tooDeep) {
            reason = formatC("The file nests its elements more than %d deep.", SvgParserMaximumDepth);
            return nullptr;
        }
        if (!xml) {
            reason = QStringLiteral("It is damaged or is not an SVG file.");
            return nullptr;
        }
        const auto properties = GetPropertyListFromXMLDocument(xml.get(), QFileInfo(path).absoluteFilePath());
        if (properties && !properties->refusal.isEmpty()) {
            reason = properties->refusal;
            return nullptr;
        }
        auto document = std::make_unique<VekDocument>();
        if (!properties || !document->setsvgproperties(*properties)) {
            reason = parsed.wellFormed ? QStringLiteral("The SVG file holds nothing that can be drawn.")
                                       : QStringLiteral("The SVG file is damaged: it breaks off or is not "
                                                        "well-formed, and nothing in it can be drawn.");
            return nullptr;
        }
        if (notes) {
            *notes = properties->notes;
            // A file cut short opens with what it holds, and the user learns it is not all.
            if (!parsed.wellFormed)
                notes->prepend(QStringLiteral("The SVG file is damaged: it breaks off or is not well-formed. "
                                              "Only what could be read is shown."));
        }
        return document;
    } catch (const std::bad_alloc &) {
        reason = QString::fromLatin1(SvgOutOfMemoryMessage);
        return nullptr;
    }
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
    // Paths with markers: the path and its marker objects, grouped once inserted.
    std::vector<std::vector<std::shared_ptr<VekObject>>> markedPaths;
    auto makeObjects = [&](const SvgObjectInfo &info, auto &&self) -> void {
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
            for (auto &text : textObjects(info)) {
                if (info.clip && !info.clip->path.isEmpty())
                    made.push_back(clipObject(*info.clip));
                made.push_back(std::move(text));
            }
            return;
        }
        if (!object)
            return;
        const size_t first = made.size();
        // A clipped object shows only within its clip: that is what must fit on the page.
        if (info.clip && !info.clip->path.isEmpty()) {
            made.push_back(clipObject(*info.clip));
            unite(intersectionRect(object->bounds(), info.clip->path.bounds()));
        } else {
            unite(object->bounds());
        }
        made.push_back(std::move(object));
        if (info.markerInfos.empty())
            return;
        for (const SvgObjectInfo &marker : info.markerInfos)
            self(marker, self);
        markedPaths.emplace_back(made.begin() + std::ptrdiff_t(first), made.end());
    };
    for (const SvgObjectInfo &info : properties.objectInfos)
        makeObjects(info, makeObjects);
    // Each object goes in front of the ones before it (index 0 is the front): appending the
    // objects last to first gives that order without moving the list on every insertion.
    for (auto it = made.rbegin(); it != made.rend(); ++it)
        insertObject(*it, int(_objects.size()), false);
    if (_objects.empty())
        return false;
    for (const auto &members : markedPaths)
        if (members.size() > 1)
            groupObjects(members);

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
