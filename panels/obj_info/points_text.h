// The inspector's point rows and the text the user copies them as.
//
// A row is the text "x,y,kind,element,point" (VekObject::pointArrayRelativeTo): kind "M",
// "L", "C" or "Z", a blank for the further points of a curve; a close row has blank
// coordinates.
#pragma once

#include "platform/geometry/geometry.h"

#include <QString>
#include <QStringList>

struct PointRow {
    QString x, y, kind;
    int element = -1;
    int point = -1;
    // A close row has no coordinates.
    bool hasCoordinates() const { return !x.trimmed().isEmpty(); }
};

PointRow parsePointRow(const QString &row);
// The row with its point replaced ("%4.2f" coordinates, the other fields kept).
QString rowWithPoint(const QString &row, Point p);

// How the points are written: the keyword of each kind ("M", "L", "C", "Z" when empty),
// whether keywords, brackets and commas are written, and round brackets in place of curly ones.
struct PointsTextStyle {
    QString move, line, curve, close;
    bool keywords = false;
    bool brackets = false;
    bool commas = false;
    bool round = false;
};

// The rows as text: every element a bracketed group, the points of a curve each in a group
// of their own inside a double one; empty when there are no rows.
QString pointsAsString(const QStringList &rows, const PointsTextStyle &style);
