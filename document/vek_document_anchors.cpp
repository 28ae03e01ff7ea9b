// The document's anchors: named places in text boxes and named objects, which links jump to.
#include "document/vek_document.h"
#include "model/vek_obj_text.h"

#include <algorithm>

namespace {

// Names shorter than two characters stand for no anchor.
bool isAnchorName(const QString &name)
{
    return name.size() > 1;
}

} // namespace

QMap<QString, std::shared_ptr<VekObject>> VekDocument::anchors() const
{
    QMap<QString, std::shared_ptr<VekObject>> found;
    for (const auto &object : _objects) {
        if (auto text = std::dynamic_pointer_cast<VekObjText>(object)) {
            const PropertyList info = text->anchorInfo();
            for (const QString &name : info.keys())
                if (isAnchorName(name))
                    found.insert(name, object);
        } else if (const QString name = object->anchorName(); isAnchorName(name)) {
            found.insert(name, object);
        }
    }
    return found;
}

QStringList VekDocument::anchorNames() const
{
    return anchors().keys();
}

namespace {

// Where the anchor of the name lies on the canvas, in the object that holds it.
Rect anchorRectIn(VekObject &object, const QString &name)
{
    if (auto *text = dynamic_cast<VekObjText *>(&object)) {
        const PropertyList entry = text->anchorInfo().value(name);
        return entry.isAbsent() ? Rect() : rectFromString(entry.stringValue());
    }
    return object.bounds();
}

} // namespace

Rect VekDocument::anchorInView(const QString &name) const
{
    const std::shared_ptr<VekObject> object = anchors().value(name);
    return object ? anchorRectIn(*object, name) : Rect();
}

// One walk over the objects: the rectangles come from the holders already found.
PropertyList VekDocument::anchorsInView() const
{
    PropertyList result = PropertyList::dictionary();
    const auto all = anchors();
    for (auto it = all.begin(); it != all.end(); ++it)
        result.insert(it.key(), PropertyList::fromString(stringFromRect(anchorRectIn(*it.value(), it.key()))));
    return result.count() > 0 ? result : PropertyList();
}
