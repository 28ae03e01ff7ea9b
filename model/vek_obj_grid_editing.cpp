// Editing a table in place: starting and ending, selecting a column, a row or picked cells
// with the mouse, the cell editor with its Tab walk, and the cell commands.
//
// Cells are addressed by key everywhere (the pick, the edited cell, the Tab walk), so that
// a cell keeps its content, its pick and its mark when columns or rows move. Keys that no
// longer name a cell of the table are ignored rather than given records.
#include "model/services/canvas_services.h"
#include "model/services/shell_services.h"
#include "model/text/grid_cell_editor.h"
#include "model/vek_obj_grid.h"
#include "model/vek_obj_grid_keys.h"
#include "platform/foundation/archiving.h"
#include "platform/foundation/notification_center.h"
#include "platform/text/font_registry.h"
#include "platform/text/rtf.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace {

constexpr float StripWidth = 2.0f;
constexpr float MinimumOpenableSide = 2.0f;
constexpr float ClearAlphaLimit = 0.09f;

QString userFontName()
{
    const auto font = shellServices().vekDefaultUserFont();
    return font ? font->name : QStringLiteral("Helvetica");
}

QByteArray rtfOf(const AttributedString &text)
{
    return RTFFromRange(text, {0, text.length()});
}

// The cell editor lies inside the cell's lines, so that they stay drawn while it is open.
Rect editorFrameIn(const Rect &cell)
{
    return insetRect(cell, 0.5f, 0.5f);
}

int alignmentAtStart(const AttributedString &text)
{
    const auto &style = text.attributesAt(0).paragraphStyle;
    return style ? int(style->alignment) : 0;
}

} // namespace

// ---- Starting and ending ----

void VekObjGrid::startEditingWithEvent(const MouseEvent &event, CanvasServices *view)
{
    if (!view)
        return;
    shellServices().showToolOptionPanelFor(*this, true);
    view->setEditingObject(shared_from_this(), nullptr);
    // A double-click on a cell opens it for typing at once.
    if (event.clickCount > 1)
        updateCellWith(event, view);
    view->resetCursorRects();
}

void VekObjGrid::endEditingInView(CanvasServices *view)
{
    if (!view || view->editingObject().get() != this)
        return;
    endCellEditing();
    _multipleCellSelection.clear();
    _hasPickedSet = false;
    _haveSelection = false;
    clearColumnAndRowSelection();
    view->setEditingObject(nullptr, nullptr);
    view->resetCursorRects();
    shellServices().orderOutToolOptionPanelFor(*this);
    didChange();
}

void VekObjGrid::validateSelection()
{
    if (_selectedColumnNr >= numberOfGridColumns() || rectOfGridColumn(_selectedColumnNr).isEmpty()) {
        _selectedColumnNr = -1;
        _selectedColumnRect = {};
    } else {
        _selectedColumnRect = rectOfGridColumn(_selectedColumnNr);
    }
    if (_selectedRowNr >= numberOfGridRows() || rectOfGridRow(_selectedRowNr).isEmpty()) {
        _selectedRowNr = -1;
        _selectedRowRect = {};
    } else {
        _selectedRowRect = rectOfGridRow(_selectedRowNr);
    }
    _multipleCellSelection.removeIf([this](const QString &key) { return !positionOfCell(key, nullptr, nullptr); });
    if (_cellEditor && !positionOfCell(_editingCell, nullptr, nullptr))
        endCellEditing();
    else if (_cellEditor) {
        int column = -1, row = -1;
        positionOfCell(_editingCell, &column, &row);
        const Rect frame = editorFrameIn(cellFrameOfColumn(column, row));
        _cellEditor->setFrame(frame);
        _cellEditor->textContainer().setContainerSize({frame.width(), 1.0e6f});
    }
}

// ---- Cursor areas and clicks ----

