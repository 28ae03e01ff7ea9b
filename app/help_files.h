// The program's help on Linux terms: the readme and the example document are installed with
// the program (share/vekanto/help beside its bin folder, or $VEKANTO_HELP_DIR) and opened
// from the Help menu; on the first run of a new version, what an earlier version left in the
// program's cache folder is cleared and the version is remembered under "version".
#pragma once

#include <QString>

class UserDefaults;

// The folder holding "readme.html" and "example.vek".
QString vekHelpPath();
// $XDG_CACHE_HOME/Vekanto, else ~/.cache/Vekanto.
QString vekCachePath();

// Clears the cache folder when "version" is missing or names another version, then stores
// the running version. A cache path that is a plain file is left alone.
void updateHelpCaches(UserDefaults &defaults, const QString &cacheFolder = vekCachePath());

// The free name for a copy of the example in the folder: "Vekanto_example.vek", else
// "Vekanto_example1.vek", ...
QString exampleCopyPath(const QString &folder);
