// What the updater's tests build installs and updates from: files written under a prefix
// with the list of installed files, an archive of a tree, a snapshot of every file under a
// folder to compare byte for byte, and an environment variable set for a test's length.
#pragma once

#include "app/updater/installed_files.h"

#include <archive.h>
#include <archive_entry.h>

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <map>
#include <vector>

// Sets an environment variable for the life of a test.
class ScopedVariable {
public:
    ScopedVariable(const char *name, const QByteArray &value) : m_name(name), m_old(qgetenv(name)), m_had(qEnvironmentVariableIsSet(name))
    {
        qputenv(name, value);
    }
    ~ScopedVariable()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    QByteArray m_old;
    bool m_had;
};

using FileTree = std::map<QString, QByteArray>;   // path below the folder -> contents

inline void writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(contents), contents.size());
}

inline QByteArray fileContents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every file below the folder (links and special files too, by their name).
inline FileTree snapshot(const QString &folder)
{
    FileTree files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files[QDir(folder).relativeFilePath(path)] = fileContents(path);
    }
    return files;
}

inline void writeFiles(const QString &root, const FileTree &files)
{
    for (const auto &[path, contents] : files)
        writeFile(root + QLatin1Char('/') + path, contents);
}

// The list of installed files naming these paths below the prefix, as the install writes it.
inline QByteArray installedFilesList(const QString &root, const QStringList &paths)
{
    QByteArray list;
    for (const QString &path : paths)
        list += QCryptographicHash::hash(fileContents(root + QLatin1Char('/') + path), QCryptographicHash::Sha256).toHex()
                + "  " + QFile::encodeName(path) + '\n';
    return list;
}

// Writes the files under the prefix and the list naming them.
inline void writeInstall(const QString &root, const FileTree &files)
{
    QStringList paths;
    for (const auto &[path, contents] : files)
        paths << path;
    writeFiles(root, files);
    writeFile(installedFilesListPath(root), installedFilesList(root, paths));
}

struct ArchiveEntry {
    QByteArray path;
    QByteArray contents;
    bool symlink = false;
};

// A tar of the entries, gzip-compressed unless said otherwise.
inline QByteArray tarOf(const std::vector<ArchiveEntry> &entries, bool compressed = true)
{
    qsizetype room = 1 << 20;
    for (const ArchiveEntry &e : entries)
        room += e.contents.size() + 1024;
    QByteArray out(room, '\0');
    size_t used = 0;
    archive *a = archive_write_new();
    archive_write_set_format_pax_restricted(a);
    if (compressed)
        archive_write_add_filter_gzip(a);
    archive_write_open_memory(a, out.data(), size_t(out.size()), &used);
    for (const ArchiveEntry &e : entries) {
        archive_entry *entry = archive_entry_new();
        archive_entry_set_pathname(entry, e.path.constData());
        if (e.symlink) {
            archive_entry_set_filetype(entry, AE_IFLNK);
            archive_entry_set_symlink(entry, e.contents.constData());
        } else {
            archive_entry_set_filetype(entry, AE_IFREG);
            archive_entry_set_size(entry, e.contents.size());
        }
        archive_entry_set_perm(entry, 0755);
        archive_write_header(a, entry);
        if (!e.symlink)
            archive_write_data(a, e.contents.constData(), size_t(e.contents.size()));
        archive_entry_free(entry);
    }
    archive_write_close(a);
    archive_write_free(a);
    out.resize(qsizetype(used));
    return out;
}

// A tar of every file below the folder, each under `top`/.
inline QByteArray tarOfFolder(const QString &folder, const QByteArray &top, bool compressed = true)
{
    std::vector<ArchiveEntry> entries;
    for (const auto &[path, contents] : snapshot(folder))
        entries.push_back({top + '/' + QFile::encodeName(path), contents});
    return tarOf(entries, compressed);
}
