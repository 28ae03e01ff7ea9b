// The updater against a local HTTP server: the version rules, the check's outcomes (asked
// and automatic), the download with its progress and bounds, the refusals (wrong checksum,
// hostile archives, plain HTTP elsewhere, redirects), replacing only the install's own files
// in a prefix shared with other programs and user data, a kill at every step of the
// replacement, and the relaunch script with a stand-in program.
#include "tests/app/shell_fixture.h"
#include "tests/app/updater/install_tree.h"
#include "tests/app/updater/local_http_server.h"

#include "app/preferences.h"
#include "app/updater/file_replacement.h"
#include "app/updater/update_download.h"
#include "app/updater/update_files.h"
#include "app/updater/version_checker.h"
#include "platform/foundation/plist_xml_format.h"

#include <QDesktopServices>
#include <QDateTime>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray updateList(const QString &version, const QUrl &download, const QByteArray &archive, qint64 size = -1)
{
    PropertyList list = PropertyList::dictionary();
    list.insert(QStringLiteral("productVersion"), PropertyList::fromString(version));
    if (!download.isEmpty())
        list.insert(QStringLiteral("productDownloadURL"), PropertyList::fromStringList({download.toString()}));
    list.insert(QStringLiteral("productReleaseNotes"), PropertyList::fromString(QStringLiteral("New things.")));
    list.insert(QStringLiteral("productSHA256"),
                PropertyList::fromString(QString::fromLatin1(QCryptographicHash::hash(archive, QCryptographicHash::Sha256).toHex())));
    list.insert(QStringLiteral("productSize"), PropertyList::fromInt(size < 0 ? archive.size() : size));
    return xmlPropertyListData(list);
}

// The installed version and the next: one file changed, one kept, one dropped, one added.
const FileTree OldInstall = {{QStringLiteral("bin/vekanto"), "old program"},
                             {QStringLiteral("bin/vekanto-metadata"), "metadata tool"},
                             {QStringLiteral("share/vekanto/help/readme.html"), "old readme"},
                             {QStringLiteral("share/vekanto/help/dropped.txt"), "only in the old version"}};

FileTree newInstall()
{
    QByteArray big(300 * 1024, 'x');   // large enough to arrive in several pieces
    for (qsizetype i = 0; i < big.size(); ++i)
        big[i] = char('a' + (i * 7919) % 26);
    return {{QStringLiteral("bin/vekanto"), "new program"},
            {QStringLiteral("bin/vekanto-metadata"), "metadata tool"},
            {QStringLiteral("share/vekanto/help/readme.html"), big},
            {QStringLiteral("share/vekanto/help/added.txt"), "new in this version"}};
}

// What else lives in a per-user prefix: another program's files, the user's data, and a
// file of the user's own in our folder.
const FileTree ForeignFiles = {{QStringLiteral("bin/other-tool"), "another program"},
                               {QStringLiteral("share/other/data.txt"), "another program's data"},
                               {QStringLiteral("share/kestrum/Vekanto/Colors/Mine.clr"), "the user's colours"},
                               {QStringLiteral("share/vekanto/help/my-notes.txt"), "the user's notes"}};

// The tree with its list, as the update archive carries it below "Vekanto/".
QByteArray archiveOf(const FileTree &files, const QString &scratch, bool compressed = true)
{
    QDir(scratch).removeRecursively();
    writeInstall(scratch, files);
    return tarOfFolder(scratch, "Vekanto", compressed);
}

// `files` and the list naming them.
FileTree withList(const FileTree &files)
{
    QTemporaryDir scratch;
    writeInstall(scratch.path(), files);
    return snapshot(scratch.path());
}

FileTree joined(FileTree a, const FileTree &b)
{
    a.insert(b.begin(), b.end());
    return a;
}

