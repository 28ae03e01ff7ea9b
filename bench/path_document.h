// A document of many filled curved path objects laid out in rows, for the benchmarks.
#pragma once

#include "document/vek_document.h"
#include "model/vek_obj_path.h"

#include <memory>

inline std::unique_ptr<VekDocument> documentOf(int count)
{
    auto doc = std::make_unique<VekDocument>();
    for (int i = 0; i < count; ++i) {
        auto o = VekObjPath::create();
        const Rect r(float(i % 100) * 20, float(i / 100) * 20, 18, 14);
        BezierPath path;
        path.moveToPoint(r.origin);
        path.curveToPoint({r.maxX(), r.maxY()}, {r.midX(), r.origin.y - 5}, {r.maxX() + 3, r.midY()});
        path.lineToPoint({r.origin.x, r.maxY()});
        path.closePath();
        o->setBezierPath(path);
        o->setBounds(path.bounds());
        o->setFillColor(Color::colorWithCalibratedRed(float(i % 7) / 7, 0.4f, 0.6f));
        o->setDrawsFill(true);
        doc->insertObject(o, i, false);
    }
    doc->undoManager()->removeAllActions();
    return doc;
}
