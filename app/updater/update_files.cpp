// Checking and unpacking an update, and starting the new program.
#include "app/updater/update_files.h"

#include <archive.h>
#include <archive_entry.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

QByteArray sha256OfFile(const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    return hash.result().toHex();
}

namespace {

constexpr int MaxUpdateEntries = 100000;

struct ArchiveReader {
    archive *handle = archive_read_new();
    ~ArchiveReader() { archive_read_free(handle); }
};

// An entry stays inside the folder: relative, no "..", no empty name.
bool isSafeEntryPath(const QString &name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')))
        return false;
    for (const QString &part : name.split(QLatin1Char('/'), Qt::SkipEmptyParts))
        if (part == QLatin1String(".."))
            return false;
    return true;
}

// Copies the entry's data; `budget` is what the whole archive may still unpack to.
bool copyData(archive *in, QFile &out, qint64 &budget)
{
    const void *block;
    size_t size;
    la_int64_t offset;
    for (;;) {
        const int status = archive_read_data_block(in, &block, &size, &offset);
        if (status == ARCHIVE_EOF)
            return true;
        // Sparse entries count with their holes, as they take that room once unpacked.
        budget -= qint64(offset) + qint64(size) - out.size();
        if (status != ARCHIVE_OK || budget < 0 || !out.seek(offset)
            || out.write(static_cast<const char *>(block), qint64(size)) != qint64(size))
            return false;
    }
}

} // namespace

bool extractUpdateArchive(const QString &archivePath, const QString &folder, QString *error, qint64 sizeCap)
{
    const auto refuse = [&](const QString &reason) {
        QDir(folder).removeRecursively();
        *error = reason;
        return false;
    };
    if (!QDir().mkpath(folder))
        return refuse(QStringLiteral("The folder for the update cannot be made."));
    ArchiveReader reader;
    archive_read_support_filter_all(reader.handle);
    archive_read_support_format_all(reader.handle);
    if (archive_read_open_filename(reader.handle, QFile::encodeName(archivePath).constData(), 65536) != ARCHIVE_OK)
        return refuse(QStringLiteral("The update is no archive."));
    const QDir target(folder);
    qint64 budget = sizeCap;
    archive_entry *entry;
    int status;
    int entries = 0;
    while ((status = archive_read_next_header(reader.handle, &entry)) == ARCHIVE_OK) {
        // Empty files and folders take room too: their number is bounded as well.
        if (++entries > MaxUpdateEntries)
            return refuse(QStringLiteral("The update holds more than %1 files.").arg(MaxUpdateEntries));
        const QString name = QString::fromUtf8(archive_entry_pathname_utf8(entry) ? archive_entry_pathname_utf8(entry)
                                                                                  : archive_entry_pathname(entry));
        if (!isSafeEntryPath(name))
            return refuse(QStringLiteral("The update holds a file outside its folder: %1").arg(name));
        const mode_t type = archive_entry_filetype(entry);
        if (archive_entry_hardlink(entry) || archive_entry_symlink(entry) || (type != AE_IFREG && type != AE_IFDIR))
            return refuse(QStringLiteral("The update holds a link or a special file: %1").arg(name));
        const QString path = target.filePath(name);
        if (type == AE_IFDIR) {
            if (!QDir().mkpath(path))
                return refuse(QStringLiteral("The update cannot be unpacked."));
            continue;
        }
        QDir().mkpath(QFileInfo(path).path());
        QFile out(path);
        if (archive_entry_size_is_set(entry) && archive_entry_size(entry) > budget)
            return refuse(QStringLiteral("The update unpacks to more than %1 MB.").arg(sizeCap >> 20));
        if (!out.open(QIODevice::WriteOnly) || !copyData(reader.handle, out, budget))
            return refuse(budget < 0 ? QStringLiteral("The update unpacks to more than %1 MB.").arg(sizeCap >> 20)
                                     : QStringLiteral("The update cannot be unpacked."));
        // Executables stay executable; no set-user or set-group bits are taken over.
        QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                               | QFileDevice::ReadGroup | QFileDevice::ReadOther;
        if (archive_entry_perm(entry) & 0100)
            permissions |= QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
        out.setPermissions(permissions);
    }
    if (status != ARCHIVE_EOF)
        return refuse(QStringLiteral("The update archive is damaged."));
    return true;
}

QString runningInstallRoot()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/.."));
}

bool canInstallInPlace(const QString &root)
{
    // What the package manager installs lives in the system's folders: never replaced there,
    // not even by the superuser.
    const QString canonical = QFileInfo(root).canonicalFilePath();
    for (const char *system : {"/usr", "/bin", "/sbin", "/lib", "/lib64", "/etc", "/opt", "/snap", "/var"})
        if (canonical == QLatin1String(system) || canonical.startsWith(QLatin1String(system) + QLatin1Char('/')))
            return false;
    return QFileInfo(root).isDir();
}

QString findNewProgramRoot(const QString &unpacked)
{
    QString found;
    QDirIterator it(unpacked, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo file(it.next());
        if (file.fileName() == QLatin1String("vekanto") && file.dir().dirName() == QLatin1String("bin"))
            found = QDir::cleanPath(file.absolutePath() + QStringLiteral("/.."));
    }
    return found;
}

QString relaunchScript()
{
    return QStringLiteral("( for i in $(seq 3000); do kill -0 \"$VEK_PARENT_PID\" 2>/dev/null || break; sleep 0.2; done; "
                          "exec \"$LAUNCH_PATH\" ) >/dev/null 2>&1 </dev/null &");
}

bool startRelaunch(const QString &launchPath)
{
    QProcess script;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LAUNCH_PATH"), launchPath);
    environment.insert(QStringLiteral("VEK_PARENT_PID"), QString::number(QCoreApplication::applicationPid()));
    script.setProcessEnvironment(environment);
    script.setProgram(QStringLiteral("/bin/bash"));
    script.setArguments({QStringLiteral("-c"), relaunchScript()});
    return script.startDetached();
}
