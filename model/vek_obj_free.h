// VekObjFree: the path drawn free-hand, thinned while it is captured and smoothed when the
// mouse goes up.
#pragma once

#include "model/vek_obj_path.h"

class VekObjFree : public VekObjPath {
public:
    explicit VekObjFree(Passkey key) : VekObjPath(key) {}
    static std::shared_ptr<VekObjFree> create();

    QString className() const override { return QStringLiteral("VekObjFree"); }

    // Records the stroke: the path shows every captured point while the mouse is down;
    // afterwards the points kept by the thinning, newest first, are smoothed and refined
    // once by four-point subdivision into a polyline. Answers whether the path has more
    // than one element.
    bool createWithEvent(const MouseEvent &event, CanvasServices *view) override;
};
