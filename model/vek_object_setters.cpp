// VekObject: the undoable attribute setters.
//
// Each normalises its argument, returns when nothing changes, registers its inverse with
// the document's undo manager, stores, and announces the change (didChange).
#include "model/vek_object.h"

#include "model/gradient/gradient_fill.h"
#include "model/gradient/vek_gradient_view.h"
#include "model/services/document_services.h"
#include "model/vek_object_private.h"

#include <algorithm>

void VekObject::setDashPatternUpdate(int index, bool)
{
    _dashPattern = index;
}

void VekObject::setSimpleClip(bool flag)
{
    if (flag == _simpleClip)
        return;
    registerUndo([old = _simpleClip](VekObject &o) { o.setSimpleClip(old); });
    _simpleClip = flag;
    didChange();
}

void VekObject::setGroupWithNext(bool flag)
{
    if (flag == _grpWithNxt)
        return;
    registerUndo([old = _grpWithNxt](VekObject &o) { o.setGroupWithNext(old); });
    _grpWithNxt = flag;
    didChange();
}

void VekObject::setExclusive(bool flag)
{
    if (flag == _exclusive)
        return;
    registerUndo([old = _exclusive](VekObject &o) { o.setExclusive(old); });
    _exclusive = flag;
    didChange();
}

void VekObject::setNote(const QString &note)
{
    if (sameString(note, _note))
        return;
    if (!_note.isNull())
        registerUndo([old = _note](VekObject &o) { o.setNote(old); });
    _note = note;
}

void VekObject::setGroupID(const QString &groupID)
{
    if (sameString(groupID, _groupID))
        return;
    registerUndo([old = _groupID](VekObject &o) { o.setGroupID(old); });
    _groupID = groupID;
}

void VekObject::setAnchorName(const QString &name)
{
    // The bare "#" (or less) is no name.
    const QString stored = name.size() < 2 ? QString() : name;
    if (sameString(stored, _anchorName))
        return;
    registerUndo([old = _anchorName](VekObject &o) { o.setAnchorName(old); });
    _anchorName = stored;
}

void VekObject::restoreRepeatRange(int start, int end)
{
    if (start == _repeatStart && end == _repeatEnd)
        return;
    registerUndo([start = _repeatStart, end = _repeatEnd](VekObject &o) { o.restoreRepeatRange(start, end); });
    _repeatStart = start;
    _repeatEnd = end;
    didChange();
}

void VekObject::setRepeatStart(int page)
{
    page = std::max(page, 1);
    if (page == _repeatStart)
        return;
    // The end may move with the start; undo puts both back.
    registerUndo([start = _repeatStart, end = _repeatEnd](VekObject &o) { o.restoreRepeatRange(start, end); });
    _repeatStart = page;
    if (_repeatEnd > 0 && _repeatEnd < page)
        _repeatEnd = page;
    didChange();
}

void VekObject::setRepeatEnd(int page)
{
    if (_document)
        page = std::min(page, _document->numberOfPages());
    if (page == _repeatEnd)
        return;
    registerUndo([start = _repeatStart, end = _repeatEnd](VekObject &o) { o.restoreRepeatRange(start, end); });
    _repeatEnd = page;
    if (page > 0 && page < _repeatStart)
        _repeatStart = page;
    didChange();
}

void VekObject::setCapStyle(int style)
{
    if (style == _capStyle)
        return;
    registerUndo([old = _capStyle](VekObject &o) { o.setCapStyle(old); });
    _capStyle = style;
    didChange();
}

void VekObject::setJoinStyle(int style)
{
    if (style == _joinStyle)
        return;
    registerUndo([old = _joinStyle](VekObject &o) { o.setJoinStyle(old); });
    _joinStyle = style;
    didChange();
}

void VekObject::setObjFlatness(float flatness)
{
    if (!(flatness > 0))
        flatness = 1.0f;
    if (flatness == _flatness)
        return;
    registerUndo([old = _flatness](VekObject &o) { o.setObjFlatness(old); });
    _flatness = flatness;
    didChange();
}

