// What keeps the recently used colours, font names and font sizes that the document's
// toolbar offers again (the toolbar's pop-ups; they live in the user defaults).
#pragma once

#include "platform/color/color.h"

#include <QString>

class RecentEntriesKeeper {
public:
    virtual ~RecentEntriesKeeper() = default;
    virtual void updateMyColorWith(const Color &color) = 0;
    virtual void updateMyFontWith(const QString &fontName) = 0;
    virtual void updateMySizeWith(float size) = 0;
};
