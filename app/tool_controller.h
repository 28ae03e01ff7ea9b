// VekToolController: the tool palette, a small floating window with one column of nine
// tool buttons. It holds the editing state every document window shares: the selected tool
// (0 arrow, 1 object, 2 free-hand, 3 point pen, 4 contour, 5 marker, 6 text, 7 field,
// 8 table), the marker's colour number and thickness, and the cursors of the tools. Three
// satellite panels open beside it for the object, field and table tools: the field and
// table options panels hold the settings of the objects those tools make.
//
// Tool changes post VekSelectedToolDidChangeNotification, and a redrawn cursor of the
// selected tool VekSelectedToolCursorDidChangeNotification, with the palette as sender.
#pragma once

#include "app/tool_cursors.h"

#include <QWidget>

class FormatOptionsPanel;
#include <memory>
#include <vector>

class ColourPanelAccessory;
class QButtonGroup;
class QComboBox;
class QMenu;
class QToolButton;
class TableOptionsPanel;
class UserDefaults;
class VekObjMatrix;
class VekObject;
class VekPreferences;

class VekToolController : public QWidget {
    Q_OBJECT
public:
    enum Tool { ArrowTool, ObjectTool, FreehandTool, PointPenTool, ContourTool, MarkerTool, TextTool, FormatTool,
                GridTool, ToolCount };

    // The field options panel keeps its format lists in the defaults.
    VekToolController(VekPreferences &preferences, UserDefaults &defaults, QWidget *parent = nullptr);
    ~VekToolController() override;

    int selectedTool() const;
    // Selects tool n and shows or hides the satellite panels; nothing for a number out of
    // range or the tool already selected.
    void selectTool(int n);
    // The button's action: shows the satellite panel of the tool now selected (leaving
    // panels already open), or hides all three, then tells the documents.
    void selectToolAction();
    // Select their tool without touching the satellite panels.
    void selectArrowTool();
    void selectObjectTool();
    void selectPointPenTool();

    int currentMarkerColorNr() const { return m_markerColorNr; }
    float currentMarkerThickness() const { return m_markerThickness; }
    // Clamped to 1 to 5.
    void setMarkerColorNr(int number);
    // At least 0.5.
    void setMarkerThickness(float thickness);

    // 1 when the object panel is visible, else 7 for the field panel, 8 for the table
    // panel, -1 for none.
    int visibleToolOption() const;
    void hideOptionPanels();
    QWidget &shapePanel() const { return *m_shapePanel; }
    FormatOptionsPanel &formatOptPanel() const { return *m_formatOptPanel; }
    TableOptionsPanel &gridOptPanel() const { return *m_gridOptPanel; }
    QSize toolPanelSize() const { return frameGeometry().size(); }

    // The object-set palette in the shape panel, set up on first use.
    VekObjMatrix &objectMatrix();
    // The objects of the item picked in the object-set palette; none before it is set up.
    std::vector<std::shared_ptr<VekObject>> selectedObjects() const;
    // Brings the shape panel forward with the palette ready to take a drop.
    void showShapePanelToDragIn();
    // Puts the accessory that makes pattern colours into the shared colour panel.
    void setupColorPanelAccessory();
    // The accessory (null before it is set up).
    ColourPanelAccessory *vekCPAccImageView() const { return m_colourAccessory; }

    // The menu the palette's menu button shows (not owned).
    void setMenu(QMenu *menu);

    // The cursor of the selected tool on the canvas.
    QCursor cursorForSelectedTool();
    ToolCursors &cursors() { return m_cursors; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void selectRow(int n);
    void postToolChange();
    void rebuildMarkCursor();
    void rebuildFormatCursor();
    void buildShapePanel();

    VekPreferences &m_preferences;
    QButtonGroup *m_toolButtons = nullptr;
    QToolButton *m_menuButton = nullptr;
    QWidget *m_shapePanel = nullptr;
    QComboBox *m_setSelection = nullptr;
    VekObjMatrix *m_objMatrix = nullptr;
    ColourPanelAccessory *m_colourAccessory = nullptr;   // owned by the colour panel
    FormatOptionsPanel *m_formatOptPanel = nullptr;
    TableOptionsPanel *m_gridOptPanel = nullptr;
    ToolCursors m_cursors;
    int m_markerColorNr = 1;
    float m_markerThickness = 6.0f;
};
