// The program's own version, which the update check compares and the help upkeep remembers.
#pragma once

#include <QString>

inline const QString VekAppVersion = QStringLiteral("1.5.1");
