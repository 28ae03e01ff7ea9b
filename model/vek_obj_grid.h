// VekObjGrid: the table object, a grid of columns and rows laid over its bounds.
//
// Columns and rows have identifiers ("C%d", "R%d", the smallest free number) that never
// change, and positions (their index in the order lists) that do. Their records hold the
// stored edge and size ("originX"/"width", "originY"/"height", relative to the bounds'
// top left) and the border flags ("lineL", "lineR", "lineT", "lineB"). A cell is keyed by
// its column identifier followed by its row identifier ("C3R12") and has a record only
// when it has content: "text" (RTF data), "color" (archived colour) and "cellAlign".
// Records are values: every change stores a new record in place of the old one, so the
// snapshots the undo steps keep stay as they were.
//
// Its members are spread over files by job: the model, geometry and setters
// (vek_obj_grid.cpp), the dictionary form and copies (vek_obj_grid_dictionary.cpp), drawing
// (vek_obj_grid_drawing.cpp), selection, cell editing and the cell commands
// (vek_obj_grid_editing.cpp), and the structure commands (vek_obj_grid_structure.cpp).
#pragma once

#include "model/object_editing.h"
#include "model/vek_object.h"
#include "platform/text/attributed_string.h"
#include "platform/text/layout_manager.h"

#include <QStringList>

#include <memory>
#include <optional>

class GridCellEditor;
class TextClipboard;

inline const QString VekObjGridCellSelectionDidChangeNotification =
    QStringLiteral("VekObjGridCellSelectionDidChange");

// Ways a cell's editing ends, as the cell editor reports them.
enum class CellTextMovement { Other = 0, Return = 16, Tab = 17, Backtab = 18 };

class VekObjGrid : public VekObject, public ObjectEditing {
public:
    explicit VekObjGrid(Passkey key);
    ~VekObjGrid() override;
    // A table without columns or rows, with the table options' colour and line switches,
    // no shadow, no outline and the note "G".
    static std::shared_ptr<VekObjGrid> create();

    // More columns or rows than this come only from damaged files or typing errors.
    static constexpr int MaxGridLines = 1000;

    QString className() const override { return QStringLiteral("VekObjGrid"); }
    bool canRepeat() const override { return false; }
    bool canTransform() const override { return false; }
    bool canGoToObjMatrix() const override { return false; }
    bool hasEditablePath() const override { return false; }
    bool isEditable() const override { return true; }

    // ---- Containers ----

    const PropertyList &columns() const { return _columns; }
    const QStringList &columnOrder() const { return _columnOrder; }
    const PropertyList &rows() const { return _rows; }
    const QStringList &rowOrder() const { return _rowOrder; }
    const PropertyList &cells() const { return _cells; }
    const Color &gridColor() const { return _gridColor; }
    int drawLineH() const { return _drawLineH; }
    int drawLineV() const { return _drawLineV; }
    int numberOfGridColumns() const { return int(_columnOrder.size()); }
    int numberOfGridRows() const { return int(_rowOrder.size()); }
    QString newColumnID() const;
    QString newRowID() const;

    // Whole-container setters. With update the old container is registered for undo (its
    // undo registers the redo) and the table reports the change; without, the value is only
    // stored. Records that are not dictionaries are dropped.
    void setColumns(const PropertyList &columns, bool update);
    void setColumnOrder(const QStringList &order, bool update);
    void setRows(const PropertyList &rows, bool update);
    void setRowOrder(const QStringList &order, bool update);
    void setCells(const PropertyList &cells, bool update);
    // Undoable; the colour already held is ignored.
    void setGridColor(const Color &color);
    void setDrawLineH(int flag);
    void setDrawLineV(int flag);

    // Builds a new table's grid from the table options' counts over the bounds; a table that
    // already has columns or rows is left as it is.
    void setupOnCurrentCondition();
    // Follows the drag that creates the table, then builds its grid over the rectangle.
    bool createWithEvent(const MouseEvent &event, CanvasServices *view) override;
    // Recounts the words of the cell texts (posting the word-count notification when the
    // count changes) and drops the cached font statistics.
    void contentsDidChange();

    // ---- Geometry (canvas coordinates) ----

    // The zero rectangle for a position out of range or without record.
    Rect rectOfGridColumn(int position) const;
    Rect rectOfGridRow(int position) const;
    Rect cellFrameOfColumn(int column, int row) const;
    // The first position whose rectangle holds the point; -1 for none.
    int columnAtPoint(Point p) const;
    int rowAtPoint(Point p) const;

    // ---- Cells ----

    // Null when either position is out of range.
    QString cellIDOfColumn(int column, int row) const;
    // The positions of the cell's column and row; false when the key names no cell of the
    // table (an identifier that is not, or no longer, in the orders).
    bool positionOfCell(const QString &key, int *column, int *row) const;
    // The record, or absent.
    PropertyList cellItemWithID(const QString &key) const;
    std::optional<AttributedString> textOfCell(const QString &key) const;
    std::optional<AttributedString> textOfColumn(int column, int row) const;

