// The table's structure commands: borders, adding, inserting and deleting columns and rows,
// equal sizes, moving the selected column or row, resizing by dragging a border, and
// copying, pasting and deleting a column or row of cells.
//
// Every command that changes records registers one snapshot of the containers for undo
// (whose undo registers the redo), so undoing gives back the records, orders and cell
// texts exactly; bounds changes register their own step through setBounds.
#include "model/services/canvas_services.h"
#include "model/services/shell_services.h"
#include "model/text/grid_cell_editor.h"
#include "model/vek_obj_grid.h"
#include "model/vek_obj_grid_keys.h"
#include "platform/foundation/notification_center.h"
#include "platform/text/rtf.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The platform's key codes of the arrow keys.
constexpr char16_t UpArrow = 0xF700, DownArrow = 0xF701, LeftArrow = 0xF702, RightArrow = 0xF703;
constexpr float DefaultColumnWidth = 50.0f;
constexpr float DefaultRowHeight = 16.0f;

// The names of one axis's keys and its default size, so that columns and rows share their code.
struct Axis {
    const QString &origin;
    const QString &size;
    float defaultSize;
};
const Axis ColumnAxis{OriginXKey, WidthKey, DefaultColumnWidth};
const Axis RowAxis{OriginYKey, HeightKey, DefaultRowHeight};

} // namespace

// ---- Keys and edit commands while editing ----

bool VekObjGrid::keyDownWhileEditing(QChar character, unsigned, CanvasServices *)
{
    switch (character.unicode()) {
    case UpArrow: moveSelectionUp(); return true;
    case DownArrow: moveSelectionDown(); return true;
    case LeftArrow: moveSelectionLeft(); return true;
    case RightArrow: moveSelectionRight(); return true;
    default: return false;
    }
}

bool VekObjGrid::deleteWhileEditing(CanvasServices *)
{
    if (_cellEditor)
        _cellEditor->deleteBackward();
    else
        deleteSelection();
    return true;
}

bool VekObjGrid::copyWhileEditing(CanvasServices *)
{
    if (_cellEditor)
        _cellEditor->copy();
    else
        copyCells();
    return true;
}

bool VekObjGrid::pasteWhileEditing(CanvasServices *)
{
    if (_cellEditor)
        _cellEditor->paste();
    else
        pasteCells();
    return true;
}

// ---- Borders ----

int VekObjGrid::lineTypeFor(int side) const
{
    if (_selectedColumnNr >= 0 && _selectedColumnNr < numberOfGridColumns()
        && _columns.contains(_columnOrder[_selectedColumnNr]))
        return _columns.value(_columnOrder[_selectedColumnNr]).value(side != 0 ? LineRKey : LineLKey).intValue();
    if (_selectedRowNr >= 0 && _selectedRowNr < numberOfGridRows())
        return _rows.value(_rowOrder[_selectedRowNr]).value(side == 2 ? LineTKey : LineBKey).intValue();
    return 0;
}

void VekObjGrid::setLineType(int type, int side)
{
    const bool column = side == 0 || side == 1;
    const int position = column ? _selectedColumnNr : _selectedRowNr;
    const QStringList &order = column ? _columnOrder : _rowOrder;
    if (side < 0 || side > 3 || position < 0 || position >= order.size())
        return;
    PropertyList &records = column ? _columns : _rows;
    PropertyList record = records.value(order[position]);
    if (record.isAbsent()) {
        if (type != 1)
            return;
        record = PropertyList::dictionary();
    }
    static const QString sideKeys[] = {LineLKey, LineRKey, LineTKey, LineBKey};
    registerSnapshotUndo();
    if (type == 0)
        record.remove(sideKeys[side]);
    else
        record.insert(sideKeys[side], PropertyList::fromInt(type));
    records.insert(order[position], record);
    didChange();
}

// ---- Counts ----

void VekObjGrid::setNumberOfGridColumns(int count) { setNumberOfGridLines(true, count); }
void VekObjGrid::setNumberOfGridRows(int count) { setNumberOfGridLines(false, count); }

void VekObjGrid::setNumberOfGridLines(bool columnsAxis, int count)
{
    if (count < 1) {
        beep();
        return;
    }
    count = std::min(count, MaxGridLines);
    const int current = int((columnsAxis ? _columnOrder : _rowOrder).size());
    if (count == current)
        return;
    registerSnapshotUndo();
    if (count > current)
        addOrInsertLines(columnsAxis, count - current);
    else
        deleteLinesTill(columnsAxis, count);
    if (CanvasServices *view = vekView(); view && view->editingObject().get() == this)
        view->resetCursorRects();
}