TEST(UpdateRules, VersionsCompareByParts)
{
    const struct {
        const char *offered;
        bool newer;
    } cases[] = {{"v.1.5.1", false}, {"1.5.1", false}, {"1.5.2", true},  {"2.0", true},   {"1.4.9", false},
                 {"1.5.0", false},   {"0.9", false},   {"1.5", true},    {"1.5.1b2", true}, {"v.1.6", true},
                 {"1.5.10", true},   {"1.10.0", true}};
    for (const auto &c : cases)
        EXPECT_EQ(isNewerVersion(QString::fromLatin1(c.offered), QStringLiteral("1.5.1")), c.newer) << c.offered;
}

TEST(UpdateRules, OnlyHttpsOrThisMachineWhenATestServesTheList)
{
    const QUrl local(QStringLiteral("http://127.0.0.1:8000/u.plist"));
    EXPECT_TRUE(isAllowedUpdateUrl(QUrl(QStringLiteral("https://example.org/u.plist"))));
    EXPECT_FALSE(isAllowedUpdateUrl(local));   // a redirect from the real list may not go here
    {
        ScopedVariable feed(UpdateFeedVariable, "http://127.0.0.1:8000/update.plist");
        EXPECT_TRUE(isAllowedUpdateUrl(local));
        EXPECT_TRUE(isAllowedUpdateUrl(QUrl(QStringLiteral("http://localhost/u.plist"))));
        EXPECT_TRUE(isAllowedUpdateUrl(QUrl(QStringLiteral("http://[::1]:8000/u.plist"))));
        EXPECT_FALSE(isAllowedUpdateUrl(QUrl(QStringLiteral("http://example.org/u.plist"))));
        EXPECT_FALSE(isAllowedUpdateUrl(QUrl(QStringLiteral("ftp://127.0.0.1/u.plist"))));
        EXPECT_FALSE(isAllowedUpdateUrl(QUrl(QStringLiteral("file:///tmp/u.plist"))));
    }
    {
        ScopedVariable mirror(UpdateFeedVariable, "https://mirror.example.org/update.plist");
        EXPECT_FALSE(isAllowedUpdateUrl(local));
    }
}

TEST(UpdateRules, TheDownloadIsBoundedByTheAnnouncedSizeAndAHardCap)
{
    EXPECT_EQ(UpdateDownload::limitFor(1000), 1000 + UpdateDownload::SizeMargin);
    EXPECT_EQ(UpdateDownload::limitFor(-1), UpdateDownload::HardCap);
    EXPECT_EQ(UpdateDownload::limitFor(UpdateDownload::HardCap * 4), UpdateDownload::HardCap);
}

TEST(UpdateRules, UnpackingStopsAtItsSizeCap)
{
    QTemporaryDir folder;
    const QString archive = folder.filePath(QStringLiteral("big.tar.gz"));
    // Two files under the cap each, over it together; the second stops it.
    writeFile(archive, tarOf({{"Vekanto/bin/vekanto", QByteArray(600 * 1024, 'a')}, {"Vekanto/share/b", QByteArray(600 * 1024, 'b')}}));
    QString error;
    EXPECT_FALSE(extractUpdateArchive(archive, folder.filePath(QStringLiteral("out")), &error, 1 << 20));
    EXPECT_TRUE(error.contains(QStringLiteral("more than 1 MB"))) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder.filePath(QStringLiteral("out"))));
    EXPECT_TRUE(extractUpdateArchive(archive, folder.filePath(QStringLiteral("out")), &error, 2 << 20));
}

