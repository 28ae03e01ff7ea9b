// The application's support folder, where it keeps the user's object sets and colour lists:
// $XDG_DATA_HOME/Vekanto, else ~/.local/share/Vekanto.
#pragma once

#include <QString>

QString vekSupportPath();
