// The menus and their items.
#include "app/main_menu.h"

#include "platform/foundation/localized_strings.h"
#include "platform/text/font_registry.h"
#include "platform/text/paragraph_style.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

const char *const ActionProperty = "vekAction";

struct Item {
    const char *title;   // empty: a separator
    const char *action;  // empty with `submenu`: the item opens the submenu
    QKeySequence shortcut;
    int tag = 0;
    bool checkable = false;   // shows the state validation gives
    std::vector<Item> submenu = {};
};

// The action of the items of a submenu that lists the installed font families (the
// family is the item's title); it is filled when it first opens.
const char *const FontFamilyAction = "setFontFamily";

struct MenuSpec {
    const char *title;
    std::vector<Item> items;
};

// The canvas takes its own keys (Delete, arrows, copy and paste) before any menu would, so
// those items carry no shortcut; the others' shortcuts reach the responder chain.
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
          {"Select All", "selectAll", QKeySequence()},
          {"", "", QKeySequence()},
          {"Find", "", QKeySequence(), 0, false,
           {{"Find...", "performFindPanelAction", QKeySequence::Find, 1},
            {"Find Next", "performFindPanelAction", QKeySequence::FindNext, 2},
            {"Find Previous", "performFindPanelAction", QKeySequence::FindPrevious, 3},
            {"Use Selection for Find", "performFindPanelAction", QKeySequence(Qt::CTRL | Qt::Key_E), 7},
            {"Jump to Selection", "centerSelectionInVisibleArea", QKeySequence(Qt::CTRL | Qt::Key_J)}}}}},
        {"Format",
         {{"Font", "", QKeySequence(), 0, false,
           {{"Family", FontFamilyAction, QKeySequence()},
            {"Size", "", QKeySequence(), 0, false,
             {{"9", "setFontSize", QKeySequence(), 9, true},
              {"10", "setFontSize", QKeySequence(), 10, true},
              {"11", "setFontSize", QKeySequence(), 11, true},
              {"12", "setFontSize", QKeySequence(), 12, true},
              {"14", "setFontSize", QKeySequence(), 14, true},
              {"18", "setFontSize", QKeySequence(), 18, true},
              {"24", "setFontSize", QKeySequence(), 24, true},
              {"36", "setFontSize", QKeySequence(), 36, true},
              {"48", "setFontSize", QKeySequence(), 48, true},
              {"72", "setFontSize", QKeySequence(), 72, true}}},
            {"", "", QKeySequence()},
            {"Bold", "setBold", QKeySequence::Bold, 0, true},
            {"Italic", "setItalic", QKeySequence::Italic, 0, true},
            {"Underline", "setUnderline", QKeySequence::Underline, 0, true},
            {"", "", QKeySequence()},
            {"Bigger", "makeFontBigger", QKeySequence()},
            {"Smaller", "makeFontSmaller", QKeySequence()}}},
          {"Text", "", QKeySequence(), 0, false,
           {{"Align Left", "setTextAlignment", QKeySequence(), int(TextAlignment::Left), true},
            {"Center", "setTextAlignment", QKeySequence(), int(TextAlignment::Center), true},
            {"Justify", "setTextAlignment", QKeySequence(), int(TextAlignment::Justified), true},
            {"Align Right", "setTextAlignment", QKeySequence(), int(TextAlignment::Right), true}}},
          {"Baseline", "", QKeySequence(), 0, false,
           {{"Use Default", "unscript", QKeySequence()},
            {"Superscript", "raisebaselineByHalf", QKeySequence()},
            {"Subscript", "lowerBaselineByHalf", QKeySequence()},
            {"Raise", "raiseBaseline", QKeySequence()},
            {"Lower", "lowerBaseline", QKeySequence()}}},
          {"", "", QKeySequence()},
          {"Set Anchor...", "setAnchor", QKeySequence()},
          {"Set Link...", "setLink", QKeySequence()}}},
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
          {"Show Anchors", "showAnchors", QKeySequence(), 0, true},
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
          {"Open Memo Panel", "toggleMemoPanel", QKeySequence()},
          {"Show Horizontal Ruler", "toggleFloatingRuler", QKeySequence(), 0},
          {"Show Vertical Ruler", "toggleFloatingRuler", QKeySequence(), 1},
          {"Colors", "toggleColorPanel", QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_C)},
          {"", "", QKeySequence()},
          {"Add Default Object Set", "addDefaultObjectSet", QKeySequence()},
          {"Import Object Sets...", "readinVekObjSet", QKeySequence()},
          {"Add Default Patterns", "addDefaultPatterns", QKeySequence()}}},
        {"Help",
         {{"Vekanto Help", "openReadme", QKeySequence::HelpContents},
          {"Open Example...", "openExample", QKeySequence()}}},
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

// One item that sends its action through the chain; its QAction lives as long as `context`.
void addActionItem(QMenu &menu, const QString &title, const char *action, const QKeySequence &shortcut, int tag,
                   bool checkable, QObject *context, const ResponderChainSource &chain)
{
    QAction *item = menu.addAction(title);
    item->setShortcut(shortcut);
    item->setData(tag);
    item->setCheckable(checkable);
    item->setProperty(ActionProperty, QString::fromLatin1(action));
    QObject::connect(item, &QAction::triggered, context, [item, chain] {
        // Shortcuts fire without the menu opening: validate first.
        chain().performAction(item->property(ActionProperty).toString(), senderFor(*item));
    });
}

// Every menu validates its items as it opens.
void validateOnShow(QMenu &menu, const ResponderChainSource &chain)
{
    QObject::connect(&menu, &QMenu::aboutToShow, &menu, [&menu, chain] { validateMenu(menu, chain()); });
    // A closed menu leaves its items enabled, so that their shortcuts reach the chain,
    // which validates again before it performs.
    QObject::connect(&menu, &QMenu::aboutToHide, &menu, [&menu] {
        for (QAction *item : menu.actions())
            item->setEnabled(true);
    });
}

// The installed font families, listed the first time the submenu opens (asking the font
// registry is slow, and most sessions never open it).
void addFontFamilyMenu(QMenu &menu, const QString &title, QObject *context, const ResponderChainSource &chain)
{
    QMenu *families = menu.addMenu(title);
    QObject::connect(families, &QMenu::aboutToShow, families, [families, context, chain] {
        if (!families->isEmpty())
            return;
        for (const QString &family : availableFontFamilies())
            addActionItem(*families, family, FontFamilyAction, QKeySequence(), 0, true, context, chain);
    });
    validateOnShow(*families, chain);
}

void addItems(QMenu &menu, const std::vector<Item> &items, QObject *context, const ResponderChainSource &chain)
{
    for (const Item &item : items) {
        const QString title = localizedString(QString::fromLatin1(item.title));
        if (!*item.title)
            menu.addSeparator();
        else if (qstrcmp(item.action, FontFamilyAction) == 0)
            addFontFamilyMenu(menu, title, context, chain);
        else if (!item.submenu.empty())
            addItems(*menu.addMenu(title), item.submenu, context, chain);
        else
            addActionItem(menu, title, item.action, item.shortcut, item.tag, item.checkable, context, chain);
    }
    validateOnShow(menu, chain);
}

// The menus of menuSpecs() added to a menu bar or to a menu; the item actions live as long
// as `context`.
template <typename MenuContainer>
void addMenus(MenuContainer &container, QObject *context, const ResponderChainSource &chain)
{
    for (const MenuSpec &spec : menuSpecs())
        addItems(*container.addMenu(localizedString(QString::fromLatin1(spec.title))), spec.items, context, chain);
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
