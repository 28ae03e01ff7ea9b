// The path object's keys in the dictionary form: what it writes after the common keys and
// what it reads after them, and its part of a copy's attributes.
#include "model/vek_obj_path.h"

#include "platform/foundation/archiving.h"
#include "platform/foundation/c_locale.h"
#include "platform/text/rtf.h"

namespace {

// Arrow settings below these are unusable (a file may hold anything) and read as the defaults.
constexpr int MinArrowAngle = 2;
constexpr float MinArrowLength = 1.0f;

} // namespace

void VekObjPath::writePathKeys(PropertyList &dict) const
{
    dict.insert(QStringLiteral("class"), PropertyList::fromString(className()));
    if (!hasEditablePath())
        return;
    if (const auto data = archivedDataWithRootObject(*_path))
        dict.insert(QStringLiteral("path"), PropertyList::fromData(*data.value));
    dict.insert(QStringLiteral("lineWidth"), PropertyList::fromString(formatC("%.2f", double(_lineWidth))));
    dict.insert(QStringLiteral("flatness"), PropertyList::fromString(formatC("%.2f", double(_flatness))));
    dict.insert(QStringLiteral("joinStyle"), PropertyList::fromInt(joinStyle()));
    dict.insert(QStringLiteral("capStyle"), PropertyList::fromInt(capStyle()));
    dict.insert(QStringLiteral("dashPattern"), PropertyList::fromInt(_dashPattern));
    if (!_dashInfo.isAbsent())
        dict.insert(QStringLiteral("dashInfo"), _dashInfo);
    dict.insert(QStringLiteral("dashScale"), PropertyList::fromFloat(_dashScale));
    dict.insert(QStringLiteral("lineDrawPattern"), PropertyList::fromInt(_lineDrawPattern));
    dict.insert(QStringLiteral("lineDrawIntensity"), PropertyList::fromFloat(_lineDrawIntensity));
    dict.insert(QStringLiteral("arrowStart"), PropertyList::fromInt(_arrowTypeS));
    dict.insert(QStringLiteral("arrowEnd"), PropertyList::fromInt(_arrowTypeE));
    dict.insert(QStringLiteral("arrowAngle"), PropertyList::fromInt(_arrowAngle));
    dict.insert(QStringLiteral("arrowLength"), PropertyList::fromFloat(_arrowLength));
    if (_attStringForPath && !_attStringForPath->isEmpty()) {
        dict.insert(QStringLiteral("attStringForPath"),
                    PropertyList::fromData(RTFFromRange(*_attStringForPath, {0, _attStringForPath->length()})));
        dict.insert(QStringLiteral("attType"), PropertyList::fromInt(_attType));
        dict.insert(QStringLiteral("attOffset"), PropertyList::fromFloat(_attOffset));
        dict.insert(QStringLiteral("attSpace"), PropertyList::fromFloat(_attSpace));
    }
    dict.insert(QStringLiteral("clipType"), PropertyList::fromInt(_clipType));
    if (hasNaturalSize())
        dict.insert(QStringLiteral("orginalSize"), PropertyList::fromString(stringFromSize(_orgSize)));
}

void VekObjPath::readPathKeys(const PropertyList &dict)
{
    const auto has = [&dict](const char *key) { return dict.contains(QLatin1String(key)); };
    const auto value = [&dict](const char *key) { return dict.value(QLatin1String(key)); };

    _arrowTypeS = value("arrowStart").intValue();
    _arrowTypeE = value("arrowEnd").intValue();
    _arrowAngle = value("arrowAngle").intValue();
    if (_arrowAngle < MinArrowAngle)
        _arrowAngle = 45;
    _arrowLength = value("arrowLength").floatValue();
    if (!(_arrowLength >= MinArrowLength))
        _arrowLength = 5.0f;
    if (has("orginalSize"))
        _orgSize = value("orginalSize").sizeValue();
    if (has("attStringForPath")) {
        setAttStringForPath(attributedStringWithRTF(value("attStringForPath").dataValue()));
        if (has("attType"))
            setAttType(value("attType").intValue());
        if (has("attOffset"))
            setAttOffset(value("attOffset").floatValue());
        if (has("attSpace"))
            setAttSpace(value("attSpace").floatValue());
    }
    if (has("lineWidth"))
        setObjLineWidth(value("lineWidth").floatValue());
    if (has("flatness"))
        setObjFlatness(value("flatness").floatValue());
    if (has("joinStyle"))
        setJoinStyle(value("joinStyle").intValue());
    if (has("capStyle"))
        setCapStyle(value("capStyle").intValue());
    if (has("dashPattern"))
        setDashPatternUpdate(value("dashPattern").intValue(), false);
    if (has("dashInfo"))
        setDashInfo(value("dashInfo"));
    if (has("dashScale"))
        setDashScale(value("dashScale").floatValue(), false);
    if (has("lineDrawPattern"))
        setLineDrawPattern(value("lineDrawPattern").intValue(), false);
    if (has("lineDrawIntensity"))
        setLineDrawIntensity(value("lineDrawIntensity").floatValue(), false);
    if (has("clipType"))
        _clipType = value("clipType").intValue();
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
