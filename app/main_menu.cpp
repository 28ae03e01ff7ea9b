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

// An item's keys: all the platform's bindings of a standard key, or our own sequences.
struct Shortcut {
    Shortcut() = default;
    Shortcut(QKeySequence::StandardKey standard) : keys(QKeySequence::keyBindings(standard)) {}
    Shortcut(QKeyCombination own) : keys{QKeySequence(own)} {}
    Shortcut(const QKeySequence &own) : keys{own} {}
    Shortcut(std::initializer_list<QKeySequence> own) : keys(own) {}
    QList<QKeySequence> keys;
};

struct Item {
    const char *title;   // empty: a separator
    const char *action;  // empty with `submenu`: the item opens the submenu
    Shortcut shortcut;
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

// Items carry the platform's standard keys where there are such, and the usual keys of
// drawing programs elsewhere. The canvas keeps Delete and the arrows for itself (they also
// act on a selected path point), and an open text editor takes the clipboard keys and
// Select All before the menus (VekView::event).
const std::vector<MenuSpec> &menuSpecs()
{
    static const std::vector<MenuSpec> specs = {
        {"File",
         {{"New", "newDocument", QKeySequence::New},
          {"Open...", "openDocument", QKeySequence::Open},
          {"Import...", "importCommand", {}},
          {"Import PDF Image Only...", "importPDFimageOnly", {}},
          {"Place Image...", "placeImage", {}},
          {"", "", {}},
          {"Close", "performClose", QKeySequence::Close},
          {"Save", "saveDocument", QKeySequence::Save},
          // Desktops without their own binding (a bare X session) give SaveAs no key.
          {"Save As...", "saveDocumentAs", Qt::CTRL | Qt::SHIFT | Qt::Key_S},
          {"Revert to Saved", "revertDocumentToSaved", {}},
          {"Save Pages As...", "saveDocumentPagesAs", {}},
          {"Export...", "exportCommand", {}},
          {"Export Part...", "exportPart", {}},
          {"Save Text As...", "saveTextAs", {}},
          {"Page Layout...", "runPageLayout", {}},
          {"Print...", "printCommand", QKeySequence::Print},
          {"", "", {}},
          {"Preferences...", "showPreferences", QKeySequence::Preferences},
          {"Quit", "terminate", QKeySequence::Quit}}},
        {"Edit",
         {{"Undo", "undo", QKeySequence::Undo},
          {"Redo", "redo", QKeySequence::Redo},
          {"", "", {}},
          {"Cut", "cut", QKeySequence::Cut},
          {"Copy", "copy", QKeySequence::Copy},
          {"Paste", "paste", QKeySequence::Paste},
          {"Delete", "delete", {}},
          {"Duplicate", "duplicate", Qt::CTRL | Qt::Key_D},
          {"Select All", "selectAll", QKeySequence::SelectAll},
          {"", "", {}},
          {"Find", "", {}, 0, false,
           {{"Find...", "performFindPanelAction", QKeySequence::Find, 1},
            {"Find Next", "performFindPanelAction", QKeySequence::FindNext, 2},
            {"Find Previous", "performFindPanelAction", QKeySequence::FindPrevious, 3},
            {"Use Selection for Find", "performFindPanelAction", QKeySequence(Qt::CTRL | Qt::Key_E), 7},
            {"Jump to Selection", "centerSelectionInVisibleArea", QKeySequence(Qt::CTRL | Qt::Key_J)}}}}},
        {"Format",
         {{"Font", "", {}, 0, false,
           {{"Family", FontFamilyAction, {}},
            {"Size", "", {}, 0, false,
             {{"9", "setFontSize", {}, 9, true},
              {"10", "setFontSize", {}, 10, true},
              {"11", "setFontSize", {}, 11, true},
              {"12", "setFontSize", {}, 12, true},
              {"14", "setFontSize", {}, 14, true},
              {"18", "setFontSize", {}, 18, true},
              {"24", "setFontSize", {}, 24, true},
              {"36", "setFontSize", {}, 36, true},
              {"48", "setFontSize", {}, 48, true},
              {"72", "setFontSize", {}, 72, true}}},
            {"", "", {}},
            {"Bold", "setBold", QKeySequence::Bold, 0, true},
            {"Italic", "setItalic", QKeySequence::Italic, 0, true},
            {"Underline", "setUnderline", QKeySequence::Underline, 0, true},
            {"", "", {}},
            {"Bigger", "makeFontBigger", {}},
            {"Smaller", "makeFontSmaller", {}}}},
          {"Text", "", {}, 0, false,
           {{"Align Left", "setTextAlignment", {}, int(TextAlignment::Left), true},
            {"Center", "setTextAlignment", {}, int(TextAlignment::Center), true},
            {"Justify", "setTextAlignment", {}, int(TextAlignment::Justified), true},
            {"Align Right", "setTextAlignment", {}, int(TextAlignment::Right), true}}},
          {"Baseline", "", {}, 0, false,
           {{"Use Default", "unscript", {}},
            {"Superscript", "raisebaselineByHalf", {}},
            {"Subscript", "lowerBaselineByHalf", {}},
            {"Raise", "raiseBaseline", {}},
            {"Lower", "lowerBaseline", {}}}},
          {"", "", {}},
          {"Set Anchor...", "setAnchor", {}},
          {"Set Link...", "setLink", {}}}},
        {"Arrange",
         {{"Group", "group", Qt::CTRL | Qt::Key_G},
          {"Ungroup", "ungroup", Qt::CTRL | Qt::SHIFT | Qt::Key_G},
          {"Bring to Front", "bringToFront", {}},
          {"Send to Back", "sendToBack", {}},
          {"", "", {}},
          {"Align Left", "alignLeft", {}},
          {"Align Right", "alignRight", {}},
          {"Align Top", "alignTop", {}},
          {"Align Bottom", "alignBottom", {}},
          {"Make Same Width", "makeSameWidth", {}},
          {"Make Same Height", "makeSameHeight", {}},
          {"", "", {}},
          {"Make Straight", "makeStraight", {}},
          {"Make Smoother", "makeSmoother", {}},
          {"Reverse Path", "pathReverse", {}},
          {"Close Path", "closeBezierPath", {}},
          {"Merge Paths", "mergeBezierPaths", {}},
          {"Make Positive", "makePositive", {}},
          {"Convert to Plain Path", "convertToNormal", {}}}},
        {"Page",
         {{"Zoom In", "zoomIn", {QKeySequence::ZoomIn, Qt::CTRL | Qt::Key_Equal}},
          {"Zoom Out", "zoomOut", QKeySequence::ZoomOut},
          {"", "", {}},
          {"Add Page", "addPage", {}},
          {"Insert Page", "insertPage", {}},
          {"Remove Page", "removePage", {}},
          {"Move Page Up", "movePageUp", {}},
          {"Move Page Down", "movePageDown", {}},
          {"", "", {}},
          {"Snap to Grid", "snapsToGrid", {}, 0, true},
          {"Rulers", "toggleVekRulers", {}, 0, true},
          {"Show Invisible Characters", "showInvisibleChars", {}, 0, true},
          {"Show Anchors", "showAnchors", {}, 0, true},
          {"Hide Background", "hideTemplate", {}, 0, true},
          {"Merge Background...", "mergeBasePdf", {}},
          {"", "", {}},
          {"Background Color...", "changeBackgroundColor", {}}}},
        {"Tools",
         {{"Arrow", "selectTool", {}, 0},
          {"Object", "selectTool", {}, 1},
          {"Free-hand", "selectTool", {}, 2},
          {"Point Pen", "selectTool", {}, 3},
          {"Contour", "selectTool", {}, 4},
          {"Marker", "selectTool", {}, 5},
          {"Text", "selectTool", {}, 6},
          {"Page Number and Date", "selectTool", {}, 7},
          {"Table", "selectTool", {}, 8}}},
        {"Window",
         {{"Open Tool Panel", "toggleToolPanel", {}},
          {"Open Object Info Panel", "toggleObjInfoPanel", Qt::CTRL | Qt::SHIFT | Qt::Key_I},
          {"Open Document Info Panel", "toggleDocInfoPanel", {}},
          {"Open Page Preview", "togglePagePreview", {}},
          {"Open Border Panel", "toggleBorderPanel", {}},
          {"Open Memo Panel", "toggleMemoPanel", {}},
          {"Show Horizontal Ruler", "toggleFloatingRuler", {}, 0},
          {"Show Vertical Ruler", "toggleFloatingRuler", {}, 1},
          {"Colors", "toggleColorPanel", QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_C)},
          {"Image Filters...", "openIFPanel", {}},
          {"", "", {}},
          {"Add Default Object Set", "addDefaultObjectSet", {}},
          {"Import Object Sets...", "readinVekObjSet", {}},
          {"Add Default Patterns", "addDefaultPatterns", {}}}},
        {"Help",
         {{"Vekanto Help", "openReadme", QKeySequence::HelpContents},
          {"Open Example...", "openExample", {}},
          {"", "", {}},
          {"Check for Updates...", "checkVekUpdate", {}},
          {"Check for Updates Automatically", "updateAutoCheck", {}, 0, true}}},
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
void addActionItem(QMenu &menu, const QString &title, const char *action, const QList<QKeySequence> &shortcuts, int tag,
                   bool checkable, QObject *context, const ResponderChainSource &chain)
{
    QAction *item = menu.addAction(title);
    item->setShortcuts(shortcuts);
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
            addActionItem(*families, family, FontFamilyAction, {}, 0, true, context, chain);
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
            addActionItem(menu, title, item.action, item.shortcut.keys, item.tag, item.checkable, context, chain);
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
