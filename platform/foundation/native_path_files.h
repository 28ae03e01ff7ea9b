// Files named by the bytes the file system holds. Such a name need not be valid UTF-8, and
// Qt's file names (QString) cannot carry it there and back, so programs that are handed
// file names by others (plug-ins, command-line tools) keep them as bytes and use these.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The whole file; absent when it cannot be opened or read, with *error (when given) saying
// why. Uses no Qt object, so it may run on any thread of any program.
std::optional<QByteArray> readWholeFileAtNativePath(const char *path, QString *error = nullptr);

// Writes the bytes atomically, as writeWholeFile does: beside the file first, then renamed
// over it, so a failure leaves the previous file as it was. Empty bytes are a failure.
bool writeWholeFileAtNativePath(const QByteArray &path, const QByteArray &bytes, QString *error = nullptr);

// The name as text for messages (bytes that are not UTF-8 show as replacement characters).
inline QString nativePathForMessages(const QByteArray &path)
{
    return QString::fromUtf8(path);
}
