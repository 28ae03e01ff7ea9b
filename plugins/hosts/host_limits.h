// Bounds for a host program run on files it has never seen (file managers run the
// thumbnailer on every file of a folder): memory, processor time and wall-clock time.
// Past a bound the program ends with a message naming the file and a non-zero exit.
#pragma once

#include <QString>

void limitHostResources(const QString &fileForMessages);
