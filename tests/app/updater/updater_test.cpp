// The updater against a local HTTP server: the version rules, the check's outcomes (asked
// and automatic), the download with its progress, the refusals (wrong checksum, hostile
// archives, plain HTTP elsewhere) and an install into a scratch folder, then the relaunch
// script with a stand-in program.
#include "tests/app/shell_fixture.h"
#include "tests/app/updater/local_http_server.h"

#include "app/updater/update_files.h"
#include "app/updater/version_checker.h"
#include "platform/foundation/plist_xml_format.h"

#include <archive.h>
#include <archive_entry.h>

#include <QCryptographicHash>
#include <QDesktopServices>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

struct ArchiveEntry {
    QByteArray path;
    QByteArray contents;
    bool symlink = false;
};

// A gzip-compressed tar of the entries.
QByteArray tarOf(const std::vector<ArchiveEntry> &entries)
{
    QByteArray out(4 << 20, '\0');
    size_t used = 0;
    archive *a = archive_write_new();
    archive_write_set_format_pax_restricted(a);
    archive_write_add_filter_gzip(a);
    archive_write_open_memory(a, out.data(), size_t(out.size()), &used);
    for (const ArchiveEntry &e : entries) {
        archive_entry *entry = archive_entry_new();
        archive_entry_set_pathname(entry, e.path.constData());
        if (e.symlink) {
            archive_entry_set_filetype(entry, AE_IFLNK);
            archive_entry_set_symlink(entry, e.contents.constData());
        } else {
            archive_entry_set_filetype(entry, AE_IFREG);
            archive_entry_set_size(entry, e.contents.size());
        }
        archive_entry_set_perm(entry, 0755);
        archive_write_header(a, entry);
        if (!e.symlink)
            archive_write_data(a, e.contents.constData(), size_t(e.contents.size()));
        archive_entry_free(entry);
    }
    archive_write_close(a);
    archive_write_free(a);
    out.resize(qsizetype(used));
    return out;
}

QByteArray updateList(const QString &version, const QUrl &download, const QByteArray &archive)
{
    PropertyList list = PropertyList::dictionary();
    list.insert(QStringLiteral("productVersion"), PropertyList::fromString(version));
    if (!download.isEmpty())
        list.insert(QStringLiteral("productDownloadURL"), PropertyList::fromStringList({download.toString()}));
    list.insert(QStringLiteral("productReleaseNotes"), PropertyList::fromString(QStringLiteral("New things.")));
    list.insert(QStringLiteral("productSHA256"),
                PropertyList::fromString(QString::fromLatin1(QCryptographicHash::hash(archive, QCryptographicHash::Sha256).toHex())));
    return xmlPropertyListData(list);
}

QByteArray fileContents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
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

TEST(UpdateRules, OnlyHttpsOrThisMachine)
{
    EXPECT_TRUE(isAllowedUpdateUrl(QUrl(QStringLiteral("https://example.org/u.plist"))));
    EXPECT_TRUE(isAllowedUpdateUrl(QUrl(QStringLiteral("http://127.0.0.1:8000/u.plist"))));
    EXPECT_TRUE(isAllowedUpdateUrl(QUrl(QStringLiteral("http://localhost/u.plist"))));
    EXPECT_FALSE(isAllowedUpdateUrl(QUrl(QStringLiteral("http://example.org/u.plist"))));
    EXPECT_FALSE(isAllowedUpdateUrl(QUrl(QStringLiteral("ftp://127.0.0.1/u.plist"))));
    EXPECT_FALSE(isAllowedUpdateUrl(QUrl(QStringLiteral("file:///tmp/u.plist"))));
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

class Updater : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        server = std::make_unique<LocalHttpServer>();   // needs the application's event loop
        checker = std::make_unique<VekVersionChecker>(controller->preferences());
        checker->setUpdateListUrl(server->url(QStringLiteral("/update.plist")));
        checker->setTerminator([this] { ++terminated; });
        // The program "installed" in a scratch folder the user owns.
        root = path(QStringLiteral("apps/Vekanto"));
        writeFile(root + QStringLiteral("/bin/vekanto"), "old program");
        checker->setInstallRoot(root);
    }
    void TearDown() override
    {
        checker.reset();
        server.reset();
        ShellTest::TearDown();
    }
    void offer(const QString &version, const QByteArray &archive, bool withDownload = true)
    {
        server->bodies[QStringLiteral("/update.plist")] =
            updateList(version, withDownload ? server->url(QStringLiteral("/Vekanto.tar.gz")) : QUrl(), archive);
        server->bodies[QStringLiteral("/Vekanto.tar.gz")] = archive;
    }
    QDateTime nextDate() { return controller->preferences().lastStatesForKey(QStringLiteral("nextDate")).dateValue(); }
    static QByteArray newProgram()
    {
        QByteArray big(300 * 1024, 'x');   // large enough to arrive in several pieces
        for (qsizetype i = 0; i < big.size(); ++i)
            big[i] = char('a' + (i * 7919) % 26);
        return tarOf({{"Vekanto/bin/vekanto", "new program"}, {"Vekanto/share/vekanto/help/readme.html", big}});
    }
    static QStringList leftDownloads()
    {
        return QDir(QDir::tempPath()).entryList({QStringLiteral("vekanto-update-*")}, QDir::Dirs);
    }

    std::unique_ptr<LocalHttpServer> server;
    std::unique_ptr<VekVersionChecker> checker;
    QString root;
    int terminated = 0;
};

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