void VekObjGrid::addOrInsertLines(bool columnsAxis, int number)
{
    QStringList &order = columnsAxis ? _columnOrder : _rowOrder;
    PropertyList &records = columnsAxis ? _columns : _rows;
    const Axis &axis = columnsAxis ? ColumnAxis : RowAxis;
    int &selected = columnsAxis ? _selectedColumnNr : _selectedRowNr;
    number = std::clamp(number, 0, MaxGridLines - int(order.size()));
    if (number == 0)
        return;
    const bool inserting = selected >= 0 && selected < order.size();
    PropertyList reference;
    float start = 0;
    if (inserting) {
        reference = records.value(order[selected]);
        start = reference.value(axis.origin).floatValue();
    } else if (!order.isEmpty()) {
        reference = records.value(order.last());
        start = reference.value(axis.origin).floatValue() + reference.value(axis.size).floatValue();
    }
    const float size = reference.isDictionary() ? reference.value(axis.size).floatValue() : axis.defaultSize;
    for (int m = 0; m < number; ++m) {
        const QString id = columnsAxis ? newColumnID() : newRowID();
        records.insert(id, gridRecord(axis.origin, std::floor(float(m) * size + start) + 0.5f, axis.size, size));
        // In the order of their edges, so that positions and places agree.
        if (inserting)
            order.insert(selected + m, id);
        else
            order.append(id);
    }
    if (inserting) {
        selected += number;
        shiftOrigins(columnsAxis, selected, float(number) * size);
    }
    Rect bounds = _bounds;
    (columnsAxis ? bounds.size.width : bounds.size.height) += float(number) * size;
    setBounds(bounds);
    validateSelection();
    // Rows added while the table is read, or outside a document, go unreported.
    if (columnsAxis || (!isLoadingPropertyList() && _document))
        NotificationCenter::defaultCenter().postNotificationName(VekObjGridCellSelectionDidChangeNotification, this);
}

void VekObjGrid::shiftOrigins(bool columnsAxis, int from, float delta)
{
    const Axis &axis = columnsAxis ? ColumnAxis : RowAxis;
    const QStringList &order = columnsAxis ? _columnOrder : _rowOrder;
    PropertyList &records = columnsAxis ? _columns : _rows;
    for (int i = std::max(from, 0); i < order.size(); ++i) {
        const PropertyList record = records.value(order[i]);
        if (record.isDictionary())
            records.insert(order[i], withFloat(record, axis.origin, record.value(axis.origin).floatValue() + delta));
    }
}

void VekObjGrid::deleteLinesTill(bool columnsAxis, int count)
{
    QStringList &order = columnsAxis ? _columnOrder : _rowOrder;
    PropertyList &records = columnsAxis ? _columns : _rows;
    const Axis &axis = columnsAxis ? ColumnAxis : RowAxis;
    const int &selected = columnsAxis ? _selectedColumnNr : _selectedRowNr;
    const QStringList &crossOrder = columnsAxis ? _rowOrder : _columnOrder;
    count = std::max(count, 0);
    _multipleCellSelection.clear();
    _hasPickedSet = false;
    float removed = 0;
    const bool hadSelection = selected >= 0 && selected < order.size();
    while (order.size() > count) {
        const bool hasSelected = selected >= 0 && selected < order.size();
        const int victim = hasSelected ? selected : int(order.size()) - 1;
        const QString id = order[victim];
        removed += records.value(id).value(axis.size).floatValue();
        for (const QString &other : crossOrder)
            _cells.remove(columnsAxis ? id + other : other + id);
        records.remove(id);
        order.removeAt(victim);
    }
    if (hadSelection && selected < order.size())
        shiftOrigins(columnsAxis, selected, -removed);
    Rect bounds = _bounds;
    float &extent = columnsAxis ? bounds.size.width : bounds.size.height;
    extent = std::max(extent - removed, 1.0f);
    validateSelection();
    setBounds(bounds);
    validateSelection();
    contentsDidChange();
}

// ---- Equal sizes ----

void VekObjGrid::setAllColumnsSameWidth() { setAllLinesSameSize(true); }
void VekObjGrid::setAllRowsSameHeight() { setAllLinesSameSize(false); }

void VekObjGrid::setAllLinesSameSize(bool columnsAxis)
{
    if ((columnsAxis ? _columnOrder : _rowOrder).isEmpty())
        return;
    registerSnapshotUndo();
    spaceEvenly(columnsAxis);
    validateSelection();
    didChange();
}

void VekObjGrid::spaceEvenly(bool columnsAxis)
{
    const QStringList &order = columnsAxis ? _columnOrder : _rowOrder;
    PropertyList &records = columnsAxis ? _columns : _rows;
    const Axis &axis = columnsAxis ? ColumnAxis : RowAxis;
    const float size = (columnsAxis ? _bounds.width() : _bounds.height()) / float(order.size());
    for (int i = 0; i < order.size(); ++i)
        records.insert(order[i], gridRecord(axis.origin, std::floor(float(i) * size) + 0.5f, axis.size, size));
}

