// The inspector's attribute actions: colours, line width, the pop-ups, matrices, switches
// and sliders, the shadow switches, the text along a path, the gradient presets and the
// images it makes. Each goes to every selected object that has the attribute, through the
// object's own setter, and names the undo step.
#include "panels/obj_info/vek_obj_info_controller.h"

#include "document/vek_document.h"
#include "model/gradient/vek_gradient_view.h"
#include "model/vek_obj_image.h"
#include "model/vek_obj_path.h"
#include "model/vek_obj_text.h"
#include "panels/colour_well.h"
#include "panels/filters/effect_images.h"
#include "panels/filters/vek_if_controller.h"
#include "panels/float_slider.h"
#include "panels/panel_canvas.h"
#include "panels/shadow/vek_shadow_controller.h"
#include "platform/foundation/c_locale.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/undo_manager.h"
#include "platform/image/image.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QtDebug>

#include <cmath>

namespace {

const QString SetObjectColor = QStringLiteral("Set Object Color");
const QString SetObjectProperty = QStringLiteral("Set Object Property");
const QString ObjectProperty = QStringLiteral("Object Property");

// Colours from the panel: a five-component custom colour (CMYK) becomes device CMYK, device
// RGB becomes calibrated RGB; others stay as they are.
Color normalised(const Color &color)
{
    if (color.colorSpaceName() == CustomColorSpace && color.numberOfComponents() == 5) {
        float c[5];
        color.getComponents(c);
        return Color::colorWithDeviceCyan(c[0], c[1], c[2], c[3], c[4]);
    }
    if (color.colorSpaceName() == DeviceRGBColorSpace)
        if (auto calibrated = color.colorUsingColorSpaceName(CalibratedRGBColorSpace))
            return *calibrated;
    return color;
}

int matrixColumn(QButtonGroup *matrix)
{
    return std::max(0, matrix->checkedId());
}

// Puts a gradient's stops back (undo and redo of applying a preset).
void setGradientStops(VekObject &object, const PropertyList &colors, const PropertyList &proportions)
{
    const std::shared_ptr<VekGradientView> &view = object.gradientView();
    if (!view)
        return;
    const PropertyList oldColors = view->gradColors(), oldProportions = view->colorProportionList();
    if (UndoManager *undo = object.undoManager())
        undo->registerUndoWithTarget(&object, [keep = object.shared_from_this(), oldColors, oldProportions] {
            setGradientStops(*keep, oldColors, oldProportions);
        });
    view->setColorRectsWithProportion(proportions);
    view->setGradColors(colors);
    object.didChange();
}

} // namespace

void VekObjInfoController::changeObjectColor(ColourWell *well)
{
    const auto objects = selection();
    if (objects.empty() || !well)
        return;
    const Color color = normalised(well->color());
    for (const auto &o : objects) {
        if (well == cwObjFill)
            o->setFillColor(color);
        else if (well == cwObjStroke)
            o->setObjStrokeColor(color);
        else if (well == cwTxtOutline) {
            if (auto *text = dynamic_cast<VekObjText *>(o.get()))
                text->setOutlineColor(color);
        } else if (well == cwImgColor) {
            if (auto *image = dynamic_cast<VekObjImage *>(o.get()))
                image->setColorizeWith(color);
        }
    }
    nameUndo(SetObjectColor);
}

void VekObjInfoController::resetImageColor()
{
    for (const auto &o : selection())
        if (auto *image = dynamic_cast<VekObjImage *>(o.get()))
            image->setColorizeWith(Color::clearColor());
    btnImgColorReset->setEnabled(false);
}

void VekObjInfoController::changeLineWidth(QObject *sender)
{
    const auto objects = selection();
    if (objects.empty())
        return;
    float v = sender == txLineWidth ? floatValueOf(txLineWidth->text()) : float(static_cast<FloatSlider *>(sender)->floatValue());
    if (std::fabs(v) < 0.1f || !std::isfinite(v))
        v = 0;
    if (v < 0 && sender != sldrTxtOutline)
        v = 0;
    if (sender == sldrLineWidth)
        txLineWidth->setText(formatFloat(v));
    else if (sender == txLineWidth) {
        if (sldrLineWidth->floatMaximum() < v)
            sldrLineWidth->setFloatRange(sldrLineWidth->floatMinimum(), v);
        sldrLineWidth->setFloatValue(v);
    }
    m_refreshing = true;
    for (const auto &o : objects)
        if (o->canDrawStroke() || dynamic_cast<VekObjText *>(o.get()))
            o->setObjLineWidth(v);
    m_refreshing = false;
    if (sender == sldrTxtOutline)
        sldrTxtOutline->setFloatValue(0);
    nameUndo(SetObjectProperty);
    updateInfo();
}

