// VekPreferences: the user's preferences in the user defaults ("prefs", "colors",
// "lastStates", "meta"), their built-in values, and the accessors the rest of the program
// reads. Every write stores the changed dictionary and synchronises the file at once.
#pragma once

#include "platform/color/color.h"
#include "platform/foundation/property_list.h"
#include "platform/geometry/geometry.h"

#include <QString>
#include <QStringList>

#include "model/services/shell_services.h"

class UserDefaults;


class VekPreferences {
public:
    explicit VekPreferences(UserDefaults &defaults);

    // The built-in "prefs": rulerUnit 2, keepBackup 1, optPts 1, optLines 1,
    // myPopupMaxNr 10, continueFind 1, gridScale 1.0, the view size and margins of the
    // default print settings (page = paper less margins; margins 0 when they leave less
    // than 8 points), its paper name, the floating rulers' frames, and 0 for the rest.
    static PropertyList defaultPrefs();
    // The built-in "colors": the 16 preference colours, archived, by well name.
    static PropertyList defaultColors();
    // The well names of "colors", in the order the preferences window shows them.
    static const QStringList &colorKeys();
    // The plain, localised name the preferences window shows for a colour key.
    static QString colorLabel(const QString &key);

    // Stores the built-in "prefs" and "colors" when the defaults hold none.
    void ensureStored();

    // The integer under the key in "prefs" (built-in "prefs" when none are stored); 0 when
    // the key is absent.
    int userPrefsValueFor(const QString &key) const;
    float userPrefsFloatFor(const QString &key) const;
    // The string under the key in "prefs"; empty when absent.
    QString userPrefsStringFor(const QString &key) const;
    // Sets one item of a top-level dictionary ("prefs" starts from the built-in values,
    // "colors" from the built-in colours, any other from empty); an absent value removes
    // the item.
    void updateUserPreferences(const QString &dictionaryKey, const QString &itemKey, const PropertyList &value);

    // "lastStates": remembered states. "lastSaveFormat" and "selectedSet" move in from an
    // old top-level key of the same name on first request.
    PropertyList lastStatesForKey(const QString &key);
    void updateLastStates(const PropertyList &value, const QString &key);
    PropertyList metaInfoValueForKey(const QString &key) const;
    void updateMetaInfo(const PropertyList &value, const QString &key);

    // A preference colour by well name; the built-in colour when the stored one is missing
    // or unreadable.
    Color colorForKey(const QString &key) const;
    void setColorForKey(const Color &color, const QString &key);
    // Marker colours 1 to 5 (any other number gives colour 1), in calibrated RGB.
    Color markerColor(int number) const;

    int selectedUnit() const { return userPrefsValueFor(QStringLiteral("rulerUnit")); }
    bool keepBackup() const { return userPrefsValueFor(QStringLiteral("keepBackup")) != 0; }
    bool saveFormatted() const { return userPrefsValueFor(QStringLiteral("saveXML")) != 0; }
    int startUp() const { return userPrefsValueFor(QStringLiteral("startUp")); }
    // "viewSzW" and "viewSzH"; a side below 8 becomes 480 or 728.
    Size userPrefViewSize() const;
    // Each margin from "marginL", ... ; a missing one is 57 when the view side is exactly
    // 480 (left, right) or 728 (top, bottom), else 0.
    float marginFor(const QString &key) const;
    QString userDefaultPaperName() const;

private:
    UserDefaults &m_defaults;
};
