// Refreshing the inspector's controls from the selected objects: one object shows its own
// values, several show the current object's where they make sense, none disables all.
#include "panels/obj_info/vek_obj_info_controller.h"

#include "document/vek_document.h"
#include "model/gradient/vek_gradient_view.h"
#include "model/vek_obj_grid.h"
#include "model/vek_obj_image.h"
#include "model/vek_obj_marker.h"
#include "model/vek_obj_path.h"
#include "model/vek_obj_text.h"
#include "panels/colour_well.h"
#include "panels/float_slider.h"
#include "panels/gradient_strip.h"
#include "panels/panel_canvas.h"
#include "platform/foundation/c_locale.h"
#include "platform/foundation/localized_strings.h"
#include "toolkit/units.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>

namespace {

// Compositing operation 2 (source over) is what objects other than images show.
constexpr int SourceOverItem = 2;

void checkMatrix(QButtonGroup *matrix, int column)
{
    if (QAbstractButton *b = matrix->button(column))
        b->setChecked(true);
}

void enableMatrix(QButtonGroup *matrix, bool enabled)
{
    for (QAbstractButton *b : matrix->buttons())
        b->setEnabled(enabled);
}

void setChecked(QCheckBox *box, bool on)
{
    box->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

QString intText(float value)
{
    return QString::number(int(value));
}

bool isText(const VekObject &o) { return dynamic_cast<const VekObjText *>(&o); }
bool isMarker(const VekObject &o) { return dynamic_cast<const VekObjMarker *>(&o); }
bool isImage(const VekObject &o) { return dynamic_cast<const VekObjImage *>(&o); }

} // namespace

void VekObjInfoController::updateInfo()
{
    if (m_firstDisplay) {
        m_firstDisplay = false;
        prepareForFirstDisplay();
    }
    m_refreshing = true;
    m_canvas = mainPanelCanvas();
    const auto selected = m_canvas ? m_canvas->selectedObjects() : std::vector<std::shared_ptr<VekObject>>();
    if (selected.empty())
        updateForZeroSelection();
    else if (selected.size() == 1)
        updateForOneObject(selected.front());
    else
        updateForSeveralObjects(int(selected.size()));
    m_refreshing = false;
}

void VekObjInfoController::setAllControlsEnabled(bool enabled)
{
    for (QWidget *w : findChildren<QWidget *>()) {
        const QString name = w->objectName();
        // Qt's own parts of composite widgets are left alone; the point page's own options
        // and the copy settings stay usable.
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || name == QLatin1String("tabs") || name.startsWith(QLatin1String("optPtsCopy")) ||
            name.startsWith(QLatin1String("mtxPtsRelative")) || name == QLatin1String("txMove") ||
            name == QLatin1String("txLine") || name == QLatin1String("txCurve") || name == QLatin1String("txClose") ||
            name == QLatin1String("txObjClass") || name == QLatin1String("optRelativeMove") ||
            name == QLatin1String("optResizeProportional") || name == QLatin1String("optResizeWHtogether") ||
            name == QLatin1String("pupImgEffects") || name == QLatin1String("cwEffectColor") ||
            name.startsWith(QLatin1String("sldrImgEfctPara")))
            continue;
        w->setEnabled(enabled);
    }
}

void VekObjInfoController::updateForZeroSelection()
{
    updateShadowInfoFor(nullptr);
    setAllControlsEnabled(false);
    txtFillAlpha->setText(QStringLiteral("100"));
    sldrFillAlpha->setFloatValue(1.0);
    pupRepeat->setCurrentIndex(0);
    txRepeatStart->setText(QStringLiteral("1"));
    txRepeatEnd->setText(QStringLiteral("1"));
    pupImgCompositeOps->setCurrentIndex(SourceOverItem);
    gradView->setGradientModel(nullptr);
    setChecked(optFlipH, false);
    setChecked(optFlipV, false);
    updateLocSizeInfo();
    updateTxtInfoTable(nullptr);
    updatePointTable(nullptr);
    updateObjectClassInfo(nullptr, 0);
}

