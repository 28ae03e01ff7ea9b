// Dictionary form of drawing objects: writing the common attributes to a property list,
// reading them back, recreating an object of a registered kind, and copying an object.
#include "model/vek_object.h"

#include "model/dictionary_values.h"
#include "model/gradient/vek_gradient_view.h"
#include "model/object_registry.h"
#include "platform/foundation/archiving.h"
#include "platform/foundation/c_locale.h"
#include "platform/foundation/plist_text_format.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int MaxGradientType = 5;
constexpr int MaxRepeatType = 3;

PropertyList flag(bool value)
{
    return PropertyList::fromString(value ? QStringLiteral("YES") : QStringLiteral("NO"));
}

bool isYes(const PropertyList &value)
{
    if (value.type() == PropertyList::Type::Bool)
        return value.boolValue();
    return value.isString() && value.stringValue() == QLatin1String("YES");
}

// Degrees brought into 0 to 360.
float normalizedDegrees(float degrees)
{
    const float d = std::fmod(degrees, 360.0f);
    return d < 0 ? d + 360.0f : d;
}

bool isSaneRect(const Rect &r)
{
    for (const double v : {double(r.origin.x), double(r.origin.y), double(r.size.width), double(r.size.height)})
        if (!std::isfinite(v) || std::fabs(v) > MaxCoordinate)
            return false;
    return true;
}

// A colour with five components that converts to `conversionSpace` is written as the CMYK
// text (C locale); any other as archived colour data. Nothing when it cannot be archived.
PropertyList colorValue(const Color &color, const QString &conversionSpace)
{
    const QString space = color.colorSpaceName();
    const auto colorSpace = color.colorSpace();
    if (color.colorUsingColorSpaceName(conversionSpace) && space != NamedColorSpace && space != PatternColorSpace
        && colorSpace && colorSpace->numberOfColorComponents() > 0 && color.numberOfComponents() == 5) {
        float c[5];
        color.getComponents(c);
        return PropertyList::fromString(formatC("%f,%f,%f,%f,%f", double(c[0]), double(c[1]), double(c[2]),
                                                double(c[3]), double(c[4])));
    }
    if (const auto data = archivedDataWithRootObject(color))
        return PropertyList::fromData(*data.value);
    return {};
}

// The CMYK text ("c,m,y,k,a", exactly five parts, each finite and brought into 0 to 1) or
// archived colour data; anything else is no colour.
std::optional<Color> colorFrom(const PropertyList &value)
{
    if (value.isString()) {
        const QStringList parts = value.stringValue().split(QLatin1Char(','));
        if (parts.size() != 5)
            return std::nullopt;
        float c[5];
        for (int i = 0; i < 5; ++i) {
            const float v = floatValueOf(parts[i]);
            if (!std::isfinite(v))
                return std::nullopt;
            c[i] = std::clamp(v, 0.0f, 1.0f);
        }
        return Color::colorWithDeviceCyan(c[0], c[1], c[2], c[3], c[4]);
    }
    if (value.isData()) {
        if (auto color = unarchiveColorWithData(value.dataValue()))
            return std::move(*color.value);
    }
    return std::nullopt;
}

// Gradient stops are usable when there are at least two colours (archived data), one more
// than there are proportions (finite numbers); the gradient model indexes one by the other.
bool areGradientStops(const PropertyList &colors, const PropertyList &proportions)
{
    if (!colors.isArray() || !proportions.isArray() || proportions.count() < 1
        || colors.count() != proportions.count() + 1)
        return false;
    const auto &props = proportions.elements();
    const auto &cols = colors.elements();
    return std::all_of(props.begin(), props.end(), [](const PropertyList &p) { return floatOf(p).has_value(); })
           && std::all_of(cols.begin(), cols.end(), [](const PropertyList &c) { return c.isData(); });
}

// The proportions as float numbers, whether they came as numbers or (text form) as strings.
PropertyList floatArray(const PropertyList &numbers)
{
    PropertyList result = PropertyList::array();
    for (const PropertyList &n : numbers.elements())
        result.append(PropertyList::fromFloat(n.floatValue()));
    return result;
}

// Own shadow settings with their numbers as numbers again (the text form makes them
// strings); a colour that is no data and numbers that are not finite are left out.
PropertyList shadowSettings(const PropertyList &values)
{
    PropertyList result = PropertyList::dictionary();
    for (const auto &[key, value] : values.entries()) {
        if (key == ShadowStateKey) {
            if (const auto state = intOf(value))
                result.insert(key, PropertyList::fromInt(*state));
        } else if (key == ShadowOffsetKey || key == ShadowBlurKey || key == ShadowAngleKey) {
            if (const auto number = floatOf(value))
                result.insert(key, PropertyList::fromFloat(*number));
        } else if (key != ShadowColorKey || value.isData()) {
            result.insert(key, value);
        }
    }
    return result;
}

} // namespace

PropertyList VekObject::propertyListRepresentation() const
{
    PropertyList dict = PropertyList::dictionary();
    writePropertyListKeys(dict);
    return dict;
}

