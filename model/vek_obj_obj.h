// VekObjObj: a path object made from the shape library; only its class tells it apart.
#pragma once

#include "model/vek_obj_path.h"

class VekObjObj : public VekObjPath {
public:
    explicit VekObjObj(Passkey key) : VekObjPath(key) {}
    static std::shared_ptr<VekObjObj> create() { return makeObject<VekObjObj>(); }
    QString className() const override { return QStringLiteral("VekObjObj"); }
};