TEST_F(Updater, DownloadsWithProgressInstallsAndAsksToRestart)
{
    offer(QStringLiteral("1.6"), newProgram());
    checker->checkNewVersion(true);
    ASSERT_TRUE(checker->offer());
    QSignalSpy progress(checker.get(), &VekVersionChecker::downloadProgressed);
    dialogs.questionAnswers = {1};   // "Just Quit"
    checker->downloadNewVersion();
    QTRY_COMPARE_WITH_TIMEOUT(terminated, 1, 10000);
    ASSERT_GE(progress.size(), 1);
    const qint64 size = server->bodies[QStringLiteral("/Vekanto.tar.gz")].size();
    EXPECT_EQ(progress.last().at(0).toLongLong(), size);
    EXPECT_EQ(progress.last().at(1).toLongLong(), size);
    EXPECT_EQ(dialogs.questions, QStringList{QStringLiteral("Update successfully completed.")});
    EXPECT_EQ(fileContents(root + QStringLiteral("/bin/vekanto")), "new program");
    EXPECT_TRUE(QFileInfo::exists(root + QStringLiteral("/share/vekanto/help/readme.html")));
    EXPECT_EQ(QDir(path(QStringLiteral("apps"))).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("Vekanto")});   // the old copy is gone
    EXPECT_TRUE(leftDownloads().isEmpty());
}

TEST_F(Updater, AWrongChecksumOrAHostileArchiveInstallsNothing)
{
    const QByteArray published = newProgram();
    offer(QStringLiteral("1.6"), published);
    server->bodies[QStringLiteral("/Vekanto.tar.gz")] = tarOf({{"Vekanto/bin/vekanto", "tampered"}});
    checker->checkNewVersion(true);
    checker->downloadNewVersion();
    QTRY_COMPARE_WITH_TIMEOUT(dialogs.questions.size(), 1, 10000);
    EXPECT_EQ(dialogs.questions.front(), QStringLiteral("Error by downloading"));

    const QByteArray hostile = tarOf({{"Vekanto/bin/vekanto", "new"}, {"../../escaped", "x"}});
    offer(QStringLiteral("1.6"), hostile);
    checker->checkNewVersion(true);
    checker->downloadNewVersion();
    QTRY_COMPARE_WITH_TIMEOUT(dialogs.questions.size(), 2, 10000);
    EXPECT_EQ(dialogs.questions.back(), QStringLiteral("Error by extracting"));

    EXPECT_EQ(fileContents(root + QStringLiteral("/bin/vekanto")), "old program");
    EXPECT_EQ(terminated, 0);
    EXPECT_TRUE(leftDownloads().isEmpty());
}

TEST_F(Updater, ACancelledDownloadLeavesNothing)
{
    QByteArray huge = newProgram();
    offer(QStringLiteral("1.6"), huge);
    checker->checkNewVersion(true);
    checker->downloadNewVersion();
    EXPECT_TRUE(checker->isDownloading());
    checker->cancelUpdate();
    EXPECT_FALSE(checker->isDownloading());
    EXPECT_FALSE(checker->progressWindow().isVisible());
    QTest::qWait(200);
    EXPECT_TRUE(leftDownloads().isEmpty());
    EXPECT_TRUE(dialogs.questions.isEmpty());
    EXPECT_EQ(fileContents(root + QStringLiteral("/bin/vekanto")), "old program");
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
    offer(QStringLiteral("1.6"), newProgram());
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
