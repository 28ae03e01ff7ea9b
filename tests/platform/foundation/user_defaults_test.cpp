// Tests of the user defaults: the file round trip, registered defaults, typed reads, merging and bad files.
#include "platform/foundation/user_defaults.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

namespace {

QStringList warnings;

void recordWarning(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtWarningMsg)
        warnings << message;
}

// Points the preferences folder at a fresh temporary directory and records warnings.
class UserDefaultsTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        savedConfigHome = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit());
        path = UserDefaults::standardFilePath();
        warnings.clear();
        previousHandler = qInstallMessageHandler(recordWarning);
    }
    void TearDown() override
    {
        qInstallMessageHandler(previousHandler);
        qputenv("XDG_CONFIG_HOME", savedConfigHome);
    }

    QByteArray fileBytes(const QString &name) const
    {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void writeBytes(const QByteArray &bytes) const
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir folder;
    QString path;
    QByteArray savedConfigHome;
    QtMessageHandler previousHandler = nullptr;
};

TEST_F(UserDefaultsTest, FileLivesInTheConfigFolder)
{
    EXPECT_EQ(path, folder.path() + "/kestrum.Vekanto.plist");
    qputenv("XDG_CONFIG_HOME", "relative/folder");   // not absolute: ignored
    EXPECT_EQ(UserDefaults::standardFilePath(), QDir::homePath() + "/.config/kestrum.Vekanto.plist");
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(UserDefaults::standardFilePath(), QDir::homePath() + "/.config/kestrum.Vekanto.plist");
}

TEST_F(UserDefaultsTest, RoundTripThroughTheFile)
{
    PropertyList prefs = PropertyList::dictionary();
    prefs.insert("rulerUnit", PropertyList::fromInt(2));
    prefs.insert("gridScale", PropertyList::fromFloat(1.3f));
    prefs.insert("fRulerFrameH", "{{50, 50}, {600, 40}}");
    PropertyList colors = PropertyList::dictionary();
    colors.insert("cwMarker1", PropertyList::fromData(QByteArray("\x04\x0bstreamtyped\x81\xe8\x03", 16)));
    PropertyList recent = PropertyList::fromStringList({"Helvetica", QString::fromUtf8("Zapf Dingbats \u00e9")});
    {
        UserDefaults defaults(path);
        defaults.setObject(prefs, DefaultsKey::Prefs);
        defaults.setObject(colors, DefaultsKey::Colors);
        defaults.setObject(recent, DefaultsKey::MyFonts);
        defaults.setObject("1.5.1", DefaultsKey::Version);
        defaults.setBool(true, "flag");
        defaults.setDouble(0.25, "ratio");
        ASSERT_TRUE(defaults.synchronize());
    }
    EXPECT_TRUE(fileBytes(path).startsWith("<?xml"));

    UserDefaults reread(path, UserDefaults::Access::ReadOnly);
    EXPECT_EQ(reread.dictionaryForKey(DefaultsKey::Prefs), prefs);
    EXPECT_EQ(reread.dictionaryForKey(DefaultsKey::Colors), colors);
    EXPECT_EQ(reread.arrayForKey(DefaultsKey::MyFonts), recent);
    EXPECT_EQ(reread.stringForKey(DefaultsKey::Version), "1.5.1");
    EXPECT_TRUE(reread.boolForKey("flag"));
    EXPECT_EQ(reread.doubleForKey("ratio"), 0.25);
    EXPECT_FLOAT_EQ(reread.dictionaryForKey(DefaultsKey::Prefs).value("gridScale").floatValue(), 1.3f);
}

TEST_F(UserDefaultsTest, PendingChangesAreWrittenOnDestruction)
{
    { UserDefaults(path).setInteger(7, "startUp"); }
    EXPECT_EQ(UserDefaults(path).integerForKey("startUp"), 7);
}

