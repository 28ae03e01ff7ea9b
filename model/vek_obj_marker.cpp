// The highlighter marker: its colour number, colour and dictionary key.
#include "model/vek_obj_marker.h"

#include "model/services/shell_services.h"

#include <algorithm>

namespace {

const QString MarkerColorKey = QStringLiteral("markerColor");

int clampedColorNr(int number) { return std::clamp(number, 1, 5); }

} // namespace

std::shared_ptr<VekObjMarker> VekObjMarker::create()
{
    auto marker = makeObject<VekObjMarker>();
    const ShellServices &shell = shellServices();
    marker->_colorNr = clampedColorNr(shell.currentMarkerColorNr());
    marker->setObjLineWidth(shell.currentMarkerThickness());
    marker->setNoShadow(true);
    marker->setNote(QStringLiteral("M"));
    return marker;
}

Color VekObjMarker::strokeColor() const
{
    return shellServices().markerColor(_colorNr);
}

void VekObjMarker::setColorNr(int number)
{
    // Clamped before the comparison, so that an out-of-range number equal to the stored one
    // after clamping makes no undo step.
    number = clampedColorNr(number);
    if (number == _colorNr)
        return;
    registerUndo([old = _colorNr](VekObject &object) { static_cast<VekObjMarker &>(object).setColorNr(old); });
    _colorNr = number;
    didChange();
}

void VekObjMarker::writePropertyListKeys(PropertyList &dict) const
{
    VekObjFree::writePropertyListKeys(dict);
    dict.insert(MarkerColorKey, PropertyList::fromInt(_colorNr));
}

void VekObjMarker::readPropertyListKeys(const PropertyList &dict)
{
    VekObjFree::readPropertyListKeys(dict);
    if (dict.contains(MarkerColorKey))
        setColorNr(dict.value(MarkerColorKey).intValue());
}

void VekObjMarker::copyAttributesTo(VekObject &copy) const
{
    VekObjFree::copyAttributesTo(copy);
    static_cast<VekObjMarker &>(copy)._colorNr = _colorNr;
}
