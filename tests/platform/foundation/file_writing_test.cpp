// Tests that a whole-file write replaces the file only with complete, non-empty bytes.
#include "platform/foundation/file_writing.h"

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

} // namespace
