// The shadow panel: loading a level's values, writing the controls' values to the document
// or to its selected objects, reset and save as default, and the screen pick of the colour.
#include "panels/shadow/vek_shadow_controller.h"

#include "document/vek_document.h"
#include "model/services/panel_services.h"
#include "model/vek_object.h"
#include "panels/colour_panel.h"
#include "panels/colour_well.h"
#include "panels/float_slider.h"
#include "panels/panel_canvas.h"
#include "panels/shadow/shadow_values.h"
#include "panels/shadow/vek_shadow_view.h"
#include "platform/foundation/c_locale.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/user_defaults.h"

#include <QApplication>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

VekShadowController *sharedInstance = nullptr;

constexpr float MaximumBlur = 20;

QString floatText(float value)
{
    return formatFloat(value);
}

} // namespace

VekShadowController &VekShadowController::sharedShadowController()
{
    if (!sharedInstance)
        sharedInstance = new VekShadowController;
    return *sharedInstance;
}

bool VekShadowController::sharedShadowControllerExists()
{
    return sharedInstance != nullptr;
}

PropertyList VekShadowController::defaultShadowValues()
{
    return panelServices().defaultShadowValues();
}

VekShadowController::VekShadowController() : QWidget(nullptr, Qt::Tool)
{
    setObjectName(QStringLiteral("ShadowPanel"));
    setWindowTitle(localizedString(QStringLiteral("Document Shadow Values")));
    shadowView = new VekShadowView(this);
    shadowView->setObjectName(QStringLiteral("shadowView"));
    shadowView->setChangeHandler([this](float offset, float angle) { changeOffsetAngle(offset, angle); });
    cwShadow = new ColourWell(this);
    cwShadow->setObjectName(QStringLiteral("cwShadow"));
    connect(cwShadow, &ColourWell::colorChanged, this, &VekShadowController::changeShadowColor);
    btnColorPicker = new QPushButton(localizedString(QStringLiteral("Pick")), this);
    btnColorPicker->setObjectName(QStringLiteral("btnColorPicker"));
    btnColorPicker->setCheckable(true);
    connect(btnColorPicker, &QPushButton::clicked, this, [this] {
        // The button's state follows the pick, not the click.
        btnColorPicker->setChecked(pickColorOwner() == this);
        togglePickColor(btnColorPicker);
    });
    sldrBlur = new FloatSlider(0, MaximumBlur, this);
    sldrBlur->setObjectName(QStringLiteral("sldrBlur"));
    connect(sldrBlur, &FloatSlider::floatValueChanged, this, &VekShadowController::changeBlur);
    txAngle = new QLineEdit(this);
    txAngle->setObjectName(QStringLiteral("txAngle"));
    connect(txAngle, &QLineEdit::editingFinished, this, &VekShadowController::changeAngle);
    txOffset = new QLineEdit(this);
    txOffset->setObjectName(QStringLiteral("txOffset"));
    connect(txOffset, &QLineEdit::editingFinished, this, &VekShadowController::changeOffset);
    btnReset = new QPushButton(this);
    btnReset->setObjectName(QStringLiteral("btnReset"));
    connect(btnReset, &QPushButton::clicked, this, [this] { handleDefaultShadow(ResetTag); });
    btnSaveDefault = new QPushButton(this);
    btnSaveDefault->setObjectName(QStringLiteral("btnSaveDefault"));
    connect(btnSaveDefault, &QPushButton::clicked, this, [this] { handleDefaultShadow(0); });

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(shadowView);
    auto *fields = new QFormLayout;
    fields->addRow(localizedString(QStringLiteral("Angle:")), txAngle);
    fields->addRow(localizedString(QStringLiteral("Distance:")), txOffset);
    fields->addRow(localizedString(QStringLiteral("Blur:")), sldrBlur);
    auto *colourRow = new QHBoxLayout;
    colourRow->addWidget(cwShadow);
    colourRow->addWidget(btnColorPicker);
    fields->addRow(localizedString(QStringLiteral("Color:")), colourRow);
    fields->addRow(btnReset);
    fields->addRow(btnSaveDefault);
    layout->addLayout(fields);

    alert = [this](const QString &title, const QString &message) {
        QMessageBox box(QMessageBox::Information, title, message, QMessageBox::Ok, this);
        box.exec();
    };
}

