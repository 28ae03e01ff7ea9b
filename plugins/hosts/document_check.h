// What the host programs tell the user about a file they were given that they cannot use.
#pragma once

#include <QString>

// Why the file at `path` (its name as the file system holds it) is no readable document:
// it cannot be read, it is not a Vekanto document, or it is one but damaged (cut short, or
// its contents cannot be decoded). Empty when it is a document, with or without metadata.
QString whyNotADocument(const char *path);
