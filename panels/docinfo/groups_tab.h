// The document info panel's groups tab: the document's group tree with the objects as leaves,
// each with its name and note (notes are edited in place). Selecting a row selects the group
// or the object on the canvas; the buttons ungroup downwards (the group and its subgroups) or
// one level only (an object row: takes the object out of its group); Alt+Up/Down moves an
// object within its group.
#pragma once

#include <QTreeWidget>
#include <QWidget>

#include <memory>
#include <vector>

class QCheckBox;
class QPushButton;
class VekDocInfoController;
class VekObject;
class GroupsTab;

class VekGroupOutlineView : public QTreeWidget {
public:
    VekGroupOutlineView(GroupsTab &tab, QWidget *parent);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    GroupsTab &m_tab;
};

class GroupsTab : public QWidget {
    Q_OBJECT
public:
    explicit GroupsTab(VekDocInfoController &controller, QWidget *parent = nullptr);

    // Rebuilds the outline and selects the canvas's current object's row.
    void updateGroupTable();
    // Tag 1: downwards; other tags: one level.
    void ungroupSelected(int tag);
    bool moveSelectedWithinGroup(bool towardsFront);
    // The row of a group or an object; null when it is not shown.
    QTreeWidgetItem *itemForGroup(const QString &groupID) const;
    QTreeWidgetItem *itemForObject(const VekObject &object) const;

    VekGroupOutlineView *grpTable = nullptr;
    QCheckBox *optGrpPartialSelection = nullptr;
    QPushButton *btnUngroupDownwards = nullptr, *btnUngroupLocally = nullptr;

private:
    void addMembers(QTreeWidgetItem *parent, const QString &groupID);
    void rowSelected();
    void noteEdited(QTreeWidgetItem *item, int column);
    std::shared_ptr<VekObject> objectOf(const QTreeWidgetItem *item) const;
    QString groupOf(const QTreeWidgetItem *item) const;

    VekDocInfoController &m_controller;
    std::vector<std::shared_ptr<VekObject>> m_objects;   // the objects of the rows, by row data
    bool m_filling = false;
};
