// Runs a piece of a test on a full disk: in a child process with a mount namespace of its
// own, a small tmpfs is mounted over a folder and filled, so that every write into it fails
// with "no space left on device". The mount is gone when the child ends and is never seen
// outside it. Needs the right to make mount namespaces (root, as the tests run in CI);
// elsewhere the caller skips.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>
#include <optional>

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

// Writes into the folder until the disk has no room left.
inline void fillDisk(const QString &folder)
{
    QFile filler(folder + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size()) {
    }
}

// `work` runs in the child with `folder` on a full disk of its own, after `prepare` (run
// on the same disk while it still had room); its answer comes back. Nothing when the
// system allows no private mount.
inline std::optional<QByteArray> onFullDisk(const QString &folder, const std::function<void()> &prepare,
                                            const std::function<QByteArray()> &work)
{
    int channel[2];
    if (pipe(channel) != 0)
        return std::nullopt;
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const bool mounted = unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
                          && mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=64k") == 0;
        if (!mounted)
            _exit(77);
        prepare();
        fillDisk(folder);
        const QByteArray answer = work();
        [[maybe_unused]] const auto written = write(channel[1], answer.constData(), size_t(answer.size()));
        _exit(0);
    }
    close(channel[1]);
    QByteArray answer;
    char buffer[4096];
    for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;)
        answer.append(buffer, n);
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return answer;
}
