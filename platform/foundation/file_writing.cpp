#include "platform/foundation/file_writing.h"

#include "platform/foundation/localized_strings.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#include <cerrno>
#include <cstring>

namespace {

// Whether the write failed for want of room: the system said so, or, when no system error
// was kept, the disk holding the file has less room than the bytes need.
bool diskIsFull(const QString &path, int osError, qint64 size)
{
    if (osError == ENOSPC || osError == EDQUOT)
        return true;
    if (osError != 0)
        return false;
    const QStorageInfo disk(QFileInfo(path).absolutePath());
    return disk.isValid() && disk.bytesAvailable() < size;
}

} // namespace

QString fileWriteFailure(const QString &path, const QSaveFile &file, int osError, qint64 size)
{
    const bool nothingToWrite = size == 0;
    const QString shown = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    if (!nothingToWrite && diskIsFull(path, osError, size)) {
        QString message = localizedString(QStringLiteral("The disk is full: \"%1\" could not be saved.")).arg(shown);
        if (QFileInfo::exists(path))
            message += QLatin1Char(' ') + localizedString(QStringLiteral("The file keeps its earlier contents."));
        return message;
    }
    QString why;
    if (nothingToWrite)
        why = localizedString(QStringLiteral("there was nothing to write"));
    else if (file.error() != QFileDevice::NoError)
        why = file.errorString();
    else if (osError != 0)
        why = QString::fromLocal8Bit(std::strerror(osError));
    else
        why = localizedString(QStringLiteral("the data could not be written"));
    return localizedString(QStringLiteral("\"%1\" could not be saved: %2")).arg(shown, why);
}

bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    // Unbuffered: a buffered write that fails only when the commit flushes it (a small file
    // on a full disk) is committed all the same, replacing the file with an empty one. Qt
    // reports a short write without an error of its own (a full disk among them): the
    // system's own error is kept at each step.
    int osError = 0;
    const auto step = [&osError](const auto &operation) {
        errno = 0;
        const bool done = operation();
        if (!done)
            osError = errno;
        return done;
    };
    if (!bytes.isEmpty() && step([&] { return file.open(QIODevice::WriteOnly | QIODevice::Unbuffered); })
        && step([&] { return file.write(bytes) == bytes.size(); }) && step([&] { return file.commit(); }))
        return true;
    if (error)
        *error = fileWriteFailure(path, file, osError, bytes.size());
    return false;
}
