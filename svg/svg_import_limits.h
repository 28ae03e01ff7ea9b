// The bounds one SVG import keeps to, so that no file makes it take unbounded time or memory.
#pragma once

#include <QtGlobal>

// Elements visited (copies made by `use` included) and nesting depth of one walk.
inline constexpr int SvgMaximumElements = 2000000;
inline constexpr int SvgMaximumDepth = 512;
// The most objects one import makes; a file holding more is refused.
inline constexpr int SvgMaximumObjects = 150000;
// Elements all `use` instances together may copy (the groups holding them included).
inline constexpr qint64 SvgMaximumUseCopiedElements = 150000;

// The defaults are the application's; the fuzz target keeps to smaller ones, so that a file
// built to multiply its content is refused after a fraction of the work (the import takes the
// same paths either way).
struct SvgImportLimits {
    int elements = SvgMaximumElements;
    int depth = SvgMaximumDepth;
    int objects = SvgMaximumObjects;
    qint64 useCopiedElements = SvgMaximumUseCopiedElements;
};
