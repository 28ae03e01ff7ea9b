// Archive coders of Bezier paths: the platform's NSBezierPath, written and read, and
// VekBezierPath, our own layout of earlier files, still read. docs/archive-format.md
// describes both.
#pragma once

class ArchiveCoderRegistry;

void registerBezierPathCoders(ArchiveCoderRegistry &registry);