std::vector<CursorRect> VekObjGrid::borderCursorRects() const
{
    std::vector<CursorRect> areas;
    for (int j = 0; j < numberOfGridRows(); ++j) {
        const Rect r = rectOfGridRow(j);
        if (!r.isEmpty())
            areas.push_back({Rect(r.minX(), r.maxY() - StripWidth, r.width(), StripWidth), CursorKind::ResizeUpDown});
    }
    for (int i = 0; i < numberOfGridColumns(); ++i) {
        const Rect c = rectOfGridColumn(i);
        if (!c.isEmpty())
            areas.push_back({Rect(c.maxX() - StripWidth, c.minY(), StripWidth, c.height()), CursorKind::ResizeLeftRight});
    }
    return areas;
}

CursorKind VekObjGrid::borderAtPoint(Point p) const
{
    for (const CursorRect &area : borderCursorRects())
        if (pointInRect(p, area.rect))
            return area.cursor;
    return CursorKind::Arrow;
}

std::vector<CursorRect> VekObjGrid::editingCursorRects(unsigned, const CanvasServices *) const
{
    std::vector<CursorRect> areas = borderCursorRects();
    if (const Rect first = rectOfGridRow(0); !first.isEmpty())
        areas.push_back({Rect(first.minX(), first.minY(), first.width(), StripWidth), CursorKind::SelectColumn});
    if (const Rect first = rectOfGridColumn(0); !first.isEmpty())
        areas.push_back({Rect(first.minX(), first.minY(), StripWidth, first.height()), CursorKind::SelectRow});
    return areas;
}

CursorKind VekObjGrid::cursorAtPoint(Point p) const
{
    for (const CursorRect &area : editingCursorRects(0, nullptr))
        if (pointInRect(p, area.rect))
            return area.cursor;
    return CursorKind::Arrow;
}

void VekObjGrid::editWithEvent(const MouseEvent &event, CanvasServices *view)
{
    if (!view)
        return;
    const Point p = view->convertPointFromWindow(event.locationInWindow);
    // Inside the open editor the click places the insertion point, whatever area it is in.
    if (_cellEditor && pointInRect(p, _cellEditor->frame())) {
        editWithEventCursor(event, view, CursorKind::Arrow);
        return;
    }
    const CursorKind cursor = cursorAtPoint(p);
    if (cursor == CursorKind::ResizeLeftRight)
        changeColumnWidth(event, view);
    else if (cursor == CursorKind::ResizeUpDown)
        changeRowHeight(event, view);
    else
        editWithEventCursor(event, view, cursor);
}

void VekObjGrid::editWithEventCursor(const MouseEvent &event, CanvasServices *view, CursorKind cursor)
{
    if (!view)
        return;
    const Point p = view->convertPointFromWindow(event.locationInWindow);
    if (!(event.modifierFlags & (CommandKeyMask | ShiftKeyMask))) {
        _multipleCellSelection.clear();
        _hasPickedSet = false;
        if (_selectedColumnNr >= 0 || _selectedRowNr >= 0) {
            clearColumnAndRowSelection();
            didChange();
        }
        if (cursor == CursorKind::SelectColumn) {
            endCellEditing();
            selectColumn(columnAtPoint(p));
        } else if (cursor == CursorKind::SelectRow) {
            endCellEditing();
            selectRow(rowAtPoint(p));
        } else {
            if (_cellEditor && pointInRect(p, _cellEditor->frame())) {
                // In an empty cell the placeholder space stays selected, so that the first
                // keystroke replaces it.
                if (const auto text = textOfCell(_editingCell); !text || text->isEmpty()) {
                    for (MouseEvent next = event; next.type != EventType::LeftMouseUp;)
                        next = view->eventSource().nextEvent(DragOrUpMask);
                    return;
                }
                // The click goes to the editor; a drag extends its selection.
                _cellEditor->mouseDown(p, event.modifierFlags, event.clickCount);
                for (MouseEvent next = event; next.type != EventType::LeftMouseUp;) {
                    next = view->eventSource().nextEvent(DragOrUpMask);
                    const Point q = view->convertPointFromWindow(next.locationInWindow);
                    view->autoscroll(next);
                    if (!_cellEditor)
                        break;
                    if (next.type == EventType::LeftMouseUp)
                        _cellEditor->mouseUp(q);
                    else
                        _cellEditor->mouseDragged(q);
                    view->setNeedsDisplayInRect(_cellEditor->frame());
                }
                return;
            }
            // A click elsewhere takes the focus from an open editor, which ends its cell.
            endCellEditing();
            shellServices().setGridOutlets(*this, -1, -1);
            updateCellWith(event, view);
            return;
        }
    } else {
        endCellEditing();
        if (!_hasPickedSet) {
            _hasPickedSet = true;
            _multipleCellSelection = selectedCellKeys(false).value_or(QStringList());
        }
        if (cursor == CursorKind::SelectColumn) {
            const int column = columnAtPoint(p);
            selectColumn(column);
            if (column >= 0)
                for (int j = 0; j < numberOfGridRows(); ++j)
                    togglePicked(cellIDOfColumn(column, j));
        } else if (cursor == CursorKind::SelectRow) {
            const int row = rowAtPoint(p);
            selectRow(row);
            if (row >= 0)
                for (int i = 0; i < numberOfGridColumns(); ++i)
                    togglePicked(cellIDOfColumn(i, row));
        } else {
            togglePicked(cellIDOfColumn(columnAtPoint(p), rowAtPoint(p)));
        }
    }
    didChange();
    tellShellSelection();
}

