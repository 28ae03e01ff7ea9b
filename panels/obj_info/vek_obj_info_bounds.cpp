// Location, size, rotation, scale, natural size and pixel size of the selected objects,
// typed and shown in the selected unit.
#include "panels/obj_info/vek_obj_info_controller.h"

#include "document/vek_document.h"
#include "model/vek_obj_image.h"
#include "model/vek_obj_text.h"
#include "panels/float_slider.h"
#include "panels/obj_info/bounds_editing.h"
#include "panels/panel_canvas.h"
#include "platform/foundation/c_locale.h"
#include "platform/foundation/localized_strings.h"
#include "toolkit/units.h"

#include <QCheckBox>
#include <QLabel>

#include <cmath>

namespace {

const QString SetBounds = QStringLiteral("Set Bounds");

// The most pixels a resampled image may have: beyond it a typo would allocate gigabytes.
constexpr double MaximumImagePixels = 100e6;

Rect roundedOrigin(Rect r)
{
    r.origin = Point(std::round(r.origin.x), std::round(r.origin.y));
    return r;
}

Rect roundedSize(Rect r)
{
    r.size = Size(std::round(r.width()), std::round(r.height()));
    return r;
}

} // namespace

void VekObjInfoController::finishBoundsChange(const QString &undoName)
{
    updateLocSizeInfo();
    if (PanelCanvas *canvas = mainPanelCanvas())
        canvas->updateRulerMarkers();
    if (!undoName.isEmpty())
        nameUndo(undoName);
}

void VekObjInfoController::changeObjectBounds(VekTextField &field)
{
    PanelCanvas *canvas = mainPanelCanvas();
    const auto current = currentObject();
    if (!canvas || !current)
        return;
    const auto objects = canvas->selectedObjects();
    const float v = ConvertToPoints(selectedUnit(), floatValueOf(field.text()));
    std::vector<Rect> bounds;
    for (const auto &o : objects)
        bounds.push_back(o->bounds());
    std::optional<std::vector<Rect>> changed;
    if (&field == txLocX || &field == txLocY)
        changed = boundsForLocation(bounds, current->bounds(), &field == txLocX ? BoundsAxis::X : BoundsAxis::Y, v,
                                    optRelativeMove->isChecked());
    else if (&field == txSzW || &field == txSzH)
        changed = boundsForSize(bounds, current->bounds(), canvas->selectedObjectsBounds(),
                                &field == txSzW ? BoundsAxis::X : BoundsAxis::Y, v,
                                {optResizeProportional->isChecked(), optResizeWHtogether->isChecked(),
                                 optRelativeMove->isChecked()});
    if (!changed) {
        updateLocSizeInfo();
        return;
    }
    m_refreshing = true;
    for (size_t i = 0; i < objects.size(); ++i)
        objects[i]->setBounds((*changed)[i]);
    m_refreshing = false;
    finishBoundsChange(SetBounds);
}

void VekObjInfoController::rotate(VekTextField &field)
{
    sldrRotate->setFloatValue(std::fmod(floatValueOf(field.text()), 360.0f));
    rotateBySlider();
}

void VekObjInfoController::rotateBySlider()
{
    PanelCanvas *canvas = mainPanelCanvas();
    const auto current = currentObject();
    if (!canvas || !current)
        return;
    const float v = float(sldrRotate->floatValue());
    const auto objects = canvas->selectedObjects();
    m_refreshing = true;
    if (objects.size() == 1) {
        const Rect b = current->bounds();
        current->setRotation(v, Point(b.midX(), b.midY()), true);
    } else {
        const Rect s = canvas->selectedObjectsBounds();
        for (const auto &o : objects)
            o->setRotation(v, Point(s.midX(), s.midY()), true);
    }
    m_refreshing = false;
    sldrRotate->setFloatValue(current->objRotation());
    txRotate->setText(QString::number(int(sldrRotate->floatValue())));
    updateLocSizeInfo();
}

