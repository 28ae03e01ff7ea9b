// Reading and writing whole files named by bytes that need not be UTF-8.
#include "platform/foundation/native_path_files.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <dirent.h>
#include <unistd.h>

namespace {

// The names in the folder, as bytes.
std::vector<QByteArray> namesIn(const QByteArray &folder)
{
    std::vector<QByteArray> names;
    DIR *dir = opendir(folder.constData());
    while (const dirent *entry = dir ? readdir(dir) : nullptr)
        if (QByteArray(entry->d_name) != "." && QByteArray(entry->d_name) != "..")
            names.emplace_back(entry->d_name);
    if (dir)
        closedir(dir);
    return names;
}

TEST(NativePathFiles, ANameThatIsNotUtf8IsWrittenReplacedAndReadAsItIs)
{
    QTemporaryDir folder;
    const QByteArray dir = QFile::encodeName(folder.path());
    const QByteArray path = dir + "/caf\xe9\xff.bin";
    ASSERT_TRUE(writeWholeFileAtNativePath(path, "first version"));
    QString error;
    EXPECT_TRUE(writeWholeFileAtNativePath(path, "second", &error)) << qPrintable(error);
    EXPECT_EQ(readWholeFileAtNativePath(path.constData()), QByteArray("second"));
    EXPECT_EQ(namesIn(dir), std::vector<QByteArray>{"caf\xe9\xff.bin"});   // nothing left beside it

    // Failures keep the previous file and say why.
    EXPECT_FALSE(writeWholeFileAtNativePath(path, QByteArray(), &error));
    EXPECT_FALSE(error.isEmpty());
    error.clear();
    EXPECT_FALSE(writeWholeFileAtNativePath(dir + "/missing/out.bin", "bytes", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readWholeFileAtNativePath(path.constData()), QByteArray("second"));
    EXPECT_EQ(namesIn(dir).size(), 1u);
    ::unlink(path.constData());   // QTemporaryDir cannot remove a name that is not UTF-8
}

TEST(NativePathFiles, MissingFilesAndFoldersAreNotRead)
{
    QTemporaryDir folder;
    QString error;
    EXPECT_FALSE(readWholeFileAtNativePath(QFile::encodeName(folder.filePath("none")).constData(), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(readWholeFileAtNativePath(QFile::encodeName(folder.path()).constData()));
    QFile empty(folder.filePath("empty"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    EXPECT_EQ(readWholeFileAtNativePath(QFile::encodeName(empty.fileName()).constData()), QByteArray());
}

} // namespace