void VekObjInfoController::updateGradientBox(const std::shared_ptr<VekObject> &o)
{
    const bool hasGradient = o && o->objGradientType() != 0 && o->gradientView();
    gradView->setGradientModel(hasGradient ? o->gradientView() : nullptr);
    gradView->setEnabled(hasGradient);
    btnToGradMini->setEnabled(hasGradient);
    btnFromGradMini->setEnabled(hasGradient && m_presets.count() > 0);
    btnDelGrad->setEnabled(hasGradient && m_presets.count() > 0);
    gradStepper->setEnabled(hasGradient && m_presets.count() > 1);
}

int VekObjInfoController::dashItemFor(VekObject &o)
{
    int d = o.objDashPattern();
    if (auto *path = dynamic_cast<VekObjPath *>(&o); path && d > 0) {
        const PropertyList info = path->dashInfo();
        if (info.isDictionary() && info != m_dashes.infoFor(d)) {
            // A document made with other dash patterns: its dash gets this run's number.
            bool added = false;
            d = m_dashes.numberFor(info, &added);
            if (added)
                addDashItem(d, info);
            o.setDashPatternUpdate(d, false);
            path->setDashInfo(info);
        }
    }
    const int item = pupDash->findData(d);
    return item < 0 ? 0 : item;
}

