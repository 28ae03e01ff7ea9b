// The files of an update: the downloaded archive's SHA-256, unpacking it (libarchive), where
// the running program is installed, and the script that starts the new program once the old
// one has ended.
#pragma once

#include <QString>

// The file's SHA-256 in lower-case hexadecimal; empty when it cannot be read.
QByteArray sha256OfFile(const QString &path);

// Unpacks the archive (tar, compressed or not, zip, ...) into the folder. Refuses, leaving
// nothing behind, an archive with an entry outside the folder (an absolute path or ".."),
// any link or special file, more than 100,000 entries, or contents larger in all than
// `sizeCap` bytes. False with the reason.
inline constexpr qint64 UnpackedSizeCap = qint64(2) << 30;
bool extractUpdateArchive(const QString &archive, const QString &folder, QString *error,
                          qint64 sizeCap = UnpackedSizeCap);

// The program's install prefix (the folder holding bin/vekanto): the parent of the running
// program's folder.
QString runningInstallRoot();
// Whether the program may update its files there: not in one of the system's folders (/usr,
// /opt, ...), where the package manager installs and the program is never replaced. Which
// files it replaces the install's list says (file_replacement.h).
bool canInstallInPlace(const QString &root);
// The folder in the unpacked tree that holds "bin/vekanto"; empty when there is none.
QString findNewProgramRoot(const QString &unpacked);

// The shell script that waits (at most 3,000 times 0.2 s) until the process
// $VEK_PARENT_PID has ended, then starts "$LAUNCH_PATH"; its output is discarded.
QString relaunchScript();
// Starts the script detached for this process and the program at `launchPath`.
bool startRelaunch(const QString &launchPath);
