// SpatialIndex: which objects of a document can show in a rectangle, without asking each one.
//
// Every object is kept under its redraw area (its drawing bounds with what its redraw area
// adds: shadow, arrows, stroke images, text along the path) in a grid of square cells.
// Repeating objects (seen on every page of their range) and objects spanning very many cells
// are kept apart and looked at by every query. Queries answer in stacking order.
//
// The index keeps itself current: it observes VekObjectDidChangeNotification,
// VekObjectBoundsDidChangeNotification and VekObjectPathDidChangeNotification of its
// objects, and `refresh` catches up with the document's object list (by its generation) and
// with the document's shadow, which widens every object's area. Objects post no
// notifications while their document has no window or inside a bounds manipulation (a
// drag): whoever moves them then calls `update`.
//
// Threads: changes and `refresh` on the thread that owns the document; the queries are
// const and may run on many threads at once between two changes (the tiles of a drawing).
#pragma once

#include "platform/geometry/geometry.h"

#include <QVarLengthArray>
#include <QtGlobal>

#include <memory>
#include <unordered_map>
#include <vector>

class VekDocument;
class VekObject;

class SpatialIndex {
public:
    explicit SpatialIndex(VekDocument &document);
    ~SpatialIndex();
    SpatialIndex(const SpatialIndex &) = delete;
    SpatialIndex &operator=(const SpatialIndex &) = delete;

    // Catches up with the object list and the document's shadow; cheap when nothing changed.
    void refresh();
    // Takes the object's area anew (a change that posted no notification).
    void update(const VekObject &object);
    // Takes the object's area moved by (dx, dy) without asking the object for it: the steps
    // of a drag move whole objects, whose areas move with them.
    void moveBy(const VekObject &object, float dx, float dy);

    // The objects to draw for the rectangle, front-most first: those whose area meets it,
    // together with the clip paths that clip them and the objects those clip, so that each
    // clip path pairs with the same object as in the whole list.
    std::vector<std::shared_ptr<VekObject>> objectsToDraw(const Rect &rect) const;
    // The objects whose area meets the rectangle, front-most first: the candidates of a hit
    // test (a point's hit test passes a rectangle around the point).
    std::vector<std::shared_ptr<VekObject>> objectsMeeting(const Rect &rect) const;

private:
    struct Placed {
        const VekObject *object;
        Rect area;
    };
    struct CellRange {
        int left, top, right, bottom;
        qint64 count() const { return qint64(right - left + 1) * (bottom - top + 1); }
        bool operator==(const CellRange &) const = default;
    };
    struct Entry {
        Rect area;
        bool inGrid = false;   // else in m_unplaced
        // Where the object lies in each of its cells' lists, cell by cell row by row, so
        // that it leaves a cell without a search.
        QVarLengthArray<quint32, 4> places;
    };

    void rebuild();
    void catchUpWithList();
    static Rect areaOf(const VekObject &object);
    static bool isPlaceable(const VekObject &object, const Rect &area);
    void relocate(const VekObject &object, const Rect &area);
    void place(const VekObject &object, const Rect &area);
    void unplace(const VekObject *object);
    std::vector<size_t> positionsMeeting(const Rect &rect) const;
    std::vector<std::shared_ptr<VekObject>> objectsAt(const std::vector<size_t> &positions) const;
    static CellRange cellsOf(const Rect &r);
    static quint64 cellKey(int column, int row);

    VekDocument &m_document;
    quint64 m_generation = 0;
    struct ShadowSignature {
        bool on = false;
        Size offset;
        float blur = 0;
        bool operator==(const ShadowSignature &o) const
        {
            return on == o.on && offset == o.offset && blur == o.blur;
        }
    } m_shadow;

    std::unordered_map<const VekObject *, Entry> m_entries;
    std::unordered_map<const VekObject *, size_t> m_positions;   // index in the object list
    std::unordered_map<quint64, std::vector<Placed>> m_cells;
    std::vector<Placed> m_unplaced;   // repeating objects, huge or unbounded areas
};