void VekObjInfoController::updateForOneObject(const std::shared_ptr<VekObject> &o)
{
    const bool stroke = o->canDrawStroke(), fill = o->canDrawFill(), transform = o->canTransform();
    const bool path = o->hasEditablePath();
    const bool text = isText(*o), marker = isMarker(*o), image = isImage(*o);

    cwObjStroke->setEnabled(marker ? false : (text ? true : stroke));
    cwObjStroke->setColor(o->strokeColor());
    optObjStroke->setEnabled(!marker && !text && stroke);
    setChecked(optObjStroke, o->drawsStroke());
    if (!text) {
        sldrLineWidth->setEnabled(marker || stroke);
        txLineWidth->setEnabled(stroke);
        const float width = stroke ? o->lineWidth() : 1.0f;
        sldrLineWidth->setFloatValue(width);
        txLineWidth->setText(formatFloat(width));
    }
    btnColorPickStroke->setEnabled(cwObjStroke->isEnabled());
    cwObjFill->setEnabled(fill);
    cwObjFill->setColor(o->fillColor());
    btnColorPickFill->setEnabled(fill);
    optObjFill->setEnabled(fill);
    optObjFill->setTristate(false);
    setChecked(optObjFill, o->drawsFill());
    enableMatrix(mtxFillRule, fill);
    checkMatrix(mtxFillRule, o->fillRule());
    sldrFillAlpha->setEnabled(fill || text);
    txtFillAlpha->setEnabled(fill || text);
    sldrFillAlpha->setFloatValue(o->fillAlpha());
    txtFillAlpha->setText(QString::number(int(o->fillAlpha() * 100)));
    optExclusive->setEnabled(!marker);
    setChecked(optExclusive, o->isExclusive());
    optTxtConnect->setEnabled(text);
    optTxtSimpleClip->setEnabled(text);
    setChecked(optTxtConnect, o->groupWithNext());
    setChecked(optTxtSimpleClip, o->simpleClip());

    for (QWidget *w : std::initializer_list<QWidget *>{pupGradType, optFlipHGrad, sldrRotateGrad, sldrGradCenterX,
                                                       sldrGradCenterY, txRotateGrad, gradViewMini})
        w->setEnabled(fill);
    pupGradType->setCurrentIndex(std::max(0, pupGradType->findData(o->objGradientType())));
    setChecked(optFlipHGrad, o->gradientFlip() != 0);
    sldrRotateGrad->setFloatValue(o->gradientRotate());
    sldrGradCenterX->setFloatValue(o->gradientCenter().x);
    sldrGradCenterY->setFloatValue(o->gradientCenter().y);
    txRotateGrad->setText(intText(o->gradientRotate()));
    updateGradientBox(o);

    const auto *pathObject = dynamic_cast<const VekObjPath *>(o.get());
    enableMatrix(mtxClipType, pathObject != nullptr);
    checkMatrix(mtxClipType, o->clipType());
    const auto along = o->attStringForPath();
    for (QWidget *w : std::initializer_list<QWidget *>{sldrAttOffset, sldrAttSpace, txAtt})
        w->setEnabled(path);
    enableMatrix(mtxAttType, path);
    if (pathObject && along) {
        sldrAttOffset->setFloatValue(pathObject->attOffset());
        sldrAttSpace->setFloatValue(pathObject->attSpace());
        checkMatrix(mtxAttType, pathObject->attType());
        txAtt->setText(along->string());
    } else
        txAtt->clear();

    pupRepeat->setEnabled(o->canRepeat());
    txRepeatStart->setEnabled(o->canRepeat());
    txRepeatEnd->setEnabled(o->canRepeat());
    pupRepeat->setCurrentIndex(o->repeatType());
    txRepeatStart->setText(QString::number(o->repeatStartPage()));
    txRepeatEnd->setText(QString::number(o->repeatEndPage()));

    for (QWidget *w : std::initializer_list<QWidget *>{sldrFlatness, sldrArrowLength, sldrArrowAngle})
        w->setEnabled(path);
    enableMatrix(mtxArrowS, path);
    enableMatrix(mtxArrowE, path);
    sldrFlatness->setFloatValue(o->flatness());
    sldrArrowLength->setFloatValue(pathObject && path ? pathObject->arrowLength() : 5.0);
    sldrArrowAngle->setFloatValue(pathObject && path ? pathObject->arrowAngle() : 45.0);
    checkMatrix(mtxArrowS, pathObject ? pathObject->startArrow() : 0);
    checkMatrix(mtxArrowE, pathObject ? pathObject->endArrow() : 0);
    const bool noPattern = o->lineDrawPattern() == 0;
    enableMatrix(mtxCap, path && noPattern);
    enableMatrix(mtxJoin, path && noPattern);
    checkMatrix(mtxCap, o->capStyle());
    checkMatrix(mtxJoin, o->joinStyle());
    pupDash->setCurrentIndex(dashItemFor(*o));
    pupDash->setEnabled(path && noPattern);
    pupLDrawStyles->setCurrentIndex(std::max(0, pupLDrawStyles->findData(o->lineDrawPattern())));
    pupLDrawStyles->setEnabled(path && o->objDashPattern() == 0);
    sldrDashScale->setEnabled(path && pupDash->currentIndex() > 0);
    sldrDrawIntensity->setEnabled(path && pupLDrawStyles->currentIndex() > 0);
    sldrDashScale->setFloatValue(o->dashScale());
    sldrDrawIntensity->setFloatValue(o->lineDrawIntensity());

    for (QWidget *w : std::initializer_list<QWidget *>{optFlipH, optFlipV, sldrScale, sldrRotate, txRotate, sldrSkewX,
                                                       sldrSkewY, txSkewX, txSkewY})
        w->setEnabled(transform);
    setChecked(optFlipH, o->flippedHorizontally());
    setChecked(optFlipV, o->flippedVertically());
    sldrScale->setFloatValue(100);
    txScale->setText(QStringLiteral("100"));
    sldrRotate->setFloatValue(transform ? o->objRotation() : 0);
    txRotate->setText(intText(float(sldrRotate->floatValue())));
    sldrSkewX->setFloatValue(transform ? o->skewX() : 0);
    sldrSkewY->setFloatValue(transform ? o->skewY() : 0);
    txSkewX->setText(formatFloat(float(sldrSkewX->floatValue())));
    txSkewY->setText(formatFloat(float(sldrSkewY->floatValue())));
    btnNaturalSize->setEnabled(o->hasNaturalSize());

    const auto *imageObject = dynamic_cast<const VekObjImage *>(o.get());
    for (QWidget *w : std::initializer_list<QWidget *>{pupImgCompositeOps, cwImgColor, btnColorPickImg, btnImgGenerate,
                                                       cwEffectColor, pupImgEffects, btnImgOpenIFpanel})
        w->setEnabled(image);
    for (FloatSlider *s : sldrImgEfctPara)
        s->setEnabled(image);
    btnImgColorReset->setEnabled(imageObject && imageObject->colorizingColor().has_value());
    pupImgCompositeOps->setCurrentIndex(imageObject ? int(imageObject->compositeOperation()) : SourceOverItem);
    cwImgColor->setColor(imageObject && imageObject->colorizingColor() ? *imageObject->colorizingColor()
                                                                         : Color::clearColor());
    btnCreateTextImage->setEnabled(text);
    btnCreatePathImage->setEnabled(pathObject != nullptr);

    updateShadowInfoFor(o);
    updateLocSizeInfo();
    updateTxtInfoTable(o);
    updatePointTable(o);
    updateObjectClassInfo(o, 1);
}

