// The table's model: identifiers and records, geometry queries, the container setters with
// their undo, building a new grid, word counts, the plain text and the font statistics.
#include "model/vek_obj_grid.h"

#include "model/services/canvas_services.h"
#include "model/services/shell_services.h"
#include "model/text/grid_cell_editor.h"
#include "model/vek_obj_grid_keys.h"
#include "platform/text/layout_manager.h"

#include <algorithm>

namespace {

// The smallest number n from 0 up for which prefix + n is not in the order.
QString smallestFreeID(const QString &prefix, const QStringList &order)
{
    for (int n = 0;; ++n) {
        const QString id = prefix + QString::number(n);
        if (!order.contains(id))
            return id;
    }
}

// Keeps only the dictionary records of a container (a file or a caller may hand anything).
PropertyList dictionaryOfRecords(const PropertyList &container)
{
    PropertyList result = PropertyList::dictionary();
    for (const auto &entry : container.entries())
        if (entry.second.isDictionary())
            result.insert(entry.first, entry.second);
    return result;
}

} // namespace

VekObjGrid::VekObjGrid(Passkey key) : VekObject(key) {}

VekObjGrid::~VekObjGrid() = default;

std::shared_ptr<VekObjGrid> VekObjGrid::create()
{
    auto table = makeObject<VekObjGrid>();
    const ShellServices &shell = shellServices();
    table->_gridColor = shell.gridCurrentColor();
    table->_drawLineH = shell.gridCurrentDrawLineH();
    table->_drawLineV = shell.gridCurrentDrawLineV();
    table->setNoShadow(true);
    table->setDrawsStroke(false);
    table->setNote(QStringLiteral("G"));
    return table;
}

QString VekObjGrid::newColumnID() const
{
    return smallestFreeID(QStringLiteral("C"), _columnOrder);
}

QString VekObjGrid::newRowID() const
{
    return smallestFreeID(QStringLiteral("R"), _rowOrder);
}

// ---- Container setters and undo ----

VekObjGrid::Snapshot VekObjGrid::snapshot() const
{
    const bool open = _cellEditor != nullptr;
    return {_columns, _rows, _cells, _columnOrder, _rowOrder, _selectedColumnNr, _selectedRowNr,
            open ? _editingCell : QString(), open ? _cellEditor->selectedRange() : TextRange()};
}

void VekObjGrid::registerSnapshotUndo()
{
    registerUndo([saved = snapshot()](VekObject &object) { static_cast<VekObjGrid &>(object).restoreSnapshot(saved); });
}

void VekObjGrid::restoreSnapshot(const Snapshot &saved)
{
    registerSnapshotUndo();
    const PropertyList openRecord = cellItemWithID(_editingCell);
    _columns = saved.columns;
    _rows = saved.rows;
    _cells = saved.cells;
    _columnOrder = saved.columnOrder;
    _rowOrder = saved.rowOrder;
    if (vekView() && vekView()->editingObject().get() == this) {
        _selectedColumnNr = saved.selectedColumn;
        _selectedRowNr = saved.selectedRow;
    }
    // An open cell stays open and shows its record as it now is, with the selection it had
    // when the step was taken in it; a cell that no longer exists closes.
    if (_cellEditor && positionOfCell(_editingCell, nullptr, nullptr)) {
        if (cellItemWithID(_editingCell) != openRecord)
            loadCellEditor();
        if (saved.editingCell == _editingCell)
            _cellEditor->setSelectedRange(saved.editorSelection);
    }
    validateSelection();
    contentsDidChange();
    didChange();
    if (CanvasServices *view = vekView(); view && view->editingObject().get() == this)
        view->resetCursorRects();
}

void VekObjGrid::setColumns(const PropertyList &columns, bool update)
{
    if (update)
        registerSnapshotUndo();
    _columns = dictionaryOfRecords(columns);
    if (update)
        didChange();
}

void VekObjGrid::setColumnOrder(const QStringList &order, bool update)
{
    if (update)
        registerSnapshotUndo();
    _columnOrder = order;
    if (update) {
        validateSelection();
        didChange();
    }
}

void VekObjGrid::setRows(const PropertyList &rows, bool update)
{
    if (update)
        registerSnapshotUndo();
    _rows = dictionaryOfRecords(rows);
    if (update)
        didChange();
}

void VekObjGrid::setRowOrder(const QStringList &order, bool update)
{
    if (update)
        registerSnapshotUndo();
    _rowOrder = order;
    if (update) {
        validateSelection();
        didChange();
    }
}

void VekObjGrid::setCells(const PropertyList &cells, bool update)
{
    if (update)
        registerSnapshotUndo();
    _cells = dictionaryOfRecords(cells);
    if (update) {
        didChange();
        contentsDidChange();
    }
}

void VekObjGrid::setGridColor(const Color &color)
{
    if (color == _gridColor)
        return;
    registerUndo([old = _gridColor](VekObject &object) { static_cast<VekObjGrid &>(object).setGridColor(old); });
    _gridColor = color;
    didChange();
}

void VekObjGrid::setDrawLineH(int flag)
{
    if (flag == _drawLineH)
        return;
    registerUndo([old = _drawLineH](VekObject &object) { static_cast<VekObjGrid &>(object).setDrawLineH(old); });
    _drawLineH = flag;
    didChange();
}

void VekObjGrid::setDrawLineV(int flag)
{
    if (flag == _drawLineV)
        return;
    registerUndo([old = _drawLineV](VekObject &object) { static_cast<VekObjGrid &>(object).setDrawLineV(old); });
    _drawLineV = flag;
    didChange();
}