// ---- Moving the selected column or row ----

void VekObjGrid::moveSelectionLeft() { moveSelection(true, -1); }
void VekObjGrid::moveSelectionRight() { moveSelection(true, 1); }
void VekObjGrid::moveSelectionUp() { moveSelection(false, -1); }
void VekObjGrid::moveSelectionDown() { moveSelection(false, 1); }

void VekObjGrid::moveSelection(bool columnsAxis, int direction)
{
    QStringList &order = columnsAxis ? _columnOrder : _rowOrder;
    PropertyList &records = columnsAxis ? _columns : _rows;
    const Axis &axis = columnsAxis ? ColumnAxis : RowAxis;
    int &selected = columnsAxis ? _selectedColumnNr : _selectedRowNr;
    const int neighbour = selected + direction;
    if (selected < 0 || selected >= order.size() || neighbour < 0 || neighbour >= order.size()) {
        beep();
        return;
    }
    const int first = std::min(selected, neighbour);
    const PropertyList leading = records.value(order[first]);
    const PropertyList trailing = records.value(order[first + 1]);
    if (!leading.isDictionary() || !trailing.isDictionary()) {
        beep();
        return;
    }
    registerSnapshotUndo();
    // The pair keeps its outer edges: the trailing one now starts where the pair started.
    const float start = leading.value(axis.origin).floatValue();
    records.insert(order[first + 1], withFloat(trailing, axis.origin, start));
    records.insert(order[first], withFloat(leading, axis.origin, start + trailing.value(axis.size).floatValue()));
    order.swapItemsAt(first, first + 1);
    selected = neighbour;
    validateSelection();
    didChange();
}

// ---- Resizing by mouse ----

void VekObjGrid::changeColumnWidth(const MouseEvent &event, CanvasServices *view)
{
    trackBorder(true, event, view);
}

void VekObjGrid::changeRowHeight(const MouseEvent &event, CanvasServices *view)
{
    trackBorder(false, event, view);
}

void VekObjGrid::trackBorder(bool columnsAxis, const MouseEvent &event, CanvasServices *view)
{
    if (!view)
        return;
    const Point start = view->convertPointFromWindow(event.locationInWindow);
    const int position = columnsAxis ? columnAtPoint(start) : rowAtPoint(start);
    const QStringList &order = columnsAxis ? _columnOrder : _rowOrder;
    const PropertyList &records = columnsAxis ? _columns : _rows;
    const Axis &axis = columnsAxis ? ColumnAxis : RowAxis;
    if (position < 0 || !records.value(order[position]).isDictionary())
        return;
    const PropertyList record = records.value(order[position]);
    const float size0 = record.value(axis.size).floatValue();
    const PropertyList next = position + 1 < order.size() ? records.value(order[position + 1]) : PropertyList();
    // A column with a right neighbour takes its width from it; any other line grows the table.
    const bool takesFromNeighbour = columnsAxis && next.isDictionary();
    float limit = std::numeric_limits<float>::max();
    if (columnsAxis)
        limit = takesFromNeighbour ? size0 + std::floor(next.value(WidthKey).floatValue()) - 1.0f
                                   : view->bounds().width() - record.value(OriginXKey).floatValue();
    limit = std::max(limit, 1.0f);
    const Snapshot before = snapshot();
    const Rect bounds0 = _bounds;
    // The bounds change with the drag as one undoable change at its end.
    if (!takesFromNeighbour)
        startBoundsManipulation();

    // The border follows the pointer, held between 1 point and the limit; the table shows
    // each size at once, with the line's outline over it.
    float size = size0;
    for (MouseEvent e = event;;) {
        e = view->eventSource().nextEvent(DragOrUpMask);
        view->autoscroll(e);
        if (e.type == EventType::LeftMouseUp)
            break;
        const Point p = view->convertPointFromWindow(e.locationInWindow);
        const float wanted = std::clamp(size0 + (columnsAxis ? p.x - start.x : p.y - start.y), 1.0f, limit);
        if (wanted == size)
            continue;
        size = wanted;
        const Rect old = insetRect(unionRect(drawingBounds(), _temporalBP ? _temporalBP->bounds() : Rect()), -3, -3);
        resizeLine(columnsAxis, position, size - size0, before, bounds0);
        _temporalBP = BezierPath::bezierPathWithRect(columnsAxis ? rectOfGridColumn(position) : rectOfGridRow(position));
        view->setNeedsDisplayInRect(unionRect(old, insetRect(drawingBounds(), -3, -3)));
    }
    if (_temporalBP)
        view->setNeedsDisplayInRect(insetRect(_temporalBP->bounds(), -3, -3));
    _temporalBP.reset();
    if (size != size0)
        // The records' change is undone with the bounds, never leaving lines outside the table.
        registerUndo([before](VekObject &object) { static_cast<VekObjGrid &>(object).restoreSnapshot(before); });
    if (!takesFromNeighbour)
        stopBoundsManipulation();
    view->resetCursorRects();
}

