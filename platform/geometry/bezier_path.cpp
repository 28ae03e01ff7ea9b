// Placeholder while the path class is being written.
#include "platform/geometry/bezier_path.h"
BezierPath::BezierPath() = default;
void BezierPath::moveToPoint(Point p) { m_elements.push_back({MoveToBezierPathElement, {p, {}, {}}}); }
void BezierPath::lineToPoint(Point p) { m_elements.push_back({LineToBezierPathElement, {p, {}, {}}}); }
void BezierPath::transformUsingAffineTransform(const AffineTransform &) {}
