// VekObject: the object's own shadow settings beside the document's common shadow.
#include "model/vek_object.h"

#include "model/services/canvas_services.h"
#include "model/services/document_services.h"
#include "model/services/panel_services.h"
#include "platform/foundation/archiving.h"
#include "toolkit/cmyk_color.h"

#include <cmath>
#include <numbers>

bool VekObject::indvShadow() const
{
    if (_shadowValues.isAbsent() || _noShadow)
        return false;
    return _shadowValues.value(ShadowStateKey).intValue() != 0;
}

float VekObject::indvShadowOffset() const
{
    return _shadowValues.value(ShadowOffsetKey).floatValue();
}

float VekObject::indvShadowBlur() const
{
    return _shadowValues.value(ShadowBlurKey).floatValue();
}

float VekObject::indvShadowAngle() const
{
    return _shadowValues.value(ShadowAngleKey).floatValue();
}

Color VekObject::indvShadowColor() const
{
    if (_shadowValues.isAbsent())
        return Color::clearColor();
    // Settings whose colour cannot be read keep their shadow in the default colour.
    const auto archived = unarchiveColorWithData(_shadowValues.value(ShadowColorKey).dataValue());
    const Color color = archived ? *archived.value : defaultShadowColor();
    const CanvasServices *view = vekView();
    if (documentUsesCMYK() && view && view->drawingToPDF())
        return cmykColor(color);
    return color;
}

Size VekObject::indvShadowSize() const
{
    const double t = -(double(indvShadowAngle()) - 90) * std::numbers::pi / 180;
    const double offset = indvShadowOffset();
    return {float(offset * std::cos(t)), float(offset * std::sin(t))};
}

void VekObject::createDefaultShadowValues()
{
    if (!_shadowValues.isAbsent())
        return;
    PropertyList values = _document ? _document->documentShadowValues() : PropertyList();
    if (values.count() == 0)
        values = panelServices().defaultShadowValues();
    // Copies of the common settings do not switch the own shadow on.
    values.remove(ShadowStateKey);
    _shadowValues = values.isDictionary() ? values : PropertyList::dictionary();
}

void VekObject::setIndvShadowValues(const PropertyList &values)
{
    if (values == _shadowValues)
        return;
    // Registered also when there were no own settings, so the first one can be undone.
    registerUndo([old = _shadowValues](VekObject &o) { o.setIndvShadowValues(old); });
    _shadowValues = values.isDictionary() ? values : PropertyList();
    if (CanvasServices *view = vekView())
        view->display();
    // Undo and redo come this way: the panels showing the object follow.
    didChange();
}

void VekObject::setIndvShadowValue(const PropertyList &value, const QString &key)
{
    const PropertyList old = _shadowValues;
    const Rect before = boundsToRedraw();
    const bool isState = key == ShadowStateKey;
    if (isState && value.intValue() != 1) {
        _shadowValues = PropertyList();
    } else {
        createDefaultShadowValues();
        if (isState || key == ShadowAngleKey || key == ShadowBlurKey || key == ShadowOffsetKey || key == ShadowColorKey)
            _shadowValues.insert(key, value);
    }
    if (_shadowValues == old)
        return;
    // Registered also when there were no own settings, so the first one can be undone.
    registerUndo([old](VekObject &o) { o.setIndvShadowValues(old); });
    didChange();
    CanvasServices *view = vekView();
    if (!view)
        return;
    if (isState) {
        view->display();
        return;
    }
    // Both the old and the new shadow area need redrawing.
    view->setNeedsDisplayInRect(unionRect(before, boundsToRedraw()));
}

void VekObject::setNoShadow(bool flag)
{
    if (flag == _noShadow)
        return;
    didChange();   // the area with the old shadow
    registerUndo([old = _noShadow](VekObject &o) { o.setNoShadow(old); });
    _noShadow = flag;
    didChange();
}
