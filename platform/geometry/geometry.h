// Points, sizes and rectangles in single-precision floats, and their text forms.
//
// Coordinates are the canvas's flipped view coordinates (y grows downwards) unless a
// caller says otherwise. The text forms "{x, y}", "{w, h}" and "{{x, y}, {w, h}}" are
// what document files and user defaults store; they are always written and read in
// the C locale.
#pragma once

#include <QString>

struct Point {
    float x = 0;
    float y = 0;

    friend bool operator==(Point a, Point b) { return a.x == b.x && a.y == b.y; }
    friend bool operator!=(Point a, Point b) { return !(a == b); }
    friend Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }
    friend Point operator-(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }
    friend Point operator*(float s, Point p) { return {s * p.x, s * p.y}; }
    friend Point operator*(Point p, float s) { return {s * p.x, s * p.y}; }
};

struct Size {
    float width = 0;
    float height = 0;

    friend bool operator==(Size a, Size b) { return a.width == b.width && a.height == b.height; }
    friend bool operator!=(Size a, Size b) { return !(a == b); }
};

struct Rect {
    Point origin;
    Size size;

    Rect() = default;
    Rect(Point o, Size s) : origin(o), size(s) {}
    Rect(float x, float y, float w, float h) : origin{x, y}, size{w, h} {}

    float minX() const { return size.width >= 0 ? origin.x : origin.x + size.width; }
    float maxX() const { return size.width >= 0 ? origin.x + size.width : origin.x; }
    float minY() const { return size.height >= 0 ? origin.y : origin.y + size.height; }
    float maxY() const { return size.height >= 0 ? origin.y + size.height : origin.y; }
    float midX() const { return origin.x + size.width * 0.5f; }
    float midY() const { return origin.y + size.height * 0.5f; }
    float width() const { return size.width; }
    float height() const { return size.height; }

    // A rectangle is empty when either side is zero or negative.
    bool isEmpty() const { return !(size.width > 0 && size.height > 0); }

    friend bool operator==(const Rect &a, const Rect &b) { return a.origin == b.origin && a.size == b.size; }
    friend bool operator!=(const Rect &a, const Rect &b) { return !(a == b); }
};

// The rectangle that holds both; an empty rectangle does not count.
Rect unionRect(const Rect &a, const Rect &b);
// The common part; the zero rectangle when they do not overlap.
Rect intersectionRect(const Rect &a, const Rect &b);
bool intersectsRect(const Rect &a, const Rect &b);
// True when b lies wholly inside a (and b is not empty).
bool containsRect(const Rect &a, const Rect &b);
Rect insetRect(const Rect &r, float dx, float dy);
Rect offsetRect(const Rect &r, float dx, float dy);
// The smallest rectangle with whole-number edges that holds r.
Rect integralRect(const Rect &r);

// A point lies in a rectangle when minX <= x < maxX and minY <= y < maxY; an empty
// rectangle holds no point.
bool pointInRect(Point p, const Rect &r);
// The mouse rule: in flipped coordinates as pointInRect; unflipped, the lower edge is
// excluded and the upper one included (minY < y <= maxY).
bool mouseInRect(Point p, const Rect &r, bool flipped);

float distanceBetweenPoints(Point a, Point b);

// Text forms. Numbers are written in the shortest form that reads back to the same
// float ("{10, 20.5}"); readers take the numbers in order and ignore everything else,
// so "{10,20}", "10 20" and "{ 10.0 , 20 }" all read, and missing numbers are 0.
QString stringFromPoint(Point p);
QString stringFromSize(Size s);
QString stringFromRect(const Rect &r);
Point pointFromString(const QString &text);
Size sizeFromString(const QString &text);
Rect rectFromString(const QString &text);

// The point (-10000, -10000) stands for "no location"; it is compared exactly.
inline constexpr Point NoPoint{-10000.0f, -10000.0f};