TEST_F(UserDefaultsTest, RegisteredDefaultsAreFallbacksAndNeverWritten)
{
    UserDefaults defaults(path);
    PropertyList builtIn = PropertyList::dictionary();
    builtIn.insert("keepBackup", PropertyList::fromInt(1));
    builtIn.insert("memo", "default memo");
    defaults.registerDefaults(builtIn);
    EXPECT_EQ(defaults.integerForKey("keepBackup"), 1);

    defaults.setInteger(0, "keepBackup");
    EXPECT_EQ(defaults.integerForKey("keepBackup"), 0);
    defaults.removeObjectForKey("keepBackup");
    EXPECT_EQ(defaults.integerForKey("keepBackup"), 1);
    EXPECT_EQ(defaults.dictionaryRepresentation().value("memo").stringValue(), "default memo");

    defaults.setObject("mine", "other");
    ASSERT_TRUE(defaults.synchronize());
    UserDefaults reread(path);
    EXPECT_FALSE(reread.objectForKey("keepBackup"));
    EXPECT_FALSE(reread.objectForKey("memo"));
    EXPECT_EQ(reread.stringForKey("other"), "mine");
}

TEST_F(UserDefaultsTest, TypedReadsFollowThePropertyListRules)
{
    struct Case {
        PropertyList value;
        int integer;
        float real;
        bool yes;
        const char *string;   // nullptr: a null string
    };
    const Case cases[] = {
        {"12abc", 12, 12.0f, true, "12abc"},
        {"YES", 0, 0.0f, true, "YES"},
        {"NO", 0, 0.0f, false, "NO"},
        {" 2.5", 2, 2.5f, true, " 2.5"},
        {PropertyList::fromInt(3), 3, 3.0f, true, "3"},
        {PropertyList::fromDouble(-1.75), -1, -1.75f, true, "-1.75"},
        {PropertyList::fromBool(true), 1, 1.0f, true, "1"},
        {PropertyList::fromData("x"), 0, 0.0f, false, nullptr},
        {PropertyList::dictionary(), 0, 0.0f, false, nullptr},
        {PropertyList(), 0, 0.0f, false, nullptr},
    };
    UserDefaults defaults(path);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.value.stringValue().toStdString());
        defaults.setObject(c.value, "key");
        EXPECT_EQ(defaults.integerForKey("key"), c.integer);
        EXPECT_EQ(defaults.floatForKey("key"), c.real);
        EXPECT_EQ(defaults.boolForKey("key"), c.yes);
        EXPECT_EQ(defaults.stringForKey("key"), c.string ? QString::fromUtf8(c.string) : QString());
        EXPECT_EQ(defaults.stringForKey("key").isNull(), c.string == nullptr);
    }
    defaults.setObject("not a dictionary", "key");
    EXPECT_FALSE(defaults.dictionaryForKey("key"));
    EXPECT_FALSE(defaults.arrayForKey("key"));
}

TEST_F(UserDefaultsTest, SynchronizeMergesWhatOtherProcessesWrote)
{
    UserDefaults app(path);
    UserDefaults other(path);
    app.setObject("app", "a");
    app.setObject("app", "shared");
    ASSERT_TRUE(app.synchronize());

    other.setObject("other", "b");
    other.setObject("other", "shared");   // changed here last: this one wins
    ASSERT_TRUE(other.synchronize());
    EXPECT_EQ(other.stringForKey("a"), "app");   // kept, and read back

    app.removeObjectForKey("a");
    ASSERT_TRUE(app.synchronize());
    EXPECT_EQ(app.stringForKey("b"), "other");
    EXPECT_EQ(app.stringForKey("shared"), "other");

    UserDefaults plugin(path, UserDefaults::Access::ReadOnly);
    EXPECT_FALSE(plugin.objectForKey("a"));
    EXPECT_EQ(plugin.stringForKey("b"), "other");
}

