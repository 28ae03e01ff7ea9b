// Saved filter stacks: XML property-list files in the "filters" folder of the support folder,
// one a stack, named after the name the user gave it.
#pragma once

#include "platform/foundation/property_list.h"

#include <QString>

#include <vector>

// The folder of the saved stacks: "filters" in the support folder, without a final slash.
QString savedFiltersFolder();

// A path for a new stack file: `path` itself when nothing is there, else the first free
// "<name>_<n>.plist" (n from 1) in the filters folder, <name> being path's base name. The
// folder is made when missing (with the support folder); when it cannot be, `path` comes
// back unchanged, and writing there fails.
QString confirmFilterPathNotExisting(const QString &path);

// The file name a typed stack name gives, without the extension: slashes become dashes and
// leading dots go, so that a name never leaves the folder or hides its file. Empty when
// nothing is left.
QString filterFileBaseName(const QString &typedName);

struct SavedFilterStack {
    QString title;   // the path under the folder without the extension
    QString path;
};
// Every ".plist" file under the filters folder, subfolders included, by title.
std::vector<SavedFilterStack> readinSavedFilters();

// Writes the stack atomically; false on failure.
bool writeFilterStack(const PropertyList &stack, const QString &path);
// The stack in the file; absent when it cannot be read or holds no array.
PropertyList readFilterStack(const QString &path);

// Saves the stack under the typed name at a free path; the path, or empty on failure.
QString saveFilterStack(const PropertyList &stack, const QString &typedName);
// Gives the saved stack at `oldPath` the typed name: its file moves to a free path of that
// name (or, when the file has gone, the current stack, if it has entries, is saved there).
// The new path, or empty when the name is the file's own or nothing could be written.
QString renameSavedFilterStack(const QString &oldPath, const QString &typedName, const PropertyList &currentStack);