void VekObjInfoController::updateForSeveralObjects(int count)
{
    const auto c = currentObject();
    if (!c) {
        updateForZeroSelection();
        return;
    }
    const bool text = isText(*c);
    updateShadowInfoFor(c);
    optExclusive->setEnabled(false);
    setChecked(optExclusive, false);
    optTxtConnect->setEnabled(text);
    optTxtSimpleClip->setEnabled(text);
    cwObjStroke->setEnabled(text || (c->canDrawStroke() && !isMarker(*c)));
    cwObjStroke->setColor(c->strokeColor());
    optObjStroke->setEnabled(c->canDrawStroke());
    btnColorPickStroke->setEnabled(cwObjStroke->isEnabled());
    enableMatrix(mtxClipType, false);
    optObjFill->setTristate(true);
    optObjFill->setCheckState(Qt::PartiallyChecked);
    optObjFill->setEnabled(false);
    // Several objects show no one fill, but a fill colour chosen still goes to all of them.
    cwObjFill->setColor(Color::whiteColor());
    cwObjFill->setEnabled(true);
    btnColorPickFill->setEnabled(true);
    pupGradType->setCurrentIndex(0);
    gradView->setGradientModel(nullptr);
    setChecked(optFlipHGrad, false);
    sldrRotateGrad->setFloatValue(0);
    sldrGradCenterX->setFloatValue(0);
    sldrGradCenterY->setFloatValue(0);
    txRotateGrad->setText(QStringLiteral("0"));
    for (QWidget *w : std::initializer_list<QWidget *>{pupGradType, gradView, optFlipHGrad, sldrRotateGrad, txRotateGrad,
                                                       sldrGradCenterX, sldrGradCenterY, gradViewMini, gradStepper,
                                                       btnToGradMini, btnFromGradMini, btnDelGrad})
        w->setEnabled(false);
    pupRepeat->setEnabled(true);
    pupRepeat->setCurrentIndex(0);
    txRepeatStart->setEnabled(true);
    txRepeatEnd->setEnabled(true);
    txRepeatStart->setText(QString::number(c->repeatStartPage()));
    txRepeatEnd->setText(QString::number(c->repeatEndPage()));
    sldrLineWidth->setEnabled(c->canDrawStroke());
    txLineWidth->setEnabled(c->canDrawStroke());
    const float width = c->canDrawStroke() ? c->lineWidth() : 1.0f;
    sldrLineWidth->setFloatValue(width);
    txLineWidth->setText(formatFloat(width));
    const bool path = c->hasEditablePath();
    sldrArrowLength->setFloatValue(5.0);
    sldrArrowAngle->setFloatValue(45.0);
    checkMatrix(mtxArrowS, 0);
    checkMatrix(mtxArrowE, 0);
    sldrArrowLength->setEnabled(path);
    sldrArrowAngle->setEnabled(path);
    enableMatrix(mtxArrowS, path);
    enableMatrix(mtxArrowE, path);
    for (QWidget *w : std::initializer_list<QWidget *>{sldrAttOffset, sldrAttSpace, txAtt})
        w->setEnabled(false);
    enableMatrix(mtxAttType, false);
    txAtt->clear();
    const bool transform = c->canTransform();
    for (QWidget *w : std::initializer_list<QWidget *>{sldrScale, txRotate, sldrSkewX, sldrSkewY, txSkewX, txSkewY,
                                                       optFlipH, optFlipV})
        w->setEnabled(transform);
    sldrRotate->setEnabled(true);
    txRotate->setText(intText(float(sldrRotate->floatValue())));
    setChecked(optFlipH, false);
    setChecked(optFlipV, false);
    btnNaturalSize->setEnabled(c->hasNaturalSize());
    for (QWidget *w : std::initializer_list<QWidget *>{pupImgCompositeOps, cwImgColor, btnColorPickImg, btnImgColorReset,
                                                       btnImgGenerate, btnImgOpenIFpanel})
        w->setEnabled(false);
    pupImgCompositeOps->setCurrentIndex(SourceOverItem);
    cwImgColor->setColor(Color::clearColor());
    btnCreateTextImage->setEnabled(true);
    btnCreatePathImage->setEnabled(true);
    updateLocSizeInfo();
    updateTxtInfoTable(nullptr);
    updatePointTable(nullptr);
    updateObjectClassInfo(nullptr, count);
}

