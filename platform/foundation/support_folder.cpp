#include "platform/foundation/support_folder.h"

#include <QDir>
#include <QFileInfo>

QString vekSupportPath()
{
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty() || QDir::isRelativePath(dataHome))
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    const QString path = dataHome + QStringLiteral("/Vekanto/");
    const QFileInfo info(path);
    if (info.isDir())
        return path;
    if (info.exists() || !QDir().mkpath(path))
        return QString();
    return path;
}
