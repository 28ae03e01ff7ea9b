// The preferences the export, save-pages and text export panels share: whether to show the
// written file in the file manager ("showInFinder" of "prefs") and the last export format
// ("lastSaveFormat" of "lastStates").
#pragma once

#include <QString>

bool showInFinderPreference();
void setShowInFinderPreference(bool show);
QString lastSaveFormatPreference();
void setLastSaveFormatPreference(const QString &format);

// Shows the file in the desktop's file manager (its folder).
void revealInFileManager(const QString &path);
