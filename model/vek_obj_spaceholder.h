// VekObjSpaceholder: a path object standing for the line space of the current page. The text
// container recognises it by its class and moves lines below it instead of around it.
#pragma once

#include "model/vek_obj_path.h"

class VekObjSpaceholder : public VekObjPath {
public:
    explicit VekObjSpaceholder(Passkey key) : VekObjPath(key) {}
    static std::shared_ptr<VekObjSpaceholder> create() { return makeObject<VekObjSpaceholder>(); }
    QString className() const override { return QStringLiteral("VekObjSpaceholder"); }
};