TEST(UpdateRules, HostileArchivesAreRefusedAndLeaveNothing)
{
    QTemporaryDir folder;
    const std::vector<std::vector<ArchiveEntry>> hostile = {
        {{"Vekanto/bin/vekanto", "new"}, {"../escaped", "x"}},
        {{"/tmp/absolute-vekanto-test", "x"}},
        {{"Vekanto/bin/vekanto", "/bin/sh", true}},
        {{"Vekanto/a/../../escaped", "x"}},
    };
    for (size_t i = 0; i < hostile.size(); ++i) {
        const QString archive = folder.filePath(QStringLiteral("hostile%1.tar.gz").arg(i));
        writeFile(archive, tarOf(hostile[i]));
        const QString target = folder.filePath(QStringLiteral("out%1").arg(i));
        QString error;
        EXPECT_FALSE(extractUpdateArchive(archive, target, &error)) << i;
        EXPECT_FALSE(error.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(target)) << i;
    }
    EXPECT_FALSE(QFileInfo::exists(folder.filePath(QStringLiteral("escaped"))));
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/tmp/absolute-vekanto-test")));
    QString error;
    writeFile(folder.filePath(QStringLiteral("junk.tar.gz")), "not an archive at all");
    EXPECT_FALSE(extractUpdateArchive(folder.filePath(QStringLiteral("junk.tar.gz")), folder.filePath(QStringLiteral("junk")), &error));
}

