// What the layout manager's files share about a laid-out paragraph.
#pragma once

#include "platform/text/layout_manager.h"
#include "platform/text/paragraph_style.h"

#include <QTextLayout>

#include <memory>

struct LayoutManager::Paragraph {
    TextRange range;          // with the separator
    int textLength = 0;       // without it
    ParagraphStyle style;
    std::unique_ptr<QTextLayout> layout;
};

class QGlyphRun;
class QPainterPath;
struct TextAttributes;

// The outlines of a glyph run set on a line whose baseline is at `baseline`, with the
// container at origin, raised by the run's baseline offset and slanted about the baseline
// by its obliqueness (text_drawing.cpp).
QPainterPath runPath(const QGlyphRun &run, float baseline, const TextAttributes &a, QPointF origin);