void VekObject::setFillAlpha(float alpha)
{
    alpha = std::clamp(alpha, 0.0f, 1.0f);
    if (alpha == _fillAlpha)
        return;
    registerUndo([old = _fillAlpha](VekObject &o) { o.setFillAlpha(old); });
    _fillAlpha = alpha;
    didChange();
}

void VekObject::setObjFillRule(int rule)
{
    rule = std::clamp(rule, 0, 1);
    if (rule == _fillRule)
        return;
    registerUndo([old = _fillRule](VekObject &o) { o.setObjFillRule(old); });
    _fillRule = rule;
    didChange();
}

void VekObject::setDrawsStroke(bool flag)
{
    if (flag == _gFlags.drawsStroke)
        return;
    registerUndo([old = bool(_gFlags.drawsStroke)](VekObject &o) { o.setDrawsStroke(old); });
    _gFlags.drawsStroke = flag;
    didChange();
}

void VekObject::restoreFill(bool drawsFill, const std::optional<Color> &color, float alpha)
{
    registerUndo([flag = bool(_gFlags.drawsFill), oldColor = _fillColor, oldAlpha = _fillAlpha](VekObject &o) {
        o.restoreFill(flag, oldColor, oldAlpha);
    });
    _gFlags.drawsFill = drawsFill;
    _fillColor = color;
    _fillAlpha = alpha;
    didChange();
}

void VekObject::setDrawsFill(bool flag)
{
    if (flag == _gFlags.drawsFill)
        return;
    // Switching on may replace the colour and the alpha; undo brings all three back.
    registerUndo([old = bool(_gFlags.drawsFill), color = _fillColor, alpha = _fillAlpha](VekObject &o) {
        o.restoreFill(old, color, alpha);
    });
    _gFlags.drawsFill = flag;
    if (flag) {
        if (_gradType == 0) {
            if (!_fillColor) {
                _fillColor = Color::whiteColor();
            } else {
                _fillAlpha = _fillColor->alphaComponent();
                if (_fillAlpha < 0.1f)
                    _fillColor = _fillColor->colorWithAlphaComponent(1.0f);
            }
        }
        if (_fillAlpha < 0.1f)
            _fillAlpha = 1.0f;
    }
    didChange();
}

void VekObject::restoreStroke(const std::optional<Color> &color, bool drawsStroke)
{
    registerUndo([old = _strokeColor, flag = bool(_gFlags.drawsStroke)](VekObject &o) { o.restoreStroke(old, flag); });
    _strokeColor = color;
    _gFlags.drawsStroke = drawsStroke;
    didChange();
}

void VekObject::setObjStrokeColor(const std::optional<Color> &color)
{
    if (color != _strokeColor) {
        // Undo puts the stroke flag back with the colour: an object that stroked in the
        // default black without a colour of its own strokes again.
        registerUndo([old = _strokeColor, flag = bool(_gFlags.drawsStroke)](VekObject &o) { o.restoreStroke(old, flag); });
        _strokeColor = color;
        if (color && isVisibleAlpha(color->alphaComponent()) && _document)
            _document->updateMyColorWith(*color);
        didChange();
    }
    setDrawsStroke(_strokeColor && isVisibleAlpha(_strokeColor->alphaComponent()));
}

void VekObject::setFillColor(const std::optional<Color> &color)
{
    if (color != _fillColor) {
        registerUndo([old = _fillColor](VekObject &o) { o.setFillColor(old); });
        _fillColor = color;
        didChange();
    }
    if (_fillColor && isVisibleAlpha(_fillColor->alphaComponent()))
        setDrawsFill(true);
    else if (_gradType == 0)
        setDrawsFill(false);
}