void VekObject::writePropertyListKeys(PropertyList &dict) const
{
    const auto put = [&dict](const char *key, const PropertyList &value) { dict.insert(QLatin1String(key), value); };

    put("class", PropertyList::fromString(className()));
    put("bounds", PropertyList::fromString(stringFromRect(_bounds)));
    put("repeatType", PropertyList::fromInt(repeatType()));
    put("repeatStart", PropertyList::fromInt(repeatStartPage()));
    // The stored end: 0 keeps "through the last page" even when pages are added later.
    put("repeatEnd", PropertyList::fromInt(std::max(_repeatEnd, 0)));
    if (!_note.isEmpty())
        put("note", PropertyList::fromString(_note));
    if (!_groupID.isEmpty())
        put("groupID", PropertyList::fromString(_groupID));
    if (const QString anchor = anchorName(); !anchor.isEmpty())
        put("anchorName", PropertyList::fromString(anchor));
    put("groupWithNext", flag(groupWithNext()));
    put("simpleClip", flag(simpleClip()));
    put("exclusive", flag(isExclusive()));
    put("noShadow", flag(noShadow()));
    if (indvShadow())
        put("shadowValues", _shadowValues);

    put("fill", flag(drawsFill()));
    put("fillRule", PropertyList::fromInt(_fillRule));
    put("fillAlpha", PropertyList::fromFloat(_fillAlpha));
    if (_fillColor)
        put("fillColor", colorValue(*_fillColor, CalibratedRGBColorSpace));
    const PropertyList gradColors = _gradView ? _gradView->gradColors() : _gradColors;
    const PropertyList gradProportion = _gradView ? _gradView->colorProportionList() : _gradProportion;
    if (_gradType != 0 && areGradientStops(gradColors, gradProportion)) {
        put("gradType", PropertyList::fromInt(_gradType));
        put("gradRotate", PropertyList::fromFloat(_gradRotate));
        put("gradFlip", PropertyList::fromInt(_gradFlip));
        // The point's text form "{x, y}" in the text form of a document; read back from either.
        put("gradCenter", PropertyList::fromPoint(_gradCenter));
        put("gradColorProportion", gradProportion);
        put("gradColors", gradColors);
    }

    put("stroke", flag(drawsStroke()));
    if (_strokeColor)
        put("strokeColor", colorValue(*_strokeColor, DeviceCMYKColorSpace));
    if (canTransform()) {
        put("flippedH", flag(_flippedHorizontally));
        put("flippedV", flag(_flippedVertically));
        put("rotation", PropertyList::fromString(formatC("%.2f", double(_rotation))));
        put("skewX", PropertyList::fromString(formatC("%f", double(_skewX))));
        put("skewY", PropertyList::fromString(formatC("%f", double(_skewY))));
    }
}

void VekObject::loadPropertyListRepresentation(const PropertyList &dict)
{
    if (dict.isDictionary())
        readPropertyListKeys(dict);
}

