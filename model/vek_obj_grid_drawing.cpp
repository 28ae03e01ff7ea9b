// Drawing a table: fill, cell backgrounds and texts, grid and border lines, the outline,
// the resize outline and the marks of a selected table, column, row or picked cells.
//
// Lines are built in the table's own coordinates (half-point positions from the stored
// edges) and moved to the floored origin of the rectangle drawn into; cells and marks use
// the frames the geometry queries give, which follow the bounds.
#include "model/services/canvas_services.h"
#include "model/services/shell_services.h"
#include "model/vek_obj_grid.h"
#include "model/vek_obj_grid_keys.h"
#include "platform/foundation/archiving.h"
#include "platform/geometry/affine_transform.h"
#include "platform/graphics/graphics_context.h"
#include "platform/text/layout_manager.h"
#include "platform/text/text_container.h"
#include "toolkit/text_extensions.h"

#include <cmath>

namespace {

constexpr float LineOffset = 0.5f;
constexpr float CellTextInset = 2.0f;
constexpr float CreationFrameOutset = 1.0f;

// The highlight ring drawn around a selected table, column, row or cell: a soft band just
// outside the rectangle.
void drawFocusRing(GraphicsContext &context, const Rect &rect)
{
    BezierPath ring = BezierPath::bezierPathWithRect(insetRect(rect, -1.5f, -1.5f));
    ring.setLineWidth(3.0f);
    context.setStrokeColor(Color::colorWithCalibratedRed(0.3f, 0.55f, 0.95f, 0.6f));
    context.strokePath(ring);
}

void addLine(BezierPath &path, Point from, Point to)
{
    path.moveToPoint(from);
    path.lineToPoint(to);
}

// A cell's text laid out in its frame, inset on every side, wrapping at the inset width.
// Lines are broken at the cell's width; a text taller than the cell runs on below it.
class CellTextLayout {
public:
    CellTextLayout(const AttributedString &text, const Rect &frame)
        : m_inner(insetRect(frame, CellTextInset, CellTextInset)), m_container(Size{m_inner.width(), 1.0e6f})
    {
        m_container.setLineFragmentPadding(0);
        m_layout.addTextContainer(&m_container);
        m_layout.setAttributedString(text);
    }
    ~CellTextLayout() { m_layout.removeTextContainer(&m_container); }
    CellTextLayout(const CellTextLayout &) = delete;
    CellTextLayout &operator=(const CellTextLayout &) = delete;

    // Nothing is laid out into a frame narrower or lower than the insets.
    TextRange glyphs()
    {
        if (m_inner.width() <= 0 || m_inner.height() <= 0)
            return {};
        return m_layout.glyphRangeForTextContainer(&m_container);
    }
    void draw()
    {
        if (const TextRange range = glyphs(); !range.isEmpty())
            m_layout.drawGlyphsForGlyphRange(range, m_inner.origin);
    }
    std::vector<PlacedText> placed()
    {
        const TextRange range = glyphs();
        return range.isEmpty() ? std::vector<PlacedText>() : m_layout.placedText(range, m_inner.origin);
    }

private:
    Rect m_inner;
    TextContainer m_container;
    LayoutManager m_layout;
};

} // namespace

VekObjGrid::Lines VekObjGrid::linesInRect(const Rect &rect) const
{
    Lines lines;
    BezierPath &grid = lines.grid;
    BezierPath &borders = lines.borders;
    const int columnCount = numberOfGridColumns();
    const int rowCount = numberOfGridRows();

    if (_drawLineV == 1 && columnCount > 0 && rowCount > 0) {
        const PropertyList lastRow = _rows.value(_rowOrder.last());
        const float bottom =
            std::floor(lastRow.value(OriginYKey).floatValue() + lastRow.value(HeightKey).floatValue()) + LineOffset;
        for (int i = 0; i < columnCount; ++i) {
            const PropertyList record = _columns.value(_columnOrder[i]);
            if (!record.isDictionary())
                continue;
            const float x = record.value(OriginXKey).floatValue();
            const float right = std::floor(x + record.value(WidthKey).floatValue());
            addLine(grid, {x, LineOffset}, {x, bottom});
            if (record.value(LineLKey).intValue() == 1)
                addLine(borders, {x, LineOffset}, {x, bottom});
            if (record.value(LineRKey).intValue() == 1)
                addLine(borders, {right, LineOffset}, {right, bottom});
            if (i == columnCount - 1)
                addLine(grid, {right + LineOffset, LineOffset}, {right + LineOffset, bottom});
        }
    }
    if (_drawLineH == 1 && rowCount > 0 && columnCount > 0) {
        const PropertyList lastColumn = _columns.value(_columnOrder.last());
        const float right =
            std::floor(lastColumn.value(OriginXKey).floatValue() + lastColumn.value(WidthKey).floatValue()) + LineOffset;
        for (int j = 0; j < rowCount; ++j) {
            const PropertyList record = _rows.value(_rowOrder[j]);
            if (!record.isDictionary())
                continue;
            const float y = record.value(OriginYKey).floatValue();
            const float bottom = std::floor(y + record.value(HeightKey).floatValue());
            addLine(grid, {LineOffset, y}, {right, y});
            if (record.value(LineTKey).intValue() == 1)
                addLine(borders, {LineOffset, y}, {right, y});
            if (record.value(LineBKey).intValue() == 1)
                addLine(borders, {LineOffset, bottom}, {right, bottom});
            if (j == rowCount - 1)
                addLine(grid, {LineOffset, bottom + LineOffset}, {right, bottom + LineOffset});
        }
    }
    AffineTransform move;
    move.translateXBy(std::floor(rect.minX()), std::floor(rect.minY()));
    grid.transformUsingAffineTransform(move);
    borders.transformUsingAffineTransform(move);
    return lines;
}

