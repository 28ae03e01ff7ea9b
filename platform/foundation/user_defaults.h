// UserDefaults: the application's settings, kept in one XML property-list file that other processes read too.
//
// The file is "kestrum.Vekanto.plist" in the user's preferences folder ($XDG_CONFIG_HOME,
// else ~/.config; a relative $XDG_CONFIG_HOME is ignored, as the XDG rules say). Its root is
// a dictionary of the top-level keys below. The preview plug-in reads "colors" from the same
// file, so it is always complete: writes replace it atomically (QSaveFile).
//
// Values are looked up in the stored values first, then in the registered defaults
// (registerDefaults), which are never written to the file. Changes stay in memory until
// synchronize(), which re-reads the file, keeps what other processes changed there except
// the keys changed here since the last synchronize, and writes the result; the application
// synchronizes after every change. Pending changes are also written on destruction.
//
// A file that cannot be read as a property-list dictionary is not lost: it is renamed to
// "kestrum.Vekanto.plist.corrupt" (or "...corrupt-2", ... so no earlier copy is replaced),
// a warning goes to stderr, and the values start from the registered defaults. A reader
// opened ReadOnly (the plug-ins) never writes, renames or creates anything.
//
// All functions may be called from several threads (the update check runs on its own);
// updateObjectForKey() is the way to change one item of a dictionary without losing another
// thread's change of a different item.
#pragma once

#include "platform/foundation/property_list.h"

#include <QLatin1String>
#include <QMutex>
#include <QSet>
#include <QString>

#include <functional>

// The top-level keys of the application's defaults.
struct DefaultsKey {
    static constexpr QLatin1String Prefs{"prefs"};             // dictionary: preference values
    static constexpr QLatin1String Colors{"colors"};           // dictionary: well name to archived colour data
    static constexpr QLatin1String LastStates{"lastStates"};   // dictionary: remembered states
    static constexpr QLatin1String Meta{"meta"};               // dictionary: "author", "copyright"
    static constexpr QLatin1String Formats{"formats"};         // dictionary: page-number and date format lists
    static constexpr QLatin1String Shadow{"shadow"};           // dictionary: the default shadow values
    static constexpr QLatin1String Memo{"memo"};               // the memo panel's rich text
    static constexpr QLatin1String Version{"version"};         // the version that last ran the start-up upkeep
    static constexpr QLatin1String DashPatterns{"dashPatterns"};   // array: the user's dash patterns
    static constexpr QLatin1String GradViews{"gradViews"};     // array: the gradient presets
    static constexpr QLatin1String MyColors{"myColors"};       // the document toolbar's recent entries
    static constexpr QLatin1String MySizes{"mySizes"};
    static constexpr QLatin1String MyFonts{"myFonts"};
};

class UserDefaults {
public:
    enum class Access { ReadWrite, ReadOnly };

    // Reads the file at filePath (a missing file is an empty one).
    explicit UserDefaults(const QString &filePath, Access access = Access::ReadWrite);
    ~UserDefaults();
    UserDefaults(const UserDefaults &) = delete;
    UserDefaults &operator=(const UserDefaults &) = delete;

    // The application's defaults, on standardFilePath() as it is at the first call.
    static UserDefaults &standardUserDefaults();
    static QString standardFilePath();

    QString filePath() const { return m_filePath; }

    // Adds the dictionary's entries to the registered defaults, replacing same keys.
    void registerDefaults(const PropertyList &dictionary);

    // The stored value, else the registered default, else absent.
    PropertyList objectForKey(const QString &key) const;
    // Stores value under key; the absent value removes the key.
    void setObject(const PropertyList &value, const QString &key);
    void removeObjectForKey(const QString &key);
    // Calls change with the current value (as objectForKey gives it) and stores the result,
    // all under the lock. change must not call this object.
    void updateObjectForKey(const QString &key, const std::function<void(PropertyList &)> &change);

    // Typed reads with the property-list rules: numbers also read from strings ("12", "YES").
    int integerForKey(const QString &key) const { return objectForKey(key).intValue(); }
    float floatForKey(const QString &key) const { return objectForKey(key).floatValue(); }
    double doubleForKey(const QString &key) const { return objectForKey(key).doubleValue(); }
    bool boolForKey(const QString &key) const { return objectForKey(key).boolValue(); }
    QByteArray dataForKey(const QString &key) const { return objectForKey(key).dataValue(); }
    // A string, or a number's text; a null string for anything else.
    QString stringForKey(const QString &key) const;
    // The value when it is of that kind, else absent.
    PropertyList arrayForKey(const QString &key) const;
    PropertyList dictionaryForKey(const QString &key) const;

    void setInteger(qint64 value, const QString &key) { setObject(PropertyList::fromInt(value), key); }
    void setFloat(float value, const QString &key) { setObject(PropertyList::fromFloat(value), key); }
    void setDouble(double value, const QString &key) { setObject(PropertyList::fromDouble(value), key); }
    void setBool(bool value, const QString &key) { setObject(PropertyList::fromBool(value), key); }

    // Merges with the file and writes pending changes. False (with a warning) when the file
    // could not be written; the changes then stay pending for the next call.
    bool synchronize();

    // The registered defaults overlaid with the stored values.
    PropertyList dictionaryRepresentation() const;

private:
    enum class FileState { Missing, Read, Corrupt };
    FileState readFile(PropertyList *values);
    void keepCorruptFile(const QString &reason);
    bool writeFile(const PropertyList &values);

    const QString m_filePath;
    const Access m_access;
    mutable QMutex m_mutex;
    PropertyList m_stored = PropertyList::dictionary();
    PropertyList m_registered = PropertyList::dictionary();
    QSet<QString> m_pending;   // keys changed since the last synchronize
    bool m_writeBlocked = false;   // an unreadable file could not be set aside
};
