// The updater on the real program, installed with `cmake --install` into a per-user prefix
// that also holds another program's files and the user's data: the update driven through the
// running application's window against a server on this machine, then the installed program
// started; and a replacement killed half-way, after which the old program starts.
#include "tests/app/updater/install_tree.h"
#include "tests/app/updater/local_http_server.h"
#include "tests/app/window/window_driver.h"

#include "app/updater/file_replacement.h"
#include "app/updater/update_offer.h"
#include "app/updater/version_checker.h"
#include "platform/foundation/plist_xml_format.h"

#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>

namespace {

// What else lives in ~/.local: another program's files and desktop entry, the user's colour
// lists and object sets, and a file of the user's own in the program's help folder.
const FileTree ForeignFiles = {{QStringLiteral("bin/other-tool"), "#!/bin/sh\necho another program\n"},
                               {QStringLiteral("lib/other/libother.so"), "another program's library"},
                               {QStringLiteral("share/applications/other.desktop"), "[Desktop Entry]\nName=Other\n"},
                               {QStringLiteral("share/Vekanto/Colors/Mine.clr"), "the user's colours"},
                               {QStringLiteral("share/Vekanto/My Shapes.vekset"), "the user's objects"},
                               {QStringLiteral("share/vekanto/help/my-notes.txt"), "the user's notes"}};

// The built program installed into the prefix as a user installs it.
void installInto(const QString &prefix)
{
    QProcess install;
    install.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    install.setStandardOutputFile(QProcess::nullDevice());
    install.start(QStringLiteral(VEK_CMAKE), {QStringLiteral("--install"), QStringLiteral(VEK_BUILD_DIR), QStringLiteral("--prefix"),
                                              prefix, QStringLiteral("--strip")});
    ASSERT_TRUE(install.waitForFinished(120000));
    ASSERT_EQ(install.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(install.exitCode(), 0);
    ASSERT_TRUE(QFileInfo::exists(installedFilesListPath(prefix)));
}

// The next version, installed into `stage`: another program (the same one with bytes past
// its end, which it ignores), changed help and a file more, with its list written anew.
void stageNextVersion(const QString &stage)
{
    installInto(stage);
    QString error;
    const auto listed = readInstalledFiles(stage, &error);
    ASSERT_TRUE(listed) << error.toStdString();
    QStringList paths;
    for (const InstalledFile &file : *listed)
        paths << file.path;
    for (const QString &changed : {QStringLiteral("bin/vekanto"), QStringLiteral("share/vekanto/help/readme.html")}) {
        ASSERT_TRUE(paths.contains(changed));
        writeFile(stage + QLatin1Char('/') + changed, fileContents(stage + QLatin1Char('/') + changed) + "\nversion 9.0\n");
        QFile::setPermissions(stage + QLatin1Char('/') + changed, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    writeFile(stage + QStringLiteral("/share/vekanto/help/whats-new.txt"), "What is new in 9.0.");
    paths << QStringLiteral("share/vekanto/help/whats-new.txt");
    writeFile(installedFilesListPath(stage), installedFilesList(stage, paths));
}

// The files of `expected` are under the prefix, byte for byte.
void expectFiles(const QString &prefix, const FileTree &expected)
{
    const FileTree now = snapshot(prefix);
    for (const auto &[path, contents] : expected) {
        const auto found = now.find(path);
        ASSERT_NE(found, now.end()) << path.toStdString() << " is gone";
        EXPECT_TRUE(found->second == contents) << path.toStdString() << " changed";
    }
}

void expectNoUpdateLeftovers(const QString &prefix)
{
    EXPECT_FALSE(QFileInfo::exists(updateJournalPath(prefix)));
    for (const auto &[path, contents] : snapshot(prefix))
        EXPECT_FALSE(path.endsWith(QLatin1String(".vekanto-old")) || path.endsWith(QLatin1String(".vekanto-new")))
            << path.toStdString();
}

FileTree restrictedTo(const FileTree &files, const FileTree &paths)
{
    FileTree out;
    for (const auto &[path, contents] : paths)
        out[path] = files.at(path);
    return out;
}

// The installed program, started as the user starts it; it settles what an update left
// (the journal goes) and runs on.
void expectInstalledProgramStarts(const QString &home, const QString &prefix)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), prefix + QStringLiteral("/share"));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(prefix + QStringLiteral("/bin/vekanto"));
    ASSERT_TRUE(program.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(updateJournalPath(prefix)) || program.state() != QProcess::Running, 20000);
    QTest::qWait(1000);
    EXPECT_EQ(program.state(), QProcess::Running) << "the installed program did not start";
    program.terminate();
    if (!program.waitForFinished(5000))
        program.kill();
    program.waitForFinished(5000);
}

QByteArray updateList(const QUrl &download, const QByteArray &archive)
{
    PropertyList list = PropertyList::dictionary();
    list.insert(QStringLiteral("productVersion"), PropertyList::fromString(QStringLiteral("9.0")));
    list.insert(QStringLiteral("productDownloadURL"), PropertyList::fromStringList({download.toString()}));
    list.insert(QStringLiteral("productReleaseNotes"), PropertyList::fromString(QStringLiteral("What is new in 9.0.")));
    list.insert(QStringLiteral("productSHA256"),
                PropertyList::fromString(QString::fromLatin1(QCryptographicHash::hash(archive, QCryptographicHash::Sha256).toHex())));
    list.insert(QStringLiteral("productSize"), PropertyList::fromInt(archive.size()));
    return xmlPropertyListData(list);
}

// Clicks the button of the question titled `title` once it is up.
void answerQuestionWhenAsked(const QString &title, const QString &button, bool &answered)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [=, &answered] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || box->windowTitle() != title)
            return;
        for (QAbstractButton *b : box->buttons())
            if (b->text() == button) {
                poll->stop();
                poll->deleteLater();
                QTest::mouseClick(b, Qt::LeftButton);
                answered = true;
                return;
            }
    });
    poll->start(50);
}

} // namespace

