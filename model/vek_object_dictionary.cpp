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
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

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
    // The component count first: it is cheap, and most colours fail it.
    const QString space = color.colorSpaceName();
    const auto colorSpace = color.colorSpace();
    if (color.numberOfComponents() == 5 && color.colorUsingColorSpaceName(conversionSpace) && space != NamedColorSpace
        && space != PatternColorSpace && colorSpace && colorSpace->numberOfColorComponents() > 0) {
        float c[5];
        color.getComponents(c);
        QString text = formatFixed(c[0]);   // as "%f,%f,%f,%f,%f"
        for (int i = 1; i < 5; ++i)
            text += u',' + formatFixed(c[i]);
        return PropertyList::fromString(text);
    }
    if (const auto data = archivedDataWithRootObject(color))
        return PropertyList::fromData(*data.value);
    return {};
}

// Archived colour data as a colour. A document repeats a few colours in every object: the
// last ones read are kept with their bytes, which decode the same every time.
std::optional<Color> colorFromArchive(const QByteArray &data)
{
    constexpr size_t Kept = 8;
    constexpr qsizetype MaxKeptBytes = 256;
    thread_local std::vector<std::pair<QByteArray, std::optional<Color>>> recent;
    for (const auto &[bytes, color] : recent)
        if (bytes == data)
            return color;
    auto color = unarchiveColorWithData(data);
    std::optional<Color> result = color ? std::optional<Color>(std::move(*color.value)) : std::nullopt;
    if (!result || data.size() > MaxKeptBytes)
        return result;   // a pattern's image is not worth keeping, nor what did not read
    if (recent.size() == Kept)
        recent.erase(recent.begin());
    recent.emplace_back(data, result);
    return result;
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
    if (value.isData())
        return colorFromArchive(value.dataValue());
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
    // Room for the common keys and those of a kind, which grow the dictionary otherwise.
    constexpr qsizetype UsualKeyCount = 48;
    PropertyList dict = PropertyList::dictionary(UsualKeyCount);
    writePropertyListKeys(dict);
    return dict;
}

void VekObject::writePropertyListKeys(PropertyList &dict) const
{
    // The keys are static strings: turning a C string into a QString for each key of each
    // object was much of the time of writing a document.
    const auto put = [&dict](const QString &key, const PropertyList &value) { dict.insert(key, value); };

    put(u"class"_s, PropertyList::fromString(className()));
    put(u"bounds"_s, PropertyList::fromString(stringFromRect(_bounds)));
    put(u"repeatType"_s, PropertyList::fromInt(repeatType()));
    put(u"repeatStart"_s, PropertyList::fromInt(repeatStartPage()));
    // The stored end: 0 keeps "through the last page" even when pages are added later.
    put(u"repeatEnd"_s, PropertyList::fromInt(std::max(_repeatEnd, 0)));
    if (!_note.isEmpty())
        put(u"note"_s, PropertyList::fromString(_note));
    if (!_groupID.isEmpty())
        put(u"groupID"_s, PropertyList::fromString(_groupID));
    if (const QString anchor = anchorName(); !anchor.isEmpty())
        put(u"anchorName"_s, PropertyList::fromString(anchor));
    put(u"groupWithNext"_s, flag(groupWithNext()));
    put(u"simpleClip"_s, flag(simpleClip()));
    put(u"exclusive"_s, flag(isExclusive()));
    put(u"noShadow"_s, flag(noShadow()));
    if (indvShadow())
        put(u"shadowValues"_s, _shadowValues);

    put(u"fill"_s, flag(drawsFill()));
    put(u"fillRule"_s, PropertyList::fromInt(_fillRule));
    put(u"fillAlpha"_s, PropertyList::fromFloat(_fillAlpha));
    if (_fillColor)
        put(u"fillColor"_s, colorValue(*_fillColor, CalibratedRGBColorSpace));
    const PropertyList gradColors = _gradView ? _gradView->gradColors() : _gradColors;
    const PropertyList gradProportion = _gradView ? _gradView->colorProportionList() : _gradProportion;
    if (_gradType != 0 && areGradientStops(gradColors, gradProportion)) {
        put(u"gradType"_s, PropertyList::fromInt(_gradType));
        put(u"gradRotate"_s, PropertyList::fromFloat(_gradRotate));
        put(u"gradFlip"_s, PropertyList::fromInt(_gradFlip));
        // The point's text form "{x, y}" in the text form of a document; read back from either.
        put(u"gradCenter"_s, PropertyList::fromPoint(_gradCenter));
        put(u"gradColorProportion"_s, gradProportion);
        put(u"gradColors"_s, gradColors);
    }

    put(u"stroke"_s, flag(drawsStroke()));
    if (_strokeColor)
        put(u"strokeColor"_s, colorValue(*_strokeColor, DeviceCMYKColorSpace));
    if (canTransform()) {
        put(u"flippedH"_s, flag(_flippedHorizontally));
        put(u"flippedV"_s, flag(_flippedVertically));
        put(u"rotation"_s, PropertyList::fromString(formatFixed(_rotation, 2)));
        put(u"skewX"_s, PropertyList::fromString(formatFixed(_skewX)));
        put(u"skewY"_s, PropertyList::fromString(formatFixed(_skewY)));
    }
}

