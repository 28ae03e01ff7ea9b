// The grid of object areas, kept current through the objects' change notifications.
#include "canvas/spatial_index.h"

#include "document/vek_document.h"
#include "model/vek_object.h"
#include "platform/foundation/notification_center.h"

#include <algorithm>
#include <cmath>

namespace {

// Side of a grid cell in canvas units: a few typical objects wide, so that a query of a
// dragged object's area looks at a handful of cells.
constexpr float CellSide = 128;
// An area spanning more cells than this is kept with the objects every query looks at.
constexpr qint64 MaxCellsPerObject = 1024;

bool isClipPath(const VekObject &object)
{
    return object.clipType() > 0 && object.hasEditablePath();
}

} // namespace

SpatialIndex::SpatialIndex(VekDocument &document) : m_document(document)
{
    for (const QString &name : {VekObjectDidChangeNotification, VekObjectBoundsDidChangeNotification,
                                VekObjectPathDidChangeNotification})
        NotificationCenter::defaultCenter().addObserver(this, name, nullptr, [this](const Notification &n) {
            update(*static_cast<const VekObject *>(n.sender));
        });
    rebuild();
}

SpatialIndex::~SpatialIndex()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

quint64 SpatialIndex::cellKey(int column, int row)
{
    return (quint64(quint32(column)) << 32) | quint32(row);
}

SpatialIndex::CellRange SpatialIndex::cellsOf(const Rect &r)
{
    // Clamped so that absurd coordinates still make a valid (if coarse) range.
    const auto cell = [](float v) { return int(std::clamp(std::floor(v / CellSide), -1.0e9f, 1.0e9f)); };
    return {cell(r.minX()), cell(r.minY()), cell(r.maxX()), cell(r.maxY())};
}

void SpatialIndex::refresh()
{
    const ShadowSignature shadow{m_document.shadowState(), m_document.shadowOffsetSize(), m_document.shadowBlur()};
    if (!(shadow == m_shadow)) {
        m_shadow = shadow;
        rebuild();
        return;
    }
    if (m_generation != m_document.objectListGeneration())
        catchUpWithList();
}

void SpatialIndex::rebuild()
{
    m_shadow = {m_document.shadowState(), m_document.shadowOffsetSize(), m_document.shadowBlur()};
    m_entries.clear();
    m_cells.clear();
    m_unplaced.clear();
    catchUpWithList();
}

void SpatialIndex::catchUpWithList()
{
    m_generation = m_document.objectListGeneration();
    const auto &objects = m_document.objects();
    m_positions.clear();
    m_positions.reserve(objects.size());
    for (size_t i = 0; i < objects.size(); ++i)
        m_positions.emplace(objects[i].get(), i);
    std::vector<const VekObject *> gone;
    for (const auto &[object, entry] : m_entries)
        if (!m_positions.count(object))
            gone.push_back(object);
    for (const VekObject *object : gone)
        unplace(object);
    for (const auto &object : objects)
        if (!m_entries.count(object.get()))
            place(*object, areaOf(*object));
}

void SpatialIndex::update(const VekObject &object)
{
    relocate(object, areaOf(object));
}

void SpatialIndex::moveBy(const VekObject &object, float dx, float dy)
{
    if (const auto it = m_entries.find(&object); it != m_entries.end())
        relocate(object, offsetRect(it->second.area, dx, dy));
}

void SpatialIndex::relocate(const VekObject &object, const Rect &area)
{
    const auto it = m_entries.find(&object);
    if (it == m_entries.end())
        return;
    // A drag moves objects by a few points a step: an area that stays in the same cells is
    // changed where it lies, and the work per object stays the same however full the cells.
    Entry &entry = it->second;
    if (entry.inGrid && isPlaceable(object, area)) {
        const CellRange cells = cellsOf(entry.area);
        if (cells == cellsOf(area)) {
            entry.area = area;
            qsizetype ordinal = 0;
            for (int row = cells.top; row <= cells.bottom; ++row)
                for (int column = cells.left; column <= cells.right; ++column)
                    m_cells[cellKey(column, row)][entry.places[ordinal++]].area = area;
            return;
        }
    }
    unplace(&object);
    place(object, area);
}

Rect SpatialIndex::areaOf(const VekObject &object)
{
    return unionRect(object.drawingBounds(), object.boundsToRedraw());
}

bool SpatialIndex::isPlaceable(const VekObject &object, const Rect &area)
{
    const bool finite = std::isfinite(area.minX()) && std::isfinite(area.minY()) && std::isfinite(area.maxX())
                        && std::isfinite(area.maxY());
    return finite && object.repeatType() == 0 && cellsOf(area).count() <= MaxCellsPerObject;
}