void VekObjGrid::clearColumnAndRowSelection()
{
    _selectedColumnNr = _selectedRowNr = -1;
    _selectedColumnRect = _selectedRowRect = {};
}

void VekObjGrid::selectColumn(int position)
{
    _selectedColumnNr = position;
    _selectedColumnRect = rectOfGridColumn(position);
}

void VekObjGrid::selectRow(int position)
{
    _selectedRowNr = position;
    _selectedRowRect = rectOfGridRow(position);
}

void VekObjGrid::togglePicked(const QString &key)
{
    if (key.isEmpty())
        return;
    if (!_multipleCellSelection.removeOne(key))
        _multipleCellSelection.append(key);
}

void VekObjGrid::tellShellSelection()
{
    shellServices().setGridOutlets(*this, _selectedColumnNr, _selectedRowNr);
}

void VekObjGrid::redisplayOutset()
{
    if (CanvasServices *view = vekView())
        view->setNeedsDisplayInRect(insetRect(_bounds, -3, -3));
}

// ---- The selection's cells and values ----

std::optional<QStringList> VekObjGrid::selectedCellKeys(bool all)
{
    CanvasServices *view = vekView();
    if (!view || !view->objectIsSelected(*this))
        return std::nullopt;
    if (!_multipleCellSelection.isEmpty())
        return _multipleCellSelection;
    if (!all && _cells.count() == 0)
        return std::nullopt;
    if (!_editingCell.isEmpty())
        return QStringList{_editingCell};
    QStringList keys;
    const auto collect = [&](const QString &key) {
        if (all || _cells.contains(key))
            keys.append(key);
    };
    if (_selectedColumnNr >= 0 && _selectedColumnNr < numberOfGridColumns()) {
        for (int j = 0; j < numberOfGridRows(); ++j)
            collect(cellIDOfColumn(_selectedColumnNr, j));
    } else if (_selectedRowNr >= 0 && _selectedRowNr < numberOfGridRows()) {
        for (int i = 0; i < numberOfGridColumns(); ++i)
            collect(cellIDOfColumn(i, _selectedRowNr));
    } else if (!_haveSelection) {
        if (all) {
            for (int i = 0; i < numberOfGridColumns(); ++i)
                for (int j = 0; j < numberOfGridRows(); ++j)
                    keys.append(cellIDOfColumn(i, j));
        } else {
            keys = _cells.keys();
        }
    }
    return keys;
}

bool VekObjGrid::isAnyCellSelected() const
{
    return !_editingCell.isEmpty() || _selectedColumnNr >= 0 || _selectedRowNr >= 0
           || !_multipleCellSelection.isEmpty();
}

