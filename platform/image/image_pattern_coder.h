// The archived form of pattern colours: our own class VekPatternColor (version 1) holding the
// tile image as PNG data (docs/archive-format.md). Registered at start-up, after which pattern
// colours archive and unarchive like any other colour (in colour lists, for example).
#pragma once

class ArchiveCoderRegistry;

void registerPatternColorCoders(ArchiveCoderRegistry &registry);
