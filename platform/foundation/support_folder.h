// The application's support folder, where the user's saved filter stacks and object sets live.
#pragma once

#include <QString>

// "$XDG_DATA_HOME/Vekanto/" (a relative $XDG_DATA_HOME is ignored, as the XDG rules say: then
// "~/.local/share/Vekanto/"), made with its parent folders when missing. Empty when it cannot
// be made, also when a plain file stands in its place. The path ends with a slash.
QString vekSupportPath();