void VekObject::readPropertyListKeys(const PropertyList &dict)
{
    const auto value = [&dict](const char *key) { return dict.value(QLatin1String(key)); };

    setIsLoadingPropertyList(true);

    if (const PropertyList bounds = value("bounds"); (bounds.isNumber() || bounds.isString()) || bounds.type() == PropertyList::Type::Rect) {
        if (const Rect r = bounds.rectValue(); isSaneRect(r))
            setBounds(r);
    }
    if (const PropertyList path = value("path"); path.isData()) {
        if (auto decoded = unarchiveBezierPathWithData(path.dataValue()); decoded && isSaneRect(decoded.value->bounds()))
            setBezierPath(std::move(decoded.value));
    }
    const PropertyList note = value("note");
    setNote(note.isString() ? note.stringValue() : QStringLiteral(""));
    if (const PropertyList groupID = value("groupID"); groupID.isString() && !groupID.stringValue().isEmpty())
        setGroupID(groupID.stringValue());
    if (const PropertyList anchor = value("anchorName"); anchor.isString())
        setAnchorName(anchor.stringValue());

    const int repeat = intOf(value("repeatType")).value_or(0);
    _repeatType = repeat >= 0 && repeat <= MaxRepeatType ? repeat : 0;
    if (const int end = intOf(value("repeatEnd")).value_or(0); end > 0)
        _repeatEnd = end;
    if (const int start = intOf(value("repeatStart")).value_or(0); start > 0)
        _repeatStart = start;
    if (_repeatEnd > 0 && _repeatEnd < _repeatStart)
        _repeatEnd = _repeatStart;   // as setRepeatStart keeps the range

    if (dict.contains(QStringLiteral("exclusive")))
        setExclusive(isYes(value("exclusive")));
    if (dict.contains(QStringLiteral("noShadow")))
        setNoShadow(isYes(value("noShadow")));
    if (const PropertyList shadow = value("shadowValues"); shadow.isDictionary())
        setIndvShadowValues(shadowSettings(shadow));
    _grpWithNxt = isYes(value("groupWithNext"));
    _simpleClip = isYes(value("simpleClip"));

    // The gradient comes before the fill: switching the fill on checks for a gradient, and
    // the stored fill alpha is applied last so that switching the fill on cannot replace it.
    const int gradType = intOf(value("gradType")).value_or(0);
    _gradType = gradType >= 0 && gradType <= MaxGradientType ? gradType : 0;
    _gradRotate = normalizedDegrees(floatOf(value("gradRotate")).value_or(0));
    _gradFlip = intOf(value("gradFlip")).value_or(0);
    const PropertyList center = value("gradCenter");
    const Point c = (center.isNumber() || center.isString()) || center.type() == PropertyList::Type::Point ? center.pointValue() : Point();
    _gradCenter = std::isfinite(c.x) && std::isfinite(c.y)
                      ? Point{std::clamp(c.x, -1.0f, 1.0f), std::clamp(c.y, -1.0f, 1.0f)}
                      : Point();
    if (_gradType != 0) {
        _gradView.reset();   // made again from the stops on first use
        const PropertyList colors = value("gradColors");
        const PropertyList proportions = value("gradColorProportion");
        const bool usable = areGradientStops(colors, proportions);
        _gradColors = usable ? colors : PropertyList();
        _gradProportion = usable ? floatArray(proportions) : PropertyList();
    }

    setFillColor(colorFrom(value("fillColor")));
    if (dict.contains(QStringLiteral("fill")))
        setDrawsFill(isYes(value("fill")));
    if (const auto alpha = floatOf(value("fillAlpha")))
        setFillAlpha(*alpha);
    setObjFillRule(intOf(value("fillRule")).value_or(0));

    // Without a stroke colour the stroke keeps the kind's default (black when it strokes).
    if (const auto strokeColor = colorFrom(value("strokeColor")))
        setObjStrokeColor(strokeColor);
    else
        _strokeColor.reset();
    if (dict.contains(QStringLiteral("stroke")))
        setDrawsStroke(isYes(value("stroke")));

    if (dict.contains(QStringLiteral("flippedH")))
        _flippedHorizontally = isYes(value("flippedH"));
    if (dict.contains(QStringLiteral("flippedV")))
        _flippedVertically = isYes(value("flippedV"));
    _rotation = normalizedDegrees(floatOf(value("rotation")).value_or(0));
    _skewX = std::clamp(floatOf(value("skewX")).value_or(0), -1.0f, 1.0f);
    _skewY = std::clamp(floatOf(value("skewY")).value_or(0), -1.0f, 1.0f);

    setIsLoadingPropertyList(false);
}

std::shared_ptr<VekObject> VekObject::objectWithPropertyListRepresentation(const PropertyList &dict)
{
    const PropertyList className = dict.value(QStringLiteral("class"));
    if (!className.isString())
        return nullptr;
    auto object = createObjectOfClass(className.stringValue());
    if (object)
        object->loadPropertyListRepresentation(dict);
    return object;
}

std::shared_ptr<VekObject> VekObject::copy() const
{
    auto object = createObjectOfClass(className());
    if (object)
        copyAttributesTo(*object);
    return object;
}

void VekObject::copyAttributesTo(VekObject &copy) const
{
    copy.setBounds(_bounds);
    if (_path) {
        // The path is already flipped: the flags are stored as they are, not applied again.
        copy.setBezierPath(_path);
        copy._flippedHorizontally = _flippedHorizontally;
        copy._flippedVertically = _flippedVertically;
    } else {
        copy.setFlippedHorizontally(_flippedHorizontally);
        copy.setFlippedVertically(_flippedVertically);
    }
    copy.setRotation(_rotation, Point(), false);
    copy.setSkewX(_skewX, false);
    copy.setSkewY(_skewY, false);

    // The gradient before the fill, as when reading: a gradient fill without a plain colour
    // then gains no white colour, and the fill alpha is taken as it is.
    copy.setGradientCenter(_gradCenter, false);
    copy.setGradientRotate(_gradRotate, false);
    copy.setGradientFlip(_gradFlip, false);
    copy.setGradientType(_gradType, false);
    if (_gradType != 0) {
        if (_gradView)
            copy.setGradientColorsAndColorRects(_gradView->gradColors(), _gradView->colorProportionList());
        else
            copy.setGradientColorsAndColorRects(_gradColors, _gradProportion);
    }

    copy.setFillColor(_fillColor);
    copy.setObjFillRule(_fillRule);
    copy.setDrawsFill(drawsFill());
    copy.setFillAlpha(_fillAlpha);
    copy.setObjStrokeColor(_strokeColor);
    copy.setDrawsStroke(drawsStroke());
    copy.setObjFlatness(_flatness);
    copy.setObjLineWidth(_lineWidth);
    copy.setJoinStyle(_joinStyle);
    copy.setCapStyle(_capStyle);

    // The stored range: an end of 0 stays "through the last page".
    copy._repeatType = _repeatType;
    copy._repeatStart = _repeatStart;
    copy._repeatEnd = _repeatEnd;
    copy.setNoShadow(_noShadow);
    copy.setExclusive(_exclusive);
    copy.setNote(_note);
    if (indvShadow())
        copy.setIndvShadowValues(_shadowValues);
}

QString VekObject::description() const
{
    return QString::fromLatin1(textPropertyListData(propertyListRepresentation()));
}
