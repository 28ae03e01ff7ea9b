// The thumbnailer as a file manager runs it (the Exec line of its entry) and the metadata
// printer, on documents, on damaged files and on files that are none.
#include "platform/foundation/plist_text_format.h"
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

// The entry's Exec line with %s, %i and %o filled in, as a file manager runs it.
ProgramRun runThumbnailerEntry(int size, const QByteArray &input, const QByteArray &output)
{
    QSettings entry(QStringLiteral(VEK_THUMBNAILER_ENTRY), QSettings::IniFormat);
    entry.beginGroup(QStringLiteral("Thumbnailer Entry"));
    EXPECT_EQ(entry.value(QStringLiteral("TryExec")).toString(), QStringLiteral("vekanto-thumbnailer"));
    EXPECT_TRUE(entry.value(QStringLiteral("MimeType")).toString().contains(QStringLiteral("application/x-vekanto")));
    QStringList words = QProcess::splitCommand(entry.value(QStringLiteral("Exec")).toString());
    EXPECT_EQ(words.takeFirst(), QStringLiteral("vekanto-thumbnailer"));
    std::vector<QByteArray> arguments;
    for (const QString &word : words)
        arguments.push_back(word == QLatin1String("%s")   ? QByteArray::number(size)
                            : word == QLatin1String("%i") ? input
                            : word == QLatin1String("%o") ? output
                                                          : word.toUtf8());
    return runProgram(VEK_THUMBNAILER, arguments);
}

QByteArray inDir(const QTemporaryDir &dir, const QByteArray &name)
{
    return QFile::encodeName(dir.path()) + '/' + name;
}

bool exists(const QByteArray &path)
{
    return readWholeFileAtNativePath(path.constData()).has_value();
}

} // namespace

TEST(HostPrograms, TheThumbnailerEntryWritesAThumbnailOfTheAskedSize)
{
    QTemporaryDir dir;
    auto document = pagesDocument(2);
    const QString input = written(*document, dir, QStringLiteral("doc.vek"));
    const QString output = dir.filePath(QStringLiteral("thumb.png"));
    const ProgramRun result = runThumbnailerEntry(128, QFile::encodeName(input), QFile::encodeName(output));
    EXPECT_EQ(result.exitCode, 0) << result.err.constData();
    const QImage thumbnail(output);
    EXPECT_EQ(thumbnail.size(), QSize(128, 64));
    EXPECT_EQ(thumbnail.pixel(16, 16), qRgb(255, 0, 0));

    const QString pdf = dir.filePath(QStringLiteral("preview.pdf"));
    EXPECT_EQ(runProgram(VEK_THUMBNAILER, {"--preview", QFile::encodeName(input), QFile::encodeName(pdf)}).exitCode, 0);
    EXPECT_TRUE(QFile(pdf).size() > 0);
}

TEST(HostPrograms, NamesThatAreNotUtf8AreReadAndWrittenAsTheyAre)
{
    QTemporaryDir dir;
    auto document = pagesDocument(1);
    document->setTitle(QStringLiteral("Plans"));
    const RemovedAtEnd latin1Name(copiedToLatin1Name(written(*document, dir, QStringLiteral("doc.vek")), dir));
    const RemovedAtEnd thumbnailName(inDir(dir, "th\xe9.png"));
    const QByteArray &input = latin1Name.path, &output = thumbnailName.path;
    const ProgramRun thumbnail = runThumbnailerEntry(64, input, output);
    EXPECT_EQ(thumbnail.exitCode, 0) << thumbnail.err.constData();
    EXPECT_FALSE(QImage::fromData(readWholeFileAtNativePath(output.constData()).value_or("")).isNull());

    const ProgramRun metadata = runProgram(VEK_METADATA, {input});
    EXPECT_EQ(metadata.exitCode, 0) << metadata.err.constData();
    // The name's bytes that are not UTF-8 (a Latin-1 é, 0xff) are kept as \udcXX escapes.
    EXPECT_EQ(metadata.out, "{\"file\":\"" + QFile::encodeName(dir.path()) +
                                "/caf\\udce9 \\udcff.vek\",\"kMDItemTitle\":\"Plans\"}\n");
    const ProgramRun utf8 = runProgram(VEK_METADATA, {inDir(dir, "doc.vek")});
    EXPECT_TRUE(utf8.out.startsWith("{\"file\":\"" + QFile::encodeName(dir.path()) + "/doc.vek\",")) << utf8.out.constData();
}