TEST(UpdateRules, TheRelaunchScriptWaitsForTheProgramThenStartsTheNewOne)
{
    QTemporaryDir folder;
    const QString marker = folder.filePath(QStringLiteral("started"));
    const QString standIn = folder.filePath(QStringLiteral("vekanto"));
    writeFile(standIn, "#!/bin/sh\necho started > \"" + marker.toUtf8() + "\"\n");
    QFile::setPermissions(standIn, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcess program;   // stands for the running program
    program.start(QStringLiteral("sleep"), {QStringLiteral("1")});
    ASSERT_TRUE(program.waitForStarted());
    QProcess script;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LAUNCH_PATH"), standIn);
    environment.insert(QStringLiteral("VEK_PARENT_PID"), QString::number(program.processId()));
    script.setProcessEnvironment(environment);
    script.start(QStringLiteral("/bin/bash"), {QStringLiteral("-c"), relaunchScript()});
    ASSERT_TRUE(script.waitForFinished(5000));   // it goes to the background at once
    QTest::qWait(300);
    EXPECT_FALSE(QFileInfo::exists(marker));     // the program still runs
    ASSERT_TRUE(program.waitForFinished(5000));
    QElapsedTimer waited;
    waited.start();
    while (!QFileInfo::exists(marker) && waited.elapsed() < 5000)
        QTest::qWait(50);
    EXPECT_TRUE(QFileInfo::exists(marker));
}

// The replacement in a child process killed after its n-th step (a file written beside its
// place, or a rename), for every n; the next start (the settling) must give back the old
// install, byte for byte, and leave the other files alone. Past the last step the journal is
// done, and the settling keeps the new install.
TEST(UpdateRules, AKillAtAnyStepOfTheReplacementLeavesTheOldProgram)
{
    QTemporaryDir folder;
    const QString root = folder.filePath(QStringLiteral("prefix")), newRoot = folder.filePath(QStringLiteral("new"));
    writeInstall(newRoot, newInstall());
    const auto install = [&] {
        QDir(root).removeRecursively();
        writeInstall(root, OldInstall);
        writeFiles(root, ForeignFiles);
    };
    install();
    const FileTree before = snapshot(root);
    int steps = 0;
    QString error;
    ASSERT_EQ(replaceInstalledFiles(root, newRoot, &error, [&] { ++steps; }), ReplaceOutcome::Replaced) << error.toStdString();
    EXPECT_EQ(steps, 9);   // 4 files written, 5 renames
    for (int killedAfter = 1; killedAfter <= steps; ++killedAfter) {
        SCOPED_TRACE(killedAfter);
        install();
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            int done = 0;
            QString childError;
            replaceInstalledFiles(root, newRoot, &childError, [&] {
                if (++done == killedAfter)
                    raise(SIGKILL);
            });
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        // Until the program itself is replaced, the old one is the one that starts.
        if (killedAfter < steps) {
            EXPECT_EQ(fileContents(root + QStringLiteral("/bin/vekanto")), "old program");
        }
        settleInterruptedUpdate(root);
        EXPECT_EQ(snapshot(root), before);
    }
    // Done and settled: the new install and the other files, nothing kept aside.
    install();
    ASSERT_EQ(replaceInstalledFiles(root, newRoot, &error), ReplaceOutcome::Replaced);
    EXPECT_EQ(fileContents(root + QStringLiteral("/bin/vekanto.vekanto-old")), "old program");   // until the new one starts
    settleInterruptedUpdate(root);
    EXPECT_EQ(snapshot(root), joined(withList(newInstall()), ForeignFiles));
}

// A journal the program cannot read names nothing it may touch: it stays, and no update runs
// over it.
TEST(UpdateRules, AnUnreadableJournalIsLeftAloneAndHoldsBackTheNextUpdate)
{
    QTemporaryDir folder;
    const QString root = folder.filePath(QStringLiteral("prefix")), newRoot = folder.filePath(QStringLiteral("new"));
    writeInstall(root, OldInstall);
    writeFiles(root, ForeignFiles);
    writeFile(root + QStringLiteral("/bin/vekanto.vekanto-old"), "whose?");
    writeInstall(newRoot, newInstall());
    for (const QByteArray &journal : {QByteArray("state replaced\nremove ../../outside\n"), QByteArray("garbage")}) {
        writeFile(updateJournalPath(root), journal);
        const FileTree before = snapshot(root);
        settleInterruptedUpdate(root);
        EXPECT_EQ(snapshot(root), before);
        QString error;
        EXPECT_EQ(replaceInstalledFiles(root, newRoot, &error), ReplaceOutcome::Refused);
        EXPECT_TRUE(error.contains(QStringLiteral("unfinished"))) << error.toStdString();
        EXPECT_EQ(snapshot(root), before);
    }
}

class Updater : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        // Each test downloads into a temporary folder of its own, so that tests running side
        // by side do not see each other's downloads.
        QDir().mkpath(path(QStringLiteral("tmp")));
        tmp = std::make_unique<ScopedVariable>("TMPDIR", path(QStringLiteral("tmp")).toLocal8Bit());
        dialogs.questionAnswers = std::deque<int>(10, 0);
        server = std::make_unique<LocalHttpServer>();   // needs the application's event loop
        feed = std::make_unique<ScopedVariable>(UpdateFeedVariable, server->url(QStringLiteral("/update.plist")).toEncoded());
        checker = std::make_unique<VekVersionChecker>(controller->preferences());
        checker->setTerminator([this] { ++terminated; });
        // The program installed in a per-user prefix it shares with other programs' files
        // and the user's data.
        root = path(QStringLiteral("prefix"));
        writeInstall(root, OldInstall);
        writeFiles(root, ForeignFiles);
        checker->setInstallRoot(root);
        checker->setKeptArchiveFolder(path(QStringLiteral("Downloads")));
    }
    void TearDown() override
    {
        checker.reset();
        feed.reset();
        server.reset();
        tmp.reset();
        ShellTest::TearDown();
    }
    void offer(const QString &version, const QByteArray &archive, bool withDownload = true, qint64 size = -1)
    {
        server->bodies[QStringLiteral("/update.plist")] =
            updateList(version, withDownload ? server->url(QStringLiteral("/Vekanto.tar.gz")) : QUrl(), archive, size);
        server->bodies[QStringLiteral("/Vekanto.tar.gz")] = archive;
    }
    QByteArray newArchive(bool compressed = true)
    {
        return archiveOf(newInstall(), path(QStringLiteral("staged")), compressed);
    }
    // Checks, downloads, and waits for the question or alert that ends it (the n-th of the
    // test); questions are answered "OK" (or "Restart") unless the test says otherwise.
    void update(int questions = 1)
    {
        checker->checkNewVersion(true);
        ASSERT_TRUE(checker->offer());
        checker->downloadNewVersion();
        QTRY_COMPARE_WITH_TIMEOUT(dialogs.questions.size() + dialogs.alerts.size(), questions, 10000);
    }
    QDateTime nextDate() { return controller->preferences().lastStatesForKey(QStringLiteral("nextDate")).dateValue(); }
    QStringList leftDownloads() const
    {
        return QDir(path(QStringLiteral("tmp"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }

    std::unique_ptr<ScopedVariable> tmp, feed;
    std::unique_ptr<LocalHttpServer> server;
    std::unique_ptr<VekVersionChecker> checker;
    QString root;
    int terminated = 0;
};

TEST_F(Updater, TheListAddressComesFromTheVariableThenThePreference)
{
    EXPECT_EQ(checker->updateListUrl(), server->url(QStringLiteral("/update.plist")));
    VekPreferences &preferences = controller->preferences();
    const QUrl mirror(QStringLiteral("https://mirror.example.org/vekanto/update.plist"));
    preferences.updateUserPreferences(QStringLiteral("prefs"), QLatin1String(UpdateFeedPreference),
                                      PropertyList::fromString(mirror.toString()));
    EXPECT_EQ(VekVersionChecker(preferences).updateListUrl(), server->url(QStringLiteral("/update.plist")));
    feed.reset();
    EXPECT_EQ(VekVersionChecker(preferences).updateListUrl(), mirror);
    preferences.updateUserPreferences(QStringLiteral("prefs"), QLatin1String(UpdateFeedPreference), PropertyList());
    EXPECT_EQ(VekVersionChecker(preferences).updateListUrl(), VekVersionChecker::defaultUpdateListUrl());
}

TEST_F(Updater, TheAskedCheckReportsNewerSameOlderAndFailures)
{
    offer(QStringLiteral("v.1.5.1"), "x");
    checker->checkNewVersion(true);
    EXPECT_EQ(dialogs.alerts.last(), QStringLiteral("Your Vekanto is up to date.|No update is available for now."));
    EXPECT_FALSE(checker->offer());
    const QDateTime after = nextDate();
    EXPECT_GT(after, QDateTime::currentDateTimeUtc().addDays(27));

    offer(QStringLiteral("1.4.9"), "x");
    checker->checkNewVersion(true);
    EXPECT_EQ(dialogs.alerts.size(), 2);
    EXPECT_FALSE(checker->isVisible());

    offer(QStringLiteral("1.6"), "x");
    checker->checkNewVersion(true);
    ASSERT_TRUE(checker->offer());
    EXPECT_EQ(checker->offer()->version, QStringLiteral("1.6"));
    EXPECT_TRUE(checker->isVisible());
    EXPECT_TRUE(checker->downloadButton().isEnabled());
    EXPECT_EQ(dialogs.alerts.size(), 2);

    // A failed fetch and a list without a version: reported, and the next date stays.
    controller->preferences().updateLastStates(PropertyList(), QStringLiteral("nextDate"));
    checker->setUpdateListUrl(server->url(QStringLiteral("/missing.plist")));
    checker->checkNewVersion(true);
    EXPECT_TRUE(dialogs.alerts.last().startsWith(QStringLiteral("The version check was unsuccessful.|")));
    server->bodies[QStringLiteral("/empty.plist")] = xmlPropertyListData(PropertyList::dictionary());
    checker->setUpdateListUrl(server->url(QStringLiteral("/empty.plist")));
    checker->checkNewVersion(true);
    EXPECT_TRUE(dialogs.alerts.last().endsWith(QStringLiteral("could not be read. Please try again later.")));
    EXPECT_FALSE(nextDate().isValid());
    // A list that redirects elsewhere is not read there; to this server it is.
    server->redirects[QStringLiteral("/moved.plist")] = QUrl(QStringLiteral("http://example.invalid/update.plist"));
    checker->setUpdateListUrl(server->url(QStringLiteral("/moved.plist")));
    checker->checkNewVersion(true);
    EXPECT_TRUE(dialogs.alerts.last().startsWith(QStringLiteral("The version check was unsuccessful.|")));
    server->redirects[QStringLiteral("/moved.plist")] = server->url(QStringLiteral("/update.plist"));
    checker->checkNewVersion(true);
    EXPECT_TRUE(checker->offer());
    // Plain HTTP to another machine is never fetched.
    const int requests = server->requests;
    checker->setUpdateListUrl(QUrl(QStringLiteral("http://example.invalid/update.plist")));
    checker->checkNewVersion(false);
    EXPECT_EQ(server->requests, requests);
}

TEST_F(Updater, TheAutomaticCheckRunsOnAThreadAndShowsOnlyANewerVersion)
{
    controller->preferences().updateUserPreferences(QStringLiteral("prefs"), QStringLiteral("autoCheck"), PropertyList::fromInt(1));
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        controller->preferences().updateLastStates(PropertyList(), QStringLiteral("nextDate"));
        ASSERT_TRUE(checker->automaticCheckIsDue());
        const bool newer = round % 2 == 1;
        offer(newer ? QStringLiteral("1.5.2") : QStringLiteral("1.5.1"), "x");
        checker->hide();
        QSignalSpy done(checker.get(), &VekVersionChecker::backgroundCheckDone);
        checker->checkInBackground();
        ASSERT_TRUE(done.wait(10000));
        EXPECT_EQ(checker->isVisible(), newer);
        EXPECT_FALSE(checker->automaticCheckIsDue());   // a month ahead
    }
    EXPECT_TRUE(dialogs.alerts.isEmpty());
    // Unreachable: nothing shown, the date left as it was.
    controller->preferences().updateLastStates(PropertyList(), QStringLiteral("nextDate"));
    checker->setUpdateListUrl(QUrl(QStringLiteral("http://127.0.0.1:1/update.plist")));
    QSignalSpy done(checker.get(), &VekVersionChecker::backgroundCheckDone);
    checker->checkInBackground();
    ASSERT_TRUE(done.wait(30000));
    EXPECT_TRUE(dialogs.alerts.isEmpty());
    EXPECT_TRUE(checker->automaticCheckIsDue());
}

TEST_F(Updater, WithoutADownloadAddressTheButtonIsDisabled)
{
    offer(QStringLiteral("1.6"), "x", false);
    checker->checkNewVersion(true);
    ASSERT_TRUE(checker->offer());
    EXPECT_FALSE(checker->downloadButton().isEnabled());
}

TEST_F(Updater, ReplacesOnlyItsOwnFilesAndKeepsTheOldOnesUntilTheNewProgramStarts)
{
    offer(QStringLiteral("1.6"), newArchive());
    QSignalSpy progress(checker.get(), &VekVersionChecker::downloadProgressed);
    dialogs.questionAnswers = {1};   // "Just Quit"
    update();
    EXPECT_EQ(terminated, 1);
    ASSERT_GE(progress.size(), 1);
    const qint64 size = server->bodies[QStringLiteral("/Vekanto.tar.gz")].size();
    EXPECT_EQ(progress.last().at(0).toLongLong(), size);
    EXPECT_EQ(progress.last().at(1).toLongLong(), size);
    EXPECT_EQ(dialogs.questions, QStringList{QStringLiteral("Update successfully completed.")});
    EXPECT_EQ(fileContents(root + QStringLiteral("/bin/vekanto")), "new program");
    // The old files wait beside the new ones until the new program starts.
    EXPECT_EQ(fileContents(root + QStringLiteral("/bin/vekanto.vekanto-old")), "old program");
    EXPECT_EQ(fileContents(root + QStringLiteral("/share/vekanto/help/dropped.txt.vekanto-old")), "only in the old version");
    settleInterruptedUpdate(root);
    EXPECT_EQ(snapshot(root), joined(withList(newInstall()), ForeignFiles));
    EXPECT_TRUE(leftDownloads().isEmpty());
}

// The install is not what its list says, or the new version would write over a file that is
// not ours: nothing under the prefix changes, and the download is kept for the user, beside
// (never over) a file of the same name.
TEST_F(Updater, AnInstallItCannotVouchForKeepsTheDownloadAndChangesNothing)
{
    const QByteArray archive = newArchive();
    offer(QStringLiteral("1.6"), archive);
    const QString downloads = path(QStringLiteral("Downloads"));
    writeFile(downloads + QStringLiteral("/Vekanto.tar.gz"), "the user's own file");
    const struct {
        const char *name;
        std::function<void()> spoil;
        const char *reason;
    } cases[] = {
        {"no list", [&] { QFile::remove(installedFilesListPath(root)); }, "is missing"},
        {"damaged list", [&] { writeFile(installedFilesListPath(root), "not a list\n"); }, "is damaged"},
        {"a file changed since the install", [&] { writeFile(root + QStringLiteral("/bin/vekanto-metadata"), "edited"); },
         "bin/vekanto-metadata is not the file the install wrote"},
        {"a listed file gone", [&] { QFile::remove(root + QStringLiteral("/share/vekanto/help/readme.html")); },
         "readme.html is not the file the install wrote"},
        {"a file of the user's where the new version adds one",
         [&] { writeFile(root + QStringLiteral("/share/vekanto/help/added.txt"), "mine"); }, "added.txt is not Vekanto's own file"},
    };
    int kept = 1;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(root).removeRecursively();
        writeInstall(root, OldInstall);
        writeFiles(root, ForeignFiles);
        c.spoil();
        const FileTree before = snapshot(root);
        dialogs.alerts.clear();
        update();
        ASSERT_EQ(dialogs.alerts.size(), 1);
        EXPECT_TRUE(dialogs.questions.isEmpty());
        const QString alert = dialogs.alerts.front();
        EXPECT_TRUE(alert.startsWith(QStringLiteral("Vekanto cannot update itself here.|"))) << alert.toStdString();
        EXPECT_TRUE(alert.contains(QLatin1String(c.reason))) << alert.toStdString();
        const QString keptArchive = downloads + QStringLiteral("/Vekanto-%1.tar.gz").arg(++kept);
        EXPECT_TRUE(alert.contains(keptArchive)) << alert.toStdString();
        EXPECT_EQ(fileContents(keptArchive), archive);
        EXPECT_EQ(snapshot(root), before);
        EXPECT_EQ(terminated, 0);
        EXPECT_TRUE(leftDownloads().isEmpty());
    }
    EXPECT_EQ(fileContents(downloads + QStringLiteral("/Vekanto.tar.gz")), "the user's own file");
}

