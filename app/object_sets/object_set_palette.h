// VekObjMatrix: the object-set palette in the shape panel. A grid of 33-pixel cells shows
// the current set's items (cell i is item i; there is always one empty cell after them);
// the selected item is what the shape tool draws. Selected objects dragged from a canvas
// onto a cell become a new item there; an item dragged onto a canvas is placed there.
// Delete removes the selected item and the arrow keys move it. The set-selection combo box
// switches to a set by name, or creates or renames one when the name is new.
#pragma once

#include "app/object_sets/object_set_store.h"

#include <QAbstractScrollArea>

#include <functional>

class QComboBox;
class VekPreferences;

class VekObjMatrix : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int CellPitch = 33;

    VekObjMatrix(VekPreferences &preferences, QComboBox &setSelection, QWidget *parent = nullptr);
    ~VekObjMatrix() override;

    ObjectSetStore &store() { return m_store; }
    bool isSetUp() const { return m_setUp; }
    // Reads the sets from the support folder (building the default set when there is
    // none) and shows the remembered one.
    void setupObjMatrix();
    // Copies of nothing: the objects of the selected item (the last item's when the
    // selection lies beyond it); empty when the set is empty.
    std::vector<std::shared_ptr<VekObject>> selectedObjects() const;

    const QString &currentSetName() const { return m_currentSetName; }
    int selectedTag() const { return m_selectedTag; }
    void selectTag(int tag);
    int columnCount() const;
    int rowCount() const;
    // The cell's rectangle in the viewport.
    QRect cellRect(int tag) const;

    // Builds the default set: from the menu (announce) it becomes current and an alert
    // names it; else its file is only written.
    void addDefaultSet(bool announce);
    // Imports set files and predecessor set files chosen in an open panel.
    void readinVekObjSet();
    // The combo box's text: switches to that set, or asks whether to create or rename.
    void setSet(const QString &name);
    // Deletes the current set after asking; the default set comes back when none is left.
    void deleteSet();
    // Delete and the arrow keys on the selected item; false when the key does nothing.
    bool doEventForChar(int key);
    // Objects a canvas dragged here (its document data) become an item at the cell under
    // the point (viewport coordinates); false when nothing was added.
    bool concludeDrop(const QByteArray &documentData, QPoint at);

    // Called when a canvas begins to drag its selection here: the shape panel comes up.
    void setActivationHandler(std::function<void()> handler) { m_activate = std::move(handler); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    const ObjectSetItems &currentItems() const { return m_store.items(m_currentSetName); }
    // Stores the items as the current set, shows them with the tag selected, writes the file.
    void storeCurrentItems(ObjectSetItems items, int tag);
    void updateDisplayWith(int tag);
    void updateSetSelection();
    void rememberCurrentSet();
    void makeCurrent(const QString &name);
    int tagAt(QPoint at) const;
    void dragSelectedItem();
    void updateScrollRange();

    VekPreferences &m_preferences;
    QComboBox &m_setSelection;
    ObjectSetStore m_store;
    QString m_currentSetName;
    int m_selectedTag = 0;
    int m_shownColumns = 0;
    bool m_setUp = false;
    QPoint m_pressedAt{-1, -1};
    std::function<void()> m_activate;
};
