// The benchmarks' big page: 2000 x 2000 points of 10,000 filled and stroked cubic paths at
// random places (a fixed seed), as a document built directly and as the SVG text of the
// same drawing for librsvg and for our import.
#pragma once

#include "document/vek_document.h"
#include "model/vek_obj_path.h"

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QTextStream>

#include <random>
#include <vector>

namespace bigpage {

constexpr int PathCount = 10000;
constexpr float Side = 2000;

struct Shape {
    BezierPath path;
    QColor fill, stroke;
};

inline std::vector<Shape> makeShapes()
{
    std::mt19937 random(2024);
    std::uniform_real_distribution<float> place(30, Side - 30), offset(-30, 30);
    std::uniform_int_distribution<int> channel(0, 255);
    std::vector<Shape> shapes;
    shapes.reserve(PathCount);
    for (int i = 0; i < PathCount; ++i) {
        const Point centre{place(random), place(random)};
        const auto near = [&] { return Point{centre.x + offset(random), centre.y + offset(random)}; };
        Shape s;
        s.path.moveToPoint(near());
        for (int k = 0; k < 3; ++k)
            s.path.curveToPoint(near(), near(), near());
        s.path.closePath();
        s.fill = QColor(channel(random), channel(random), channel(random));
        s.stroke = QColor(channel(random), channel(random), channel(random));
        shapes.push_back(s);
    }
    return shapes;
}

inline const std::vector<Shape> &shapes()
{
    static const std::vector<Shape> all = makeShapes();
    return all;
}

inline Color colourOf(const QColor &c)
{
    return Color::colorWithCalibratedRed(float(c.redF()), float(c.greenF()), float(c.blueF()));
}

// The document: the shapes as path objects, the first shape front-most.
struct Page {
    Page()
    {
        doc.setDrawAreaSizePerPage({Side, Side});
        doc.setNumberOfPages(1);
        doc.undoManager()->disableUndoRegistration();
        for (auto it = shapes().rbegin(); it != shapes().rend(); ++it) {
            auto o = VekObjPath::create();
            o->setBezierPath(it->path);
            o->setBounds(it->path.bounds());
            o->setFillColor(colourOf(it->fill));
            o->setDrawsFill(true);
            o->setObjStrokeColor(colourOf(it->stroke));
            o->setObjLineWidth(1.5f);
            o->setDrawsStroke(true);
            doc.insertObject(o, 0, false);
        }
    }
    VekDocument doc;
};

inline QString svgPathData(const BezierPath &path)
{
    QString d;
    for (const PathElement &e : path.elements()) {
        switch (e.kind) {
        case MoveToBezierPathElement: d += QStringLiteral("M%1 %2").arg(e.points[0].x).arg(e.points[0].y); break;
        case LineToBezierPathElement: d += QStringLiteral("L%1 %2").arg(e.points[0].x).arg(e.points[0].y); break;
        case CurveToBezierPathElement:
            d += QStringLiteral("C%1 %2 %3 %4 %5 %6")
                     .arg(e.points[0].x).arg(e.points[0].y).arg(e.points[1].x)
                     .arg(e.points[1].y).arg(e.points[2].x).arg(e.points[2].y);
            break;
        case ClosePathBezierPathElement: d += QLatin1Char('Z'); break;
        }
    }
    return d;
}

// The same drawing as SVG, back to front.
inline QByteArray svg()
{
    QString text;
    QTextStream out(&text);
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"2000\" height=\"2000\">\n";
    for (auto it = shapes().rbegin(); it != shapes().rend(); ++it)
        out << "<path d=\"" << svgPathData(it->path) << "\" fill=\"" << it->fill.name() << "\" stroke=\""
            << it->stroke.name() << "\" stroke-width=\"1.5\" stroke-miterlimit=\"10\"/>\n";
    out << "</svg>\n";
    out.flush();
    return text.toUtf8();
}

} // namespace bigpage
