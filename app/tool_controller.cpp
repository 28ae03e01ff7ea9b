// The tool palette and its satellite panels.
#include "app/tool_controller.h"

#include "app/document/document_shell_services.h"
#include "app/object_sets/object_set_palette.h"
#include "app/preferences.h"
#include "panels/colour_panel.h"
#include "panels/colour_panel_accessory.h"
#include "platform/foundation/localized_strings.h"
#include "panels/format_options_panel.h"
#include "panels/table_options_panel.h"
#include "platform/foundation/notification_center.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QEvent>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const char *const ToolNames[] = {"Arrow", "Object", "Free-hand", "Point pen", "Contour", "Marker", "Text",
                                 "Page number and date", "Table"};
// The buttons' icons are SVG resources drawn by Qt's SVG icon engine: font characters
// would depend on the installed fonts, which lack some of them.
const char *const ToolIcons[] = {"arrow", "object", "freehand", "point-pen", "contour",
                                 "marker", "text", "page-number", "table"};

QIcon toolIcon(const char *name)
{
    return QIcon(QStringLiteral(":/tools/%1.svg").arg(QLatin1String(name)));
}

} // namespace

VekToolController::VekToolController(VekPreferences &preferences, UserDefaults &defaults, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_preferences(preferences)
{
    setWindowTitle(localizedString(QStringLiteral("Tools")));
    setAttribute(Qt::WA_ShowWithoutActivating);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_toolButtons = new QButtonGroup(this);
    m_toolButtons->setExclusive(true);
    for (int tool = 0; tool < ToolCount; ++tool) {
        auto *button = new QToolButton(this);
        button->setIcon(toolIcon(ToolIcons[tool]));
        button->setIconSize(QSize(22, 22));
        button->setToolTip(localizedString(QString::fromLatin1(ToolNames[tool])));
        button->setCheckable(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(32, 28);
        layout->addWidget(button);
        m_toolButtons->addButton(button, tool);
    }
    m_toolButtons->button(ArrowTool)->setChecked(true);
    // The application's menus stay reachable when no document window is open.
    m_menuButton = new QToolButton(this);
    m_menuButton->setObjectName(QStringLiteral("menuButton"));
    m_menuButton->setIcon(toolIcon("menu"));
    m_menuButton->setIconSize(QSize(18, 18));
    m_menuButton->setToolTip(localizedString(QStringLiteral("Menu")));
    m_menuButton->setFocusPolicy(Qt::NoFocus);
    m_menuButton->setFixedSize(32, 22);
    m_menuButton->setPopupMode(QToolButton::InstantPopup);
    m_menuButton->setEnabled(false);
    layout->addWidget(m_menuButton);
    connect(m_toolButtons, &QButtonGroup::idClicked, this, [this] { selectToolAction(); });
    setFixedSize(layout->sizeHint());

    buildShapePanel();
    m_formatOptPanel = new FormatOptionsPanel(defaults, this);
    m_gridOptPanel = new TableOptionsPanel(this);
    for (QWidget *panel : std::initializer_list<QWidget *>{m_formatOptPanel, m_gridOptPanel}) {
        panel->setAttribute(Qt::WA_ShowWithoutActivating);
        panel->installEventFilter(this);
    }
    // The field tool's cursor shows the example of the field it would make.
    connect(m_formatOptPanel, &FormatOptionsPanel::exampleChanged, this, &VekToolController::rebuildFormatCursor);
}

VekToolController::~VekToolController() = default;

// The shape panel: the set's name (typed to switch, create or rename), the button that
// deletes the set, and the palette of the set's items.
void VekToolController::buildShapePanel()
{
    m_shapePanel = new QWidget(this, Qt::Tool);
    m_shapePanel->setObjectName(QStringLiteral("shapePanel"));
    m_shapePanel->setWindowTitle(localizedString(QStringLiteral("Objects")));
    m_shapePanel->setAttribute(Qt::WA_ShowWithoutActivating);
    m_shapePanel->installEventFilter(this);
    auto *layout = new QVBoxLayout(m_shapePanel);
    layout->setContentsMargins(4, 4, 4, 4);
    auto *row = new QHBoxLayout;
    m_setSelection = new QComboBox(m_shapePanel);
    m_setSelection->setObjectName(QStringLiteral("setSelection"));
    m_setSelection->setEditable(true);
    m_setSelection->setInsertPolicy(QComboBox::NoInsert);
    row->addWidget(m_setSelection, 1);
    auto *deleteButton = new QToolButton(m_shapePanel);
    deleteButton->setObjectName(QStringLiteral("deleteSet"));
    deleteButton->setText(QStringLiteral("−"));
    deleteButton->setToolTip(localizedString(QStringLiteral("Delete Set")));
    row->addWidget(deleteButton);
    layout->addLayout(row);
    m_objMatrix = new VekObjMatrix(m_preferences, *m_setSelection, m_shapePanel);
    m_objMatrix->setMinimumSize(VekObjMatrix::CellPitch * 5 + 20, VekObjMatrix::CellPitch * 6);
    layout->addWidget(m_objMatrix, 1);
    m_objMatrix->setActivationHandler([this] { showShapePanelToDragIn(); });
    connect(deleteButton, &QToolButton::clicked, m_objMatrix, [this] { objectMatrix().deleteSet(); });
}

VekObjMatrix &VekToolController::objectMatrix()
{
    if (!m_objMatrix->isSetUp())
        m_objMatrix->setupObjMatrix();
    return *m_objMatrix;
}

std::vector<std::shared_ptr<VekObject>> VekToolController::selectedObjects() const
{
    return m_objMatrix->isSetUp() ? m_objMatrix->selectedObjects() : std::vector<std::shared_ptr<VekObject>>{};
}

void VekToolController::setupColorPanelAccessory()
{
    if (m_colourAccessory)
        return;
    m_colourAccessory = new ColourPanelAccessory;
    ColourPanel::sharedColorPanel().setAccessoryView(m_colourAccessory);
}

void VekToolController::showShapePanelToDragIn()
{
    if (!m_shapePanel->isVisible())
        m_shapePanel->show();
    m_shapePanel->raise();
    m_objMatrix->setFocus();
}

// Closing a satellite panel by its close box goes back to the arrow.
bool VekToolController::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Close &&
        (watched == m_shapePanel || watched == m_formatOptPanel || watched == m_gridOptPanel))
        selectArrowTool();
    return QWidget::eventFilter(watched, event);
}

