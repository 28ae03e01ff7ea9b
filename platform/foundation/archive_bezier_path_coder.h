// Archive coders of Bezier paths: VekBezierPath, our own layout, which the writer uses, and
// a best-effort reader of the platform's NSBezierPath, whose layout no public description
// gives. docs/archive-format.md describes both.
#pragma once

class ArchiveCoderRegistry;

void registerBezierPathCoders(ArchiveCoderRegistry &registry);
