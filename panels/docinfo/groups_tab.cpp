// The group outline: the tree, selection towards the canvas, ungrouping and moves in a group.
#include "panels/docinfo/groups_tab.h"

#include "canvas/canvas_notifications.h"
#include "document/vek_document.h"
#include "model/vek_group.h"
#include "model/vek_object.h"
#include "panels/docinfo/doc_info_controller.h"
#include "panels/docinfo/object_reordering.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/notification_center.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString localized(const char *text)
{
    return localizedString(QString::fromLatin1(text));
}

constexpr int GroupRole = Qt::UserRole;        // the group identifier of a group row
constexpr int ObjectRole = Qt::UserRole + 1;   // the index into the tab's objects of an object row

// "VekObjPath" is shown as "Path".
QString classDisplayName(const VekObject &object)
{
    QString name = object.className();
    for (const char *prefix : {"VekObj", "Vek"})
        if (name.startsWith(QLatin1String(prefix)))
            return name.mid(int(qstrlen(prefix)));
    return name;
}

} // namespace

VekGroupOutlineView::VekGroupOutlineView(GroupsTab &tab, QWidget *parent) : QTreeWidget(parent), m_tab(tab) {}

void VekGroupOutlineView::keyPressEvent(QKeyEvent *event)
{
    if ((event->modifiers() & Qt::AltModifier) && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
        m_tab.moveSelectedWithinGroup(event->key() == Qt::Key_Up);
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

GroupsTab::GroupsTab(VekDocInfoController &controller, QWidget *parent) : QWidget(parent), m_controller(controller)
{
    auto *layout = new QVBoxLayout(this);
    grpTable = new VekGroupOutlineView(*this, this);
    grpTable->setObjectName(QStringLiteral("grpTable"));
    grpTable->setColumnCount(2);
    grpTable->setHeaderLabels({localized("Name"), localized("Note")});
    grpTable->setSelectionMode(QAbstractItemView::SingleSelection);
    layout->addWidget(grpTable);
    connect(grpTable, &QTreeWidget::itemSelectionChanged, this, &GroupsTab::rowSelected);
    connect(grpTable, &QTreeWidget::itemChanged, this, &GroupsTab::noteEdited);

    optGrpPartialSelection = new QCheckBox(localized("Select parts of groups"), this);
    optGrpPartialSelection->setObjectName(QStringLiteral("optGrpPartialSelection"));
    layout->addWidget(optGrpPartialSelection);
    auto *buttons = new QHBoxLayout;
    btnUngroupDownwards = new QPushButton(localized("Ungroup All Levels"), this);
    btnUngroupDownwards->setObjectName(QStringLiteral("btnUngroupDownwards"));
    btnUngroupLocally = new QPushButton(localized("Ungroup One Level"), this);
    btnUngroupLocally->setObjectName(QStringLiteral("btnUngroupLocally"));
    connect(btnUngroupDownwards, &QPushButton::clicked, this, [this] { ungroupSelected(1); });
    connect(btnUngroupLocally, &QPushButton::clicked, this, [this] { ungroupSelected(0); });
    buttons->addWidget(btnUngroupDownwards);
    buttons->addWidget(btnUngroupLocally);
    layout->addLayout(buttons);
}

std::shared_ptr<VekObject> GroupsTab::objectOf(const QTreeWidgetItem *item) const
{
    if (!item || !item->data(0, ObjectRole).isValid())
        return nullptr;
    const int index = item->data(0, ObjectRole).toInt();
    return index >= 0 && index < int(m_objects.size()) ? m_objects[size_t(index)] : nullptr;
}

QString GroupsTab::groupOf(const QTreeWidgetItem *item) const
{
    return item ? item->data(0, GroupRole).toString() : QString();
}

void GroupsTab::addMembers(QTreeWidgetItem *parent, const QString &groupID)
{
    VekDocument &document = *m_controller.currentDocument();
    const std::shared_ptr<VekGroup> group = document.groupFor(groupID);
    auto *row = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(grpTable);
    row->setText(0, groupID);
    row->setData(0, GroupRole, groupID);
    row->setFlags(row->flags() | Qt::ItemIsEditable);
    if (!group)
        return;
    row->setText(1, group->note());
    for (const VekGroup::Member &member : group->allMembers()) {
        if (const QString *child = std::get_if<QString>(&member)) {
            addMembers(row, *child);
            continue;
        }
        const std::shared_ptr<VekObject> &object = std::get<std::shared_ptr<VekObject>>(member);
        auto *leaf = new QTreeWidgetItem(row);
        leaf->setText(0, classDisplayName(*object));
        leaf->setText(1, object->note());
        leaf->setData(0, ObjectRole, int(m_objects.size()));
        leaf->setFlags(leaf->flags() | Qt::ItemIsEditable);
        m_objects.push_back(object);
    }
}

void GroupsTab::updateGroupTable()
{
    m_filling = true;
    grpTable->clear();
    m_objects.clear();
    if (VekDocument *document = m_controller.currentDocument())
        for (const QString &top : document->groupTopNodesSorted())
            addMembers(nullptr, top);
    if (PanelCanvas *canvas = m_controller.shownPanelCanvas())
        if (const std::shared_ptr<VekObject> current = canvas->currentObject())
            if (QTreeWidgetItem *row = itemForObject(*current)) {
                for (QTreeWidgetItem *up = row->parent(); up; up = up->parent())
                    up->setExpanded(true);
                row->setSelected(true);
                grpTable->scrollToItem(row);
            }
    m_filling = false;
}

QTreeWidgetItem *GroupsTab::itemForGroup(const QString &groupID) const
{
    for (QTreeWidgetItemIterator it(grpTable); *it; ++it)
        if (groupOf(*it) == groupID)
            return *it;
    return nullptr;
}

QTreeWidgetItem *GroupsTab::itemForObject(const VekObject &object) const
{
    for (QTreeWidgetItemIterator it(grpTable); *it; ++it)
        if (objectOf(*it).get() == &object)
            return *it;
    return nullptr;
}

void GroupsTab::rowSelected()
{
    PanelCanvas *canvas = m_controller.shownPanelCanvas();
    if (m_filling || !canvas)
        return;
    const QList<QTreeWidgetItem *> selected = grpTable->selectedItems();
    if (selected.isEmpty()) {
        canvas->clearSelection();
        return;
    }
    VekDocument &document = canvas->document();
    if (const std::shared_ptr<VekObject> object = objectOf(selected.front())) {
        if (optGrpPartialSelection->isChecked())
            canvas->selectObjectsInGroup({object}, object->groupID());
        else
            canvas->selectObjects(document.objectsLowerThanGroup(topGroupOf(document, *object)));
        canvas->setCurrentObject(object);
        canvas->makeVisible(*object);
        return;
    }
    const QString groupID = groupOf(selected.front());
    const std::vector<std::shared_ptr<VekObject>> members = document.objectsLowerThanGroup(groupID);
    if (members.empty())
        return;
    if (optGrpPartialSelection->isChecked())
        canvas->selectObjectsInGroup(members, groupID);
    else
        canvas->selectObjects(document.objectsLowerThanGroup(topGroupOf(document, *members.front())));
    canvas->makeVisible(*members.front());
}

void GroupsTab::noteEdited(QTreeWidgetItem *item, int column)
{
    VekDocument *document = m_controller.currentDocument();
    if (m_filling || !document || column != 1)
        return;
    if (const std::shared_ptr<VekObject> object = objectOf(item))
        object->setNote(item->text(1));
    else if (const std::shared_ptr<VekGroup> group = document->groupFor(groupOf(item)))
        group->setNote(item->text(1));
}

void GroupsTab::ungroupSelected(int tag)
{
    VekDocument *document = m_controller.currentDocument();
    const QList<QTreeWidgetItem *> selected = grpTable->selectedItems();
    if (!document || selected.isEmpty())
        return;
    if (const std::shared_ptr<VekObject> object = objectOf(selected.front())) {
        if (tag == 1)
            document->ungroupDownwards(object->groupID());
        else
            document->removeMemberFromGroup(object, object->groupID(), true);
    } else if (tag == 1) {
        document->ungroupDownwards(groupOf(selected.front()));
    } else {
        document->ungroupLocally(groupOf(selected.front()));
    }
    NotificationCenter::defaultCenter().postNotificationName(VekViewGroupsDidChangeNotification,
                                                             m_controller.shownCanvas()->canvasIdentity());
    updateGroupTable();
}

bool GroupsTab::moveSelectedWithinGroup(bool towardsFront)
{
    VekDocument *document = m_controller.currentDocument();
    const QList<QTreeWidgetItem *> selected = grpTable->selectedItems();
    const std::shared_ptr<VekObject> object = selected.isEmpty() ? nullptr : objectOf(selected.front());
    if (!document || !object || !moveWithinGroup(*document, object, towardsFront))
        return false;
    updateGroupTable();
    if (QTreeWidgetItem *row = itemForObject(*object))
        row->setSelected(true);
    return true;
}
