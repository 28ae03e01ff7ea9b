// Small helpers shared by the files that implement VekObject.
#pragma once

#include "toolkit/cmyk_color.h"

#include <QString>

// Whether a fill or stroke colour of this alpha shows (above 0.09). Compared in single
// precision, so that a colour stored with alpha 0.09 counts as invisible.
inline bool isVisibleAlpha(float alpha)
{
    return alpha > float(ColorAlphaThreshold);
}

// Strings compare equal when both are missing (null) or both hold the same text.
inline bool sameString(const QString &a, const QString &b)
{
    return a.isNull() == b.isNull() && a == b;
}
