// The inspector's life: the shared panel, its first display, what it observes, the
// selection it works on, and the screen pick of its four colour wells.
#include "panels/obj_info/vek_obj_info_controller.h"

#include "canvas/canvas_notifications.h"
#include "document/vek_document.h"
#include "model/services/shell_services.h"
#include "model/vek_object.h"
#include "panels/colour_well.h"
#include "panels/filters/vek_if_controller.h"
#include "panels/panel_canvas.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/undo_manager.h"

#include <QPushButton>

namespace {

VekObjInfoController *sharedInstance = nullptr;

} // namespace

VekObjInfoController &VekObjInfoController::sharedObjInfoController()
{
    if (!sharedInstance)
        sharedInstance = new VekObjInfoController;
    return *sharedInstance;
}

bool VekObjInfoController::sharedObjInfoControllerExists()
{
    return sharedInstance != nullptr;
}

VekObjInfoController::VekObjInfoController() : QWidget(nullptr, Qt::Tool)
{
    setObjectName(QStringLiteral("ObjInfoPanel"));
    setWindowTitle(localizedString(QStringLiteral("Object Info")));
}

VekObjInfoController::~VekObjInfoController()
{
    NotificationCenter::defaultCenter().removeObserver(this);
    if (pickColorOwner() == this)
        endScreenColourPick(this);
    sharedInstance = nullptr;
}

void VekObjInfoController::prepareForFirstDisplay()
{
    buildControls();
    setupLineDrawStylePopups();
    setupGradientTypes();
    updateEffectParameterOutlets();
    setupGradViews();
    setupUserPrefs();
    NotificationCenter &center = NotificationCenter::defaultCenter();
    center.addObserver(this, VekViewSelectionDidChangeNotification, nullptr, [this](const Notification &) { selectionChanged(); });
    center.addObserver(this, VekViewCurrentObjectDidChangeNotification, nullptr,
                       [this](const Notification &) { selectionChanged(); });
    center.addObserver(this, VekObjectDidChangeNotification, nullptr,
                       [this](const Notification &n) { objectChanged(n.sender); });
    center.addObserver(this, VekObjectsDidChangeNotification, nullptr, [this](const Notification &n) {
        const auto *document = static_cast<const DocumentServices *>(n.sender);
        objectChanged([document](const VekObject *o) { return document->changedTogether(o); });
    });
    center.addObserver(this, VekObjectPathDidChangeNotification, nullptr,
                       [this](const Notification &n) { objectPathChanged(n.sender); });
    center.addObserver(this, VekObjectPathSelectionDidChangeNotification, nullptr,
                       [this](const Notification &n) { objectPathSelectionChanged(n.sender); });
    center.addObserver(this, VekRulerUnitDidChangeNotification, nullptr, [this](const Notification &) { updateLocSizeInfo(); });
}

std::shared_ptr<VekObject> VekObjInfoController::currentObject()
{
    m_canvas = mainPanelCanvas();
    if (!m_canvas)
        return nullptr;
    if (auto current = m_canvas->currentObject())
        return current;
    const auto selected = m_canvas->selectedObjects();
    return selected.empty() ? nullptr : selected.front();
}

std::vector<std::shared_ptr<VekObject>> VekObjInfoController::selection() const
{
    PanelCanvas *canvas = mainPanelCanvas();
    return canvas ? canvas->selectedObjects() : std::vector<std::shared_ptr<VekObject>>();
}

void VekObjInfoController::nameUndo(const QString &name)
{
    if (PanelCanvas *canvas = mainPanelCanvas())
        if (UndoManager *undo = canvas->document().undoManager())
            undo->setActionName(localizedString(name));
}

int VekObjInfoController::selectedUnit() const
{
    return shellServices().selectedUnit();
}

void VekObjInfoController::showWindow()
{
    updateInfo();
    show();
    raise();
}

void VekObjInfoController::closePanels()
{
    if (VekIFController::sharedIFControllerExists() && VekIFController::sharedIFController().isVisible())
        VekIFController::sharedIFController().hide();
    if (isVisible())
        hide();
    m_canvas = nullptr;
}

void VekObjInfoController::mainWindowChanged()
{
    if (m_firstDisplay)
        return;
    if (!mainPanelCanvas()) {
        closePanels();
        return;
    }
    if (isVisible())
        updateInfo();
}

PropertyList VekObjInfoController::dashInfoFor(int number)
{
    // The table is built with the controls; a path may ask before the panel was ever shown.
    if (m_firstDisplay) {
        m_firstDisplay = false;
        prepareForFirstDisplay();
    }
    return m_dashes.infoFor(number);
}

// ---- Observation ----

void VekObjInfoController::selectionChanged()
{
    if (m_firstDisplay || !isVisible())
        return;
    updateInfo();
}

void VekObjInfoController::objectChanged(const void *sender)
{
    objectChanged([sender](const VekObject *o) { return o == sender; });
}

void VekObjInfoController::objectChanged(const std::function<bool(const VekObject *)> &changed)
{
    if (m_firstDisplay || !isVisible() || m_refreshing)
        return;
    if (const auto current = currentObject(); current && changed(current.get()))
        updateInfo();
}

void VekObjInfoController::objectPathChanged(const void *sender)
{
    if (m_firstDisplay || !isVisible())
        return;
    if (const auto current = currentObject(); current && current.get() == sender)
        updatePointTable(current);
}

void VekObjInfoController::objectPathSelectionChanged(const void *sender)
{
    if (m_firstDisplay || !isVisible())
        return;
    if (const auto current = currentObject(); current && current.get() == sender)
        selectRowOfElementNrAndPointNr(current->selectedElementNr(), current->selectedPointNr());
}

// ---- Screen pick ----

void VekObjInfoController::togglePickColor(QObject *sender)
{
    QPushButton *const buttons[] = {btnColorPickStroke, btnColorPickFill, btnColorPickTxtO, btnColorPickImg};
    if (pickColorOwner() == this) {
        ColourWell *well = endScreenColourPick(this);
        for (QPushButton *b : buttons)
            b->setChecked(false);
        m_pickTarget = nullptr;
        if (well)
            changeObjectColor(well);
        return;
    }
    if (pickColorOwner())
        return;
    ColourWell *const wells[] = {cwObjStroke, cwObjFill, cwTxtOutline, cwImgColor};
    for (int i = 0; i < 4; ++i)
        if (sender == buttons[i]) {
            m_pickTarget = wells[i];
            buttons[i]->setChecked(true);
            if (!beginScreenColourPick(this, wells[i])) {
                buttons[i]->setChecked(false);
                m_pickTarget = nullptr;
            }
        }
}
