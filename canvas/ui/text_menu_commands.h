// The canvas's text commands of the menus: styling (Format), find (Edit), anchors and links.
//
// While a text box is edited in place they act on the editor's selection; otherwise the
// styling commands act on the whole text of every selected text box. Each command that
// changes something is one named undo step. The canvas's responder asks here first.
#pragma once

#include "canvas/ui/responder.h"

class VekView;

bool respondsToTextAction(const QString &action);
// Disabled when no text is within reach; sets the check marks of the toggles.
bool validateTextAction(VekView &view, const QString &action, ActionSender &sender);
bool performTextAction(VekView &view, const QString &action, const ActionSender &sender);
