// The document info panel's objects tab: one row per object in stacking order (all, the
// current page's, one per group, one per group on the page), with its line number, note,
// position and size. Notes, positions and sizes are edited in place; a typed line number, a
// drag of rows or Alt+Up/Down reorders; the selection follows the canvas both ways; a click on
// a column header offers to sort the drawing order.
#pragma once

#include "canvas/stacking_order.h"

#include <QTableWidget>
#include <QWidget>

#include <memory>
#include <vector>

class QComboBox;
class QLabel;
class VekDocInfoController;
class VekObject;

class ObjectsTab;

// The table: it hands the reordering keys and drops to the tab.
class VekDocTableView : public QTableWidget {
public:
    VekDocTableView(ObjectsTab &tab, QWidget *parent);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    ObjectsTab &m_tab;
};

class ObjectsTab : public QWidget {
    Q_OBJECT
public:
    using ObjectList = std::vector<std::shared_ptr<VekObject>>;

    explicit ObjectsTab(VekDocInfoController &controller, QWidget *parent = nullptr);

    ObjectsTableOption displayOption() const;
    // The rows; empty without a document.
    ObjectList objectsToDisplay() const;
    // Rebuilds the rows and selects those of the canvas's selected objects.
    void updateObjectsTableDisplay();
    // The selection of the canvas shown in the rows.
    void updateSelectionFromCanvas();
    // Moves the selected rows' objects one step towards row 0 or away from it.
    bool moveSelectedRows(bool towardsFront);
    // Moves the selected rows' objects to the place of the object shown in the row.
    bool moveSelectedRowsTo(int row);
    void removeSelectedObject();
    // Asks, then sorts the drawing order by the column.
    void sortByColumn(int column);
    // What the sort question answers; true to sort (tests answer it).
    std::function<bool()> confirmSort;

    QComboBox *pupDisplayOption = nullptr;
    QLabel *txObjectsDisplayInfo = nullptr;
    VekDocTableView *objTable = nullptr;

private:
    void fillRow(int row, const VekObject &object);
    void cellEdited(int row, int column);
    void rowsSelected();
    ObjectList selectedRowObjects() const;

    VekDocInfoController &m_controller;
    ObjectList m_rows;
    bool m_filling = false;
};
