// Reading the list of installed files and checking it against the disk.
#include "app/updater/installed_files.h"

#include "app/updater/update_files.h"

#include <QFile>
#include <QFileInfo>

QString installedFilesListPath(const QString &root)
{
    return root + QLatin1Char('/') + InstalledFilesListName;
}

bool isSafeRelativePath(const QString &path)
{
    if (path.isEmpty() || path.startsWith(QLatin1Char('/')))
        return false;
    for (const QString &part : path.split(QLatin1Char('/')))
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return false;
    return true;
}

namespace {

bool isSha256Hex(const QByteArray &text)
{
    if (text.size() != 64)
        return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

} // namespace

std::optional<QList<InstalledFile>> readInstalledFiles(const QString &root, QString *error)
{
    QFile file(installedFilesListPath(root));
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("The list of installed files %1 is missing.").arg(file.fileName());
        return std::nullopt;
    }
    QList<InstalledFile> files;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.isEmpty())
            continue;
        const InstalledFile entry{QFile::decodeName(line.mid(66)), line.left(64)};
        if (line.mid(64, 2) != "  " || !isSha256Hex(entry.sha256) || !isSafeRelativePath(entry.path)
            || entry.path == InstalledFilesListName) {
            *error = QStringLiteral("The list of installed files %1 is damaged.").arg(file.fileName());
            return std::nullopt;
        }
        files.append(entry);
    }
    if (files.isEmpty()) {
        *error = QStringLiteral("The list of installed files %1 is empty.").arg(file.fileName());
        return std::nullopt;
    }
    return files;
}

bool filesMatchList(const QString &root, const QList<InstalledFile> &files, QString *error)
{
    for (const InstalledFile &file : files) {
        const QString path = root + QLatin1Char('/') + file.path;
        const QFileInfo info(path);
        if (!info.isFile() || info.isSymLink() || sha256OfFile(path) != file.sha256) {
            *error = QStringLiteral("%1 is not the file the install wrote.").arg(path);
            return false;
        }
    }
    return true;
}