    // Rows of cell texts (tab between columns, line feed between rows); none without cells.
    std::optional<AttributedString> tableToString() const;
    // Font-statistics rows of every cell text, the cell key last in each row; absent when
    // there is no text.
    PropertyList textInfo();

    // ---- Drawing ----

    void drawInViewIsSelected(CanvasServices *view, bool selected) override;
    // Fill, cells, grid and border lines, outline, resize outline and cell marks; lines
    // follow `rect`, cells and marks the bounds.
    void drawInViewInRect(CanvasServices *view, const Rect &rect) override;
    // What drawInViewInRect draws, for writers that place it themselves. The grid lines
    // (outer border included; 1 point wide in PDF and print) and the borders set on columns
    // and rows (BorderLineWidth) as drawn into rect; the grid's bounds are what a fill fills.
    struct Lines {
        BezierPath grid;
        BezierPath borders;
    };
    Lines linesInRect(const Rect &rect) const;
    static constexpr float BorderLineWidth = 2.0f;
    // The cells with a colour or text, column by column and down each column, as drawn.
    struct DrawnCell {
        Rect frame;
        std::optional<Color> color;
        std::optional<AttributedString> text;   // absent or not empty
    };
    std::vector<DrawnCell> drawnCells() const;
    // A cell's text as it is drawn into the frame: inset on every side, wrapped at the
    // inset width; one piece per line and attribute run.
    static std::vector<PlacedText> placedCellText(const AttributedString &text, const Rect &frame);

    // ---- Selection and cell editing ----

    int selectedColumnNr() const { return _selectedColumnNr; }
    int selectedRowNr() const { return _selectedRowNr; }
    Rect selectedColumnRect() const { return _selectedColumnRect; }
    Rect selectedRowRect() const { return _selectedRowRect; }
    bool haveSelection() const { return _haveSelection; }
    const QStringList &multipleCellSelection() const { return _multipleCellSelection; }
    const QString &currentEditingCell() const { return _editingCell; }
    GridCellEditor *currentCellEditor() const { return _cellEditor.get(); }
    const std::optional<BezierPath> &temporalBP() const { return _temporalBP; }

    // The keys a cell command acts on: with `all` every selected position, else only those
    // with a record. None when the canvas does not have the table selected.
    std::optional<QStringList> selectedCellKeys(bool all);
    bool isAnyCellSelected() const;
    // The record of the first selected cell, or absent.
    PropertyList firstSelectedCellInfo() const;
    int currentAlignment() const;
    Color currentBGcolor() const;
    Color currentFontColor() const;
    float currentFontSize() const;
    QString currentFontName() const;

    // ObjectEditing. A click decides by the cursor area it falls in: the resize areas
    // resize, the selection strips select a column or row, elsewhere a cell opens.
    ObjectEditing *editing() override { return this; }
    void startEditingWithEvent(const MouseEvent &event, CanvasServices *view) override;
    void editWithEvent(const MouseEvent &event, CanvasServices *view) override;
    // The arrow keys move the selected column or row.
    bool keyDownWhileEditing(QChar character, unsigned modifierFlags, CanvasServices *view) override;
    bool deleteWhileEditing(CanvasServices *view) override;
    bool copyWhileEditing(CanvasServices *view) override;
    bool pasteWhileEditing(CanvasServices *view) override;
    void endEditingInView(CanvasServices *view) override;
    // The border areas, then the top 2 points of the first row (select column) and the left
    // 2 points of the first column (select row); earlier areas win.
    std::vector<CursorRect> editingCursorRects(unsigned modifierFlags, const CanvasServices *view) const override;
    // The cursor area under the point, or Arrow.
    CursorKind cursorAtPoint(Point p) const;
    // The areas whose drag resizes a row or column, in the edited table and in a selected
    // one: per row its bottom 2 points (up-down), per column its right 2 points (left-right).
    std::vector<CursorRect> borderCursorRects() const;
    // The border area under the point (ResizeUpDown, ResizeLeftRight), or Arrow.
    CursorKind borderAtPoint(Point p) const;

    // A click with the cursor shown at it (the platform's editWithEvent:inView:cursor:).
    void editWithEventCursor(const MouseEvent &event, CanvasServices *view, CursorKind cursor);
    void updateCellWith(const MouseEvent &event, CanvasServices *view);
    // Opens the cell at the positions in a cell editor laid over it (cells 2 points or
    // narrower do not open).
    void startEditCellAt(int column, int row);
    // Drops the cell editor (its text is in the cell's record already).
    void endCellEditing();
    // The editor's report: Tab walks on to the next cell (opened from the event loop),
    // Return ends the cell's editing and the selection.
    void cellEditorDidEndEditing(CellTextMovement movement);
    void setCurrentEditingCell(const QString &key);

    // Cell commands on the selected cells, each one undo step.
    void applyFontToSelectedCells(const QString &fontName);
    void applyFontSizeToSelectedCells(float size);
    void applyFontColorToSelectedCells(const Color &color);
    // None, or alpha below 0.09, clears the background.
    void applyBGColorToSelectedCells(const std::optional<Color> &color);
    void applyAlignmentToSelectedCells(int alignment);

    // ---- Structure commands ----

