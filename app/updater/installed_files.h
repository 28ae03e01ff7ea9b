// The list of the files an install wrote ("share/vekanto/installed-files" under the install
// prefix, written by `cmake --install`): one line per file, its SHA-256 in hexadecimal, two
// spaces and its path relative to the prefix. The updater replaces only the files this list
// names, and only when every one of them is still what the install wrote.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

struct InstalledFile {
    QString path;        // relative to the prefix
    QByteArray sha256;   // lower-case hexadecimal
};

// The list's place under a prefix.
QString installedFilesListPath(const QString &root);
inline const QString InstalledFilesListName = QStringLiteral("share/vekanto/installed-files");

// A relative path that stays below the prefix: no "..", ".", empty part or leading "/".
bool isSafeRelativePath(const QString &path);

// The list under the prefix; nothing (with the reason) when it is missing, unreadable or
// holds a line that is no hash and safe path.
std::optional<QList<InstalledFile>> readInstalledFiles(const QString &root, QString *error);
// Whether every listed file under the prefix is a plain file with the listed hash; the reason
// names the first that is not.
bool filesMatchList(const QString &root, const QList<InstalledFile> &files, QString *error);
