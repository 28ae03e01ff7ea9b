// Tests that a whole-file write replaces the file only with complete, non-empty bytes.
#include "platform/foundation/file_writing.h"
#include "tests/support/full_disk.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(WriteWholeFile, ReplacesTheFileWithTheBytes)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("out.bin"));
    ASSERT_TRUE(writeWholeFile(path, "first version"));
    QString error;
    EXPECT_TRUE(writeWholeFile(path, "second", &error));
    EXPECT_EQ(contentsOf(path), QByteArray("second"));
}

TEST(WriteWholeFile, FailuresLeaveThePreviousFileAndTellWhy)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("out.bin"));
    ASSERT_TRUE(writeWholeFile(path, "kept"));

    QString error;
    EXPECT_FALSE(writeWholeFile(path, QByteArray(), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(contentsOf(path), QByteArray("kept"));

    error.clear();
    EXPECT_FALSE(writeWholeFile(folder.filePath(QStringLiteral("missing/out.bin")), "bytes", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(writeWholeFile(folder.filePath(QStringLiteral("missing/out.bin")), "bytes"));
}

TEST(WriteWholeFile, AFullDiskIsSaidAndNamesTheFile)
{
    // A small write that fails only when it is committed, and one larger than Qt's buffer
    // that fails on the way; each keeps the file as it was.
    for (const qsizetype size : {qsizetype(10), qsizetype(200000)}) {
        SCOPED_TRACE(size);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("kept.vek"));
        const auto answer = onFullDisk(
            folder.path(), [&] { writeWholeFile(path, "earlier contents"); },
            [&] {
                QString error;
                const bool written = writeWholeFile(path, QByteArray(size, 'x'), &error);
                return QByteArray(written ? "written" : "failed") + '\n' + contentsOf(path) + '\n' + error.toUtf8();
            });
        if (!answer)
            GTEST_SKIP() << "no private mount here";
        const QList<QByteArray> lines = answer->split('\n');
        ASSERT_EQ(lines.size(), 3);
        EXPECT_EQ(lines[0], "failed");
        EXPECT_EQ(lines[1], "earlier contents");
        EXPECT_EQ(QString::fromUtf8(lines[2]), QStringLiteral("The disk is full: \"%1\" could not be saved. The file "
                                                              "keeps its earlier contents.")
                                                   .arg(path));
    }
}

} // namespace