TEST_F(UserDefaultsTest, UpdateStartsFromTheRegisteredDictionary)
{
    UserDefaults defaults(path);
    PropertyList prefs = PropertyList::dictionary();
    prefs.insert("rulerUnit", PropertyList::fromInt(2));
    PropertyList builtIn = PropertyList::dictionary();
    builtIn.insert(DefaultsKey::Prefs, prefs);
    defaults.registerDefaults(builtIn);

    defaults.updateObjectForKey(DefaultsKey::Prefs, [](PropertyList &dict) { dict.insert("saveXML", PropertyList::fromInt(1)); });
    const PropertyList stored = defaults.dictionaryForKey(DefaultsKey::Prefs);
    EXPECT_EQ(stored.value("rulerUnit").intValue(), 2);
    EXPECT_EQ(stored.value("saveXML").intValue(), 1);
}

// The update check changes "lastStates" on its own thread while the main thread does too.
TEST_F(UserDefaultsTest, ConcurrentItemUpdatesAreNotLost)
{
    UserDefaults defaults(path);
    const auto writer = [&](const QString &prefix) {
        for (int i = 0; i < 200; ++i)
            defaults.updateObjectForKey(DefaultsKey::LastStates, [&](PropertyList &dict) {
                dict.insert(prefix + QString::number(i), PropertyList::fromInt(i));
            });
    };
    std::thread other(writer, QStringLiteral("t"));
    writer(QStringLiteral("m"));
    other.join();
    EXPECT_EQ(defaults.dictionaryForKey(DefaultsKey::LastStates).count(), 400);
}

TEST_F(UserDefaultsTest, ACorruptFileIsKeptAsideAndDefaultsApply)
{
    const QByteArray garbage = "<?xml version=\"1.0\"?><plist><dict><key>prefs</key><dict>";
    writeBytes(garbage);
    PropertyList builtIn = PropertyList::dictionary();
    builtIn.insert("startUp", PropertyList::fromInt(0));

    UserDefaults defaults(path);
    defaults.registerDefaults(builtIn);
    EXPECT_EQ(defaults.integerForKey("startUp"), 0);
    EXPECT_EQ(fileBytes(path + ".corrupt"), garbage);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains(path + ".corrupt")) << warnings[0].toStdString();

    defaults.setInteger(2, "startUp");
    ASSERT_TRUE(defaults.synchronize());
    EXPECT_EQ(UserDefaults(path).integerForKey("startUp"), 2);

    // A second bad file does not replace the first copy.
    writeBytes("not a property list");
    UserDefaults again(path);
    EXPECT_EQ(fileBytes(path + ".corrupt"), garbage);
    EXPECT_EQ(fileBytes(path + ".corrupt-2"), "not a property list");
}

TEST_F(UserDefaultsTest, ACorruptFileFoundWhenSynchronizingIsReplacedByOurValues)
{
    UserDefaults defaults(path);
    defaults.setInteger(5, "rulerUnit");
    ASSERT_TRUE(defaults.synchronize());
    writeBytes("<array><string>wrong root</string></array>");
    ASSERT_TRUE(defaults.synchronize());
    EXPECT_EQ(UserDefaults(path).integerForKey("rulerUnit"), 5);
    EXPECT_TRUE(QFile::exists(path + ".corrupt"));
}

TEST_F(UserDefaultsTest, AReadOnlyReaderChangesNothingOnDisk)
{
    writeBytes("garbage");
    UserDefaults plugin(path, UserDefaults::Access::ReadOnly);
    plugin.setInteger(1, "x");
    EXPECT_TRUE(plugin.synchronize());
    EXPECT_EQ(fileBytes(path), "garbage");
    EXPECT_FALSE(QFile::exists(path + ".corrupt"));
}

TEST_F(UserDefaultsTest, AFailedWriteKeepsTheChangesPending)
{
    writeBytes("");
    const QString blocked = path + "/kestrum.Vekanto.plist";   // its folder is a file
    UserDefaults defaults(blocked);
    defaults.setInteger(3, "x");
    EXPECT_FALSE(defaults.synchronize());
    EXPECT_EQ(defaults.integerForKey("x"), 3);
    EXPECT_FALSE(warnings.isEmpty());

    ASSERT_TRUE(QFile::remove(path));   // the folder can be made now
    EXPECT_TRUE(defaults.synchronize());
    EXPECT_EQ(UserDefaults(blocked).integerForKey("x"), 3);
}

} // namespace