void VekObjGrid::storeCellRecord(const QString &key, const PropertyList &record)
{
    // A record left without content goes: a cell has a record only while it has content.
    if (record.isDictionary() && record.count() > 0)
        _cells.insert(key, record);
    else
        _cells.remove(key);
}

// ---- Building the grid ----

void VekObjGrid::setupOnCurrentCondition()
{
    if (!_columnOrder.isEmpty() || !_rowOrder.isEmpty())
        return;
    const ShellServices &shell = shellServices();
    const int columnCount = std::clamp(shell.gridCurrentColumnNr(), 1, MaxGridLines);
    const int rowCount = std::clamp(shell.gridCurrentRowNr(), 1, MaxGridLines);
    for (int i = 0; i < columnCount; ++i)
        _columnOrder.append(newColumnID());
    for (int j = 0; j < rowCount; ++j)
        _rowOrder.append(newRowID());
    spaceEvenly(true);
    spaceEvenly(false);
    contentsDidChange();
}

bool VekObjGrid::createWithEvent(const MouseEvent &event, CanvasServices *view)
{
    if (!VekObject::createWithEvent(event, view))
        return false;
    setupOnCurrentCondition();
    return true;
}

void VekObjGrid::contentsDidChange()
{
    const int before = wordCount();
    _txtInfoArray = PropertyList();
    if (_cells.count() == 0) {
        setWordCount(0);
        return;
    }
    int words = 0;
    for (const auto &entry : _cells.entries())
        if (const auto text = textOfCell(entry.first); text && !text->isEmpty())
            words += ::wordCount(text->string());
    if (words != before) {
        setWordCount(words);
        postNotification(VekObjectWordcountDidChangeNotification);
    }
}

// ---- Geometry ----

Rect VekObjGrid::rectOfGridColumn(int position) const
{
    if (position < 0 || position >= _columnOrder.size())
        return {};
    const PropertyList record = _columns.value(_columnOrder[position]);
    if (!record.isDictionary())
        return {};
    return {_bounds.minX() + record.value(OriginXKey).floatValue(), _bounds.minY(),
            record.value(WidthKey).floatValue(), _bounds.height()};
}

Rect VekObjGrid::rectOfGridRow(int position) const
{
    if (position < 0 || position >= _rowOrder.size())
        return {};
    const PropertyList record = _rows.value(_rowOrder[position]);
    if (!record.isDictionary())
        return {};
    return {_bounds.minX(), _bounds.minY() + record.value(OriginYKey).floatValue(), _bounds.width(),
            record.value(HeightKey).floatValue()};
}

Rect VekObjGrid::cellFrameOfColumn(int column, int row) const
{
    return intersectionRect(rectOfGridColumn(column), rectOfGridRow(row));
}

int VekObjGrid::columnAtPoint(Point p) const
{
    for (int i = 0; i < _columnOrder.size(); ++i)
        if (pointInRect(p, rectOfGridColumn(i)))
            return i;
    return -1;
}

int VekObjGrid::rowAtPoint(Point p) const
{
    for (int j = 0; j < _rowOrder.size(); ++j)
        if (pointInRect(p, rectOfGridRow(j)))
            return j;
    return -1;
}

// ---- Cells ----

QString VekObjGrid::cellIDOfColumn(int column, int row) const
{
    if (column < 0 || row < 0 || column >= _columnOrder.size() || row >= _rowOrder.size())
        return {};
    return _columnOrder[column] + _rowOrder[row];
}

bool VekObjGrid::positionOfCell(const QString &key, int *column, int *row) const
{
    // Column identifiers hold no "R", so the row identifier starts at the first one.
    const qsizetype split = key.indexOf(u'R');
    if (split <= 0)
        return false;
    const int c = int(_columnOrder.indexOf(key.left(split)));
    const int r = int(_rowOrder.indexOf(key.mid(split)));
    if (c < 0 || r < 0)
        return false;
    if (column)
        *column = c;
    if (row)
        *row = r;
    return true;
}

PropertyList VekObjGrid::cellItemWithID(const QString &key) const
{
    return key.isEmpty() ? PropertyList() : _cells.value(key);
}

std::optional<AttributedString> VekObjGrid::textOfCell(const QString &key) const
{
    return textOfCellRecord(cellItemWithID(key));
}

std::optional<AttributedString> VekObjGrid::textOfColumn(int column, int row) const
{
    return textOfCell(cellIDOfColumn(column, row));
}

std::optional<AttributedString> VekObjGrid::tableToString() const
{
    if (_rowOrder.isEmpty() || _columnOrder.isEmpty() || _cells.count() == 0)
        return std::nullopt;
    AttributedString result;
    for (int j = 0; j < _rowOrder.size(); ++j) {
        if (j > 0)
            result.append(AttributedString(QStringLiteral("\n")));
        for (int i = 0; i < _columnOrder.size(); ++i) {
            if (i > 0)
                result.append(AttributedString(QStringLiteral("\t")));
            if (const auto text = textOfColumn(i, j); text && !text->isEmpty())
                result.append(*text);
        }
    }
    return result;
}

PropertyList VekObjGrid::textInfo()
{
    if (_cells.count() == 0)
        return {};
    if (!_txtInfoArray.isAbsent())
        return _txtInfoArray;
    PropertyList rows = PropertyList::array();
    for (const auto &entry : _cells.entries()) {
        const auto text = textOfCell(entry.first);
        if (!text || text->isEmpty())
            continue;
        const PropertyList cellRows = getTextInfoArrayFor(*text, entry.first);
        for (const PropertyList &row : cellRows.elements())
            rows.append(row);
    }
    if (rows.count() == 0)
        return {};
    _txtInfoArray = rows;
    return rows;
}

void VekObjGrid::beep() const
{
    shellServices().beep();
}
