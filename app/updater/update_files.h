// The files of an update: fetching the update list, checking the downloaded archive's
// SHA-256, unpacking it (libarchive) and putting the new program in the place of the running
// one, and the script that starts the new program once the old one has ended.
#pragma once

#include "platform/foundation/property_list.h"

#include <QString>
#include <QUrl>

// Fetches and reads the update list (XML property list); absent when the address is not
// allowed, the fetch fails or times out, or the answer is no property list.
PropertyList fetchUpdateList(const QUrl &url, int timeoutMs = 20000);

// The file's SHA-256 in lower-case hexadecimal; empty when it cannot be read.
QByteArray sha256OfFile(const QString &path);

// Unpacks the archive (tar, compressed or not, zip, ...) into the folder. Refuses, leaving
// nothing behind, an archive with an entry outside the folder (an absolute path or "..") or
// any link or special file. False with the reason.
bool extractUpdateArchive(const QString &archive, const QString &folder, QString *error);

// The program's folder (the one holding bin/vekanto): the parent of the running program's
// folder.
QString runningInstallRoot();
// Whether the program may replace itself there: the folder and its parent belong to the
// user and can be written, and the folder is not one of the system's (/usr, /opt, ...), where
// the package manager installs: such a program is never replaced.
bool canInstallInPlace(const QString &root);
// The folder in the unpacked tree that holds "bin/vekanto"; empty when there is none.
QString findNewProgramRoot(const QString &unpacked);
// Puts `newRoot` in the place of `root`; on failure the old program stays as it was.
bool installInPlace(const QString &newRoot, const QString &root, QString *error);

// The shell script that waits (at most 3,000 times 0.2 s) until the process
// $VEK_PARENT_PID has ended, then starts "$LAUNCH_PATH"; its output is discarded.
QString relaunchScript();
// Starts the script detached for this process and the program at `launchPath`.
bool startRelaunch(const QString &launchPath);
