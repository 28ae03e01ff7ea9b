// The preferences in the user defaults.
#include "app/preferences.h"

#include "document/print_info.h"
#include "platform/foundation/archiving.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/user_defaults.h"
#include "toolkit/cmyk_color.h"

#include <QDebug>

namespace {

PropertyList archivedColor(const Color &color)
{
    return PropertyList::fromData(archivedDataWithRootObject(color).value.value_or(QByteArray()));
}

struct BuiltInColor {
    const char *key;
    const char *label;   // what the preferences window calls it
    Color color;
};

const std::vector<BuiltInColor> &builtInColors()
{
    static const std::vector<BuiltInColor> colors = {
        {"cwGrid", "Grid", Color::colorWithCalibratedRed(0.8f, 0.85f, 1.0f)},
        {"cwGridM", "Major grid lines", Color::colorWithCalibratedRed(0.6f, 0.7f, 1.0f)},
        {"cwFRbg", "Floating ruler background", Color::colorWithCalibratedRed(1.0f, 1.0f, 0.9f, 0.9f)},
        {"cwFRmk", "Floating ruler marks", Color::colorWithCalibratedRed(0.0f, 0.0f, 0.0f)},
        {"cwKnob", "Resize knobs", Color::colorWithCalibratedRed(0.2f, 0.4f, 1.0f)},
        {"cwCtrlLine", "Control lines", Color::colorWithCalibratedRed(0.5f, 0.5f, 0.5f)},
        {"cwCtrlPts", "Curve handles", Color::colorWithCalibratedRed(0.6f, 0.6f, 0.6f)},
        {"cwCtrlPtO", "Path points", Color::colorWithCalibratedRed(1.0f, 1.0f, 1.0f)},
        {"cwCtrlPtB", "First point of a path", Color::colorWithCalibratedRed(0.0f, 0.8f, 0.0f)},
        {"cwCtrlPtC", "Selected point", Color::colorWithCalibratedRed(1.0f, 0.0f, 0.0f)},
        {"cwCtrlPtE", "Last point of a path", Color::colorWithCalibratedRed(0.0f, 0.0f, 1.0f)},
        {"cwMarker1", "Marker 1", Color::colorWithCalibratedRed(1.0f, 1.0f, 0.0f, 0.5f)},
        {"cwMarker2", "Marker 2", Color::colorWithCalibratedRed(0.4f, 1.0f, 0.4f, 0.5f)},
        {"cwMarker3", "Marker 3", Color::colorWithCalibratedRed(1.0f, 0.5f, 0.8f, 0.5f)},
        {"cwMarker4", "Marker 4", Color::colorWithCalibratedRed(0.4f, 0.8f, 1.0f, 0.5f)},
        {"cwMarker5", "Marker 5", Color::colorWithCalibratedRed(1.0f, 0.6f, 0.2f, 0.5f)},
    };
    return colors;
}

} // namespace

VekPreferences::VekPreferences(UserDefaults &defaults) : m_defaults(defaults) {}

PropertyList VekPreferences::defaultPrefs()
{
    const PrintInfo info = PrintInfo::defaults();
    float left = info.leftMargin, right = info.rightMargin, top = info.topMargin, bottom = info.bottomMargin;
    const Size paper = info.paperSize;
    float width = paper.width - left - right;
    if (!(left + right + 8 < paper.width)) {
        left = right = 0;
        width = paper.width;
    }
    float height = paper.height - top - bottom;
    if (!(top + bottom + 8 < paper.height)) {
        top = bottom = 0;
        height = paper.height;
    }
    PropertyList prefs = PropertyList::dictionary();
    auto setInt = [&prefs](const char *key, qint64 value) { prefs.insert(QLatin1String(key), PropertyList::fromInt(value)); };
    setInt("startUp", 0);
    setInt("keepBackup", 1);
    setInt("rulerUnit", 2);
    prefs.insert(QStringLiteral("gridScale"), PropertyList::fromFloat(1.0f));
    setInt("optGrid", 0);
    setInt("optPts", 1);
    setInt("optLines", 1);
    setInt("optShadow", 0);
    setInt("myPopupMaxNr", 10);
    setInt("continueFind", 1);
    setInt("showInFinder", 0);
    setInt("viewSzW", qint64(width));
    setInt("viewSzH", qint64(height));
    setInt("marginL", qint64(left));
    setInt("marginR", qint64(right));
    setInt("marginT", qint64(top));
    setInt("marginB", qint64(bottom));
    setInt("autoCheck", 0);
    setInt("saveXML", 0);
    setInt("optRWBase", 0);
    prefs.insert(QStringLiteral("fRulerFrameH"), PropertyList(stringFromRect(Rect(50, 50, 600, 40))));
    prefs.insert(QStringLiteral("fRulerFrameV"), PropertyList(stringFromRect(Rect(50, 100, 40, 600))));
    if (!info.paperName.isEmpty())
        prefs.insert(QStringLiteral("paperName"), PropertyList(info.paperName));
    else
        qWarning(" no default paperName.");
    return prefs;
}

PropertyList VekPreferences::defaultColors()
{
    PropertyList colors = PropertyList::dictionary();
    for (const BuiltInColor &c : builtInColors())
        colors.insert(QLatin1String(c.key), archivedColor(c.color));
    return colors;
}

