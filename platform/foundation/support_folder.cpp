// The support folder under the XDG data folder.
#include "platform/foundation/support_folder.h"

#include <QDir>

QString vekSupportPath()
{
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return base + QStringLiteral("/Vekanto");
}
