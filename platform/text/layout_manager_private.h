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
