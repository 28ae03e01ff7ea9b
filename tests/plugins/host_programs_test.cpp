// The thumbnailer as a file manager runs it (the Exec line of its entry) and the metadata
// printer, on documents and on files that are not.
#include "tests/plugins/plugin_fixture.h"

#include "platform/foundation/archiving.h"

#include <QBuffer>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>

using namespace pluginfixture;

namespace {

struct ProgramRun {
    int exitCode = -1;
    QByteArray out, err;
};

ProgramRun run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

// The entry's Exec line with %s, %i and %o filled in, as a file manager runs it.
ProgramRun runThumbnailerEntry(int size, const QString &input, const QString &output)
{
    QSettings entry(QStringLiteral(VEK_THUMBNAILER_ENTRY), QSettings::IniFormat);
    entry.beginGroup(QStringLiteral("Thumbnailer Entry"));
    EXPECT_EQ(entry.value(QStringLiteral("TryExec")).toString(), QStringLiteral("vekanto-thumbnailer"));
    EXPECT_TRUE(entry.value(QStringLiteral("MimeType")).toString().contains(QStringLiteral("application/x-vekanto")));
    QStringList words = QProcess::splitCommand(entry.value(QStringLiteral("Exec")).toString());
    for (QString &word : words)
        word.replace(QStringLiteral("%s"), QString::number(size))
            .replace(QStringLiteral("%i"), input)
            .replace(QStringLiteral("%o"), output);
    EXPECT_EQ(words.takeFirst(), QStringLiteral("vekanto-thumbnailer"));
    return run(QStringLiteral(VEK_THUMBNAILER), words);
}

} // namespace

TEST(HostPrograms, TheThumbnailerEntryWritesAThumbnailOfTheAskedSize)
{
    QTemporaryDir dir;
    auto document = pagesDocument(2);
    const QString input = written(*document, dir, QStringLiteral("doc.vek"));
    const QString output = dir.filePath(QStringLiteral("thumb.png"));
    const ProgramRun result = runThumbnailerEntry(128, input, output);
    EXPECT_EQ(result.exitCode, 0) << result.err.constData();
    const QImage thumbnail(output);
    EXPECT_EQ(thumbnail.size(), QSize(128, 64));
    EXPECT_EQ(thumbnail.pixel(16, 16), qRgb(255, 0, 0));

    const QString pdf = dir.filePath(QStringLiteral("preview.pdf"));
    EXPECT_EQ(run(QStringLiteral(VEK_THUMBNAILER), {QStringLiteral("--preview"), input, pdf}).exitCode, 0);
    EXPECT_TRUE(QFile(pdf).size() > 0);
}

TEST(HostPrograms, FilesThatAreNoDocumentsFailWithAMessageAndNoOutput)
{
    QTemporaryDir dir;
    const struct {
        const char *name;
        QByteArray bytes;
    } cases[] = {
        {"empty.vek", ""},
        {"text.vek", "just some words"},
        {"truncated.vek", QByteArray("\x04\x0bstreamtyped\x81\xe8\x03\x84", 16)},
        {"brace.vek", "{"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString output = dir.filePath(QStringLiteral("out.png"));
        const ProgramRun thumbnail = runThumbnailerEntry(64, writtenBytes(c.bytes, dir, c.name), output);
        EXPECT_NE(thumbnail.exitCode, 0);
        EXPECT_TRUE(thumbnail.err.contains(c.name)) << thumbnail.err.constData();
        EXPECT_FALSE(QFile::exists(output));
    }
    EXPECT_NE(run(QStringLiteral(VEK_THUMBNAILER), {QStringLiteral("only-one-argument")}).exitCode, 0);
}

TEST(HostPrograms, TheMetadataPrinterGivesOneJsonObjectPerFile)
{
    QTemporaryDir dir;
    auto document = pagesDocument(1);
    document->setAuthor(QStringLiteral("Ada"));
    document->setKeywords(QStringLiteral("red, green"));
    const QString archive = written(*document, dir, QStringLiteral("a.vek"));
    const QString text = written(*document, dir, QStringLiteral("t.vek"), true);
    const ProgramRun result = run(QStringLiteral(VEK_METADATA), {archive, text});
    EXPECT_EQ(result.exitCode, 0) << result.err.constData();
    const QList<QByteArray> lines = result.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2);
    for (const QByteArray &line : lines) {
        const QJsonObject object = QJsonDocument::fromJson(line).object();
        EXPECT_EQ(object.value("kMDItemAuthors").toArray(), QJsonArray({"Ada"}));
        EXPECT_EQ(object.value("kMDItemKeywords").toArray(), QJsonArray({"red", " green"}));
        EXPECT_FALSE(object.contains("kMDItemTitle"));
    }

    const ProgramRun bad = run(QStringLiteral(VEK_METADATA), {writtenBytes("plain words", dir, "w.txt")});
    EXPECT_NE(bad.exitCode, 0);
    EXPECT_TRUE(bad.err.contains("w.txt"));
}

// A stored thumbnail that fits is the file, byte for byte; one in another format becomes a
// PNG of the same picture.
TEST(HostPrograms, TheThumbnailerWritesAStoredPngThatFitsAsItIs)
{
    QTemporaryDir dir;
    QImage picture(60, 40, QImage::Format_RGB32);
    picture.fill(qRgb(20, 200, 40));
    for (const char *format : {"PNG", "BMP"}) {
        SCOPED_TRACE(format);
        QByteArray stored;
        QBuffer buffer(&stored);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(picture.save(&buffer, format));
        PropertyList dictionary =
            VekDocument::vekDocumentDictionaryFromData(pagesDocument(1)->dataOfDocument(false), nullptr);
        dictionary.insert(QStringLiteral("thumbdata"), PropertyList::fromData(stored));
        const QString input = writtenBytes(*archivedDataWithRootObject(dictionary).value, dir, QStringLiteral("stored.vek"));
        const QString output = dir.filePath(QStringLiteral("thumb.png"));
        const ProgramRun result = run(QStringLiteral(VEK_THUMBNAILER), {QStringLiteral("-s"), QStringLiteral("128"), input, output});
        ASSERT_EQ(result.exitCode, 0) << result.err.constData();
        QFile file(output);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        if (QByteArray(format) == "PNG") {
            EXPECT_EQ(bytes, stored);
        }
        EXPECT_TRUE(bytes.startsWith("\x89PNG"));
        EXPECT_EQ(QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32), picture);
    }
}
