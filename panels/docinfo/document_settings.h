// Changes of a document's settings made from the panels. Each goes through the document's
// setters as one undo step; its undo sets the old value back through the same setters (and
// so registers the redo). After each change, undo and redo included,
// VekDocumentSettingsDidChangeNotification goes out (sender: the document), so the panels,
// the window's title and the canvas follow.
#pragma once

#include "document/print_info.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/undo_manager.h"
#include "document/vek_document.h"

#include <QString>

#include <functional>

inline const QString VekDocumentSettingsDidChangeNotification = QStringLiteral("VekDocumentSettingsDidChange");

// Sets `after` through `set` and registers the step back to `before` under the action name.
// Equal values change nothing.
template <typename T>
void changeDocumentSetting(VekDocument &document, const QString &actionName, const T &before, const T &after,
                           std::function<void(VekDocument &, const T &)> set)
{
    if (before == after)
        return;
    set(document, after);
    UndoManager &undo = *document.undoManager();
    undo.registerUndoWithTarget(&document, [&document, actionName, before, after, set] {
        changeDocumentSetting(document, actionName, after, before, set);
    });
    undo.setActionName(actionName);
    NotificationCenter::defaultCenter().postNotificationName(VekDocumentSettingsDidChangeNotification, &document);
}

// What the print tab edits, as one value: the print settings, the size of one page, the
// resolution and whether headers and footers are printed.
struct PrintSettings {
    PrintInfo info;
    Size drawAreaSize;
    int resolution = 72;
    int addBorder = 0;

    static PrintSettings of(VekDocument &document);
    // Applies every part through the document's setters.
    void applyTo(VekDocument &document) const;
    friend bool operator==(const PrintSettings &, const PrintSettings &) = default;
};

// One undoable change of the print settings: `change` edits a copy of the present ones.
void changePrintSettings(VekDocument &document, const QString &actionName,
                         const std::function<void(PrintSettings &)> &change);