std::vector<VekObjGrid::DrawnCell> VekObjGrid::drawnCells() const
{
    std::vector<DrawnCell> cells;
    if (_cells.count() == 0)
        return cells;
    for (int i = 0; i < numberOfGridColumns(); ++i) {
        for (int j = 0; j < numberOfGridRows(); ++j) {
            const PropertyList record = _cells.value(cellIDOfColumn(i, j));
            if (!record.isDictionary())
                continue;
            DrawnCell cell{cellFrameOfColumn(i, j), std::nullopt, std::nullopt};
            if (record.value(CellColorKey).isData())
                if (auto color = unarchiveColorWithData(record.value(CellColorKey).dataValue()))
                    cell.color = *color.value;
            if (auto text = textOfCellRecord(record); text && !text->isEmpty())
                cell.text = std::move(text);
            if (cell.color || cell.text)
                cells.push_back(std::move(cell));
        }
    }
    return cells;
}

std::vector<PlacedText> VekObjGrid::placedCellText(const AttributedString &text, const Rect &frame)
{
    return CellTextLayout(text, frame).placed();
}

void VekObjGrid::drawInViewIsSelected(CanvasServices *view, bool selected)
{
    GraphicsContext *context = GraphicsContext::current();
    if (!context)
        return;
    if (view && view->creatingObject().get() == this && _rowOrder.isEmpty()) {
        // Still being dragged out: only a frame.
        GraphicsStateSaver saver(*context);
        BezierPath frame = BezierPath::bezierPathWithRect(insetRect(_bounds, -CreationFrameOutset, -CreationFrameOutset));
        frame.setLineWidth(1.0f);
        context->setStrokeColor(systemKnobColor());
        context->strokePath(frame);
        return;
    }
    drawInViewInRect(view, _bounds);
    // The canvas passes its own selection as `selected`; the ring around the whole table gives
    // way to the marks of a selected column, row or cells and to an open cell.
    const bool selectedHere = selected || (view && view->objectIsSelected(*this));
    const bool innerSelection = _haveSelection || _selectedColumnNr >= 0 || _selectedRowNr >= 0
                                || !_multipleCellSelection.isEmpty();
    if (selectedHere && !innerSelection && !(view && view->drawingToSave())) {
        GraphicsStateSaver saver(*context);
        drawFocusRing(*context, _bounds);
    }
}

void VekObjGrid::drawInViewInRect(CanvasServices *view, const Rect &rect)
{
    GraphicsContext *context = GraphicsContext::current();
    if (!context)
        return;
    GraphicsStateSaver saver(*context);
    auto [grid, borders] = linesInRect(rect);

    // A table without grid lines has no fill.
    if (!grid.isEmpty()) {
        const BezierPath area = BezierPath::bezierPathWithRect(grid.bounds());
        fillup(&area);
    }

    const bool cmyk = documentUsesCMYK();
    for (const DrawnCell &cell : drawnCells()) {
        if (cell.color) {
            context->setFillColor(*cell.color);
            context->fillRect(cell.frame);
        }
        if (cell.text)
            CellTextLayout(cmyk ? attributedStringUsingCMYK(*cell.text) : *cell.text, cell.frame).draw();
    }

    grid.setLineWidth(!view || view->drawingToPDF() ? 1.0f : 0.0f);
    context->setStrokeColor(_gridColor);
    if (!grid.isEmpty())
        context->strokePath(grid);
    if (!borders.isEmpty()) {
        borders.setLineWidth(BorderLineWidth);
        context->strokePath(borders);
    }

    if (drawsStroke()) {
        BezierPath outline = BezierPath::bezierPathWithRect(rect);
        outline.setLineWidth(lineWidth());
        context->setStrokeColor(strokeColor());
        context->strokePath(outline);
    }
    if (_temporalBP) {
        context->setStrokeColor(systemKnobColor());
        context->strokePath(*_temporalBP);
    }

    if (view && view->drawingToSave())
        return;
    if (!_multipleCellSelection.isEmpty()) {
        for (const QString &key : _multipleCellSelection) {
            int column = -1, row = -1;
            if (positionOfCell(key, &column, &row))
                drawFocusRing(*context, cellFrameOfColumn(column, row));
        }
    } else if (_selectedColumnRect != Rect()) {
        drawFocusRing(*context, _selectedColumnRect);
    } else if (_selectedRowRect != Rect()) {
        drawFocusRing(*context, _selectedRowRect);
    }
}
