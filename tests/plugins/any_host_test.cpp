// The plug-ins in every kind of host: a plain C program, a Qt program without GUI and a Qt
// GUI program, each loading both libraries with dlopen and asking for thumbnails, previews
// and metadata of documents holding every kind of object from six threads at once.
#include "tests/export/export_fixture.h"
#include "tests/plugins/plugin_fixture.h"

#include <QImage>

using namespace pluginfixture;

TEST(AnyHost, EveryHostGetsTheSameThumbnailsPreviewsAndMetadataFromSixThreads)
{
    QTemporaryDir dir;
    auto document = everyKindDocument();
    const QString archive = written(*document, dir, QStringLiteral("every.vek"));
    const QString text = written(*document, dir, QStringLiteral("every-text.vek"), true);
    const RemovedAtEnd latin1Name(copiedToLatin1Name(archive, dir));
    // Two pages with a background PDF page, links and an object repeated on every page.
    exportfixture::Document withBackground;
    withBackground.doc.setAuthor(QStringLiteral("Ada"));
    withBackground.doc.setTitle(QStringLiteral("Every kind"));
    const QString background = written(withBackground.doc, dir, QStringLiteral("background.vek"));
    const std::vector<QByteArray> files = {QFile::encodeName(archive), latin1Name.path, QFile::encodeName(text),
                                           QFile::encodeName(background)};
    // What a Qt GUI program that loads the plug-in itself gets.
    std::vector<QImage> expected;
    for (const QByteArray &file : files) {
        expected.push_back(QImage::fromData(generate(file, false, 128).data));
        ASSERT_FALSE(expected.back().isNull());
    }

    // The Qt host without GUI has the thumbnailer draw in a process of its own for each
    // answer, so it asks fewer times, about the first two files.
    const struct {
        const char *program, *threads, *rounds;
        size_t files;
    } hosts[] = {{"plugin_c_host", "6", "2", files.size()},
                 {"plugin_qt_Gui_host", "6", "2", files.size()},
                 {"plugin_qt_Core_host", "2", "1", 2}};
    for (const auto &host : hosts) {
        SCOPED_TRACE(host.program);
        QTemporaryDir out;
        std::vector<QByteArray> arguments = {VEK_PLUGIN_DIR, host.threads, host.rounds, QFile::encodeName(out.path())};
        arguments.insert(arguments.end(), files.begin(), files.begin() + qsizetype(host.files));
        const ProgramRun run = runProgram(VEK_PLUGIN_HOSTS "/" + QByteArray(host.program), arguments);
        ASSERT_EQ(run.exitCode, 0) << run.err.constData();
        for (size_t i = 0; i < host.files; ++i) {
            SCOPED_TRACE(files[i].constData());
            const QImage thumbnail(out.filePath(QStringLiteral("%1.png").arg(i)));
            EXPECT_EQ(thumbnail.convertToFormat(expected[i].format()), expected[i]);
            QFile metadata(out.filePath(QStringLiteral("%1.txt").arg(i)));
            ASSERT_TRUE(metadata.open(QIODevice::ReadOnly));
            EXPECT_EQ(metadata.readAll(), "kMDItemAuthors=Ada\nkMDItemTitle=Every kind\n");
        }
    }
}
