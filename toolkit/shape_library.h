// The library of ready-made shapes: fixed outlines built as new Bezier paths.
//
// Shapes are reached by number (`bezierShape`) from the object-set palette; most are
// flipped upright for the page's flipped coordinates and scaled into a 98-point box. The
// library keeps no state: every call builds a new path.
#pragma once

#include "platform/geometry/bezier_path.h"

#include <optional>

struct ShapeLibrary {
    // Shape numbers 0 to 75 and 1000 to 1002; nothing for any other number.
    static std::optional<BezierPath> bezierShape(int n);

    // Parametric shapes.
    static BezierPath line(int angle);
    static BezierPath lines(int n);
    static BezierPath roundedCorner(float radius);
    static BezierPath polygon(int n);
    static BezierPath roundedPolygon(int n);
    static BezierPath star(int n);
    static BezierPath kazaguruma(int n);
    static BezierPath flower(float petalAngle);
    static BezierPath bezierPathXCrossInRect(const Rect &r);
    static BezierPath arrowType(int type, float height, float angle, float direction);

    // Arcs, triangles and rectangles.
    static BezierPath fan();
    static BezierPath pei();
    static BezierPath halfCircle();
    static BezierPath triangle();
    static BezierPath triangle90();
    static BezierPath roundedTriangle();
    static BezierPath roundedRect();

    // Stars and flowers.
    static BezierPath star5fix();
    static BezierPath star8fix();
    static BezierPath flowerline();
    static BezierPath flowerFix();

    // Curves sampled by degree.
    static BezierPath spiral();
    static BezierPath spiralLog();
    static BezierPath lissajous();
    static BezierPath helix();
    static BezierPath helixConical();
    static BezierPath helixCircle();
    static BezierPath bara();
    static BezierPath yotsuba();
    static BezierPath spiralSquare();
    static BezierPath spiralSquareExtend();

    // Fixed outlines.
    static BezierPath heikoshihenkei();
    static BezierPath hishigata();
    static BezierPath daikei();
    static BezierPath card();
    static BezierPath wappen();
    static BezierPath fcTemplateLoop();
    static BezierPath fcTemplateDoc();
    static BezierPath fcTemplateMemory();
    static BezierPath fcTemplateTape();
    static BezierPath fcTemplateDisplay();
    static BezierPath fcTemplateTerminal();
    static BezierPath cross();
    static BezierPath peke();
    static BezierPath prism3();
    static BezierPath cube();
    static BezierPath axis3();
    static BezierPath axis4();
    static BezierPath ensui();
    static BezierPath enchu();
    static BezierPath asteroid();
    static BezierPath arrowHead();
    static BezierPath lenzT();
    static BezierPath lenzO();
    static BezierPath sinCurve();
    static BezierPath heart();
    static BezierPath bottomCurve();
    static BezierPath balloon();
    static BezierPath cloud();
    static BezierPath serifu();
    static BezierPath serifu2();
    static BezierPath xmastree();
    static BezierPath simpleDocIcon();
    static BezierPath arrow();
    static BezierPath house();
    static BezierPath airplane();
    static BezierPath yacht();
    static BezierPath anchor();
    static BezierPath folder();
    static BezierPath hardDisk();
    static BezierPath cmdMark();
};