PanelCanvas *VekShadowController::canvas() const
{
    return m_canvasAlive ? m_canvas : nullptr;
}

VekDocument *VekShadowController::currentDocument() const
{
    PanelCanvas *c = canvas();
    return c ? &c->document() : nullptr;
}

void VekShadowController::documentWillClose(const VekDocument &document)
{
    if (currentDocument() != &document)
        return;
    hide();
    m_canvas = nullptr;
    m_canvasAlive = nullptr;
}

void VekShadowController::showValues(const PropertyList &values, bool angleAsInteger)
{
    const float angle = values.value(QStringLiteral("angle")).floatValue();
    const float offset = values.value(QStringLiteral("offset")).floatValue();
    txAngle->setText(angleAsInteger ? QString::number(int(angle)) : floatText(angle));
    txOffset->setText(floatText(offset));
    shadowView->setAngle(angle);
    shadowView->setOffset(offset);
    shadowView->update();
    sldrBlur->setFloatValue(values.value(QStringLiteral("blur")).floatValue());
    cwShadow->setColor(shadowColorOf(values));
}

void VekShadowController::setValueControlsEnabled(bool enabled)
{
    for (QWidget *control : std::initializer_list<QWidget *>{shadowView, cwShadow, btnColorPicker, sldrBlur, txAngle,
                                                             txOffset, btnReset, btnSaveDefault})
        control->setEnabled(enabled);
}

void VekShadowController::updateAndShowWindow(bool show, ShadowPanelLevel level)
{
    PanelCanvas *main = mainPanelCanvas();
    if (!main)
        return;
    m_canvas = main;
    m_canvasAlive = dynamic_cast<QObject *>(main);
    m_level = level;
    VekDocument &document = main->document();
    if (level == ShadowPanelLevel::Document) {
        setWindowTitle(localizedString(QStringLiteral("Document Shadow Values")));
        btnReset->setText(localizedString(QStringLiteral("Reset to Application Default")));
        btnSaveDefault->setText(localizedString(QStringLiteral("Save as Application Default")));
        showValues(document.documentShadowValues(), true);
        setValueControlsEnabled(true);
    } else {
        setWindowTitle(localizedString(QStringLiteral("Object Shadow Values")));
        btnReset->setText(localizedString(QStringLiteral("Reset to Document Default")));
        btnSaveDefault->setText(localizedString(QStringLiteral("Save as Document Default")));
        // Without a current object there are no values to show: the controls wait for one
        // rather than show another document's values.
        const std::shared_ptr<VekObject> current = main->currentObject();
        setValueControlsEnabled(current != nullptr);
        if (current) {
            PropertyList values = PropertyList::dictionary();
            values.insert(QStringLiteral("angle"), PropertyList::fromFloat(current->indvShadowAngle()));
            values.insert(QStringLiteral("offset"), PropertyList::fromFloat(current->indvShadowOffset()));
            values.insert(QStringLiteral("blur"), PropertyList::fromFloat(current->indvShadowBlur()));
            values.insert(QStringLiteral("color"), archivedShadowColor(current->indvShadowColor()));
            showValues(values, true);
            txOffset->setText(formatC("%.1f", double(current->indvShadowOffset())));
        }
    }
    if (show) {
        this->show();
        raise();
        activateWindow();
    }
}

void VekShadowController::changeSelectedObjects(const std::function<void(PropertyList &values)> &change)
{
    PanelCanvas *c = canvas();
    if (!c)
        return;
    for (const auto &object : c->selectedObjects()) {
        PropertyList values = object->indvShadowValues();
        // An object without values of its own starts from the document's.
        if (!values.isDictionary())
            values = c->document().documentShadowValues();
        change(values);
        object->setIndvShadowValues(values);
    }
}

void VekShadowController::changeOffsetAngle(float offset, float angle)
{
    VekDocument *document = currentDocument();
    if (!document)
        return;
    txAngle->setText(floatText(angle));
    txOffset->setText(floatText(offset));
    if (m_level == ShadowPanelLevel::Document) {
        document->setShadowOffset(offset);
        document->setShadowAngle(angle);
        return;
    }
    changeSelectedObjects([&](PropertyList &values) {
        values.insert(QStringLiteral("angle"), PropertyList::fromFloat(angle));
        values.insert(QStringLiteral("offset"), PropertyList::fromFloat(offset));
    });
}

