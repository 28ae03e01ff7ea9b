// Writing a whole file at once.
#pragma once

#include <QByteArray>
#include <QString>

class QSaveFile;

// Writes the bytes to the file atomically: the file is replaced only by the complete bytes,
// and a failed write leaves the previous file as it was. Empty bytes are a failure, since a
// writer that produced nothing has failed. On failure *error (when given) tells the user
// why, naming the file: a full disk (or an exhausted quota) is said as such.
bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// What the user is told when writing `size` bytes to `file` (a save file for `path`) failed
// with the system's error `osError` (0 when none was kept): a full disk as such, else the
// reason, naming the file.
QString fileWriteFailure(const QString &path, const QSaveFile &file, int osError, qint64 size);
