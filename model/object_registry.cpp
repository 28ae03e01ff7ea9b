// The registry of drawing-object kinds that dictionary forms may name.
#include "model/object_registry.h"

#include "model/vek_obj_format.h"
#include "model/vek_obj_free.h"
#include "model/vek_obj_grid.h"
#include "model/vek_obj_image.h"
#include "model/vek_obj_marker.h"
#include "model/vek_obj_obj.h"
#include "model/vek_obj_path.h"
#include "model/vek_obj_points.h"
#include "model/vek_obj_spaceholder.h"
#include "model/vek_obj_text.h"
#include "model/vek_object.h"

#include <QHash>

namespace {

QHash<QString, ObjectFactory> &registry()
{
    // Every drawing-object kind adds its line here, under the name its className() answers.
    static QHash<QString, ObjectFactory> classes{
        {QStringLiteral("VekObject"), [] { return VekObject::create(); }},
        {QStringLiteral("VekObjPath"), [] { return VekObjPath::create(); }},
        {QStringLiteral("VekObjObj"), [] { return VekObjObj::create(); }},
        {QStringLiteral("VekObjSpaceholder"), [] { return VekObjSpaceholder::create(); }},
        {QStringLiteral("VekObjPoints"), [] { return VekObjPoints::create(); }},
        {QStringLiteral("VekObjFree"), [] { return VekObjFree::create(); }},
        {QStringLiteral("VekObjMarker"), [] { return VekObjMarker::create(); }},
        {QStringLiteral("VekObjFormat"), [] { return VekObjFormat::create(); }},
        {QStringLiteral("VekObjImage"), [] { return VekObjImage::create(); }},
        {QStringLiteral("VekObjText"), [] { return VekObjText::create(); }},
        {QStringLiteral("VekObjGrid"), [] { return VekObjGrid::create(); }},
    };
    return classes;
}

} // namespace

void registerObjectClass(const QString &name, ObjectFactory factory)
{
    if (!name.isEmpty() && factory)
        registry().insert(name, std::move(factory));
}

bool isRegisteredObjectClass(const QString &name)
{
    return registry().contains(name);
}

std::shared_ptr<VekObject> createObjectOfClass(const QString &name)
{
    const auto it = registry().constFind(name);
    return it == registry().constEnd() ? nullptr : (*it)();
}
