// PdfRewriter: atomic writes, object streams, QPDF's check.
#include "platform/pdf/pdf_rewriter.h"
#include "platform/pdf/pdf_document.h"
#include "tests/platform/pdf/pdf_fixtures.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(PdfRewriter, WritesAValidFileAndPacksObjectsOnRequest)
{
    QTemporaryDir dir;
    PdfRewriter pdf;
    ASSERT_TRUE(pdf.openData(handMadeTextPdf()));
    EXPECT_EQ(pdf.pageCount(), 1);
    const QString path = dir.filePath("out.pdf");
    ASSERT_TRUE(pdf.write(path, true));
    QString report;
    EXPECT_TRUE(checkPdfFile(path, &report)) << report.toStdString();
    EXPECT_TRUE(readAll(path).contains("/ObjStm"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.pdf"});
}

TEST(PdfRewriter, AFailedWriteKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.pdf");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old contents");
    }
    PdfRewriter pdf;
    ASSERT_TRUE(pdf.openData(handMadeTextPdf()));
    EXPECT_FALSE(pdf.write(dir.filePath("missing-folder/out.pdf")));
    EXPECT_FALSE(pdf.errorString().isEmpty());

    PdfRewriter unopened;
    EXPECT_FALSE(unopened.write(path));
    EXPECT_EQ(readAll(path), QByteArray("old contents"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.pdf"});
}

TEST(PdfRewriter, OpenFailsOnDamagedInput)
{
    PdfRewriter pdf;
    EXPECT_FALSE(pdf.openData("%PDF-1.4\nthis is not a document"));
    EXPECT_FALSE(pdf.isOpen());
    EXPECT_FALSE(pdf.errorString().isEmpty());
    EXPECT_TRUE(pdf.writeToData().isEmpty());
}

TEST(PdfRewriter, CheckRejectsABrokenFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("broken.pdf");
    QByteArray bytes = handMadeTextPdf();
    bytes.replace("/Pages 2 0 R", "/Pages 9 0 R");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    EXPECT_FALSE(checkPdfFile(path));
    EXPECT_FALSE(checkPdfFile(dir.filePath("absent.pdf")));
}