void VekObject::setLineDrawIntensity(float intensity, bool update)
{
    intensity = std::clamp(intensity, 0.1f, 1.0f);
    if (intensity == _lineDrawIntensity)
        return;
    if (!update) {
        _lineDrawIntensity = intensity;
        return;
    }
    registerUndo([old = _lineDrawIntensity](VekObject &o) { o.setLineDrawIntensity(old, true); });
    _lineDrawIntensity = intensity;
    didChange();
}

void VekObject::setLineDrawPattern(int pattern, bool update)
{
    if (pattern == _lineDrawPattern)
        return;
    if (!update) {
        _lineDrawPattern = pattern;
        return;
    }
    registerUndo([old = _lineDrawPattern](VekObject &o) { o.setLineDrawPattern(old, true); });
    _lineDrawPattern = pattern;
    didChange();
}

void VekObject::setDashScale(float scale, bool update)
{
    if (scale == _dashScale)
        return;
    if (!update) {
        _dashScale = scale;
        return;
    }
    registerUndo([old = _dashScale](VekObject &o) { o.setDashScale(old, true); });
    _dashScale = scale;
    didChange();
}

void VekObject::setGradientType(int type, bool update)
{
    if (!update) {
        _gradType = type;
        return;
    }
    if (type == _gradType)
        return;
    registerUndo([old = _gradType](VekObject &o) { o.setGradientType(old, true); });
    _gradType = type;
    if (type != 0 && !_gradView)
        _gradView = makeGradientModel(shared_from_this(), {}, {});
    if (type != 0 && !drawsFill())
        setDrawsFill(true);   // its change announcement serves for both
    else
        didChange();
}

void VekObject::setGradientRotate(float degrees, bool update)
{
    if (!update) {
        _gradRotate = degrees;
        return;
    }
    if (degrees < 0 || degrees > 359 || degrees == _gradRotate)
        return;
    registerUndo([old = _gradRotate](VekObject &o) { o.setGradientRotate(old, true); });
    _gradRotate = degrees;
    didChange();
}

void VekObject::setGradientFlip(int flip, bool update)
{
    if (!update) {
        _gradFlip = flip;
        return;
    }
    if (flip == _gradFlip)
        return;
    registerUndo([old = _gradFlip](VekObject &o) { o.setGradientFlip(old, true); });
    _gradFlip = flip;
    didChange();
}

void VekObject::setGradientCenter(Point center, bool update)
{
    if (!update) {
        _gradCenter = center;
        return;
    }
    // A small offset counts as none, so the centre snaps back to the middle.
    const auto normalise = [](float c) { return std::clamp(std::abs(c) < 0.1f ? 0.0f : c, -1.0f, 1.0f); };
    center = {normalise(center.x), normalise(center.y)};
    if (center == _gradCenter)
        return;
    registerUndo([old = _gradCenter](VekObject &o) { o.setGradientCenter(old, true); });
    _gradCenter = center;
    didChange();
}

void VekObject::setGradientColorsAndColorRects(const PropertyList &colors, const PropertyList &colorRects)
{
    if (_gradView) {
        // Stop edits pass rectangle strings; copies pass the stops' shares.
        if (colorRects.at(0).isString() && colorRects.at(0).stringValue().startsWith(QLatin1Char('{')))
            _gradView->setColorRects(colorRects);
        else if (colorRects.count() > 0)
            _gradView->setColorRectsWithProportion(colorRects);
        _gradView->setGradColors(colors);
        return;
    }
    if (colors.isAbsent() || colorRects.isAbsent())
        return;
    _gradColors = colors;
    _gradProportion = colorRects;
}

void VekObject::setupGradientView()
{
    _gradView = makeGradientModel(shared_from_this(), _gradProportion, _gradColors);
    _gradColors = PropertyList();
    _gradProportion = PropertyList();
}

void VekObject::setGradientColors(const PropertyList &colors)
{
    if (!colors.isAbsent())
        _gradColors = colors;
}

void VekObject::setGradientColorRects(const PropertyList &proportions)
{
    if (!proportions.isAbsent())
        _gradProportion = proportions;
}
