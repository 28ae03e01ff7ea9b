// What the object sets are made of besides their files: the default set of the shape
// library's outlines and the preview image of an item.
#include "app/object_sets/object_set_store.h"

#include "model/vek_obj_path.h"
#include "platform/foundation/localized_strings.h"
#include "platform/graphics/color_conversion.h"
#include "platform/graphics/path_conversion.h"
#include "toolkit/shape_library.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int CellImageSide = 23;

std::shared_ptr<VekObjPath> pathObjectOfShape(int number)
{
    const std::optional<BezierPath> shape = ShapeLibrary::bezierShape(number);
    if (!shape)
        return nullptr;
    const auto object = VekObjPath::create();
    object->setBezierPath(*shape);
    const Rect b = object->bounds();
    if (std::abs(std::trunc(b.origin.x)) > 1 || std::abs(std::trunc(b.origin.y)) > 1)
        object->setBounds(Rect(0, 0, b.width(), b.height()));
    return object;
}

QColor qColorOf(const Color &color, float alpha = 1)
{
    QColor converted = toQColor(color);
    converted.setAlphaF(converted.alphaF() * alpha);
    return converted;
}

} // namespace

QString ObjectSetStore::addDefaultSet()
{
    ObjectSetItems items;
    for (int i = 0; i <= 75; ++i) {
        const auto first = pathObjectOfShape(i);
        if (!first)
            continue;
        std::vector<std::shared_ptr<VekObject>> objects;
        // The flow-chart shapes 40 to 43 carry a second outline in front of the first.
        const int companion = i == 40 || i == 41 ? 1002 : i == 42 ? 1000 : i == 43 ? 1001 : -1;
        if (const auto second = companion >= 0 ? pathObjectOfShape(companion) : nullptr) {
            if (companion == 1002)
                second->moveBy(0, second->bounds().height() * -2 + first->bounds().height());
            objects.push_back(second);
        }
        objects.push_back(first);
        if (auto item = itemWith(std::move(objects)))
            items.push_back(std::move(*item));
    }
    const QString name = freeNameNumbered(localizedString(QStringLiteral("default")));
    m_sets[name] = std::move(items);
    return name;
}

QImage ObjectSetStore::cellImageWith(const std::vector<std::shared_ptr<VekObject>> &objects)
{
    if (objects.empty())
        return {};
    Rect united = objects.front()->bounds();
    for (const auto &object : objects)
        united = unionRect(united, object->bounds());
    if (united.width() <= 0 && united.height() <= 0)
        return {};
    united.size.width = std::max(united.width(), 1.0f);
    united.size.height = std::max(united.height(), 1.0f);

    const float room = CellImageSide - 2;
    const float scale = room / std::max(united.width(), united.height());
    const float dx = (room - united.width() * scale) * 0.5f, dy = (room - united.height() * scale) * 0.5f;
    QImage image(CellImageSide, CellImageSide, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const auto &object : objects) {
        if (!object->hasEditablePath())
            continue;
        QTransform place;
        place.translate(1 + dx - united.origin.x * scale, 1 + dy - united.origin.y * scale);
        place.scale(scale, scale);
        QPainterPath path = place.map(toQPainterPath(object->bezierPath()));
        path.setFillRule(object->fillRule() == 1 ? Qt::OddEvenFill : Qt::WindingFill);
        if (object->drawsFill() && object->canDrawFill())
            painter.fillPath(path, qColorOf(object->fillColor(), std::min(object->fillAlpha(), 1.0f)));
        if (object->drawsStroke() && object->canDrawStroke())
            painter.strokePath(path, QPen(qColorOf(object->strokeColor()), 1));
    }
    return image;
}