TEST_F(Updater, AWrongChecksumOrAHostileArchiveInstallsNothing)
{
    const FileTree before = snapshot(root);
    offer(QStringLiteral("1.6"), newArchive());
    server->bodies[QStringLiteral("/Vekanto.tar.gz")] = tarOf({{"Vekanto/bin/vekanto", "tampered"}});
    update();
    EXPECT_EQ(dialogs.questions.front(), QStringLiteral("Error by downloading"));

    const QByteArray hostile = tarOf({{"Vekanto/bin/vekanto", "new"}, {"../../escaped", "x"}});
    offer(QStringLiteral("1.6"), hostile);
    update(2);
    EXPECT_EQ(dialogs.questions.back(), QStringLiteral("Error by extracting"));

    // An archive without its list of files is damaged, not installed.
    offer(QStringLiteral("1.6"), tarOf({{"Vekanto/bin/vekanto", "new"}}));
    update(3);
    EXPECT_EQ(dialogs.questions.back(), QStringLiteral("Error by installing"));

    EXPECT_EQ(snapshot(root), before);
    EXPECT_EQ(terminated, 0);
    EXPECT_TRUE(leftDownloads().isEmpty());
}

// A download larger than the list announced stops, with or without a length from the
// server; a redirect is followed only to an allowed address.
TEST_F(Updater, TheDownloadStopsAtItsBoundAndAtARedirectElsewhere)
{
    const FileTree before = snapshot(root);
    const QByteArray archive = newArchive(false);
    const qint64 announced = archive.size() - UpdateDownload::SizeMargin - 1;
    ASSERT_GT(announced, 0);
    offer(QStringLiteral("1.6"), archive, true, announced);
    update();
    EXPECT_EQ(dialogs.questions.back(), QStringLiteral("The download is larger than the update list says."));
    server->unsized.insert(QStringLiteral("/Vekanto.tar.gz"));
    update(2);
    EXPECT_EQ(dialogs.questions.back(), QStringLiteral("The download is larger than the update list says."));

    offer(QStringLiteral("1.6"), archive);
    server->redirects[QStringLiteral("/Vekanto.tar.gz")] = QUrl(QStringLiteral("http://example.invalid/Vekanto.tar.gz"));
    update(3);
    EXPECT_EQ(dialogs.questions.back(),
              QStringLiteral("The download was sent on to http://example.invalid/Vekanto.tar.gz, which is not allowed."));
    EXPECT_EQ(snapshot(root), before);
    EXPECT_TRUE(leftDownloads().isEmpty());

    // To this machine's test server the redirect is followed, and the update installs.
    server->bodies[QStringLiteral("/mirror/Vekanto.tar.gz")] = archive;
    server->redirects[QStringLiteral("/Vekanto.tar.gz")] = server->url(QStringLiteral("/mirror/Vekanto.tar.gz"));
    dialogs.questionAnswers = {1};   // "Just Quit"
    update(4);
    EXPECT_EQ(dialogs.questions.back(), QStringLiteral("Update successfully completed."));
    EXPECT_EQ(fileContents(root + QStringLiteral("/bin/vekanto")), "new program");
}

