// The help on Linux terms: the cache upkeep of a new version, the readme and the example
// document opened from the Help menu.
#include "tests/app/shell_fixture.h"

#include "app/app_version.h"
#include "app/help_files.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QUrl>

namespace {

class UrlRecorder : public QObject {
    Q_OBJECT
public slots:
    void open(const QUrl &url) { opened << url; }

public:
    QList<QUrl> opened;
};

TEST_F(ShellTest, ANewVersionClearsTheCacheOnceAndRemembersItself)
{
    const QString cache = path(QStringLiteral("cache/Vekanto"));
    const auto fillCache = [&] {
        QDir().mkpath(cache + QStringLiteral("/thumbs"));
        QFile file(cache + QStringLiteral("/thumbs/a"));
        return file.open(QIODevice::WriteOnly);
    };
    ASSERT_TRUE(fillCache());
    updateHelpCaches(*defaults, cache);   // the first run: no "version" yet
    EXPECT_FALSE(QFileInfo::exists(cache));
    EXPECT_EQ(defaults->objectForKey(QStringLiteral("version")).stringValue(), VekAppVersion);

    ASSERT_TRUE(fillCache());
    updateHelpCaches(*defaults, cache);   // the same version again: nothing is touched
    EXPECT_TRUE(QFileInfo::exists(cache + QStringLiteral("/thumbs/a")));

    defaults->setObject(PropertyList::fromString(QStringLiteral("1.4")), QStringLiteral("version"));
    updateHelpCaches(*defaults, cache);
    EXPECT_FALSE(QFileInfo::exists(cache));
    EXPECT_EQ(defaults->objectForKey(QStringLiteral("version")).stringValue(), VekAppVersion);

    // A cache path that is a plain file is left where it is.
    defaults->removeObjectForKey(QStringLiteral("version"));
    QFile plain(cache);
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    updateHelpCaches(*defaults, cache);
    EXPECT_TRUE(QFileInfo(cache).isFile());
}

TEST_F(ShellTest, TheHelpMenuOpensTheReadmeAndCopiesOfTheExample)
{
    qputenv("VEKANTO_HELP_DIR", VEK_HELP_DIR);
    controller->startUp({});
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
    ActionSender sender;
    controller->performAction(QStringLiteral("openReadme"), sender);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    ASSERT_EQ(recorder.opened.size(), 1);
    EXPECT_EQ(recorder.opened.front().toLocalFile(), QStringLiteral(VEK_HELP_DIR "/readme.html"));

    const QString target = path(QStringLiteral("examples"));
    QDir().mkpath(target);
    const size_t before = windows().size();
    dialogs.folders = {target, target, std::nullopt};
    for (int i = 0; i < 3; ++i)
        controller->performAction(QStringLiteral("openExample"), sender);
    EXPECT_TRUE(QFileInfo::exists(target + QStringLiteral("/Vekanto_example.vek")));
    EXPECT_TRUE(QFileInfo::exists(target + QStringLiteral("/Vekanto_example1.vek")));
    ASSERT_EQ(windows().size(), before + 2);
    EXPECT_EQ(windows().back()->document().objects().size(), 4u);
    EXPECT_TRUE(dialogs.alerts.isEmpty());

    // Without a program to open it (the offscreen platform has none), the message names the
    // readme, so that the user can open it; a missing readme is named too.
    controller->performAction(QStringLiteral("openReadme"), sender);
    const QString nowhere = path(QStringLiteral("nowhere"));
    qputenv("VEKANTO_HELP_DIR", nowhere.toLocal8Bit());
    controller->performAction(QStringLiteral("openReadme"), sender);
    controller->performAction(QStringLiteral("openExample"), sender);
    EXPECT_EQ(dialogs.alerts,
              (QStringList{QStringLiteral("|Sorry, no program is set up to open the readme file. It is \"" VEK_HELP_DIR
                                          "/readme.html\": open it in a web browser."),
                           QStringLiteral("|Sorry, the readme file \"%1/readme.html\" is missing.").arg(nowhere),
                           QStringLiteral("|Sorry, failed to open the example file.")}));
    qunsetenv("VEKANTO_HELP_DIR");
}

} // namespace

#include "help_files_test.moc"