void VekObjInfoController::updateShadowInfoFor(const std::shared_ptr<VekObject> &o)
{
    if (!o) {
        for (QWidget *w : std::initializer_list<QWidget *>{optNoShadow, optIndvShadow, btnIndvShdwVals})
            w->setEnabled(false);
        return;
    }
    optNoShadow->setEnabled(true);
    setChecked(optNoShadow, o->noShadow());
    if (!o->noShadow()) {
        optIndvShadow->setEnabled(true);
        setChecked(optIndvShadow, o->indvShadow());
    } else {
        optIndvShadow->setEnabled(false);
        setChecked(optIndvShadow, false);
    }
    btnIndvShdwVals->setEnabled(optIndvShadow->isChecked());
}

void VekObjInfoController::updateTxtInfoTable(const std::shared_ptr<VekObject> &o)
{
    auto *textObject = dynamic_cast<VekObjText *>(o.get());
    const QList<QWidget *> textControls = {cwTxtOutline, btnColorPickTxtO, sldrTxtOutline, sldrTxtPadding,
                                           txTxtPadding, sldrTxtHyphen, txTxtHyphen};
    txtInfoTable->setRowCount(0);
    if (!textObject) {
        for (QWidget *w : textControls)
            w->setEnabled(false);
        txtInfoTable->setEnabled(false);
        return;
    }
    // One row per run of one font: name, size, the run's text.
    const PropertyList runs = textObject->textInfo();
    txtInfoTable->setRowCount(int(runs.count()));
    for (int row = 0; row < runs.count(); ++row)
        for (int column = 0; column < 3; ++column)
            txtInfoTable->setItem(row, column, new QTableWidgetItem(runs.at(row).at(column).stringValue()));
    txtInfoTable->setEnabled(true);
    sldrTxtPadding->setFloatValue(textObject->tcPadding());
    txTxtPadding->setText(formatFloat(textObject->tcPadding()));
    sldrTxtHyphen->setFloatValue(textObject->hyphenFactor());
    txTxtHyphen->setText(formatFloat(textObject->hyphenFactor()));
    for (QWidget *w : textControls)
        w->setEnabled(true);
    sldrTxtOutline->setFloatValue(0);
}

void VekObjInfoController::updateObjectClassInfo(const std::shared_ptr<VekObject> &o, int count)
{
    if (count == 0)
        txObjClass->setText(localizedString(QStringLiteral("Current Object: -- none --")));
    else if (count > 1)
        txObjClass->setText(localizedString(QStringLiteral("Current Object: -- multiple --")));
    if (o)
        txObjClass->setText(
            localizedString(QStringLiteral("Current Object: %1")).arg(displayNameOfObjClass(o->className())));
}

