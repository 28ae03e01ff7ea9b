// Reading and storing the export panels' shared preferences.
#include "app/document/export_preferences.h"

#include "platform/foundation/user_defaults.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace {

PropertyList preference(QLatin1String dictionary, const QString &key)
{
    return UserDefaults::standardUserDefaults().dictionaryForKey(dictionary).value(key);
}

void setPreference(QLatin1String dictionary, const QString &key, const PropertyList &value)
{
    UserDefaults::standardUserDefaults().updateObjectForKey(dictionary, [&](PropertyList &stored) {
        if (!stored.isDictionary())
            stored = PropertyList::dictionary();
        stored.insert(key, value);
    });
}

} // namespace

bool showInFinderPreference()
{
    return preference(DefaultsKey::Prefs, QStringLiteral("showInFinder")).intValue() != 0;
}

void setShowInFinderPreference(bool show)
{
    setPreference(DefaultsKey::Prefs, QStringLiteral("showInFinder"), PropertyList::fromInt(show));
}

QString lastSaveFormatPreference()
{
    return preference(DefaultsKey::LastStates, QStringLiteral("lastSaveFormat")).stringValue();
}

void setLastSaveFormatPreference(const QString &format)
{
    setPreference(DefaultsKey::LastStates, QStringLiteral("lastSaveFormat"), PropertyList(format));
}

void revealInFileManager(const QString &path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
}