const QStringList &VekPreferences::colorKeys()
{
    static const QStringList keys = [] {
        QStringList k;
        for (const BuiltInColor &c : builtInColors())
            k << QLatin1String(c.key);
        return k;
    }();
    return keys;
}

QString VekPreferences::colorLabel(const QString &key)
{
    for (const BuiltInColor &c : builtInColors())
        if (key == QLatin1String(c.key))
            return localizedString(QString::fromLatin1(c.label));
    return key;
}

void VekPreferences::ensureStored()
{
    bool changed = false;
    if (!m_defaults.dictionaryForKey(QStringLiteral("colors")).isDictionary()) {
        m_defaults.setObject(defaultColors(), QStringLiteral("colors"));
        changed = true;
    }
    if (!m_defaults.dictionaryForKey(QStringLiteral("prefs")).isDictionary()) {
        m_defaults.setObject(defaultPrefs(), QStringLiteral("prefs"));
        changed = true;
    }
    if (changed)
        m_defaults.synchronize();
}

int VekPreferences::userPrefsValueFor(const QString &key) const
{
    PropertyList prefs = m_defaults.dictionaryForKey(QStringLiteral("prefs"));
    if (!prefs.isDictionary())
        prefs = defaultPrefs();
    return prefs.value(key).intValue();
}

float VekPreferences::userPrefsFloatFor(const QString &key) const
{
    PropertyList prefs = m_defaults.dictionaryForKey(QStringLiteral("prefs"));
    if (!prefs.isDictionary())
        prefs = defaultPrefs();
    return prefs.value(key).floatValue();
}

QString VekPreferences::userPrefsStringFor(const QString &key) const
{
    return m_defaults.dictionaryForKey(QStringLiteral("prefs")).value(key).stringValue();
}

void VekPreferences::updateUserPreferences(const QString &dictionaryKey, const QString &itemKey,
                                           const PropertyList &value)
{
    m_defaults.updateObjectForKey(dictionaryKey, [&](PropertyList &dict) {
        if (!dict.isDictionary()) {
            if (dictionaryKey == QLatin1String("prefs"))
                dict = defaultPrefs();
            else if (dictionaryKey == QLatin1String("colors"))
                dict = defaultColors();
            else
                dict = PropertyList::dictionary();
        }
        if (value.isAbsent())
            dict.remove(itemKey);
        else
            dict.insert(itemKey, value);
    });
    m_defaults.synchronize();
}

PropertyList VekPreferences::lastStatesForKey(const QString &key)
{
    const PropertyList value = m_defaults.dictionaryForKey(QStringLiteral("lastStates")).value(key);
    if (!value.isAbsent())
        return value;
    if (key != QLatin1String("lastSaveFormat") && key != QLatin1String("selectedSet"))
        return {};
    const PropertyList old = m_defaults.objectForKey(key);
    if (old.isAbsent())
        return {};
    updateLastStates(old, key);
    m_defaults.removeObjectForKey(key);
    m_defaults.synchronize();
    return old;
}

void VekPreferences::updateLastStates(const PropertyList &value, const QString &key)
{
    updateUserPreferences(QStringLiteral("lastStates"), key, value);
}

PropertyList VekPreferences::metaInfoValueForKey(const QString &key) const
{
    return m_defaults.dictionaryForKey(QStringLiteral("meta")).value(key);
}

void VekPreferences::updateMetaInfo(const PropertyList &value, const QString &key)
{
    updateUserPreferences(QStringLiteral("meta"), key, value);
}

Color VekPreferences::colorForKey(const QString &key) const
{
    const PropertyList stored = m_defaults.dictionaryForKey(QStringLiteral("colors")).value(key);
    if (stored.isData())
        if (ArchiveResult<Color> color = unarchiveColorWithData(stored.dataValue()))
            return *color.value;
    for (const BuiltInColor &c : builtInColors())
        if (key == QLatin1String(c.key))
            return c.color;
    return Color::blackColor();
}

void VekPreferences::setColorForKey(const Color &color, const QString &key)
{
    updateUserPreferences(QStringLiteral("colors"), key, archivedColor(rgbColor(color)));
}

Color VekPreferences::markerColor(int number) const
{
    const int n = number >= 2 && number <= 5 ? number : 1;
    return rgbColor(colorForKey(QStringLiteral("cwMarker%1").arg(n)));
}

Size VekPreferences::userPrefViewSize() const
{
    int w = userPrefsValueFor(QStringLiteral("viewSzW"));
    int h = userPrefsValueFor(QStringLiteral("viewSzH"));
    return {float(w < 8 ? 480 : w), float(h < 8 ? 728 : h)};
}

float VekPreferences::marginFor(const QString &key) const
{
    PropertyList prefs = m_defaults.dictionaryForKey(QStringLiteral("prefs"));
    if (!prefs.isDictionary())
        prefs = defaultPrefs();
    if (prefs.value(key).isNumber())
        return float(prefs.value(key).intValue());
    const Size view = userPrefViewSize();
    const bool horizontal = key == QLatin1String("marginL") || key == QLatin1String("marginR");
    return (horizontal ? view.width == 480 : view.height == 728) ? 57 : 0;
}

QString VekPreferences::userDefaultPaperName() const
{
    return m_defaults.dictionaryForKey(QStringLiteral("prefs")).value(QStringLiteral("paperName")).stringValue();
}
