// The path object's keys in the dictionary form: one table says, for each key, how it is
// written and how it is read back (through the checks every number of a file gets), and a
// copy carries the path's own attributes by writing them and reading them into the copy,
// so that writing, reading and copying cannot drift apart.
#include "model/vek_obj_path.h"

#include "model/dictionary_values.h"
#include "platform/foundation/archiving.h"
#include "platform/foundation/c_locale.h"
#include "platform/text/rtf.h"

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Arrow settings outside these are unusable (a file may hold anything) and read as the defaults.
constexpr int MinArrowAngle = 2;
constexpr int MaxArrowAngle = 360;
constexpr float MinArrowLength = 1.0f;
constexpr float MaxArrowLength = 10000.0f;
constexpr float MaxLineWidth = 10000.0f;
constexpr float MaxDashScale = 1000.0f;
// Kinds, types and pattern numbers far beyond any in use are damage, not choices.
constexpr int MaxKindNumber = 1000;

} // namespace

// One key: its name, whether a copy carries it (the line keys and the path are common
// attributes that the common copy carries already), and how it is written and read.
struct VekObjPath::PathKey {
    QString name;
    bool copied;
    std::function<void(const VekObjPath &, PropertyList &)> write;
    // Called with the key's value when the dictionary holds the key.
    std::function<void(VekObjPath &, const PropertyList &)> read;
};

const std::vector<VekObjPath::PathKey> &VekObjPath::pathKeys()
{
    auto insert = [](PropertyList &dict, const QString &key, const PropertyList &value) { dict.insert(key, value); };
    static const std::vector<PathKey> keys = {
        {u"path"_s, false,
         [=](const VekObjPath &o, PropertyList &d) {
             if (const auto data = archivedDataWithRootObject(*o._path))
                 insert(d, u"path"_s, PropertyList::fromData(*data.value));
         },
         nullptr},   // the common keys read the path
        {u"lineWidth"_s, false,
         [=](const VekObjPath &o, PropertyList &d) {
             insert(d, u"lineWidth"_s, PropertyList::fromString(formatFixed(o._lineWidth, 2)));
         },
         [](VekObjPath &o, const PropertyList &v) {
             if (auto w = floatIn(v, 0, MaxLineWidth))
                 o.setObjLineWidth(*w);
         }},
        {u"flatness"_s, false,
         [=](const VekObjPath &o, PropertyList &d) {
             insert(d, u"flatness"_s, PropertyList::fromString(formatFixed(o._flatness, 2)));
         },
         [](VekObjPath &o, const PropertyList &v) {
             if (auto f = floatIn(v, 0, MaxLineWidth))
                 o.setObjFlatness(*f);
         }},
        {u"joinStyle"_s, false, [=](const VekObjPath &o, PropertyList &d) { insert(d, u"joinStyle"_s, PropertyList::fromInt(o.joinStyle())); },
         [](VekObjPath &o, const PropertyList &v) {
             if (auto j = intIn(v, 0, 2))
                 o.setJoinStyle(*j);
         }},
        {u"capStyle"_s, false, [=](const VekObjPath &o, PropertyList &d) { insert(d, u"capStyle"_s, PropertyList::fromInt(o.capStyle())); },
         [](VekObjPath &o, const PropertyList &v) {
             if (auto c = intIn(v, 0, 2))
                 o.setCapStyle(*c);
         }},
        {u"dashPattern"_s, true,
         [=](const VekObjPath &o, PropertyList &d) { insert(d, u"dashPattern"_s, PropertyList::fromInt(o._dashPattern)); },
         [](VekObjPath &o, const PropertyList &v) {
             // Unknown numbers draw solid lines; the number itself is kept.
             if (auto p = intOf(v))
                 o.setDashPatternUpdate(*p, false);
         }},
        {u"dashInfo"_s, true,
         [=](const VekObjPath &o, PropertyList &d) {
             if (!o._dashInfo.isAbsent())
                 insert(d, u"dashInfo"_s, o._dashInfo);
         },
         [](VekObjPath &o, const PropertyList &v) { o.setDashInfo(v); }},
        {u"dashScale"_s, true,
         [=](const VekObjPath &o, PropertyList &d) { insert(d, u"dashScale"_s, PropertyList::fromFloat(o._dashScale)); },
         [](VekObjPath &o, const PropertyList &v) {
             if (auto s = floatIn(v, 0, MaxDashScale); s && *s > 0)
                 o.setDashScale(*s, false);
         }},
        {u"lineDrawPattern"_s, true,
         [=](const VekObjPath &o, PropertyList &d) { insert(d, u"lineDrawPattern"_s, PropertyList::fromInt(o._lineDrawPattern)); },
         [](VekObjPath &o, const PropertyList &v) {
             if (auto p = intIn(v, 0, MaxKindNumber))
                 o.setLineDrawPattern(*p, false);
         }},
        {u"lineDrawIntensity"_s, true,
         [=](const VekObjPath &o, PropertyList &d) {
             insert(d, u"lineDrawIntensity"_s, PropertyList::fromFloat(o._lineDrawIntensity));
         },
         [](VekObjPath &o, const PropertyList &v) {
             if (auto i = floatOf(v))   // the setter holds it to 0.1 - 1
                 o.setLineDrawIntensity(*i, false);
         }},
        {u"arrowStart"_s, true, [=](const VekObjPath &o, PropertyList &d) { insert(d, u"arrowStart"_s, PropertyList::fromInt(o._arrowTypeS)); },
         [](VekObjPath &o, const PropertyList &v) { o._arrowTypeS = intIn(v, 0, MaxKindNumber).value_or(0); }},
        {u"arrowEnd"_s, true, [=](const VekObjPath &o, PropertyList &d) { insert(d, u"arrowEnd"_s, PropertyList::fromInt(o._arrowTypeE)); },
         [](VekObjPath &o, const PropertyList &v) { o._arrowTypeE = intIn(v, 0, MaxKindNumber).value_or(0); }},
        {u"arrowAngle"_s, true, [=](const VekObjPath &o, PropertyList &d) { insert(d, u"arrowAngle"_s, PropertyList::fromInt(o._arrowAngle)); },
         [](VekObjPath &o, const PropertyList &v) { o._arrowAngle = intIn(v, MinArrowAngle, MaxArrowAngle).value_or(45); }},
        {u"arrowLength"_s, true,
         [=](const VekObjPath &o, PropertyList &d) { insert(d, u"arrowLength"_s, PropertyList::fromFloat(o._arrowLength)); },
         [](VekObjPath &o, const PropertyList &v) {
             o._arrowLength = floatIn(v, MinArrowLength, MaxArrowLength).value_or(5.0f);
         }},
        // The text along the path and its settings go together, only with a text.
        {u"attStringForPath"_s, true,
         [=](const VekObjPath &o, PropertyList &d) {
             if (!o._attStringForPath || o._attStringForPath->isEmpty())
                 return;
             const AttributedString &text = *o._attStringForPath;
             insert(d, u"attStringForPath"_s, PropertyList::fromData(RTFFromRange(text, {0, text.length()})));
             insert(d, u"attType"_s, PropertyList::fromInt(o._attType));
             insert(d, u"attOffset"_s, PropertyList::fromFloat(o._attOffset));
             insert(d, u"attSpace"_s, PropertyList::fromFloat(o._attSpace));
         },
         [](VekObjPath &o, const PropertyList &v) { o.setAttStringForPath(attributedStringWithRTF(v.dataValue())); }},
        {u"attType"_s, true, nullptr,
         [](VekObjPath &o, const PropertyList &v) {
             if (auto t = intIn(v, 0, MaxKindNumber))
                 o.setAttType(*t);
         }},
        {u"attOffset"_s, true, nullptr,
         [](VekObjPath &o, const PropertyList &v) {
             if (auto f = floatIn(v, -MaxCoordinate, MaxCoordinate))
                 o.setAttOffset(*f);
         }},
        {u"attSpace"_s, true, nullptr,
         [](VekObjPath &o, const PropertyList &v) {
             if (auto f = floatIn(v, -MaxCoordinate, MaxCoordinate))
                 o.setAttSpace(*f);
         }},
        {u"clipType"_s, true, [=](const VekObjPath &o, PropertyList &d) { insert(d, u"clipType"_s, PropertyList::fromInt(o._clipType)); },
         [](VekObjPath &o, const PropertyList &v) { o._clipType = intIn(v, 0, MaxKindNumber).value_or(0); }},
        {u"orginalSize"_s, true,
         [=](const VekObjPath &o, PropertyList &d) {
             if (o.hasNaturalSize())
                 insert(d, u"orginalSize"_s, PropertyList::fromString(stringFromSize(o._orgSize)));
         },
         [](VekObjPath &o, const PropertyList &v) {
             const Size s = v.sizeValue();
             if (std::isfinite(s.width) && std::isfinite(s.height) && s.width >= 0 && s.height >= 0
                 && s.width <= MaxCoordinate && s.height <= MaxCoordinate)
                 o._orgSize = s;
         }},
    };
    return keys;
}