void VekObjGrid::resizeLine(bool columnsAxis, int position, float change, const Snapshot &before, const Rect &bounds0)
{
    const QStringList &order = columnsAxis ? _columnOrder : _rowOrder;
    PropertyList &records = columnsAxis ? _columns : _rows;
    const Axis &axis = columnsAxis ? ColumnAxis : RowAxis;
    records = columnsAxis ? before.columns : before.rows;
    const PropertyList record = records.value(order[position]);
    records.insert(order[position], withFloat(record, axis.size, record.value(axis.size).floatValue() + change));
    const PropertyList next = position + 1 < order.size() ? records.value(order[position + 1]) : PropertyList();
    Rect bounds = bounds0;
    if (columnsAxis && next.isDictionary()) {
        // The neighbour gives up what the column takes, so the table keeps its width.
        const PropertyList neighbour = withFloat(next, OriginXKey, next.value(OriginXKey).floatValue() + change);
        records.insert(order[position + 1], withFloat(neighbour, WidthKey, next.value(WidthKey).floatValue() - change));
    } else {
        // The rows below move with the edge, and the table grows by the change.
        if (!columnsAxis)
            shiftOrigins(false, position + 1, change);
        (columnsAxis ? bounds.size.width : bounds.size.height) += change;
    }
    setBounds(bounds);
    validateSelection();
    didChange();
}

// ---- Copy, paste and delete of cells ----

void VekObjGrid::copyCells()
{
    _copiedColumn.clear();
    _copiedRow.clear();
    std::vector<PropertyList> *copied = nullptr;
    QStringList keys;
    if (_selectedColumnNr >= 0 && _selectedColumnNr < numberOfGridColumns()) {
        copied = &_copiedColumn;
        for (int j = 0; j < numberOfGridRows(); ++j)
            keys.append(cellIDOfColumn(_selectedColumnNr, j));
    } else if (_selectedRowNr >= 0 && _selectedRowNr < numberOfGridRows()) {
        copied = &_copiedRow;
        for (int i = 0; i < numberOfGridColumns(); ++i)
            keys.append(cellIDOfColumn(i, _selectedRowNr));
    } else {
        return;
    }
    AttributedString joined;
    bool first = true;
    for (const QString &key : keys) {
        const auto text = textOfCell(key);
        if (text && !text->isEmpty()) {
            copied->push_back(cellItemWithID(key));
            if (!first)
                joined.append(AttributedString(QStringLiteral(", ")));
            joined.append(*text);
            first = false;
        } else {
            // A cell with only a background is copied as empty.
            copied->push_back(PropertyList::dictionary());
        }
    }
    if (joined.isEmpty())
        return;
    TextClipboard &clipboard = _clipboard ? *_clipboard : TextClipboard::system();
    clipboard.setData({{RTFMimeType, RTFFromRange(joined, {0, joined.length()})},
                       {PlainTextMimeType, joined.string().toUtf8()}});
}

void VekObjGrid::pasteCells()
{
    QStringList keys;
    const std::vector<PropertyList> *copied = nullptr;
    if (_selectedColumnNr >= 0 && _selectedColumnNr < numberOfGridColumns() && !_copiedColumn.empty()) {
        copied = &_copiedColumn;
        for (int j = 0; j < numberOfGridRows(); ++j)
            keys.append(cellIDOfColumn(_selectedColumnNr, j));
    } else if (_selectedRowNr >= 0 && _selectedRowNr < numberOfGridRows() && !_copiedRow.empty()) {
        copied = &_copiedRow;
        for (int i = 0; i < numberOfGridColumns(); ++i)
            keys.append(cellIDOfColumn(i, _selectedRowNr));
    } else {
        return;
    }
    registerSnapshotUndo();
    const qsizetype count = std::min(keys.size(), qsizetype(copied->size()));
    for (qsizetype k = 0; k < count; ++k)
        storeCellRecord(keys[k], (*copied)[size_t(k)]);
    didChange();
    contentsDidChange();
}

void VekObjGrid::deleteSelection()
{
    if (_selectedColumnNr >= 0 && _selectedColumnNr < numberOfGridColumns())
        setNumberOfGridColumns(numberOfGridColumns() - 1);
    else if (_selectedRowNr >= 0 && _selectedRowNr < numberOfGridRows())
        setNumberOfGridRows(numberOfGridRows() - 1);
    if (_multipleCellSelection.isEmpty())
        return;
    // Removing the picked cells' contents is a step of its own that can be undone.
    registerSnapshotUndo();
    for (const QString &key : std::as_const(_multipleCellSelection))
        _cells.remove(key);
    didChange();
    contentsDidChange();
}
