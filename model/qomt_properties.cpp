// setQomtProperties: the predecessor's style keys mapped onto a drawing object's attributes.
#include "model/qomt_properties.h"

#include "model/vek_object.h"
#include "platform/foundation/archiving.h"

#include <cmath>
#include <cstring>

namespace {

// Below this alpha a colour counts as invisible.
constexpr float alphaThreshold = 0.09f;
constexpr int gradientContent = 2;

std::optional<Color> colourFrom(const PropertyList &data)
{
    auto result = unarchiveColorWithData(data.dataValue());
    return result.value;
}

// Stop colours from "r,g,b,a" texts (entries with fewer parts are skipped), as archived data.
PropertyList stopColours(const PropertyList &texts)
{
    PropertyList colours = PropertyList::array();
    if (texts.count() < 2)
        return colours;
    for (const PropertyList &entry : texts.elements()) {
        const QStringList parts = entry.stringValue().split(u',');
        if (parts.size() < 4)
            continue;
        float c[4];
        for (int i = 0; i < 4; ++i)
            c[i] = PropertyList(parts[i]).floatValue();
        if (const auto data = archivedDataWithRootObject(Color::colorWithCalibratedRed(c[0], c[1], c[2], c[3])))
            colours.append(PropertyList::fromData(*data.value));
    }
    return colours;
}

// Equal shares for n stops, the last one making the sum exactly 1.
PropertyList equalShares(qsizetype stops)
{
    PropertyList shares = PropertyList::array();
    float sum = 0;
    for (qsizetype i = 0; i + 2 < stops; ++i) {
        const float share = 1.0f / float(stops - 1);
        shares.append(PropertyList::fromFloat(share));
        sum += share;
    }
    shares.append(PropertyList::fromFloat(1.0f - sum));
    return shares;
}

void applyLine(VekObject &object, const PropertyList &p)
{
    if (p.contains("lineWidth"))
        object.setObjLineWidth(p.value("lineWidth").floatValue());
    if (p.contains("flatness"))
        object.setObjFlatness(p.value("flatness").floatValue());
    if (p.contains("jointStyle"))
        object.setJoinStyle(p.value("jointStyle").intValue());
    if (p.contains("capStyle"))
        object.setCapStyle(p.value("capStyle").intValue());
    // Dash numbers index the dash table: a negative one from a damaged file is solid.
    if (p.contains("dashPattern"))
        object.setDashPatternUpdate(std::max(0, p.value("dashPattern").intValue()), false);
    if (object.objDashPattern() > 0)
        object.setDashScale(1.0f, false);

    if (p.contains("lineColor")) {
        if (const auto colour = colourFrom(p.value("lineColor"))) {
            object.setObjStrokeColor(*colour);   // strokes exactly when the colour is visible
        } else {
            const bool strokes = object.drawsStroke();
            object.setObjStrokeColor(std::nullopt);
            object.setDrawsStroke(strokes);
        }
    }
}

// The gradient of content kind 2; answers the gradient type it set (0: none).
int applyGradient(VekObject &object, const PropertyList &p)
{
    const PropertyList gradient = p.value("gradient");
    if (!gradient.isDictionary())
        return object.objGradientType();
    int type = gradient.value("type").intValue() + 1;
    // The predecessor knew five types (0 to 4); anything below is none, anything above linear.
    if (type < 1)
        return 0;
    if (type > 5)
        type = 1;
    const PropertyList colours = stopColours(gradient.value("colors"));
    if (colours.count() < 2)
        return 0;
    object.setGradientColors(colours);
    object.setGradientColorRects(equalShares(colours.count()));
    const int angle = p.value("fillAngle").intValue();
    if (p.contains("fillAngle") && angle >= 0 && angle < 360)
        object.setGradientRotate(float(-angle), false);
    return type;
}

void applyFill(VekObject &object, const PropertyList &p)
{
    float alpha = p.value("fillAlpha").floatValue();
    const int content = p.contains("fillCntns") ? p.value("fillCntns").intValue() : -1;
    bool fills = alpha > alphaThreshold && content >= 0;

    std::optional<Color> colour;
    if (p.contains("fillColor"))
        colour = colourFrom(p.value("fillColor"));
    if (content == 0 && colour && colour->alphaComponent() > alphaThreshold && alpha < 1.0f)
        alpha = colour->alphaComponent();

    const int type = content == gradientContent ? applyGradient(object, p) : 0;
    object.setGradientType(type, false);
    if (colour)
        object.setFillColor(colour);
    // A plain fill without a visible colour draws nothing: it stays off, so that switching it
    // on does not invent a colour.
    if (type == 0 && !(colour && colour->alphaComponent() > alphaThreshold))
        fills = false;
    object.setDrawsFill(fills);
    object.setFillAlpha(alpha);
    object.setObjFillRule(p.value("fillType").intValue());
}

void applyTransforms(VekObject &object, const PropertyList &p)
{
    // The predecessor turned the other way; the result is kept within one turn.
    const float r = p.value("rotation").floatValue();
    float rotation = r != 0 ? std::fmod(360.0f - r, 360.0f) : 0.0f;
    if (rotation < 0)
        rotation += 360.0f;
    if (!std::isfinite(rotation))
        rotation = 0;
    object.setRotation(rotation, Point(), false);

    const int flip = p.value("flip").intValue();
    if (flip == 1 || flip == 3)
        object.setFlippedHorizontally(true);
    if (flip == 2 || flip == 3)
        object.setFlippedVertically(true);

    // The skews are the second and third floats of the value; a shorter value is ignored.
    if (p.contains("skew")) {
        const auto value = unarchiveValueWithData(p.value("skew").dataValue());
        if (value && value.value->bytes.size() >= 12) {
            float skew[2];
            std::memcpy(skew, value.value->bytes.constData() + 4, sizeof skew);
            if (std::isfinite(skew[0]) && std::isfinite(skew[1])) {
                object.setSkewX(skew[0], false);
                object.setSkewY(skew[1], false);
            }
        }
    }
}

} // namespace

void setQomtProperties(VekObject &object, const PropertyList &properties)
{
    if (!properties.isDictionary())
        return;
    applyLine(object, properties);
    applyFill(object, properties);
    applyTransforms(object, properties);
}