TEST_F(Updater, ACancelledDownloadLeavesNothing)
{
    const FileTree before = snapshot(root);
    offer(QStringLiteral("1.6"), newArchive());
    checker->checkNewVersion(true);
    checker->downloadNewVersion();
    EXPECT_TRUE(checker->isDownloading());
    checker->cancelUpdate();
    EXPECT_FALSE(checker->isDownloading());
    EXPECT_FALSE(checker->progressWindow().isVisible());
    QTest::qWait(200);
    EXPECT_TRUE(leftDownloads().isEmpty());
    EXPECT_TRUE(dialogs.questions.isEmpty());
    EXPECT_EQ(snapshot(root), before);
}

class UrlRecorder : public QObject {
    Q_OBJECT
public slots:
    void open(const QUrl &url) { opened << url; }

public:
    QList<QUrl> opened;
};

TEST_F(Updater, AProgramOfTheSystemsFoldersOffersTheHomePage)
{
    UrlRecorder pages;
    checker->setInstallRoot(QStringLiteral("/usr"));
    offer(QStringLiteral("1.6"), newArchive());
    checker->checkNewVersion(true);
    EXPECT_EQ(checker->downloadButton().text(), QStringLiteral("Visit Home Page"));
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &pages, "open");
    checker->downloadNewVersion();   // nothing is downloaded: the home page opens
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    EXPECT_EQ(pages.opened, QList<QUrl>{VekVersionChecker::homePageUrl()});
    EXPECT_FALSE(checker->isDownloading());
    EXPECT_FALSE(canInstallInPlace(QStringLiteral("/usr/local")));
    EXPECT_TRUE(canInstallInPlace(root));
}

} // namespace

#include "updater_test.moc"