PropertyList VekObjGrid::firstSelectedCellInfo() const
{
    if (_cells.count() == 0)
        return {};
    if (!_editingCell.isEmpty())
        return cellItemWithID(_editingCell);
    if (_selectedColumnNr >= 0)
        return cellItemWithID(cellIDOfColumn(_selectedColumnNr, 0));
    if (_selectedRowNr >= 0)
        return cellItemWithID(cellIDOfColumn(0, _selectedRowNr));
    return cellItemWithID(cellIDOfColumn(0, 0));
}

int VekObjGrid::currentAlignment() const
{
    return firstSelectedCellInfo().value(CellAlignKey).intValue();
}

Color VekObjGrid::currentBGcolor() const
{
    const PropertyList color = firstSelectedCellInfo().value(CellColorKey);
    if (color.isData())
        if (auto decoded = unarchiveColorWithData(color.dataValue()))
            return *decoded.value;
    return Color::clearColor();
}

namespace {

std::optional<AttributedString> textOfRecord(const PropertyList &record)
{
    const PropertyList text = record.value(CellTextKey);
    if (!text.isData())
        return std::nullopt;
    auto decoded = attributedStringWithRTF(text.dataValue());
    if (!decoded || decoded->isEmpty())
        return std::nullopt;
    return decoded;
}

} // namespace

Color VekObjGrid::currentFontColor() const
{
    const auto text = textOfRecord(firstSelectedCellInfo());
    return text ? text->attributesAt(0).foregroundColor.value_or(Color::blackColor()) : Color::blackColor();
}

float VekObjGrid::currentFontSize() const
{
    const auto text = textOfRecord(firstSelectedCellInfo());
    return text && text->attributesAt(0).font ? text->attributesAt(0).font->size : 0.0f;
}

QString VekObjGrid::currentFontName() const
{
    const auto text = textOfRecord(firstSelectedCellInfo());
    return text && text->attributesAt(0).font ? text->attributesAt(0).font->name : userFontName();
}

// ---- The cell editor ----

void VekObjGrid::updateCellWith(const MouseEvent &event, CanvasServices *view)
{
    if (!view)
        return;
    const Point p = view->convertPointFromWindow(event.locationInWindow);
    const int column = columnAtPoint(p);
    const int row = rowAtPoint(p);
    if (column >= 0 && row >= 0)
        startEditCellAt(column, row);
}

void VekObjGrid::startEditCellAt(int column, int row)
{
    const Rect frame = cellFrameOfColumn(column, row);
    if (!(frame.width() > MinimumOpenableSide && frame.height() > MinimumOpenableSide))
        return;
    CanvasServices *view = vekView();
    endCellEditing();
    _cellEditor = std::make_unique<GridCellEditor>(_document);
    _cellEditor->setFrame(editorFrameIn(frame));
    _cellEditor->textContainer().setContainerSize({editorFrameIn(frame).width(), 1.0e6f});
    _cellEditor->textContainer().setLineFragmentPadding(2.0f);
    std::weak_ptr<VekObject> weakSelf = weak_from_this();
    _cellEditor->setEndHandler([weakSelf](CellTextMovement movement) {
        if (auto self = weakSelf.lock())
            static_cast<VekObjGrid &>(*self).cellEditorDidEndEditing(movement);
    });
    _cellEditor->setTextChangeHandler([weakSelf] {
        if (auto self = weakSelf.lock())
            static_cast<VekObjGrid &>(*self).storeEditorText();
    });
    setCurrentEditingCell(cellIDOfColumn(column, row));
    loadCellEditor();
    _haveSelection = true;
    if (view) {
        view->setEditingObject(shared_from_this(), _cellEditor.get());
        view->setNeedsDisplayInRect(insetRect(_bounds, -3, -3));
    }
    tellShellSelection();
}

