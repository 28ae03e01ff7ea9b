// TableOptionsPanel: the tool palette's non-modal options panel of the table tool.
//
// It holds the settings for new tables (column and row counts, grid colour, line switches)
// and, while a table is the document's current object, edits that table: its counts, grid
// colour and switches, the borders of its selected column or row, equal widths and heights,
// and the font, size, text colour, background and alignment of its selected cells. The tool
// palette tells it the selected tool and the current object; the shell's table functions
// (gridCurrentColumnNr, setGridOutlets, ...) are answered here.
#pragma once

#include "platform/color/color.h"

#include <QWidget>

#include <memory>

class ColourWell;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class VekObject;
class VekObjGrid;

class TableOptionsPanel : public QWidget {
    Q_OBJECT
public:
    // Tags of the cell controls, as applyCellPropertyToSelected takes them.
    enum CellTag { FontTag = 0, SizeTag = 1, TextColorTag = 2, BackgroundTag = 3, AlignmentTag = 4 };

    explicit TableOptionsPanel(QWidget *parent = nullptr);
    ~TableOptionsPanel() override;

    // What the tool palette reports: the selected tool and the document's current object.
    void setSelectedTool(int tool) { m_tool = tool; }
    void setCurrentObject(const std::shared_ptr<VekObject> &object) { m_current = object; }

    // Settings for new tables. A count below 1 (or no number) resets its field to 2.
    int gridCurrentColumnNr();
    int gridCurrentRowNr();
    Color gridCurrentColor() const;
    int gridCurrentDrawLineH() const;
    int gridCurrentDrawLineV() const;

    // Prepares the panel for an object (fills it from a table being edited) and shows it.
    void optionPanelGrid(VekObject *object, bool edit);
    // Enables and fills the controls for a table (or none) and its selected column and row.
    void setGridOutlets(VekObjGrid *table, int column, int row);
    // Shows a table's counts, switches, colour and its first selected cell's values.
    void updateGridInfoFor(VekObject *object);

    // The actions of the controls.
    void setGridProperty(QObject *sender);
    void applyCellPropertyToSelected(int tag);

    // The controls (the panel's outlets).
    QLineEdit *gridColNr = nullptr;
    QLineEdit *gridRowNr = nullptr;
    QCheckBox *gridDrawLineH = nullptr;
    QCheckBox *gridDrawLineV = nullptr;
    QPushButton *gridAddCol = nullptr;
    QPushButton *gridAddRow = nullptr;
    QPushButton *gridBtnSameHeight = nullptr;
    QPushButton *gridBtnSameWidth = nullptr;
    QPushButton *gridBtnLnL = nullptr;
    QPushButton *gridBtnLnR = nullptr;
    QPushButton *gridBtnLnT = nullptr;
    QPushButton *gridBtnLnB = nullptr;
    ColourWell *gridColor = nullptr;
    ColourWell *gridBGcolor = nullptr;
    ColourWell *gridCellFontColor = nullptr;
    QButtonGroup *gridAlignment = nullptr;
    QComboBox *gridCellFont = nullptr;
    QComboBox *gridCellFontSize = nullptr;

private:
    // The current object when it is a table, else null.
    std::shared_ptr<VekObjGrid> currentTable() const;
    int countIn(QLineEdit *field);
    void disableTableControls();
    void setCellControlsEnabled(bool enabled);

    int m_tool = 0;
    std::weak_ptr<VekObject> m_current;
};