    // The border of the selected column (sides 0 left, 1 right) or row (2 top, 3 bottom).
    int lineTypeFor(int side) const;
    void setLineType(int type, int side);
    // Counts below 1 beep; counts above MaxGridLines are held to it.
    void setNumberOfGridColumns(int count);
    void setNumberOfGridRows(int count);
    void setAllColumnsSameWidth();
    void setAllRowsSameHeight();
    // Swap the selected column or row with its neighbour; beep when there is none.
    void moveSelectionLeft();
    void moveSelectionRight();
    void moveSelectionUp();
    void moveSelectionDown();
    // Follow a drag of the column's right or the row's bottom border (one undo step).
    void changeColumnWidth(const MouseEvent &event, CanvasServices *view);
    void changeRowHeight(const MouseEvent &event, CanvasServices *view);
    void deleteSelection();
    void copyCells();
    void pasteCells();
    const std::vector<PropertyList> &copiedColumn() const { return _copiedColumn; }
    const std::vector<PropertyList> &copiedRow() const { return _copiedRow; }
    // Where copyCells puts the texts; null: the system clipboard.
    void setClipboard(TextClipboard *clipboard) { _clipboard = clipboard; }

protected:
    void writePropertyListKeys(PropertyList &dict) const override;
    void readPropertyListKeys(const PropertyList &dict) override;
    void copyAttributesTo(VekObject &copy) const override;

private:
    // Everything a structure or cell command may change, kept for undo, with the selected
    // column and row so that undo and redo show the selection the change was made with, and
    // the open cell's selected text.
    struct Snapshot {
        PropertyList columns, rows, cells;
        QStringList columnOrder, rowOrder;
        int selectedColumn = -1, selectedRow = -1;
        QString editingCell;   // empty: no cell open
        TextRange editorSelection;
    };
    Snapshot snapshot() const;
    // Registers the undo step that puts the containers back as they are now.
    void registerSnapshotUndo();
    // Puts a snapshot back, registering the present state for redo. An open cell editor
    // shows its cell's record as restored.
    void restoreSnapshot(const Snapshot &saved);
    // Drops selections, picks and the edited cell that no longer name a column, row or cell.
    void validateSelection();

    // Selection helpers.
    void clearColumnAndRowSelection();
    void selectColumn(int position);
    void selectRow(int position);
    void togglePicked(const QString &key);
    void tellShellSelection();
    void redisplayOutset();
    void openNextCellAfter(const QString &key);

    // The cell editor's text is the cell's record at all times: each change the user makes
    // is stored at once as an undo step, and undo and redo show the record in the editor.
    // Shows the open cell's record in the editor: its text (or the placeholder space of an
    // empty cell) and its background.
    void loadCellEditor();
    void storeEditorText();
    // The open cell's record holding the editor's text, when that differs from the stored one.
    std::optional<PropertyList> editorRecordChange() const;

    // Record helpers.
    void storeCellRecord(const QString &key, const PropertyList &record);
    // Applies a change of text to every selected cell with text (one undo step).
    void changeSelectedCellTexts(const std::function<void(AttributedString &)> &change, int alignment);
    // Columns with columnsAxis, else rows. Adding inserts before the selected line, or
    // appends after the last; deleting removes from the selected line onward, then from the end.
    void setNumberOfGridLines(bool columnsAxis, int count);
    void addOrInsertLines(bool columnsAxis, int number);
    void deleteLinesTill(bool columnsAxis, int count);
    void setAllLinesSameSize(bool columnsAxis);
    // Stores records that share the bounds' extent equally among the lines, in order.
    void spaceEvenly(bool columnsAxis);
    void shiftOrigins(bool columnsAxis, int from, float delta);
    void moveSelection(bool columnsAxis, int direction);
    void trackBorder(bool columnsAxis, const MouseEvent &event, CanvasServices *view);
    // The records of `before` with the line at the position grown by the change, over the
    // bounds it started from.
    void resizeLine(bool columnsAxis, int position, float change, const Snapshot &before, const Rect &bounds0);
    void beep() const;

    QStringList _columnOrder;
    QStringList _rowOrder;
    std::vector<PropertyList> _copiedColumn;
    std::vector<PropertyList> _copiedRow;
    PropertyList _cells = PropertyList::dictionary();
    PropertyList _columns = PropertyList::dictionary();
    PropertyList _rows = PropertyList::dictionary();
    Color _gridColor;
    int _drawLineH = 1;
    int _drawLineV = 1;
    int _selectedColumnNr = -1;
    int _selectedRowNr = -1;
    Rect _selectedColumnRect;
    Rect _selectedRowRect;
    bool _haveSelection = false;
    QString _editingCell;
    std::unique_ptr<GridCellEditor> _cellEditor;
    // The editor whose own key press ended its editing lives on until the next one is made.
    std::unique_ptr<GridCellEditor> _retiredCellEditor;
    std::optional<BezierPath> _temporalBP;
    PropertyList _txtInfoArray;
    QStringList _multipleCellSelection;
    bool _hasPickedSet = false;
    TextClipboard *_clipboard = nullptr;
};