void VekObjGrid::loadCellEditor()
{
    if (const auto text = textOfCell(_editingCell); text && !text->isEmpty()) {
        _cellEditor->setAttributedStringValue(*text);
    } else {
        // A single space carries the user font for the first keystroke, which replaces it.
        TextAttributes typing;
        if (const auto font = shellServices().vekDefaultUserFont())
            typing.font = *font;
        _cellEditor->setAttributedStringValue(AttributedString(QStringLiteral(" "), typing));
        _cellEditor->setSelectedRange({0, 1});
        _cellEditor->setTypingAttributes(typing);
    }
    Color background = Color::whiteColor();
    if (const PropertyList color = cellItemWithID(_editingCell).value(CellColorKey); color.isData())
        if (auto decoded = unarchiveColorWithData(color.dataValue()))
            background = *decoded.value;
    _cellEditor->setBackgroundColor(background);
}

void VekObjGrid::setCurrentEditingCell(const QString &key)
{
    _editingCell = key;
    NotificationCenter::defaultCenter().postNotificationName(VekObjGridCellSelectionDidChangeNotification, this);
}

std::optional<PropertyList> VekObjGrid::editorRecordChange() const
{
    if (!_cellEditor || !positionOfCell(_editingCell, nullptr, nullptr))
        return std::nullopt;
    AttributedString text = _cellEditor->attributedStringValue();
    const auto stored = textOfCell(_editingCell);
    // The placeholder space of an empty cell is no content.
    if (text.string() == QStringLiteral(" ") && !stored)
        text = AttributedString();
    const PropertyList old = cellItemWithID(_editingCell);
    PropertyList record = old.isDictionary() ? old : PropertyList::dictionary();
    if (text.isEmpty()) {
        record.remove(CellTextKey);
        record.remove(CellAlignKey);
    } else if (stored != text || !old.contains(CellAlignKey)
               || old.value(CellAlignKey).intValue() != alignmentAtStart(text)) {
        record.insert(CellTextKey, PropertyList::fromData(rtfOf(text)));
        record.insert(CellAlignKey, PropertyList::fromInt(alignmentAtStart(text)));
    }
    if (record == old || (old.isAbsent() && record.count() == 0))
        return std::nullopt;
    return record;
}

void VekObjGrid::storeEditorText()
{
    const auto record = editorRecordChange();
    if (!record)
        return;
    // Each change is an undo step of its own, so undo finds the editor and the record agreeing.
    registerSnapshotUndo();
    storeCellRecord(_editingCell, *record);
    contentsDidChange();
    didChange();
}

void VekObjGrid::endCellEditing()
{
    // Nothing is left to store: the record took each change as it was made.
    if (!_cellEditor)
        return;
    _editingCell.clear();
    _cellEditor->setEndHandler(nullptr);
    _cellEditor->setTextChangeHandler(nullptr);
    if (CanvasServices *view = vekView(); view && view->editingObject().get() == this)
        view->setEditingObject(shared_from_this(), nullptr);
    _retiredCellEditor = std::move(_cellEditor);
    contentsDidChange();
    didChange();
}

void VekObjGrid::cellEditorDidEndEditing(CellTextMovement movement)
{
    switch (movement) {
    case CellTextMovement::Tab: {
        int column = -1, row = -1;
        if (!positionOfCell(_editingCell, &column, &row)) {
            endCellEditing();
            return;
        }
        if (column + 1 < numberOfGridColumns())
            ++column;
        else {
            column = 0;
            row = row + 1 < numberOfGridRows() ? row + 1 : 0;
        }
        const QString next = cellIDOfColumn(column, row);
        endCellEditing();
        openNextCellAfter(next);
        return;
    }
    case CellTextMovement::Return:
        endCellEditing();
        _haveSelection = false;
        redisplayOutset();
        return;
    default:
        endCellEditing();
        return;
    }
}

void VekObjGrid::openNextCellAfter(const QString &key)
{
    // The next cell opens from the event loop, once the key that ended this one is handled.
    std::weak_ptr<VekObject> weakSelf = weak_from_this();
    const auto open = [weakSelf, key] {
        auto self = std::static_pointer_cast<VekObjGrid>(weakSelf.lock());
        if (!self)
            return;
        CanvasServices *view = self->vekView();
        int column = -1, row = -1;
        if (view && view->editingObject() == self && self->positionOfCell(key, &column, &row))
            self->startEditCellAt(column, row);
    };
    if (QCoreApplication *app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, open, Qt::QueuedConnection);
    else
        open();
}

