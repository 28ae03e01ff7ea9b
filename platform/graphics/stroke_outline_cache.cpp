// Outlines of stroked paths kept by content in a bounded, sharded cache.
#include "platform/graphics/stroke_outline_cache.h"

#include <QPaintEngine>

#include <array>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace {

// What an outline depends on, compared exactly.
struct OutlineKey {
    std::vector<qreal> numbers;   // the pen, then each element's type, x and y
    size_t hash = 0;

    OutlineKey(const QPainterPath &path, const QPen &pen)
    {
        numbers.reserve(size_t(path.elementCount()) * 3 + 6);
        numbers.insert(numbers.end(), {pen.widthF(), qreal(pen.capStyle()), qreal(pen.joinStyle()), pen.miterLimit(),
                                       qreal(path.fillRule())});
        for (int i = 0; i < path.elementCount(); ++i) {
            const QPainterPath::Element e = path.elementAt(i);
            numbers.insert(numbers.end(), {qreal(e.type), e.x, e.y});
        }
        // FNV-1a over the bytes of the numbers.
        hash = 1469598103934665603ull;
        const auto *bytes = reinterpret_cast<const unsigned char *>(numbers.data());
        for (size_t i = 0; i < numbers.size() * sizeof(qreal); ++i)
            hash = (hash ^ bytes[i]) * 1099511628211ull;
    }
    bool operator==(const OutlineKey &other) const
    {
        return numbers.size() == other.numbers.size()
               && std::memcmp(numbers.data(), other.numbers.data(), numbers.size() * sizeof(qreal)) == 0;
    }
};

struct KeyHash {
    size_t operator()(const OutlineKey &key) const { return key.hash; }
};

// Rough memory of an outline: QPainterPath elements are a type and two coordinates.
size_t costOf(const OutlineKey &key, const QPainterPath &outline)
{
    return key.numbers.size() * sizeof(qreal) + size_t(outline.elementCount()) * 24 + 64;
}

// Two generations per shard: lookups find the recent one or move an entry up from the old
// one; when the recent generation is full, the old one is dropped and the recent one ages.
// What has not been drawn for a whole generation goes.
class Shard {
public:
    static constexpr size_t GenerationBudget = size_t(4) << 20;   // bytes; 16 shards, 2 generations

    QPainterPath outline(OutlineKey key, const QPainterPath &path, const QPen &pen)
    {
        {
            std::lock_guard lock(m_mutex);
            if (const auto it = m_recent.find(key); it != m_recent.end())
                return it->second;
            if (const auto it = m_old.find(key); it != m_old.end()) {
                const QPainterPath found = it->second;
                m_old.erase(it);
                keep(std::move(key), found);
                return found;
            }
        }
        const QPainterPath made = stroked(path, pen);
        std::lock_guard lock(m_mutex);
        keep(std::move(key), made);
        return made;
    }

private:
    // The outline in the path's own units, as Qt's paint engine builds it before it fills
    // it under the painter's transform.
    static QPainterPath stroked(const QPainterPath &path, const QPen &pen)
    {
        QPainterPathStroker stroker;
        stroker.setWidth(pen.widthF());
        stroker.setCapStyle(pen.capStyle());
        stroker.setJoinStyle(pen.joinStyle());
        stroker.setMiterLimit(pen.miterLimit());
        return stroker.createStroke(path);
    }
    void keep(OutlineKey key, const QPainterPath &outline)
    {
        const size_t cost = costOf(key, outline);
        if (m_recentCost + cost > GenerationBudget) {
            m_old = std::move(m_recent);
            m_recent = {};
            m_recentCost = 0;
        }
        m_recentCost += cost;
        m_recent.emplace(std::move(key), outline);
    }

    std::mutex m_mutex;
    std::unordered_map<OutlineKey, QPainterPath, KeyHash> m_recent, m_old;
    size_t m_recentCost = 0;
};

std::array<Shard, 16> &shards()
{
    static std::array<Shard, 16> all;
    return all;
}

} // namespace

void strokePathKeepingOutline(QPainter &painter, const QPainterPath &path, const QPen &pen)
{
    const QTransform world = painter.worldTransform();
    const qreal scale = world.m11();
    // Qt's own way for everything but wide solid lines on raster devices under a uniform
    // scale: there the outline is exactly what its paint engine fills.
    const bool outlined = painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster
                          && world.type() <= QTransform::TxScale && world.m22() == scale && scale > 0
                          && pen.style() == Qt::SolidLine && !pen.isCosmetic() && pen.widthF() * scale > 1
                          && pen.brush().style() == Qt::SolidPattern;
    if (!outlined) {
        painter.strokePath(path, pen);
        return;
    }
    OutlineKey key(path, pen);
    Shard &shard = shards()[key.hash % shards().size()];
    // A path of its own: Qt fills a path through conversions it keeps in the path's shared
    // data without a lock, so the tiles drawing one object at once must not share it.
    const QPainterPath kept = shard.outline(std::move(key), path, pen);
    QPainterPath outline;
    outline.reserve(kept.elementCount() + 1);
    outline.addPath(kept);
    outline.setFillRule(Qt::WindingFill);
    painter.fillPath(outline, pen.brush());
}
