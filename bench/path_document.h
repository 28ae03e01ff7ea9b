// A document of many filled curved path objects laid out in rows, for the benchmarks.
#pragma once

#include "document/vek_document.h"
#include "model/vek_obj_path.h"
#include "platform/foundation/c_locale.h"

#include <QByteArray>

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

// The drawing of documentOf(count) as SVG: the same curves and fills, for the peers.
inline QByteArray svgOfDocument(int count)
{
    QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"2000\" height=\"2000\">\n";
    for (int i = 0; i < count; ++i) {
        const Rect r(float(i % 100) * 20, float(i / 100) * 20, 18, 14);
        svg += formatC("<path fill=\"rgb(%d,102,153)\" d=\"M%g %g C%g %g %g %g %g %g L%g %g Z\"/>\n",
                       (i % 7) * 255 / 7, r.origin.x, r.origin.y, r.maxX(), r.maxY(), r.midX(),
                       r.origin.y - 5, r.maxX() + 3, r.midY(), r.origin.x, r.maxY())
                   .toUtf8();
    }
    return svg + "</svg>\n";
}