TEST(HostPrograms, FilesThatAreNoDocumentsOrDamagedFailWithAMessageAndNoOutput)
{
    QTemporaryDir dir;
    auto document = pagesDocument(1);
    document->setAuthor(QStringLiteral("Ada"));
    const QByteArray archive = document->dataOfDocument(false), text = document->dataOfDocument(true);
    const struct {
        const char *name;
        QByteArray bytes;
        const char *reason;
    } cases[] = {
        {"empty.vek", "", "not a Vekanto document"},
        {"words.vek", "just some words", "not a Vekanto document"},
        {"random.vek", QByteArray::fromHex("8f3a00c1d2e4f5a6b7c8d9e0f1a2b3c4d5e6f7081928374655647382"), "not a Vekanto document"},
        {"brace.vek", "{", "damaged"},
        {"truncated.vek", archive.left(archive.size() / 2), "damaged"},
        {"truncated-text.vek", text.left(text.size() / 2), "damaged"},
        {"signature-only.vek", QByteArrayLiteral("\x04\x0bstreamtyped\x81\xe8\x03"), "damaged"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray input = QFile::encodeName(writtenBytes(c.bytes, dir, c.name));
        const QByteArray output = inDir(dir, "out.png");
        const ProgramRun thumbnail = runThumbnailerEntry(64, input, output);
        EXPECT_NE(thumbnail.exitCode, 0);
        EXPECT_TRUE(thumbnail.err.contains(c.name) && thumbnail.err.contains(c.reason)) << thumbnail.err.constData();
        EXPECT_FALSE(exists(output));

        const ProgramRun metadata = runProgram(VEK_METADATA, {input});
        EXPECT_EQ(metadata.exitCode, 1);
        EXPECT_TRUE(metadata.out.isEmpty());
        EXPECT_TRUE(metadata.err.contains(c.name) && metadata.err.contains(c.reason)) << metadata.err.constData();
    }
    EXPECT_NE(runProgram(VEK_THUMBNAILER, {"only-one-argument"}).exitCode, 0);
}

TEST(HostPrograms, AStoredPreviewThatIsNotAPdfIsNotWrittenAsOne)
{
    QTemporaryDir dir;
    auto document = pagesDocument(1);
    PropertyList dictionary = document->vekDocumentDictionaryForObjects(document->objects(), std::nullopt, true);
    dictionary.insert(QStringLiteral("qloption"), PropertyList::fromInt(1));
    for (const QByteArray &stored : {QByteArray("\x89PNG\r\n\x1a\n not a pdf"), QByteArray("%PDF-1.4 cut short")}) {
        SCOPED_TRACE(stored.constData());
        dictionary.insert(QStringLiteral("pdfdata"), PropertyList::fromData(stored));
        const QByteArray input = QFile::encodeName(writtenBytes(textPropertyListData(dictionary), dir, "s.vek"));
        const QByteArray output = inDir(dir, "preview.pdf");
        const ProgramRun run = runProgram(VEK_THUMBNAILER, {"--preview", input, output});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains("s.vek") && run.err.contains("not a PDF")) << run.err.constData();
        EXPECT_FALSE(exists(output));
    }
}

TEST(HostPrograms, TheMetadataPrinterGivesOneJsonObjectPerFile)
{
    QTemporaryDir dir;
    auto document = pagesDocument(1);
    document->setAuthor(QStringLiteral("Ada"));
    document->setKeywords(QStringLiteral("red, green"));
    const QString archive = written(*document, dir, QStringLiteral("a.vek"));
    const QString text = written(*document, dir, QStringLiteral("t.vek"), true);
    const QString plain = written(*pagesDocument(1), dir, QStringLiteral("p.vek"));
    const ProgramRun result =
        runProgram(VEK_METADATA, {QFile::encodeName(archive), QFile::encodeName(text), QFile::encodeName(plain)});
    EXPECT_EQ(result.exitCode, 0) << result.err.constData();
    const QList<QByteArray> lines = result.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 3);
    for (const QByteArray &line : lines.mid(0, 2)) {
        const QJsonObject object = QJsonDocument::fromJson(line).object();
        EXPECT_EQ(object.value("kMDItemAuthors").toArray(), QJsonArray({"Ada"}));
        EXPECT_EQ(object.value("kMDItemKeywords").toArray(), QJsonArray({"red", " green"}));
        EXPECT_FALSE(object.contains("kMDItemTitle"));
    }
    // A document without metadata is a document all the same.
    EXPECT_EQ(QJsonDocument::fromJson(lines[2]).object(), QJsonObject({{"file", plain}}));

    // The good files are printed, the bad one named, and the status tells.
    const ProgramRun mixed = runProgram(VEK_METADATA, {QFile::encodeName(writtenBytes("plain words", dir, "w.txt")),
                                                       QFile::encodeName(archive)});
    EXPECT_EQ(mixed.exitCode, 1);
    EXPECT_TRUE(mixed.err.contains("w.txt"));
    EXPECT_EQ(mixed.out.count('\n'), 1);
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
        const ProgramRun result =
            runProgram(VEK_THUMBNAILER, {"-s", "128", QFile::encodeName(input), QFile::encodeName(output)});
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