void VekObjInfoController::scaleProportionally(bool released)
{
    PanelCanvas *canvas = mainPanelCanvas();
    const auto current = currentObject();
    const float s = float(sldrScale->floatValue());
    txScale->setText(QString::number(int(s)));
    if (!canvas || !current)
        return;
    const int unit = selectedUnit();
    const auto objects = canvas->selectedObjects();
    const Rect selection = canvas->selectedObjectsBounds();
    if (!released) {
        // While the slider moves only the sizes it would give are shown.
        const Size c = current->bounds().size;
        QString preview = formatC("%.1f x %.1f", double(ConvertPointsTo(unit, c.width * s / 100)),
                                  double(ConvertPointsTo(unit, c.height * s / 100)));
        if (objects.size() > 1)
            preview += formatC(" %.1f x %.1f", double(ConvertPointsTo(unit, selection.width() * s / 100)),
                               double(ConvertPointsTo(unit, selection.height() * s / 100)));
        txMultiSelInfo->setText(preview);
        return;
    }
    txMultiSelInfo->clear();
    std::vector<Rect> bounds;
    for (const auto &o : objects)
        bounds.push_back(o->bounds());
    const auto scaled = boundsForScale(bounds, selection, s);
    if (scaled) {
        m_refreshing = true;
        for (size_t i = 0; i < objects.size(); ++i) {
            objects[i]->setBounds(scaled->bounds[i]);
            if (auto *text = dynamic_cast<VekObjText *>(objects[i].get()))
                text->scaleContentsBy(scaled->factor);
        }
        m_refreshing = false;
    }
    sldrScale->setFloatValue(100);
    txScale->setText(QStringLiteral("100"));
    finishBoundsChange(scaled ? SetBounds : QString());
}

void VekObjInfoController::changeToNaturalSize()
{
    PanelCanvas *canvas = mainPanelCanvas();
    const auto current = currentObject();
    if (!canvas || !current)
        return;
    const auto objects = canvas->selectedObjects();
    bool changed = false;
    m_refreshing = true;
    if (objects.size() == 1 || !optResizeProportional->isChecked() || !current->hasEditablePath()) {
        for (const auto &o : objects)
            if (o->hasNaturalSize()) {
                o->setToNaturalSize();
                changed = true;
            }
    } else {
        for (const auto &model : objects) {
            const Size original = model->originalSize();
            if (!model->hasNaturalSize() || (original.width == 0 && original.height == 0))
                continue;
            const Size factors = naturalAspectFactors(model->bounds().size, original);
            const Rect s = canvas->selectedObjectsBounds();
            for (const auto &o : objects)
                o->setBounds(scaledAbout(o->bounds(), factors, Point(s.midX(), s.midY())));
            changed = true;
            break;
        }
    }
    m_refreshing = false;
    finishBoundsChange(changed ? SetBounds : QString());
}

void VekObjInfoController::changeImageSize(VekTextField &field)
{
    const auto current = currentObject();
    auto *image = dynamic_cast<VekObjImage *>(current.get());
    if (!image)
        return;
    const float v = ConvertToPoints(selectedUnit(), floatValueOf(field.text()));
    const Size p(std::max(image->imgrepSize().width, 0.1f), std::max(image->imgrepSize().height, 0.1f));
    const bool width = &field == txImgSzW;
    const float side = width ? p.width : p.height;
    if (!(v > 0) || std::fabs(v - side) < 0.1f) {
        updateLocSizeInfo();
        return;
    }
    const float f = v / side;
    const float other = optImgResizeWH->isChecked() ? f : 1;
    const Size factors = width ? Size(f, other) : Size(other, f);
    m_refreshing = true;
    for (const auto &o : selection())
        if (auto *each = dynamic_cast<VekObjImage *>(o.get())) {
            const Size pixels(each->imgrepSize().width * factors.width, each->imgrepSize().height * factors.height);
            if (double(pixels.width) * pixels.height <= MaximumImagePixels)
                each->setImgrepSize(pixels);
        }
    m_refreshing = false;
    finishBoundsChange(SetBounds);
}

void VekObjInfoController::locateAtIntegralOrigin()
{
    for (const auto &o : selection())
        if (!optImageObjOnly->isChecked() || dynamic_cast<VekObjImage *>(o.get()))
            o->setBounds(roundedOrigin(o->bounds()));
    updateLocSizeInfo();
}

void VekObjInfoController::setSizeIntegral()
{
    for (const auto &o : selection())
        if (!optImageObjOnly->isChecked() || dynamic_cast<VekObjImage *>(o.get()))
            o->setBounds(roundedSize(o->bounds()));
    updateLocSizeInfo();
}
