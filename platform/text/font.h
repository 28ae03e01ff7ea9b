// A font named by its PostScript name at a point size: the value text runs carry.
//
// Resolving the name to a face on this machine, and the metrics, are the job of
// font_registry.h; this value only names the font so that it can be stored, compared
// and written to RTF without touching the font system.
#pragma once

#include <QString>

struct Font {
    QString name;      // PostScript name, e.g. "Helvetica-Bold"
    float size = 12;   // points

    friend bool operator==(const Font &a, const Font &b) { return a.name == b.name && a.size == b.size; }
    friend bool operator!=(const Font &a, const Font &b) { return !(a == b); }
};
