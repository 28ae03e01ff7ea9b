// The menus and their items.
#include "app/main_menu.h"

#include "platform/foundation/localized_strings.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

const char *const ActionProperty = "vekAction";

struct Item {
    const char *title;   // empty: a separator
    const char *action;
    QKeySequence shortcut;
    int tag = 0;
    bool checkable = false;   // shows the state validation gives
};

struct MenuSpec {
    const char *title;
    std::vector<Item> items;
};

// Only the commands of the windows and the application carry shortcuts here: the canvas
// takes its own keys (Delete, arrows, copy and paste) before any menu would.
const std::vector<MenuSpec> &menuSpecs()
{
    static const std::vector<MenuSpec> specs = {
        {"File",
         {{"New", "newDocument", QKeySequence::New},
          {"Open...", "openDocument", QKeySequence::Open},
          {"Import...", "importCommand", QKeySequence()},
          {"Import PDF Image Only...", "importPDFimageOnly", QKeySequence()},
          {"", "", QKeySequence()},
          {"Close", "performClose", QKeySequence::Close},
          {"Save", "saveDocument", QKeySequence::Save},
          {"Save As...", "saveDocumentAs", QKeySequence::SaveAs},
          {"Revert to Saved", "revertDocumentToSaved", QKeySequence()},
          {"Save Pages As...", "saveDocumentPagesAs", QKeySequence()},
          {"Export...", "exportCommand", QKeySequence()},
          {"Export Part...", "exportPart", QKeySequence()},
          {"Save Text As...", "saveTextAs", QKeySequence()},
          {"Page Layout...", "runPageLayout", QKeySequence()},
          {"Print...", "printCommand", QKeySequence::Print},
          {"", "", QKeySequence()},
          {"Preferences...", "showPreferences", QKeySequence::Preferences},
          {"Quit", "terminate", QKeySequence::Quit}}},
        {"Edit",
         {{"Undo", "undo", QKeySequence::Undo},
          {"Redo", "redo", QKeySequence::Redo},
          {"", "", QKeySequence()},
          {"Cut", "cut", QKeySequence()},
          {"Copy", "copy", QKeySequence()},
          {"Paste", "paste", QKeySequence()},
          {"Delete", "delete", QKeySequence()},
          {"Duplicate", "duplicate", QKeySequence()},
          {"Select All", "selectAll", QKeySequence()}}},
        {"Arrange",
         {{"Group", "group", QKeySequence()},
          {"Ungroup", "ungroup", QKeySequence()},
          {"Bring to Front", "bringToFront", QKeySequence()},
          {"Send to Back", "sendToBack", QKeySequence()},
          {"", "", QKeySequence()},
          {"Align Left", "alignLeft", QKeySequence()},
          {"Align Right", "alignRight", QKeySequence()},
          {"Align Top", "alignTop", QKeySequence()},
          {"Align Bottom", "alignBottom", QKeySequence()},
          {"Make Same Width", "makeSameWidth", QKeySequence()},
          {"Make Same Height", "makeSameHeight", QKeySequence()},
          {"", "", QKeySequence()},
          {"Make Straight", "makeStraight", QKeySequence()},
          {"Make Smoother", "makeSmoother", QKeySequence()},
          {"Reverse Path", "pathReverse", QKeySequence()},
          {"Close Path", "closeBezierPath", QKeySequence()},
          {"Merge Paths", "mergeBezierPaths", QKeySequence()},
          {"Make Positive", "makePositive", QKeySequence()}}},
        {"Page",
         {{"Add Page", "addPage", QKeySequence()},
          {"Insert Page", "insertPage", QKeySequence()},
          {"Remove Page", "removePage", QKeySequence()},
          {"Move Page Up", "movePageUp", QKeySequence()},
          {"Move Page Down", "movePageDown", QKeySequence()},
          {"", "", QKeySequence()},
          {"Snap to Grid", "snapsToGrid", QKeySequence(), 0, true},
          {"Rulers", "toggleRulers", QKeySequence(), 0, true},
          {"Show Invisible Characters", "showInvisibleChars", QKeySequence(), 0, true},
          {"Hide Background", "hideTemplate", QKeySequence(), 0, true}}},
        {"Tools",
         {{"Arrow", "selectTool", QKeySequence(), 0},
          {"Object", "selectTool", QKeySequence(), 1},
          {"Free-hand", "selectTool", QKeySequence(), 2},
          {"Point Pen", "selectTool", QKeySequence(), 3},
          {"Contour", "selectTool", QKeySequence(), 4},
          {"Marker", "selectTool", QKeySequence(), 5},
          {"Text", "selectTool", QKeySequence(), 6},
          {"Page Number and Date", "selectTool", QKeySequence(), 7},
          {"Table", "selectTool", QKeySequence(), 8}}},
        {"Window",
         {{"Open Tool Panel", "toggleToolPanel", QKeySequence()},
          {"Show Horizontal Ruler", "toggleFloatingRuler", QKeySequence(), 0},
          {"Show Vertical Ruler", "toggleFloatingRuler", QKeySequence(), 1},
          {"Colors", "toggleColorPanel", QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_C)}}},
    };
    return specs;
}

ActionSender senderFor(const QAction &item)
{
    ActionSender sender;
    sender.tag = item.data().toInt();
    sender.state = item.isChecked() ? 1 : 0;
    sender.title = item.text();
    sender.control = &item;
    return sender;
}

void validateItem(QAction &item, const ResponderChain &chain)
{
    const QString action = item.property(ActionProperty).toString();
    if (action.isEmpty())
        return;
    ActionSender sender = senderFor(item);
    item.setEnabled(chain.validateAction(action, sender));
    if (sender.title != item.text())
        item.setText(sender.title);
    if (item.isCheckable())
        item.setChecked(sender.state != 0);
}

} // namespace

void validateMenu(QMenu &menu, const ResponderChain &chain)
{
    for (QAction *item : menu.actions())
        validateItem(*item, chain);
}

namespace {

// The menus of menuSpecs() added to a menu bar or to a menu; the item actions live as long
// as `context`.
template <typename MenuContainer>
void addMenus(MenuContainer &container, QObject *context, const ResponderChainSource &chain)
{
    for (const MenuSpec &spec : menuSpecs()) {
        QMenu *menu = container.addMenu(localizedString(QString::fromLatin1(spec.title)));
        for (const Item &item : spec.items) {
            if (!*item.title) {
                menu->addSeparator();
                continue;
            }
            QAction *action = menu->addAction(localizedString(QString::fromLatin1(item.title)));
            action->setShortcut(item.shortcut);
            action->setData(item.tag);
            action->setCheckable(item.checkable);
            action->setProperty(ActionProperty, QString::fromLatin1(item.action));
            QObject::connect(action, &QAction::triggered, context, [action, chain] {
                // Shortcuts fire without the menu opening: validate first.
                chain().performAction(action->property(ActionProperty).toString(), senderFor(*action));
            });
        }
        QObject::connect(menu, &QMenu::aboutToShow, menu, [menu, chain] { validateMenu(*menu, chain()); });
        // A closed menu leaves its items enabled, so that their shortcuts reach the chain,
        // which validates again before it performs.
        QObject::connect(menu, &QMenu::aboutToHide, menu, [menu] {
            for (QAction *item : menu->actions())
                item->setEnabled(true);
        });
    }
}

} // namespace

void installMainMenu(QMainWindow &window, const ResponderChainSource &chain)
{
    addMenus(*window.menuBar(), &window, chain);
}

void installMenus(QMenu &menu, const ResponderChainSource &chain)
{
    addMenus(menu, &menu, chain);
}