void VekObjInfoController::changeObjectProperty(QObject *sender)
{
    const auto objects = selection();
    if (objects.empty())
        return;
    int value = 0;
    if (auto *popUp = qobject_cast<QComboBox *>(sender))
        value = popUp->currentIndex();
    else
        value = matrixColumn(static_cast<QButtonGroup *>(sender));
    for (const auto &o : objects) {
        auto *path = o->hasEditablePath() ? dynamic_cast<VekObjPath *>(o.get()) : nullptr;
        if (sender == pupGradType)
            o->setGradientType(pupGradType->currentData().toInt(), true);
        else if (sender == pupRepeat)
            o->setRepeatType(value);
        else if (sender == pupImgCompositeOps) {
            if (auto *image = dynamic_cast<VekObjImage *>(o.get()))
                image->setCompositeOperation(unsigned(value));
        } else if (sender == mtxCap && o->hasEditablePath())
            o->setCapStyle(value);
        else if (sender == mtxJoin && o->hasEditablePath())
            o->setJoinStyle(value);
        else if (sender == mtxFillRule && o->hasEditablePath())
            o->setObjFillRule(value);
        else if (sender == pupDash && o->hasEditablePath())
            // The item's dash number, which is not its index once a pattern was left out.
            o->setDashPatternUpdate(pupDash->currentData().toInt(), true);
        else if (sender == pupLDrawStyles && o->hasEditablePath())
            o->setLineDrawPattern(pupLDrawStyles->currentData().toInt(), true);
        else if (path) {
            if (sender == mtxArrowS)
                path->setStartArrow(value);
            else if (sender == mtxArrowE)
                path->setEndArrow(value);
            else if (sender == mtxAttType)
                path->setAttType(value);
            else if (sender == mtxClipType)
                path->setClipType(value);
        }
    }
    nameUndo(SetObjectProperty);
    updateInfo();
}

void VekObjInfoController::changeObjectOption(QAbstractButton *sender)
{
    const auto objects = selection();
    if (objects.empty())
        return;
    const bool on = sender->isChecked();
    for (const auto &o : objects) {
        if (sender == optObjFill)
            o->setDrawsFill(on);
        else if (sender == optExclusive)
            o->setExclusive(on);
        else if (sender == optObjStroke) {
            if (o->canDrawStroke())
                o->setDrawsStroke(on);
        } else if (sender == optTxtConnect)
            o->setGroupWithNext(on);
        else if (sender == optTxtSimpleClip)
            o->setSimpleClip(on);
        else if (sender == optFlipHGrad)
            o->setGradientFlip(on ? 1 : 0, true);
        else if (sender == optFlipH)
            o->setFlippedHorizontally(on);
        else if (sender == optFlipV)
            o->setFlippedVertically(on);
    }
    nameUndo(ObjectProperty);
    updateInfo();
}

void VekObjInfoController::changeObjectShadowOption(QObject *sender)
{
    const auto objects = selection();
    if (objects.empty())
        return;
    if (sender == btnIndvShdwVals) {
        VekShadowController::sharedShadowController().updateAndShowWindow(true, ShadowPanelLevel::Objects);
        return;
    }
    for (const auto &o : objects) {
        if (sender == optNoShadow)
            o->setNoShadow(optNoShadow->isChecked());
        else
            o->setIndvShadowValue(PropertyList::fromInt(optIndvShadow->isChecked() ? 1 : 0), QStringLiteral("state"));
    }
    updateShadowInfoFor(currentObject());
}

void VekObjInfoController::changeObjectValue(VekTextField &field)
{
    const auto objects = selection();
    if (objects.empty())
        return;
    const float v = floatValueOf(field.text());
    FloatSlider *slider = nullptr;
    if (&field == txLineWidth) {
        changeLineWidth(txLineWidth);
        return;
    }
    if (&field == txRepeatStart || &field == txRepeatEnd) {
        for (const auto &o : objects) {
            if (&field == txRepeatStart)
                o->setRepeatStart(intValueOf(field.text()));
            else
                o->setRepeatEnd(intValueOf(field.text()));
        }
        updateInfo();
        return;
    }
    if (&field == txtFillAlpha) {
        sldrFillAlpha->setFloatValue(std::clamp(v / 100, 0.0f, 1.0f));
        slider = sldrFillAlpha;
    } else if (&field == txSkewX)
        slider = sldrSkewX;
    else if (&field == txSkewY)
        slider = sldrSkewY;
    else if (&field == txRotateGrad)
        slider = sldrRotateGrad;
    else if (&field == txTxtPadding)
        slider = sldrTxtPadding;
    else if (&field == txTxtHyphen)
        slider = sldrTxtHyphen;
    if (!slider)
        return;
    if (slider != sldrFillAlpha) {
        if (slider == sldrTxtPadding || slider == sldrTxtHyphen)
            slider->setFloatValue(std::clamp(double(v), 0.0, slider->floatMaximum()));
        else
            slider->setFloatValue(v);
    }
    changeSliderValue(slider, true);
}

