// Where the help lives and the upkeep of the caches.
#include "app/help_files.h"

#include "app/app_version.h"
#include "platform/foundation/user_defaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString vekHelpPath()
{
    const QString configured = qEnvironmentVariable("VEKANTO_HELP_DIR");
    if (!configured.isEmpty())
        return configured;
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/vekanto/help"));
}

QString vekCachePath()
{
    QString base = qEnvironmentVariable("XDG_CACHE_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.cache");
    return base + QStringLiteral("/Vekanto");
}

void updateHelpCaches(UserDefaults &defaults, const QString &cacheFolder)
{
    const QString versionKey = QStringLiteral("version");
    if (defaults.objectForKey(versionKey).stringValue() != VekAppVersion && QFileInfo(cacheFolder).isDir()
        && !QDir(cacheFolder).removeRecursively())
        qWarning("%s could not be removed.", qPrintable(cacheFolder));
    defaults.setObject(PropertyList::fromString(VekAppVersion), versionKey);
    defaults.synchronize();
}

QString exampleCopyPath(const QString &folder)
{
    QString path = folder + QStringLiteral("/Vekanto_example.vek");
    for (int n = 1; QFileInfo::exists(path); ++n)
        path = folder + QStringLiteral("/Vekanto_example%1.vek").arg(n);
    return path;
}
