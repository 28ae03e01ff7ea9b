// Writing a whole file at once.
#pragma once

#include <QByteArray>
#include <QString>

// Writes the bytes to the file atomically: the file is replaced only by the complete bytes,
// and a failed write leaves the previous file as it was. Empty bytes are a failure, since a
// writer that produced nothing has failed. On failure *error (when given) tells the user
// why, naming the file: a full disk (or an exhausted quota) is said as such.
bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *error = nullptr);