// ---- Cell commands ----

void VekObjGrid::changeSelectedCellTexts(const std::function<void(AttributedString &)> &change, int alignment)
{
    const auto keys = selectedCellKeys(false);
    if (!keys || keys->isEmpty())
        return;
    registerSnapshotUndo();
    for (const QString &key : *keys) {
        if (!positionOfCell(key, nullptr, nullptr))
            continue;
        if (key == _editingCell && _cellEditor) {
            // The open cell changes in its editor, and its record follows the editor.
            AttributedString text = _cellEditor->attributedStringValue();
            if (text.isEmpty())
                continue;
            change(text);
            const TextRange selection = _cellEditor->selectedRange();
            _cellEditor->setAttributedStringValue(text);
            _cellEditor->setSelectedRange(selection);
            if (const auto record = editorRecordChange())
                storeCellRecord(key, *record);
            continue;
        }
        const PropertyList old = cellItemWithID(key);
        auto text = textOfRecord(old);
        if (!text)
            continue;
        change(*text);
        PropertyList record = old;
        record.insert(CellTextKey, PropertyList::fromData(rtfOf(*text)));
        if (alignment >= 0)
            record.insert(CellAlignKey, PropertyList::fromInt(alignment));
        storeCellRecord(key, record);
    }
    didChange();
}

void VekObjGrid::applyFontToSelectedCells(const QString &fontName)
{
    changeSelectedCellTexts(
        [&](AttributedString &text) {
            text.modifyAttributes({0, text.length()}, [&](TextAttributes &a) {
                // A run without a font takes the platform's default size.
                a.font = Font{fontName, a.font ? a.font->size : 12.0f};
            });
        },
        -1);
}

void VekObjGrid::applyFontSizeToSelectedCells(float size)
{
    const QString fallback = userFontName();
    changeSelectedCellTexts(
        [&](AttributedString &text) {
            text.modifyAttributes({0, text.length()}, [&](TextAttributes &a) {
                const bool usable = a.font && fontExists(a.font->name);
                a.font = Font{usable ? a.font->name : fallback, size};
            });
        },
        -1);
}

void VekObjGrid::applyFontColorToSelectedCells(const Color &color)
{
    changeSelectedCellTexts(
        [&](AttributedString &text) {
            text.modifyAttributes({0, text.length()}, [&](TextAttributes &a) { a.foregroundColor = color; });
        },
        -1);
}

void VekObjGrid::applyAlignmentToSelectedCells(int alignment)
{
    alignment = std::clamp(alignment, 0, 4);
    changeSelectedCellTexts(
        [&](AttributedString &text) {
            text.modifyAttributes({0, text.length()}, [&](TextAttributes &a) {
                ParagraphStyle style = a.paragraphStyle.value_or(ParagraphStyle());
                style.alignment = TextAlignment(alignment);
                a.paragraphStyle = style;
            });
        },
        alignment);
}

void VekObjGrid::applyBGColorToSelectedCells(const std::optional<Color> &color)
{
    const auto keys = selectedCellKeys(true);
    if (!keys || keys->isEmpty())
        return;
    const bool clearing = !color || color->alphaComponent() < ClearAlphaLimit;
    QByteArray archived;
    if (!clearing) {
        const auto data = archivedDataWithRootObject(*color);
        if (!data)
            return;
        archived = *data.value;
    }
    registerSnapshotUndo();
    for (const QString &key : *keys) {
        if (!positionOfCell(key, nullptr, nullptr))
            continue;
        PropertyList record = cellItemWithID(key);
        if (record.isAbsent() && clearing)
            continue;
        if (record.isAbsent())
            record = PropertyList::dictionary();
        if (clearing)
            record.remove(CellColorKey);
        else
            record.insert(CellColorKey, PropertyList::fromData(archived));
        storeCellRecord(key, record);
        if (key == _editingCell && _cellEditor)
            _cellEditor->setBackgroundColor(clearing ? Color::whiteColor() : *color);
    }
    didChange();
}