TEST_F(WindowTest, AnUpdateReplacesOnlyTheProgramsFilesInAPrefixSharedWithOthers)
{
    QTemporaryDir home;
    const QString prefix = home.filePath(QStringLiteral(".local")), stage = home.filePath(QStringLiteral("stage"));
    ASSERT_NO_FATAL_FAILURE(installInto(prefix));
    writeFiles(prefix, ForeignFiles);
    ASSERT_NO_FATAL_FAILURE(stageNextVersion(stage));
    const FileTree next = snapshot(stage);
    const FileTree before = snapshot(prefix);

    LocalHttpServer server;
    const QByteArray archive = tarOfFolder(stage, "vekanto-9.0", false);
    server.bodies[QStringLiteral("/update.plist")] = updateList(server.url(QStringLiteral("/vekanto-9.0.tar")), archive);
    server.bodies[QStringLiteral("/vekanto-9.0.tar")] = archive;
    ScopedVariable feed(UpdateFeedVariable, server.url(QStringLiteral("/update.plist")).toEncoded());

    VekDocumentWindow &window = start();
    VekVersionChecker &checker = controller->versionChecker();
    checker.setInstallRoot(prefix);   // the program this test drives runs from the build tree
    int quits = 0;
    checker.setTerminator([&] { ++quits; });

    menuItem(window, QStringLiteral("Help"), QStringLiteral("Check for Updates..."))->trigger();
    QTRY_VERIFY(checker.isVisible());
    EXPECT_EQ(checker.findChild<QLabel *>()->text(), QStringLiteral("Vekanto v.9.0"));
    ASSERT_TRUE(checker.downloadButton().isEnabled());
    bool answered = false;
    answerQuestionWhenAsked(QStringLiteral("Update successfully completed."), QStringLiteral("Just Quit"), answered);
    QTest::mouseClick(&checker.downloadButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(answered, 60000);
    QTRY_COMPARE(quits, 1);

    // The new version's files are in place; the other files are as they were.
    expectFiles(prefix, next);
    expectFiles(prefix, restrictedTo(before, ForeignFiles));
    EXPECT_TRUE(QFileInfo::exists(prefix + QStringLiteral("/bin/vekanto.vekanto-old")));   // until the new one starts

    // The new program starts and removes the old files it kept; nothing else changes.
    ASSERT_NO_FATAL_FAILURE(expectInstalledProgramStarts(home.path(), prefix));
    expectFiles(prefix, next);
    expectFiles(prefix, restrictedTo(before, ForeignFiles));
    expectNoUpdateLeftovers(prefix);
}

TEST_F(WindowTest, AKillInTheMiddleOfReplacingFilesLeavesTheOldProgramWhichStarts)
{
    QTemporaryDir home;
    const QString prefix = home.filePath(QStringLiteral(".local")), stage = home.filePath(QStringLiteral("stage"));
    ASSERT_NO_FATAL_FAILURE(installInto(prefix));
    writeFiles(prefix, ForeignFiles);
    ASSERT_NO_FATAL_FAILURE(stageNextVersion(stage));
    const FileTree before = snapshot(prefix);

    // Four files written beside their places (the help, the added file, the list, the
    // program), then four renames in that order: killed after the second rename.
    QProcess replacer;
    replacer.setProcessChannelMode(QProcess::ForwardedChannels);
    replacer.start(QStringLiteral(VEK_REPLACER), {prefix, stage, QStringLiteral("6")});
    ASSERT_TRUE(replacer.waitForFinished(60000));
    ASSERT_EQ(replacer.exitStatus(), QProcess::CrashExit);
    EXPECT_TRUE(QFileInfo::exists(updateJournalPath(prefix)));
    EXPECT_NE(fileContents(prefix + QStringLiteral("/share/vekanto/help/readme.html")),
              before.at(QStringLiteral("share/vekanto/help/readme.html")));   // it was half-way

    ASSERT_NO_FATAL_FAILURE(expectInstalledProgramStarts(home.path(), prefix));
    expectFiles(prefix, before);   // the old install and the other files, byte for byte
    EXPECT_FALSE(QFileInfo::exists(prefix + QStringLiteral("/share/vekanto/help/whats-new.txt")));
    expectNoUpdateLeftovers(prefix);
}
