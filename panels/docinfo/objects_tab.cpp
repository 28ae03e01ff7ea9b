// The objects table: rows, in-place edits, selection both ways and reordering.
#include "panels/docinfo/objects_tab.h"

#include "document/vek_document.h"
#include "model/vek_obj_format.h"
#include "panels/docinfo/doc_info_controller.h"
#include "panels/docinfo/object_reordering.h"
#include "platform/foundation/c_locale.h"
#include "platform/foundation/localized_strings.h"

#include <QComboBox>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

QString localized(const char *text)
{
    return localizedString(QString::fromLatin1(text));
}

// Column identifiers, in column order.
const QStringList &columnKeys()
{
    static const QStringList keys = {QStringLiteral("tcLn"),   QStringLiteral("tcNote"), QStringLiteral("tcPosX"),
                                     QStringLiteral("tcPosY"), QStringLiteral("tcSzW"),  QStringLiteral("tcSzH")};
    return keys;
}

enum Column { Line = 0, Note, PosX, PosY, Width, Height };

bool isField(const VekObject &object)
{
    return dynamic_cast<const VekObjFormat *>(&object) != nullptr;
}

} // namespace

VekDocTableView::VekDocTableView(ObjectsTab &tab, QWidget *parent) : QTableWidget(parent), m_tab(tab)
{
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDropIndicatorShown(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setAlternatingRowColors(true);
}

void VekDocTableView::keyPressEvent(QKeyEvent *event)
{
    const bool option = event->modifiers() & Qt::AltModifier;
    if (option && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
        m_tab.moveSelectedRows(event->key() == Qt::Key_Up);
        return;
    }
    if ((event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) && state() != EditingState) {
        m_tab.removeSelectedObject();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

// A drop of rows moves their objects one step towards the drop row, as one block.
void VekDocTableView::dropEvent(QDropEvent *event)
{
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    if (event->source() != this)
        return;   // only rows of this table reorder
    const int to = rowAt(event->position().toPoint().y());
    const QModelIndexList selected = selectionModel()->selectedRows();
    if (selected.isEmpty())
        return;
    const int from = selected.front().row();
    if (to >= 0 && to != from)
        m_tab.moveSelectedRows(to < from);
}

ObjectsTab::ObjectsTab(VekDocInfoController &controller, QWidget *parent) : QWidget(parent), m_controller(controller)
{
    auto *layout = new QVBoxLayout(this);
    pupDisplayOption = new QComboBox(this);
    pupDisplayOption->setObjectName(QStringLiteral("pupDisplayOption"));
    pupDisplayOption->addItems({localized("All objects"), localized("Objects of the current page"),
                                localized("One object per group"), localized("One object per group on the page")});
    connect(pupDisplayOption, &QComboBox::activated, this, [this] { updateObjectsTableDisplay(); });
    layout->addWidget(pupDisplayOption);

    objTable = new VekDocTableView(*this, this);
    objTable->setObjectName(QStringLiteral("objTable"));
    objTable->setColumnCount(int(columnKeys().size()));
    objTable->setHorizontalHeaderLabels({QStringLiteral("#"), localized("Note"), QStringLiteral("X"),
                                         QStringLiteral("Y"), localized("W"), localized("H")});
    objTable->verticalHeader()->hide();
    layout->addWidget(objTable);
    connect(objTable, &QTableWidget::cellChanged, this, &ObjectsTab::cellEdited);
    connect(objTable, &QTableWidget::itemSelectionChanged, this, &ObjectsTab::rowsSelected);
    connect(objTable, &QTableWidget::cellDoubleClicked, this, [this](int, int column) {
        if (column == Line && m_controller.shownPanelCanvas())
            m_controller.shownPanelCanvas()->clearSelection();
    });
    connect(objTable->horizontalHeader(), &QHeaderView::sectionClicked, this, &ObjectsTab::sortByColumn);

    txObjectsDisplayInfo = new QLabel(QStringLiteral("-/-"), this);
    txObjectsDisplayInfo->setObjectName(QStringLiteral("txObjectsDisplayInfo"));
    layout->addWidget(txObjectsDisplayInfo);

    confirmSort = [this] {
        QMessageBox box(QMessageBox::Question, localized("Sort Object Drawing Order"),
                        localized("This may affect drawing quite a lot."), QMessageBox::NoButton, this);
        QPushButton *sort = box.addButton(localized("Sort"), QMessageBox::AcceptRole);
        box.setDefaultButton(box.addButton(QMessageBox::Cancel));
        box.exec();
        return box.clickedButton() == sort;
    };
}

ObjectsTableOption ObjectsTab::displayOption() const
{
    return ObjectsTableOption(std::max(0, pupDisplayOption->currentIndex()));
}

ObjectsTab::ObjectList ObjectsTab::objectsToDisplay() const
{
    PanelCanvas *canvas = m_controller.shownPanelCanvas();
    if (!canvas)
        return {};
    VekDocument &document = canvas->document();
    const ObjectsTableOption option = displayOption();
    ObjectList objects = document.objects();
    if (option == ObjectsTableOption::CurrentPage || option == ObjectsTableOption::CurrentPageOnePerGroup) {
        const int page = canvas->currentPage();
        const Size size = document.drawAreaSizePerPage();
        objects = document.objectsOnPage(page, Rect(0, (page - 1) * size.height, size.width, size.height));
    }
    if (option == ObjectsTableOption::OnePerGroup || option == ObjectsTableOption::CurrentPageOnePerGroup)
        objects = document.objectsOnePerGroupOutOf(objects);
    return objects;
}

void ObjectsTab::fillRow(int row, const VekObject &object)
{
    const Rect b = object.bounds();
    const QString values[] = {formatC("%3d ", row), object.note(), formatC("%4.2f", double(b.origin.x)),
                              formatC("%4.2f", double(b.origin.y)), formatC("%4.2f", double(b.width())),
                              formatC("%4.2f", double(b.height()))};
    for (int column = 0; column < int(columnKeys().size()); ++column) {
        auto *item = new QTableWidgetItem(values[column]);
        const bool fixedSize = (column == Width || column == Height) && isField(object);
        if (fixedSize)
            item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        objTable->setItem(row, column, item);
    }
}

void ObjectsTab::updateObjectsTableDisplay()
{
    m_filling = true;
    m_rows = objectsToDisplay();
    objTable->clearContents();
    objTable->setRowCount(int(m_rows.size()));
    for (int row = 0; row < int(m_rows.size()); ++row)
        fillRow(row, *m_rows[size_t(row)]);
    m_filling = false;
    updateSelectionFromCanvas();
    VekDocument *document = m_controller.currentDocument();
    txObjectsDisplayInfo->setText(document ? QStringLiteral("%1/%2").arg(m_rows.size()).arg(document->objects().size())
                                           : QStringLiteral("-/-"));
}

void ObjectsTab::updateSelectionFromCanvas()
{
    PanelCanvas *canvas = m_controller.shownPanelCanvas();
    m_filling = true;
    objTable->clearSelection();
    int firstRow = -1;
    if (canvas)
        for (const auto &object : canvas->selectedObjects()) {
            const auto found = std::find(m_rows.begin(), m_rows.end(), object);
            if (found == m_rows.end())
                continue;
            const int row = int(found - m_rows.begin());
            objTable->selectionModel()->select(objTable->model()->index(row, 0),
                                               QItemSelectionModel::Select | QItemSelectionModel::Rows);
            if (firstRow < 0 || row < firstRow)
                firstRow = row;
        }
    if (firstRow >= 0)
        objTable->scrollToItem(objTable->item(firstRow, 0));
    m_filling = false;
}

ObjectsTab::ObjectList ObjectsTab::selectedRowObjects() const
{
    ObjectList objects;
    QModelIndexList rows = objTable->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    for (const QModelIndex &index : rows)
        if (index.row() < int(m_rows.size()))
            objects.push_back(m_rows[size_t(index.row())]);
    return objects;
}

// The canvas selects the selected rows' objects, a grouped object with its whole group.
void ObjectsTab::rowsSelected()
{
    PanelCanvas *canvas = m_controller.shownPanelCanvas();
    if (m_filling || !canvas)
        return;
    ObjectList objects;
    for (const auto &object : selectedRowObjects()) {
        const QString top = topGroupOf(canvas->document(), *object);
        for (const auto &member : top.isEmpty() ? ObjectList{object} : canvas->document().objectsLowerThanGroup(top))
            if (std::find(objects.begin(), objects.end(), member) == objects.end())
                objects.push_back(member);
    }
    if (objects.empty()) {
        canvas->clearSelection();
        return;
    }
    canvas->selectObjects(objects);
    canvas->makeVisible(*objects.front());
}

void ObjectsTab::cellEdited(int row, int column)
{
    VekDocument *document = m_controller.currentDocument();
    if (m_filling || !document || row < 0 || row >= int(m_rows.size()))
        return;
    const std::shared_ptr<VekObject> object = m_rows[size_t(row)];
    const QString text = objTable->item(row, column)->text();
    if (column == Note) {
        object->setNote(text);
        return;
    }
    if (column == Line) {
        const int target = intValueOf(text);
        if (target < 0 || target >= int(m_rows.size()) || target == row) {
            updateObjectsTableDisplay();
            return;
        }
        moveObjects(*document, {object}, displayOption(), target < row, m_rows[size_t(target)]);
        updateObjectsTableDisplay();
        return;
    }
    if (isField(*object))
        return;
    const float value = floatValueOf(text);
    if (!std::isfinite(value)) {
        updateObjectsTableDisplay();
        return;
    }
    Rect bounds = object->bounds();
    switch (column) {
    case PosX: bounds.origin.x = value; break;
    case PosY: bounds.origin.y = value; break;
    case Width: bounds.size.width = std::max(1.0f, value); break;
    default: bounds.size.height = std::max(1.0f, value); break;
    }
    object->setBounds(bounds);
}

bool ObjectsTab::moveSelectedRows(bool towardsFront)
{
    VekDocument *document = m_controller.currentDocument();
    const ObjectList objects = selectedRowObjects();
    if (!document || objects.empty() || !moveObjects(*document, objects, displayOption(), towardsFront))
        return false;
    updateObjectsTableDisplay();
    return true;
}

bool ObjectsTab::moveSelectedRowsTo(int row)
{
    VekDocument *document = m_controller.currentDocument();
    const ObjectList objects = selectedRowObjects();
    if (!document || objects.empty() || row < 0 || row >= int(m_rows.size()))
        return false;
    const int from = int(std::find(m_rows.begin(), m_rows.end(), objects.front()) - m_rows.begin());
    if (!moveObjects(*document, objects, displayOption(), row < from, m_rows[size_t(row)]))
        return false;
    updateObjectsTableDisplay();
    return true;
}

void ObjectsTab::removeSelectedObject()
{
    VekDocument *document = m_controller.currentDocument();
    const ObjectList objects = selectedRowObjects();
    if (!document || objects.empty())
        return;
    const int index = document->indexOfObject(objects.front().get());
    if (index < 0)
        return;
    document->removeObjectAtIndex(index, false);
    updateObjectsTableDisplay();
}

void ObjectsTab::sortByColumn(int column)
{
    VekDocument *document = m_controller.currentDocument();
    if (!document || column == Line || column >= int(columnKeys().size()) || !confirmSort())
        return;
    sortObjectsWithKey(*document, columnKeys()[column], m_rows, displayOption());
    updateObjectsTableDisplay();
}
