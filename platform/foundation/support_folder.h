// The application's support folder, where the user's object sets and saved filter stacks live.
#pragma once

#include <QString>

// "$XDG_DATA_HOME/Vekanto" (a relative $XDG_DATA_HOME is ignored, as the XDG rules say: then
// "~/.local/share/Vekanto"), without a final slash. The folder is not made here: whoever
// writes into it makes the folders it needs, and a write fails where a file stands in the way.
QString vekSupportPath();
