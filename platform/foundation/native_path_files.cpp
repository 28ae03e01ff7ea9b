#include "platform/foundation/native_path_files.h"

#include <QRandomGenerator>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool setError(QString *error, int code)
{
    if (error)
        *error = qt_error_string(code);
    return false;
}

bool writeAll(int descriptor, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(descriptor, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

} // namespace

std::optional<QByteArray> readWholeFileAtNativePath(const char *path, QString *error)
{
    const int descriptor = ::open(path, O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        setError(error, errno);
        return std::nullopt;
    }
    struct stat status {};
    QByteArray data;
    if (::fstat(descriptor, &status) == 0 && status.st_size > 0)
        data.reserve(qsizetype(status.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(descriptor, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            setError(error, errno);
            ::close(descriptor);
            return std::nullopt;
        }
        if (got == 0)
            break;
        data.append(chunk, got);
    }
    ::close(descriptor);
    return data;
}

bool writeWholeFileAtNativePath(const QByteArray &path, const QByteArray &bytes, QString *error)
{
    if (bytes.isEmpty()) {
        if (error)
            *error = QStringLiteral("there is nothing to write");
        return false;
    }
    // A name of our own beside the file; the kernel applies the user's umask to 0666.
    QByteArray temporary;
    int descriptor = -1;
    for (int attempt = 0; attempt < 100 && descriptor < 0; ++attempt) {
        temporary = path + ".part-" + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        descriptor = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor < 0 && errno != EEXIST)
            break;
    }
    if (descriptor < 0)
        return setError(error, errno);
    const bool written = writeAll(descriptor, bytes) && ::fsync(descriptor) == 0;
    const int writeError = errno;
    if (::close(descriptor) == 0 && written && ::rename(temporary.constData(), path.constData()) == 0)
        return true;
    const int failure = written ? errno : writeError;
    ::unlink(temporary.constData());
    return setError(error, failure);
}