void VekShadowController::changeOffset()
{
    const float offset = clampedShadowOffset(floatValueOf(txOffset->text()));
    shadowView->setOffset(offset);
    changeOffsetAngle(offset, shadowView->angle());
    shadowView->update();
}

void VekShadowController::changeAngle()
{
    const float angle = clampedShadowAngle(floatValueOf(txAngle->text()));
    shadowView->setAngle(angle);
    changeOffsetAngle(shadowView->offset(), angle);
    shadowView->update();
}

void VekShadowController::changeBlur()
{
    VekDocument *document = currentDocument();
    if (!document)
        return;
    const float blur = float(sldrBlur->floatValue());
    if (m_level == ShadowPanelLevel::Document)
        document->setShadowBlur(blur);
    else if (PanelCanvas *c = canvas())
        for (const auto &object : c->selectedObjects())
            object->setIndvShadowValue(PropertyList::fromFloat(blur), QStringLiteral("blur"));
}

void VekShadowController::changeShadowColor()
{
    VekDocument *document = currentDocument();
    if (!document)
        return;
    if (m_level == ShadowPanelLevel::Document)
        document->setShadowColor(cwShadow->color());
    else if (PanelCanvas *c = canvas())
        for (const auto &object : c->selectedObjects())
            object->setIndvShadowValue(archivedShadowColor(cwShadow->color()), QStringLiteral("color"));
}

void VekShadowController::handleDefaultShadow(int tag)
{
    VekDocument *document = currentDocument();
    if (!document)
        return;
    if (tag == ResetTag) {
        const PropertyList values =
            m_level == ShadowPanelLevel::Document ? defaultShadowValues() : document->documentShadowValues();
        showValues(values, false);
        if (m_level == ShadowPanelLevel::Document) {
            document->setShadowValues(values);
            return;
        }
        if (PanelCanvas *c = canvas())
            for (const auto &object : c->selectedObjects()) {
                PropertyList own = values;
                own.insert(QStringLiteral("state"), PropertyList::fromInt(object->indvShadow() ? 1 : 0));
                object->setIndvShadowValues(own);
            }
        return;
    }
    PropertyList values = PropertyList::dictionary();
    values.insert(QStringLiteral("color"), archivedShadowColor(cwShadow->color()));
    values.insert(QStringLiteral("blur"), PropertyList::fromFloat(float(sldrBlur->floatValue())));
    values.insert(QStringLiteral("angle"), PropertyList::fromFloat(shadowView->angle()));
    values.insert(QStringLiteral("offset"), PropertyList::fromFloat(shadowView->offset()));
    QString message;
    if (m_level == ShadowPanelLevel::Document) {
        UserDefaults &defaults = UserDefaults::standardUserDefaults();
        defaults.setObject(values, DefaultsKey::Shadow);
        defaults.synchronize();
        message = localizedString(QStringLiteral("Vekanto default shadow values were updated."));
    } else {
        document->setShadowValues(values);
        message = localizedString(QStringLiteral("This document's default shadow values were updated."));
    }
    alert(localizedString(QStringLiteral("Save as Default")), message);
}

void VekShadowController::togglePickColor(QObject *sender)
{
    if (pickColorOwner() == this) {
        ColourWell *well = endScreenColourPick(this);
        if (well == cwShadow)
            changeShadowColor();
        btnColorPicker->setChecked(false);
        return;
    }
    if (!pickColorOwner() && sender == btnColorPicker && beginScreenColourPick(this, cwShadow))
        btnColorPicker->setChecked(true);
}

void VekShadowController::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || isActiveWindow())
        return;
    // The panel goes when another window takes the keyboard, but not for the colour panel
    // or the screen pick that it opened itself.
    QTimer::singleShot(0, this, [this] {
        QWidget *active = QApplication::activeWindow();
        if (isActiveWindow() || pickColorOwner() == this || !active ||
            (ColourPanel::sharedColorPanelExists() && active == &ColourPanel::sharedColorPanel()))
            return;
        hide();
    });
}
