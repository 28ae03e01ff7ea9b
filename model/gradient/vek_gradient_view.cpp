// VekGradientView: the stops, their forms for dictionaries, and their undoable editing.
#include "model/gradient/vek_gradient_view.h"

#include "model/vek_object.h"
#include "platform/foundation/archiving.h"
#include "platform/foundation/undo_manager.h"
#include "toolkit/cmyk_color.h"

#include <algorithm>
#include <numeric>

Rect VekGradientView::_gradientArea;
float VekGradientView::CRLRCT_Y = 0;

namespace {

constexpr float stopSide = 4.0f;
constexpr char16_t deleteCharacter = 0x7F;

Rect stopSquareAt(float x)
{
    return Rect(x, VekGradientView::stopRowY(), stopSide, stopSide);
}

// The x of the first and the last stop of the standard row.
float firstStopX()
{
    return 2.0f;
}

float lastStopX()
{
    return VekGradientView::gradientArea().width() - stopSide;
}

} // namespace

VekGradientView::VekGradientView(Size size)
{
    if (_gradientArea == Rect()) {
        _gradientArea = Rect(2, 2, size.width - 4, size.height - 10);
        CRLRCT_Y = _gradientArea.height() + 2 + 1.5f;
    }
    setDefaultGradient();
}

void VekGradientView::changed() const
{
    if (_changeHandler)
        _changeHandler();
}

PropertyList VekGradientView::gradColors() const
{
    PropertyList list = PropertyList::array();
    for (const Color &color : _gradColors)
        if (const auto data = archivedDataWithRootObject(color))
            list.append(PropertyList::fromData(*data.value));
    return list;
}

PropertyList VekGradientView::colorRects() const
{
    PropertyList list = PropertyList::array();
    for (const Rect &rect : _colorRects)
        list.append(PropertyList(stringFromRect(rect)));
    return list;
}

std::vector<float> VekGradientView::colorProportion() const
{
    if (!_givenProportion.empty())
        return _givenProportion;
    std::vector<float> shares;
    if (_colorRects.size() < 2)
        return shares;
    // Shares of the distance between the end stops: the same span the layout spreads them
    // over, so that stops stay where they are through any number of saves.
    const double span = double(_colorRects.back().origin.x) - _colorRects.front().origin.x;
    double sum = 0;
    for (size_t i = 1; i + 1 < _colorRects.size(); ++i) {
        const double share = span > 0 ? (double(_colorRects[i].origin.x) - _colorRects[i - 1].origin.x) / span : 0;
        shares.push_back(float(share));
        sum += float(share);
    }
    shares.push_back(float(1.0 - sum));
    return shares;
}

PropertyList VekGradientView::colorProportionList() const
{
    PropertyList list = PropertyList::array();
    for (float share : colorProportion())
        list.append(PropertyList::fromFloat(share));
    return list;
}

std::optional<Color> VekGradientView::firstColor() const
{
    if (_gradColors.empty())
        return std::nullopt;
    return _gradColors.front();
}

std::optional<Color> VekGradientView::lastColor() const
{
    if (_gradColors.empty())
        return std::nullopt;
    return _gradColors.back();
}

void VekGradientView::setGradColors(const PropertyList &archivedColors)
{
    _image = QImage();
    _gradColors.clear();
    if (archivedColors.count() >= 2) {
        for (const PropertyList &entry : archivedColors.elements())
            if (auto color = unarchiveColorWithData(entry.dataValue()))
                _gradColors.push_back(*color.value);
        renderSampleImage();
    }
    changed();
}

void VekGradientView::setColorRects(const PropertyList &rectStrings)
{
    _colorRects.clear();
    _givenProportion.clear();
    if (rectStrings.count() >= 2)
        for (const PropertyList &entry : rectStrings.elements())
            if (!entry.isAbsent())
                _colorRects.push_back(entry.rectValue());
    renderSampleImage();
    changed();
}

void VekGradientView::setColorRectsWithProportion(const std::vector<float> &proportions)
{
    if (proportions.empty())
        return;
    _colorRects.clear();
    const double first = firstStopX(), span = double(lastStopX()) - first;
    double sum = 0;
    _colorRects.push_back(stopSquareAt(float(first)));
    // A damaged list (negative shares, a sum above 1) still gives stops in order on the row.
    for (size_t i = 0; i + 1 < proportions.size(); ++i) {
        sum = std::clamp(sum + double(proportions[i]), 0.0, 1.0);
        _colorRects.push_back(stopSquareAt(float(std::max(double(_colorRects.back().origin.x), first + sum * span))));
    }
    _colorRects.push_back(stopSquareAt(float(first + span)));
    _givenProportion = proportions;
    renderSampleImage();
    changed();
}

void VekGradientView::setColorRectsWithProportion(const PropertyList &proportions)
{
    std::vector<float> shares;
    for (const PropertyList &entry : proportions.elements())
        shares.push_back(entry.floatValue());
    setColorRectsWithProportion(shares);
}

void VekGradientView::setDefaultColorRects()
{
    _colorRects = {stopSquareAt(firstStopX()), stopSquareAt(lastStopX())};
    _givenProportion.clear();
    _selectedCRIndex = -1;
}