void VekObjInfoController::changeSliderValue(FloatSlider *slider, bool released)
{
    const auto objects = selection();
    if (objects.empty())
        return;
    const float v = float(slider->floatValue());
    m_refreshing = true;
    for (const auto &o : objects) {
        auto *path = o->hasEditablePath() ? dynamic_cast<VekObjPath *>(o.get()) : nullptr;
        auto *text = dynamic_cast<VekObjText *>(o.get());
        if (slider == sldrSkewX)
            o->setSkewX(v, true);
        else if (slider == sldrSkewY)
            o->setSkewY(v, true);
        else if (slider == sldrFlatness)
            o->setObjFlatness(v);
        else if (slider == sldrDashScale)
            o->setDashScale(v, true);
        else if (slider == sldrDrawIntensity)
            o->setLineDrawIntensity(v, true);
        else if (slider == sldrFillAlpha)
            o->setFillAlpha(v);
        else if (slider == sldrRotateGrad)
            o->setGradientRotate(v, true);
        else if (slider == sldrGradCenterX || slider == sldrGradCenterY)
            o->setGradientCenter(Point(float(sldrGradCenterX->floatValue()), float(sldrGradCenterY->floatValue())), true);
        else if (path && slider == sldrAttOffset)
            path->setAttOffset(v);
        else if (path && slider == sldrAttSpace)
            path->setAttSpace(v);
        else if (path && slider == sldrArrowLength)
            path->setArrowLength(v, int(sldrArrowAngle->floatValue()));
        else if (path && slider == sldrArrowAngle)
            path->setArrowLength(path->arrowLength(), int(v));
        else if (text && slider == sldrTxtPadding) {
            text->setTCPadding(std::clamp(v, 0.0f, float(slider->floatMaximum())));
            if (released)
                text->controlConnection();
        } else if (text && slider == sldrTxtHyphen) {
            text->setHyphenFactor(std::clamp(v, 0.0f, 1.0f));
            if (released)
                text->controlConnection();
        }
    }
    m_refreshing = false;
    updateInfo();
}

void VekObjInfoController::updateAttString()
{
    const auto current = currentObject();
    auto *path = current && current->hasEditablePath() ? dynamic_cast<VekObjPath *>(current.get()) : nullptr;
    if (!path)
        return;
    const QString typed = txAtt->text();
    const auto old = path->attStringForPath();
    if (old && old->string() == typed)
        return;
    if (typed.isEmpty()) {
        path->setAttStringForPath(std::nullopt);
        return;
    }
    // The typed text keeps the attributes its first character had.
    path->setAttStringForPath(AttributedString(typed, old && old->length() > 0 ? old->attributesAt(0) : TextAttributes()));
}

// ---- Gradient presets ----

void VekObjInfoController::toFromGradViews(QObject *sender)
{
    const auto current = currentObject();
    if (!current || !current->gradientView()) {
        qWarning("obj has no gradview to be saved...");
        return;
    }
    const int i = gradStepper->value();
    const std::shared_ptr<VekGradientView> &view = current->gradientView();
    if (sender == btnToGradMini) {
        const int position = m_presets.insert(i, view->gradColors(), view->colorProportionList());
        if (position < 0)
            return;
        const QSignalBlocker blocker(gradStepper);
        gradStepper->setRange(0, m_presets.count() - 1);
        gradStepper->setValue(position);
        gradStepper->setEnabled(m_presets.count() > 1);
        btnDelGrad->setEnabled(true);
        btnFromGradMini->setEnabled(true);
        showPreset(position);
        return;
    }
    if (i < 0 || i >= m_presets.count())
        return;
    setGradientStops(*current, m_presets.at(i).colors, m_presets.at(i).proportions);
    nameUndo(SetObjectProperty);
}