void VekToolController::setMenu(QMenu *menu)
{
    m_menuButton->setMenu(menu);
    m_menuButton->setEnabled(menu != nullptr);
}

int VekToolController::selectedTool() const
{
    return m_toolButtons->checkedId();
}

void VekToolController::selectRow(int n)
{
    m_toolButtons->button(n)->setChecked(true);
}

void VekToolController::selectTool(int n)
{
    if (unsigned(n) >= unsigned(ToolCount) || n == selectedTool())
        return;
    selectRow(n);
    selectToolAction();
}

void VekToolController::selectToolAction()
{
    m_gridOptPanel->setSelectedTool(selectedTool());
    switch (selectedTool()) {
    case FormatTool:
        // Settings for new fields (a field being edited has ended its editing by now).
        if (!m_formatOptPanel->isVisible())
            m_formatOptPanel->optionPanelFormat(nullptr, false);
        break;
    case GridTool:
        // Settings for new tables: the counts, colour and lines are enabled, the cell
        // controls are not.
        if (!m_gridOptPanel->isVisible()) {
            m_gridOptPanel->setGridOutlets(nullptr, -1, -1);
            m_gridOptPanel->show();
        }
        break;
    case ObjectTool:
        objectMatrix();
        m_shapePanel->show();
        break;
    default:
        hideOptionPanels();
        break;
    }
    postToolChange();
}

void VekToolController::selectArrowTool()
{
    if (selectedTool() != ArrowTool) {
        selectRow(ArrowTool);
        postToolChange();
    }
}

void VekToolController::selectObjectTool()
{
    if (selectedTool() != ObjectTool) {
        selectRow(ObjectTool);
        postToolChange();
    }
}

void VekToolController::selectPointPenTool()
{
    if (selectedTool() != PointPenTool) {
        selectRow(PointPenTool);
        postToolChange();
    }
}

void VekToolController::postToolChange()
{
    m_gridOptPanel->setSelectedTool(selectedTool());
    NotificationCenter::defaultCenter().postNotificationName(VekSelectedToolDidChangeNotification, this);
}

void VekToolController::setMarkerColorNr(int number)
{
    if (number == m_markerColorNr)
        return;
    m_markerColorNr = std::clamp(number, 1, 5);
    rebuildMarkCursor();
}

void VekToolController::setMarkerThickness(float thickness)
{
    if (thickness == m_markerThickness)
        return;
    m_markerThickness = std::max(thickness, 0.5f);
    rebuildMarkCursor();
}

void VekToolController::rebuildMarkCursor()
{
    if (!m_cursors.hasMarkCursor())
        return;
    m_cursors.updateMarkCursor(m_preferences.markerColor(m_markerColorNr), m_markerThickness);
    if (selectedTool() == MarkerTool)
        NotificationCenter::defaultCenter().postNotificationName(VekSelectedToolCursorDidChangeNotification, this);
}

void VekToolController::rebuildFormatCursor()
{
    m_cursors.formatCursor(true, m_formatOptPanel->selectedFormatExample());
    if (selectedTool() == FormatTool)
        NotificationCenter::defaultCenter().postNotificationName(VekSelectedToolCursorDidChangeNotification, this);
}

int VekToolController::visibleToolOption() const
{
    if (m_shapePanel->isVisible())
        return ObjectTool;
    if (m_formatOptPanel->isVisible())
        return FormatTool;
    if (m_gridOptPanel->isVisible())
        return GridTool;
    return -1;
}

void VekToolController::hideOptionPanels()
{
    for (QWidget *panel : std::initializer_list<QWidget *>{m_gridOptPanel, m_formatOptPanel, m_shapePanel})
        if (panel->isVisible())
            panel->hide();
}

QCursor VekToolController::cursorForSelectedTool()
{
    switch (selectedTool()) {
    case FreehandTool: return m_cursors.cursor(ToolCursors::Kind::Pen);
    case PointPenTool: return m_cursors.pointCursor(m_preferences.colorForKey(QStringLiteral("cwCtrlPtC")));
    case ContourTool: return QCursor(Qt::CrossCursor);
    case MarkerTool: return m_cursors.markCursor(m_preferences.markerColor(m_markerColorNr), m_markerThickness);
    case TextTool: return QCursor(Qt::IBeamCursor);
    case FormatTool: return m_cursors.formatCursor(false, m_formatOptPanel->selectedFormatExample());
    case ObjectTool:
    case GridTool: return QCursor(Qt::CrossCursor);
    default: return QCursor(Qt::ArrowCursor);
    }
}