void VekObjPath::writePathKeys(PropertyList &dict) const
{
    dict.insert(QStringLiteral("class"), PropertyList::fromString(className()));
    if (!hasEditablePath())
        return;
    for (const PathKey &key : pathKeys())
        if (key.write)
            key.write(*this, dict);
}

void VekObjPath::readPathKeys(const PropertyList &dict)
{
    // Arrows have usable defaults even when their keys are missing.
    _arrowAngle = 45;
    _arrowLength = 5.0f;
    const bool hasText = dict.contains(QStringLiteral("attStringForPath"));
    for (const PathKey &key : pathKeys()) {
        const QString &name = key.name;
        if (!key.read || (!hasText && name.startsWith(QLatin1String("att"))))
            continue;
        // A dictionary holds no absent values: an absent one is a missing key.
        if (const PropertyList value = dict.value(name); !value.isAbsent())
            key.read(*this, value);
    }
}

void VekObjPath::copyPathAttributesTo(VekObjPath &copy) const
{
    PropertyList own = PropertyList::dictionary();
    for (const PathKey &key : pathKeys())
        if (key.copied && key.write)
            key.write(*this, own);
    for (const PathKey &key : pathKeys())
        if (key.copied && key.read)
            if (const PropertyList value = own.value(key.name); !value.isAbsent())
                key.read(copy, value);
}

void VekObjPath::writePropertyListKeys(PropertyList &dict) const
{
    VekObject::writePropertyListKeys(dict);
    writePathKeys(dict);
}

void VekObjPath::readPropertyListKeys(const PropertyList &dict)
{
    VekObject::readPropertyListKeys(dict);
    // Reading notifies nobody.
    setIsLoadingPropertyList(true);
    readPathKeys(dict);
    setIsLoadingPropertyList(false);
}

void VekObjPath::copyAttributesTo(VekObject &copy) const
{
    VekObject::copyAttributesTo(copy);
    auto *path = dynamic_cast<VekObjPath *>(&copy);
    if (!path)
        return;
    // The copied points are already mirrored: the flags are only stored, as reading does.
    path->_flippedHorizontally = _flippedHorizontally;
    path->_flippedVertically = _flippedVertically;
    copyPathAttributesTo(*path);
}
