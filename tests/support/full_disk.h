// Runs a piece of a test on a full disk: the calling thread moves into a mount namespace of
// its own, where a small tmpfs is mounted over a folder and filled, so that every write into
// it fails with "no space left on device"; afterwards the thread goes back to the namespace
// it came from. Nothing is seen outside the thread, and the mount goes with the namespace
// (also when the test dies). The writes under test happen on the calling thread. Needs the
// right to make mount namespaces (root, as the tests run in CI); elsewhere the caller skips.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>
#include <optional>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
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

// `work` runs with `folder` on a full disk of its own, after `prepare` (run on the same disk
// while it still had room); its answer comes back. Nothing when the system allows no
// private mount.
inline std::optional<QByteArray> onFullDisk(const QString &folder, const std::function<void()> &prepare,
                                            const std::function<QByteArray()> &work)
{
    // /proc/thread-self: a thread may be in a namespace other than the process's first thread.
    const int original = open("/proc/thread-self/ns/mnt", O_RDONLY | O_CLOEXEC);
    if (original < 0)
        return std::nullopt;
    const QByteArray mountPoint = QFile::encodeName(folder);
    std::optional<QByteArray> answer;
    if (unshare(CLONE_NEWNS) == 0) {
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
            && mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=64k") == 0) {
            prepare();
            fillDisk(folder);
            answer = work();
            umount2(mountPoint.constData(), MNT_DETACH);
        }
        setns(original, CLONE_NEWNS);
    }
    close(original);
    return answer;
}
