// The menu bar of a document window: every item names an action that the responder chain
// validates before the menu opens (enabling it and setting its title and check state)
// and performs when the item is chosen.
#pragma once

#include "canvas/ui/responder.h"

#include <functional>

class QMainWindow;
class QMenu;

using ResponderChainSource = std::function<ResponderChain()>;

void installMainMenu(QMainWindow &window, const ResponderChainSource &chain);
// The same menus as submenus of one menu (the tool palette's, for when no document is open).
void installMenus(QMenu &menu, const ResponderChainSource &chain);
// Validates every item of the menu against the chain now.
void validateMenu(QMenu &menu, const ResponderChain &chain);