void VekObject::loadPropertyListRepresentation(const PropertyList &dict)
{
    if (dict.isDictionary())
        readPropertyListKeys(dict);
}

void VekObject::readPropertyListKeys(const PropertyList &dict)
{
    const auto value = [&dict](const QString &key) { return dict.value(key); };

    setIsLoadingPropertyList(true);

    if (const PropertyList bounds = value(u"bounds"_s); (bounds.isNumber() || bounds.isString()) || bounds.type() == PropertyList::Type::Rect) {
        if (const Rect r = bounds.rectValue(); isSaneRect(r))
            setBounds(r);
    }
    if (const PropertyList path = value(u"path"_s); path.isData()) {
        if (auto decoded = unarchiveBezierPathWithData(path.dataValue()); decoded && isSaneRect(decoded.value->bounds()))
            setBezierPath(std::move(decoded.value));
    }
    const PropertyList note = value(u"note"_s);
    setNote(note.isString() ? note.stringValue() : QStringLiteral(""));
    if (const PropertyList groupID = value(u"groupID"_s); groupID.isString() && !groupID.stringValue().isEmpty())
        setGroupID(groupID.stringValue());
    if (const PropertyList anchor = value(u"anchorName"_s); anchor.isString())
        setAnchorName(anchor.stringValue());

    const int repeat = intOf(value(u"repeatType"_s)).value_or(0);
    _repeatType = repeat >= 0 && repeat <= MaxRepeatType ? repeat : 0;
    if (const int end = intOf(value(u"repeatEnd"_s)).value_or(0); end > 0)
        _repeatEnd = end;
    if (const int start = intOf(value(u"repeatStart"_s)).value_or(0); start > 0)
        _repeatStart = start;
    if (_repeatEnd > 0 && _repeatEnd < _repeatStart)
        _repeatEnd = _repeatStart;   // as setRepeatStart keeps the range

    if (const PropertyList exclusive = value(u"exclusive"_s); !exclusive.isAbsent())
        setExclusive(isYes(exclusive));
    if (const PropertyList noShadow = value(u"noShadow"_s); !noShadow.isAbsent())
        setNoShadow(isYes(noShadow));
    if (const PropertyList shadow = value(u"shadowValues"_s); shadow.isDictionary())
        setIndvShadowValues(shadowSettings(shadow));
    _grpWithNxt = isYes(value(u"groupWithNext"_s));
    _simpleClip = isYes(value(u"simpleClip"_s));

    // The gradient comes before the fill: switching the fill on checks for a gradient, and
    // the stored fill alpha is applied last so that switching the fill on cannot replace it.
    const int gradType = intOf(value(u"gradType"_s)).value_or(0);
    _gradType = gradType >= 0 && gradType <= MaxGradientType ? gradType : 0;
    _gradRotate = normalizedDegrees(floatOf(value(u"gradRotate"_s)).value_or(0));
    _gradFlip = intOf(value(u"gradFlip"_s)).value_or(0);
    const PropertyList center = value(u"gradCenter"_s);
    const Point c = (center.isNumber() || center.isString()) || center.type() == PropertyList::Type::Point ? center.pointValue() : Point();
    _gradCenter = std::isfinite(c.x) && std::isfinite(c.y)
                      ? Point{std::clamp(c.x, -1.0f, 1.0f), std::clamp(c.y, -1.0f, 1.0f)}
                      : Point();
    if (_gradType != 0) {
        _gradView.reset();   // made again from the stops on first use
        const PropertyList colors = value(u"gradColors"_s);
        const PropertyList proportions = value(u"gradColorProportion"_s);
        const bool usable = areGradientStops(colors, proportions);
        _gradColors = usable ? colors : PropertyList();
        _gradProportion = usable ? floatArray(proportions) : PropertyList();
    }

    setFillColor(colorFrom(value(u"fillColor"_s)));
    if (const PropertyList fill = value(u"fill"_s); !fill.isAbsent())
        setDrawsFill(isYes(fill));
    if (const auto alpha = floatOf(value(u"fillAlpha"_s)))
        setFillAlpha(*alpha);
    setObjFillRule(intOf(value(u"fillRule"_s)).value_or(0));

    // Without a stroke colour the stroke keeps the kind's default (black when it strokes).
    if (const auto strokeColor = colorFrom(value(u"strokeColor"_s)))
        setObjStrokeColor(strokeColor);
    else
        _strokeColor.reset();
    if (const PropertyList stroke = value(u"stroke"_s); !stroke.isAbsent())
        setDrawsStroke(isYes(stroke));

    if (const PropertyList flippedH = value(u"flippedH"_s); !flippedH.isAbsent())
        _flippedHorizontally = isYes(flippedH);
    if (const PropertyList flippedV = value(u"flippedV"_s); !flippedV.isAbsent())
        _flippedVertically = isYes(flippedV);
    _rotation = normalizedDegrees(floatOf(value(u"rotation"_s)).value_or(0));
    _skewX = std::clamp(floatOf(value(u"skewX"_s)).value_or(0), -1.0f, 1.0f);
    _skewY = std::clamp(floatOf(value(u"skewY"_s)).value_or(0), -1.0f, 1.0f);

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