void SpatialIndex::place(const VekObject &object, const Rect &area)
{
    const bool inGrid = isPlaceable(object, area);
    Entry &entry = m_entries[&object];
    entry = Entry{area, inGrid, {}};
    if (!inGrid) {
        m_unplaced.push_back({&object, area});
        return;
    }
    const CellRange cells = cellsOf(area);
    for (int row = cells.top; row <= cells.bottom; ++row)
        for (int column = cells.left; column <= cells.right; ++column) {
            std::vector<Placed> &list = m_cells[cellKey(column, row)];
            entry.places.append(quint32(list.size()));
            list.push_back({&object, area});
        }
}

void SpatialIndex::unplace(const VekObject *object)
{
    const auto it = m_entries.find(object);
    if (it == m_entries.end())
        return;
    if (!it->second.inGrid) {
        const auto other = [object](const Placed &p) { return p.object == object; };
        m_unplaced.erase(std::remove_if(m_unplaced.begin(), m_unplaced.end(), other), m_unplaced.end());
        m_entries.erase(it);
        return;
    }
    // Each cell's last object takes the place of the one leaving; cells keep no order (the
    // queries sort what they find by stacking order).
    const CellRange cells = cellsOf(it->second.area);
    qsizetype ordinal = 0;
    for (int row = cells.top; row <= cells.bottom; ++row)
        for (int column = cells.left; column <= cells.right; ++column) {
            const quint32 slot = it->second.places[ordinal++];
            const auto cell = m_cells.find(cellKey(column, row));
            std::vector<Placed> &list = cell->second;
            if (slot + 1 < list.size()) {
                list[slot] = list.back();
                Entry &moved = m_entries.at(list[slot].object);
                const CellRange movedCells = cellsOf(moved.area);
                moved.places[qsizetype(row - movedCells.top) * (movedCells.right - movedCells.left + 1)
                            + (column - movedCells.left)] = slot;
            }
            list.pop_back();
            if (list.empty())
                m_cells.erase(cell);
        }
    m_entries.erase(it);
}

std::vector<size_t> SpatialIndex::positionsMeeting(const Rect &rect) const
{
    std::vector<size_t> positions;
    const auto take = [&](const Placed &p) {
        if (p.object->repeatType() != 0 || intersectsRect(p.area, rect))
            positions.push_back(m_positions.at(p.object));
    };
    for (const Placed &p : m_unplaced)
        take(p);
    const CellRange cells = cellsOf(rect);
    if (cells.count() > qint64(m_cells.size())) {
        for (const auto &[key, list] : m_cells)
            for (const Placed &p : list)
                take(p);
    } else {
        for (int row = cells.top; row <= cells.bottom; ++row)
            for (int column = cells.left; column <= cells.right; ++column)
                if (const auto cell = m_cells.find(cellKey(column, row)); cell != m_cells.end())
                    for (const Placed &p : cell->second)
                        take(p);
    }
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    return positions;
}

std::vector<std::shared_ptr<VekObject>> SpatialIndex::objectsAt(const std::vector<size_t> &positions) const
{
    const auto &objects = m_document.objects();
    std::vector<std::shared_ptr<VekObject>> found;
    found.reserve(positions.size());
    for (size_t i : positions)
        if (i < objects.size())   // a list changed since the last refresh
            found.push_back(objects[i]);
    return found;
}

std::vector<std::shared_ptr<VekObject>> SpatialIndex::objectsMeeting(const Rect &rect) const
{
    return objectsAt(positionsMeeting(rect));
}

std::vector<std::shared_ptr<VekObject>> SpatialIndex::objectsToDraw(const Rect &rect) const
{
    // The page loop pairs a clip path with the object just in front of it, walking from the
    // back; a run of clip paths pairs off from its back end. Keeping whole runs with the
    // object in front of each keeps every pair as in the whole list.
    const auto &objects = m_document.objects();
    const std::vector<size_t> meeting = positionsMeeting(rect);
    std::vector<size_t> positions;
    positions.reserve(meeting.size());
    for (size_t k : meeting) {
        positions.push_back(k);
        for (size_t j = k + 1; j < objects.size() && isClipPath(*objects[j]); ++j)
            positions.push_back(j);
        if (isClipPath(*objects[k])) {
            size_t j = k;
            while (j > 0 && isClipPath(*objects[j - 1]))
                positions.push_back(--j);
            if (j > 0)
                positions.push_back(j - 1);
        }
    }
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    return objectsAt(positions);
}
