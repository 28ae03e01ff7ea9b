// The cursors of the tools and editing modes, built on first request and kept: image
// cursors drawn here, the marker cursor in the marker colour with its thickness, the format
// cursor showing the example text of new fields, and the point pen cursor.
#pragma once

#include "platform/color/color.h"
#include "platform/text/attributed_string.h"

#include <QCursor>
#include <QString>

#include <map>
#include <optional>

class ToolCursors {
public:
    enum class Kind { Curve, Line, Move, SelectColumn, SelectRow, ResizeCornerLR, ResizeCornerRL, Pen };

    // One of the image cursors (hot spot at the centre; the pen's at (1, 14)).
    const QCursor &cursor(Kind kind);

    // The marker cursor, built with updateMarkCursor on first request.
    const QCursor &markCursor(const Color &markerColor, float thickness);
    // Rebuilds the marker cursor: the marker picture tinted with the colour, and the
    // thickness (truncated) written at its bottom right.
    void updateMarkCursor(const Color &markerColor, float thickness);
    bool hasMarkCursor() const { return m_mark.has_value(); }
    // The label the marker cursor shows for a thickness.
    static QString markerLabel(float thickness);

    // The cached format cursor unless rebuild is set: a picture of the example text (scaled
    // down to at most 64 pixels, which cursors allow), or the format tool picture for an
    // empty example.
    const QCursor &formatCursor(bool rebuild, const AttributedString &example);

    // The point pen: a small circle in the colour of the selected point and a grey line.
    const QCursor &pointCursor(const Color &selectedPointColor);

private:
    std::map<Kind, QCursor> m_images;
    std::optional<QCursor> m_mark;
    std::optional<QCursor> m_format;
    std::optional<QCursor> m_point;
};