void VekObjInfoController::updateGradViewMini(QObject *sender)
{
    int i = gradStepper->value();
    if (i < 0 || i >= m_presets.count())
        return;
    if (sender == gradStepper) {
        showPreset(i);
        return;
    }
    m_presets.remove(i);
    if (i > 0)
        --i;
    const QSignalBlocker blocker(gradStepper);
    gradStepper->setRange(0, std::max(0, m_presets.count() - 1));
    gradStepper->setValue(i);
    gradStepper->setEnabled(m_presets.count() > 1);
    if (m_presets.count() == 0) {
        btnFromGradMini->setEnabled(false);
        btnDelGrad->setEnabled(false);
        gradViewMini->clear();
        txGradInfo->setText(QStringLiteral("0/0"));
        return;
    }
    showPreset(i);
}

// ---- Images ----

void VekObjInfoController::updateEffectParameterOutlets()
{
    struct Parameter {
        const char *label;
        double minimum, maximum, initial;
    };
    static const Parameter table[3][4] = {
        {{"Radius", 0, 300, 10}, {"Scale", 0, 100, 10}, {"Angle", -3.14, 3.14, 0.6}, {"Width", 0.5, 10, 1.5}},
        {{"Radius", 0, 800, 15}, {"Scale", 0, 10, 2.58}, {"Strength", 0, 3, 0.5}, {"Contrast", 0, 5, 1.38}},
        {{"Radius", 0, 1000, 10}, {"Width", 0, 300, 50}, {"Overlap", 0, 1, 0.77}, {"Strength", 0, 3, 0.5}}};
    const int effect = pupImgEffects->currentIndex();
    if (effect < 0 || effect > 2)
        return;
    for (int i = 0; i < 4; ++i) {
        const Parameter &p = table[effect][i];
        txImgEfctPara[i]->setText(localizedString(QString::fromLatin1(p.label)));
        sldrImgEfctPara[i]->setFloatRange(p.minimum, p.maximum);
        sldrImgEfctPara[i]->setFloatValue(p.initial);
    }
}

void VekObjInfoController::openIFPanel()
{
    const auto image = std::dynamic_pointer_cast<VekObjImage>(currentObject());
    if (!image) {
        if (VekIFController::sharedIFControllerExists()) {
            VekIFController &filters = VekIFController::sharedIFController();
            filters.hide();
            filters.setCurrentObject(nullptr);
        }
        return;
    }
    VekIFController &filters = VekIFController::sharedIFController();
    if (filters.isVisible()) {
        filters.raise();
        return;
    }
    filters.openIFPanel(image);
    hide();
}

void VekObjInfoController::addEffectImage()
{
    PanelCanvas *canvas = mainPanelCanvas();
    const auto current = currentObject();
    if (!canvas || !current)
        return;
    progIndImgHandling->setRange(0, 0);
    const QImage image = generateCIFilterImage(
        pupImgEffects->currentIndex(), current->bounds().size, cwEffectColor->color(),
        float(sldrImgEfctPara[0]->floatValue()), float(sldrImgEfctPara[1]->floatValue()),
        float(sldrImgEfctPara[2]->floatValue()), float(sldrImgEfctPara[3]->floatValue()));
    progIndImgHandling->setRange(0, 1);
    if (image.isNull())
        return;
    canvas->createObjImageWith(Image(image), current->bounds().origin,
                               Size(float(image.width()), float(image.height())));
}

void VekObjInfoController::createTextImage()
{
    PanelCanvas *canvas = mainPanelCanvas();
    if (!canvas)
        return;
    for (const auto &o : selection())
        if (auto *text = dynamic_cast<VekObjText *>(o.get()))
            if (const auto image = text->currentTextImage()) {
                const Point at(o->bounds().origin.x + 5, o->bounds().origin.y + 5);
                canvas->createObjImageWith(*image, at, image->size());
            }
}

void VekObjInfoController::createPathImage()
{
    PanelCanvas *canvas = mainPanelCanvas();
    if (!canvas)
        return;
    std::vector<std::shared_ptr<VekObject>> paths;
    Rect area;
    for (const auto &o : selection())
        if (dynamic_cast<VekObjPath *>(o.get())) {
            area = paths.empty() ? o->boundsToRedraw() : unionRect(area, o->boundsToRedraw());
            paths.push_back(o);
        }
    if (paths.empty())
        return;
    canvas->selectObjects(paths);
    const QImage picture = canvas->imageOfSelectedObjects();
    if (picture.isNull())
        return;
    canvas->createObjImageWith(Image(picture), Point(area.origin.x + 5, area.origin.y + 5), area.size);
}