void VekGradientView::setDefaultGradient()
{
    setDefaultColorRects();
    _gradColors = {Color::whiteColor(), Color::colorWithCalibratedRed(0.1f, 0.5f, 1.0f, 1.0f)};
    renderSampleImage();
    changed();
}

void VekGradientView::setStops(std::vector<Color> colors, std::vector<Rect> rects)
{
    _gradColors = std::move(colors);
    _colorRects = std::move(rects);
    _givenProportion.clear();
    if (_selectedCRIndex >= int(_colorRects.size()))
        _selectedCRIndex = -1;
    renderSampleImage();
    changed();
}

void VekGradientView::renderSampleImage()
{
    _image = gradient(GradientLinear, _gradientArea.size, 0, 0, Point(), false);
}

QImage VekGradientView::sampleImage() const
{
    if (!_image.isNull())
        return _image;
    return gradient(GradientLinear, _gradientArea.size, 0, 0, Point(), false);
}

void VekGradientView::setSelectedCRIndex(int index)
{
    _selectedCRIndex = index >= 0 && index < int(_colorRects.size()) ? index : -1;
}

int VekGradientView::colorRectUnder(Point p) const
{
    for (size_t i = 0; i < _colorRects.size(); ++i)
        if (mouseInRect(p, insetRect(_colorRects[i], -1, -1), false))
            return int(i);
    return -1;
}

int VekGradientView::colorRectBefore(Point p) const
{
    int before = 0;
    for (size_t i = 0; i < _colorRects.size(); ++i)
        if (_colorRects[i].origin.x <= p.x)
            before = int(i);
    return before;
}

float VekGradientView::totalLengthOf(const std::vector<Rect> &rects)
{
    float length = 0;
    for (size_t i = 1; i < rects.size(); ++i)
        length += rects[i].origin.x - rects[i - 1].origin.x;
    return length;
}

void VekGradientView::registerStopsUndo()
{
    const auto object = vekObject();
    UndoManager *undo = object ? object->undoManager() : nullptr;
    if (!undo)
        return;
    undo->registerUndoWithTarget(object.get(), [self = shared_from_this(), colors = _gradColors, rects = _colorRects] {
        self->restoreStops(colors, rects);
    });
}

void VekGradientView::restoreStops(std::vector<Color> colors, std::vector<Rect> rects)
{
    registerStopsUndo();
    _gradColors = std::move(colors);
    _colorRects = std::move(rects);
    _givenProportion.clear();
    _selectedCRIndex = -1;
    stopsEdited();
}

void VekGradientView::stopsEdited()
{
    renderSampleImage();
    if (const auto object = vekObject())
        object->didChange();
    changed();
}

bool VekGradientView::insertStopAt(Point p)
{
    if (!vekObject() || _colorRects.size() < 2 || _gradColors.size() != _colorRects.size())
        return false;
    // Only between the end stops: a stop outside them would break the order of the row.
    if (!(p.x > _colorRects.front().origin.x && p.x < _colorRects.back().origin.x))
        return false;
    const int i = colorRectBefore(p);
    registerStopsUndo();
    _gradColors.insert(_gradColors.begin() + i, _gradColors[size_t(i)]);
    _colorRects.insert(_colorRects.begin() + i + 1, stopSquareAt(p.x));
    _givenProportion.clear();
    _selectedCRIndex = i + 1;
    stopsEdited();
    return true;
}

bool VekGradientView::beginStopMove()
{
    const int i = _selectedCRIndex;
    if (!vekObject() || i <= 0 || i + 1 >= int(_colorRects.size()))
        return false;
    registerStopsUndo();
    return true;
}

bool VekGradientView::moveSelectedStopTo(float x)
{
    const int i = _selectedCRIndex;
    if (!vekObject() || i <= 0 || i + 1 >= int(_colorRects.size()))
        return false;
    if (!(x > _colorRects[size_t(i) - 1].origin.x && x < _colorRects[size_t(i) + 1].origin.x))
        return false;
    _colorRects[size_t(i)] = stopSquareAt(x);
    _givenProportion.clear();
    stopsEdited();
    return true;
}

bool VekGradientView::changeSelectedRectColorTo(const Color &color)
{
    const int i = _selectedCRIndex;
    if (!vekObject() || i < 0 || i >= int(_gradColors.size()))
        return false;
    const Color rgb = rgbColor(color);
    if (rgb == _gradColors[size_t(i)])
        return false;
    registerStopsUndo();
    _gradColors[size_t(i)] = rgb;
    stopsEdited();
    return true;
}

bool VekGradientView::doEventForChar(char16_t character, unsigned)
{
    const int i = _selectedCRIndex;
    if (character != deleteCharacter || !vekObject() || _gradColors.size() <= 2 || _colorRects.size() <= 2)
        return false;
    if (i <= 0 || i + 1 >= int(_colorRects.size()) || i >= int(_gradColors.size()))
        return false;
    registerStopsUndo();
    _gradColors.erase(_gradColors.begin() + i);
    _colorRects.erase(_colorRects.begin() + i);
    _givenProportion.clear();
    _selectedCRIndex = -1;
    stopsEdited();
    return true;
}