QString VekObjInfoController::displayNameOfObjClass(const QString &className)
{
    static const std::pair<const char *, const char *> names[] = {{"VekObjFormat", "Format"},
                                                                  {"VekObjText", "Text"},
                                                                  {"VekObjImage", "Image"},
                                                                  {"VekObjMarker", "Marker"},
                                                                  {"VekObjGrid", "Table"}};
    for (const auto &[name, display] : names)
        if (className == QLatin1String(name))
            return localizedString(QString::fromLatin1(display));
    return QStringLiteral("Path");
}

void VekObjInfoController::updateLocSizeInfo()
{
    if (m_firstDisplay)
        return;
    const int unit = selectedUnit();
    const auto inUnit = [unit](float points) { return ConvertPointsTo(unit, points); };
    txUnit->setText(localizedString(QStringLiteral("Unit: ")) + localizedString(UnitIndexToName(unit)));
    PanelCanvas *canvas = mainPanelCanvas();
    const auto selected = canvas ? canvas->selectedObjects() : std::vector<std::shared_ptr<VekObject>>();
    const auto c = selected.empty() ? nullptr : currentObject();
    QLineEdit *const fields[] = {txLocX, txLocY, txSzW, txSzH};
    const QList<QWidget *> imageControls = {txImgSzW, txImgSzH, optImgResizeWH};
    if (!c) {
        for (QLineEdit *f : fields) {
            f->setText(QStringLiteral("--"));
            f->setEnabled(false);
        }
        txMultiSelInfo->clear();
        for (QWidget *w : std::initializer_list<QWidget *>{optRelativeMove, optResizeProportional, optResizeWHtogether})
            w->setEnabled(false);
        for (QWidget *w : imageControls)
            w->setEnabled(false);
        txImgSzW->setText(QStringLiteral("--"));
        txImgSzH->setText(QStringLiteral("--"));
        txImgBoundSz->setText(QStringLiteral("--"));
        return;
    }
    const Rect b = c->bounds();
    txLocX->setText(formatC("%.2f", double(inUnit(b.origin.x))));
    txLocY->setText(formatC("%.2f", double(inUnit(b.origin.y))));
    txSzW->setText(formatC("%.2f", double(inUnit(b.width()))));
    txSzH->setText(formatC("%.2f", double(inUnit(b.height()))));
    txLocX->setEnabled(true);
    txLocY->setEnabled(true);
    const bool table = dynamic_cast<const VekObjGrid *>(c.get()) != nullptr;
    txSzW->setEnabled(!table);
    txSzH->setEnabled(!table);
    optResizeWHtogether->setEnabled(!table);
    optResizeProportional->setEnabled(true);
    const auto *image = dynamic_cast<const VekObjImage *>(c.get());
    if (image && selected.size() == 1) {
        for (QWidget *w : imageControls)
            w->setEnabled(true);
        const Size pixels = image->imgrepSize();
        txImgSzW->setText(QString::number(int(inUnit(pixels.width))));
        txImgSzH->setText(QString::number(int(inUnit(pixels.height))));
        txImgBoundSz->setText(formatC("%.2f x %.2f", double(inUnit(b.width())), double(inUnit(b.height()))));
    } else {
        for (QWidget *w : imageControls)
            w->setEnabled(false);
        txImgSzW->setText(QStringLiteral("--"));
        txImgSzH->setText(QStringLiteral("--"));
        txImgBoundSz->setText(QStringLiteral("--"));
    }
    if (selected.size() > 1) {
        const Rect s = canvas->selectedObjectsBounds();
        txMultiSelInfo->setText(formatC("x:%.1f y:%.1f w:%.1f h:%.1f", double(inUnit(s.origin.x)),
                                        double(inUnit(s.origin.y)), double(inUnit(s.width())),
                                        double(inUnit(s.height()))));
        optRelativeMove->setEnabled(true);
    } else {
        txMultiSelInfo->clear();
        optRelativeMove->setEnabled(false);
    }
}
