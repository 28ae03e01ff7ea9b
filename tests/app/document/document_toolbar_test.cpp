// The document window's toolbar through its widgets: the items, zoom and pages in step with
// the canvas, align, spacing and add page as undo steps, the recent fonts, sizes and colours
// in the user defaults, and customisation.
#include "app/document/document_toolbar.h"
#include "app/document/recent_popups.h"
#include "app/document/toolbar_customize_dialog.h"
#include "app/document/vek_document_window.h"

#include "canvas/ui/vek_view.h"
#include "document/vek_document.h"
#include "model/vek_obj_path.h"
#include "platform/foundation/archiving.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/user_defaults.h"
#include "tests/support/widget_app.h"

#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>

namespace {

// The whole program keeps its defaults in a folder of its own.
class PrivateConfigHome : public ::testing::Environment {
public:
    void SetUp() override { qputenv("XDG_CONFIG_HOME", m_home.path().toLocal8Bit()); }

private:
    QTemporaryDir m_home;
};
const auto *const configHome = ::testing::AddGlobalTestEnvironment(new PrivateConfigHome);

const QString ConfigurationKey = QStringLiteral("NSToolbar Configuration Vekanto Document Toolbar ID");

UserDefaults &defaults()
{
    return UserDefaults::standardUserDefaults();
}

void storeConfiguration(const QStringList &items)
{
    PropertyList list = PropertyList::array();
    for (const QString &item : items)
        list.append(PropertyList(item));
    PropertyList configuration = PropertyList::dictionary();
    configuration.insert(QStringLiteral("TB Item Identifiers"), list);
    defaults().setObject(configuration, ConfigurationKey);
}

class DocumentToolbarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureWidgetApp();
        for (const QString &key : {ConfigurationKey, QString(DefaultsKey::MyColors), QString(DefaultsKey::MySizes),
                                  QString(DefaultsKey::MyFonts), QString(DefaultsKey::Prefs)})
            defaults().removeObjectForKey(key);
    }
    void TearDown() override { delete window; }

    // A window on a new document, its toolbar built from the configuration stored now.
    void openWindow()
    {
        auto document = std::make_unique<VekDocument>();
        document->setDrawAreaSizePerPage({400, 300});
        window = new VekDocumentWindow(std::move(document), QString(), QStringLiteral("Untitled"));
        window->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    void openWindowWithAllItems()
    {
        QStringList all;
        for (const ToolbarItemDescription &item : DocumentToolbar::allowedItems())
            all << item.identifier;
        storeConfiguration(all);
        openWindow();
    }
    VekView &view() { return window->vekView(); }
    VekDocument &document() { return window->document(); }
    VekToolbar &toolbar() { return *window->documentToolbar().toolbar(); }
    template <typename T = QWidget>
    T *part(const QString &name)
    {
        return toolbar().findChild<T *>(name);
    }
    QToolButton *button(const QString &name) { return part<QToolButton>(name); }
    void type(const QString &fieldName, const QString &text)
    {
        QLineEdit *field = part<QLineEdit>(fieldName);
        field->setText(text);
        emit field->returnPressed();
    }
    std::shared_ptr<VekObject> addRectangle(const Rect &r)
    {
        auto path = VekObjPath::create();
        path->setBezierPath(BezierPath::bezierPathWithRect(r));
        path->setBounds(r);
        document().insertObject(path, 0, false);
        document().undoManager()->removeAllActions();
        return path;
    }
    // Ends the present undo step as the end of an event-loop pass does.
    void endOfEvent() { QCoreApplication::processEvents(); }

    VekDocumentWindow *window = nullptr;
};

TEST_F(DocumentToolbarTest, TheDefaultSetAndAStoredSetOfItemsAreShown)
{
    openWindow();
    for (const QString &item : {VekDocTBItemZoom, VekDocTBItemPage, VekDocTBItemView, VekDocTBItemAlign})
        EXPECT_NE(part(item), nullptr) << item.toStdString();
    for (const QString &item : {VekDocTBItemPageAdd, VekDocTBItemSpace, VekDocTBItemFont, VekDocTBItemSize,
                                VekDocTBItemColor})
        EXPECT_EQ(part(item), nullptr) << item.toStdString();
    EXPECT_EQ(part(VekDocTBItemZoom)->toolTip(), QStringLiteral("Zoom value in %."));
    delete window;

    // Unknown identifiers and a second copy of an item are passed over.
    storeConfiguration({VekDocTBItemColor, QStringLiteral("no such item"), VekDocTBItemFont, VekDocTBItemColor,
                        VekTBItemSeparator, VekTBItemSeparator});
    openWindow();
    EXPECT_NE(part(VekDocTBItemColor), nullptr);
    EXPECT_NE(part(VekDocTBItemFont), nullptr);
    EXPECT_EQ(part(VekDocTBItemZoom), nullptr);
    EXPECT_EQ(toolbar().configuration().itemIdentifiers,
              QStringList({VekDocTBItemColor, VekDocTBItemFont, VekTBItemSeparator, VekTBItemSeparator}));
}

TEST_F(DocumentToolbarTest, TheZoomItemSetsTheCanvasZoomAndFollowsIt)
{
    openWindow();
    EXPECT_EQ(part<QLineEdit>(QStringLiteral("zoomField"))->text(), QStringLiteral("100"));

    // Typed values are kept within 10 and 900.
    // A value out of range that the canvas already shows still leaves the field right.
    const std::pair<const char *, int> typed[] = {{"5", 10}, {"2000", 900}, {"150", 150}, {"abc", 10}, {"3", 10}};
    for (const auto &[text, zoom] : typed) {
        type(QStringLiteral("zoomField"), QString::fromLatin1(text));
        EXPECT_EQ(view().currentZoom(), zoom) << text;
        EXPECT_EQ(part<QLineEdit>(QStringLiteral("zoomField"))->text(), QString::number(zoom)) << text;
    }

    button(QStringLiteral("zoomIn"))->click();
    EXPECT_EQ(view().currentZoom(), 35);
    button(QStringLiteral("zoomOut"))->click();
    EXPECT_EQ(view().currentZoom(), 10);
    EXPECT_FALSE(button(QStringLiteral("zoomOut"))->isEnabled());
    EXPECT_TRUE(button(QStringLiteral("zoomIn"))->isEnabled());

    // A zoom the canvas takes from elsewhere shows in the item.
    view().setCurrentZoom(900);
    EXPECT_EQ(part<QLineEdit>(QStringLiteral("zoomField"))->text(), QStringLiteral("900"));
    EXPECT_FALSE(button(QStringLiteral("zoomIn"))->isEnabled());
    EXPECT_TRUE(button(QStringLiteral("zoomOut"))->isEnabled());
}

TEST_F(DocumentToolbarTest, ThePageItemTurnsPagesAndFollowsTheCanvas)
{
    openWindow();
    QLineEdit *field = part<QLineEdit>(QStringLiteral("pageField"));
    // One page: nothing to turn to.
    EXPECT_FALSE(field->isEnabled());
    EXPECT_FALSE(button(QStringLiteral("previousPage"))->isEnabled());
    EXPECT_FALSE(button(QStringLiteral("nextPage"))->isEnabled());

    document().setNumberOfPages(3);
    view().updateFrame();
    EXPECT_TRUE(field->isEnabled());
    EXPECT_FALSE(button(QStringLiteral("previousPage"))->isEnabled());
    EXPECT_TRUE(button(QStringLiteral("nextPage"))->isEnabled());
    EXPECT_EQ(part(VekDocTBItemPage)->toolTip(), QStringLiteral("Showing page 1 of 3."));

    button(QStringLiteral("nextPage"))->click();
    EXPECT_EQ(view().currentPage(), 2);
    EXPECT_EQ(field->text(), QStringLiteral("2"));
    EXPECT_TRUE(button(QStringLiteral("previousPage"))->isEnabled());

    // A number beyond the pages goes to the last one, also when it is shown already.
    for (int repeat = 0; repeat < 2; ++repeat) {
        type(QStringLiteral("pageField"), QStringLiteral("9"));
        EXPECT_EQ(view().currentPage(), 3);
        EXPECT_EQ(field->text(), QStringLiteral("3"));
    }
    EXPECT_FALSE(button(QStringLiteral("nextPage"))->isEnabled());
    EXPECT_EQ(part(VekDocTBItemPage)->toolTip(), QStringLiteral("Showing page 3 of 3."));

    // The canvas turning the page itself.
    view().setCurrentPageTo(1);
    EXPECT_EQ(field->text(), QStringLiteral("1"));
}

TEST_F(DocumentToolbarTest, AlignAndSpacingFollowTheSelectionAndAreOneUndoStep)
{
    openWindowWithAllItems();
    auto a = addRectangle(Rect(10, 10, 20, 20));
    auto b = addRectangle(Rect(50, 40, 30, 20));
    auto c = addRectangle(Rect(90, 100, 10, 10));
    EXPECT_FALSE(part(VekDocTBItemAlign)->isEnabled());

    view().selectObjects({a, b});
    EXPECT_TRUE(part(VekDocTBItemAlign)->isEnabled());
    EXPECT_FALSE(part(VekDocTBItemSpace)->isEnabled());
    view().selectObjects({a, b, c});
    EXPECT_TRUE(part(VekDocTBItemSpace)->isEnabled());

    // Left edges on the first selected object's.
    button(QStringLiteral("align0"))->click();
    endOfEvent();
    EXPECT_EQ(b->bounds(), Rect(10, 40, 30, 20));
    EXPECT_EQ(c->bounds(), Rect(10, 100, 10, 10));
    document().undoManager()->undo();
    EXPECT_EQ(b->bounds(), Rect(50, 40, 30, 20));
    EXPECT_EQ(c->bounds(), Rect(90, 100, 10, 10));
    EXPECT_FALSE(document().undoManager()->canUndo());

    // Bottom edges.
    view().selectObjects({a, b, c});
    button(QStringLiteral("align5"))->click();
    endOfEvent();
    EXPECT_EQ(b->bounds().maxY(), 30);
    EXPECT_EQ(c->bounds().maxY(), 30);
    document().undoManager()->undo();

    // Vertical spacing: the gap between the first two repeats.
    view().selectObjects({a, b, c});
    button(QStringLiteral("space0"))->click();
    endOfEvent();
    EXPECT_EQ(c->bounds().origin.y, 70);
    document().undoManager()->undo();
    EXPECT_EQ(c->bounds().origin.y, 100);
}

TEST_F(DocumentToolbarTest, AddPageIsUndoableAndShowsInThePageItem)
{
    openWindowWithAllItems();
    button(QStringLiteral("addPage"))->click();
    endOfEvent();
    EXPECT_EQ(document().numberOfPages(), 2);
    EXPECT_TRUE(button(QStringLiteral("nextPage"))->isEnabled());
    document().undoManager()->undo();
    EXPECT_EQ(document().numberOfPages(), 1);
    EXPECT_FALSE(button(QStringLiteral("nextPage"))->isEnabled());
}

TEST_F(DocumentToolbarTest, TheViewOptionsGoToTheCanvasAndThePreferences)
{
    openWindowWithAllItems();
    // Built-in: no grid, control points and lines shown.
    EXPECT_FALSE(button(QStringLiteral("viewOption0"))->isChecked());
    EXPECT_TRUE(button(QStringLiteral("viewOption1"))->isChecked());
    button(QStringLiteral("viewOption0"))->click();
    button(QStringLiteral("viewOption1"))->click();
    EXPECT_TRUE(view().gridDraw());
    EXPECT_FALSE(view().shouldDrawControlPoints());
    const PropertyList prefs = defaults().dictionaryForKey(DefaultsKey::Prefs);
    EXPECT_TRUE(prefs.value(QStringLiteral("optGrid")).boolValue());
    EXPECT_FALSE(prefs.value(QStringLiteral("optPts")).boolValue());
    EXPECT_TRUE(prefs.value(QStringLiteral("optLines")).boolValue());
}

QStringList titles(const QComboBox &popup)
{
    QStringList list;
    for (int i = 0; i < popup.count(); ++i)
        list << popup.itemText(i);
    return list;
}

std::vector<Color> storedColors()
{
    std::vector<Color> colors;
    for (const PropertyList &entry : defaults().arrayForKey(DefaultsKey::MyColors).elements())
        colors.push_back(*unarchiveColorWithData(entry.dataValue()).value);
    return colors;
}

TEST_F(DocumentToolbarTest, RecentColorsAreSelectedAddedOnTopAndLimited)
{
    openWindowWithAllItems();
    auto *popup = part<RecentColorsPopup>(QStringLiteral("myColor"));
    EXPECT_EQ(titles(*popup), QStringList({"C00", "C01", "C02"}));
    EXPECT_EQ(popup->selectedColor(), Color::blackColor());

    // A colour in the list is selected, not added.
    document().updateMyColorWith(Color::redColor());
    EXPECT_EQ(popup->count(), 3);
    EXPECT_EQ(popup->currentIndex(), 1);

    // New colours go on top under the first free number; past ten the oldest goes.
    std::vector<Color> added;
    for (int i = 1; i <= 8; ++i) {
        added.push_back(Color::colorWithCalibratedRed(i / 10.0f, 0.5f, 0.5f));
        document().updateMyColorWith(added.back());
    }
    EXPECT_EQ(popup->count(), 10);
    EXPECT_EQ(popup->itemText(0), QStringLiteral("C10"));
    EXPECT_EQ(popup->selectedColor(), added.back());
    EXPECT_EQ(popup->colors().back(), Color::redColor());
    document().updateMyColorWith(Color::greenColor());
    EXPECT_EQ(popup->count(), 10);
    EXPECT_EQ(popup->colors().back(), Color::blackColor());
    // C02 (blue) left the list, so its number is free again.
    EXPECT_EQ(popup->itemText(0), QStringLiteral("C02"));
    EXPECT_EQ(storedColors(), popup->colors());

    // Another window reads the same list.
    VekDocumentWindow *first = window;
    openWindowWithAllItems();
    EXPECT_EQ(part<RecentColorsPopup>(QStringLiteral("myColor"))->colors(), storedColors());
    delete first;
}

TEST_F(DocumentToolbarTest, RecentColorsSkipUnreadableEntriesAndStopWhenAllNamesAreTaken)
{
    PropertyList stored = PropertyList::array();
    stored.append(PropertyList::fromData(QByteArray("not an archive")));
    stored.append(PropertyList::fromData(*archivedDataWithRootObject(Color::greenColor()).value));
    stored.append(PropertyList::fromData(*archivedDataWithRootObject(Color::greenColor()).value));
    defaults().setObject(stored, DefaultsKey::MyColors);
    openWindowWithAllItems();
    auto *popup = part<RecentColorsPopup>(QStringLiteral("myColor"));
    EXPECT_EQ(popup->colors(), std::vector<Color>{Color::greenColor()});

    PropertyList prefs = PropertyList::dictionary();
    prefs.insert(QStringLiteral("myPopupMaxNr"), PropertyList::fromInt(200));
    defaults().setObject(prefs, DefaultsKey::Prefs);
    for (int i = 0; i < 120; ++i)
        document().updateMyColorWith(Color::colorWithCalibratedWhite(i / 200.0f));
    EXPECT_EQ(popup->count(), 100);
    EXPECT_EQ(popup->findText(QStringLiteral("C99")) >= 0, true);
}

TEST_F(DocumentToolbarTest, RecentSizesAndFontsLoadFilteredAndSortedAndKeepOneEntryEach)
{
    // Nothing stored: the three built-in sizes.
    openWindowWithAllItems();
    auto *sizes = part<RecentTitlesPopup>(QStringLiteral("mySize"));
    EXPECT_EQ(titles(*sizes), QStringList({"10.0", "11.0", "12.0"}));

    // A size that is listed but not selected is selected, not added again.
    document().updateMySizeWith(12);
    EXPECT_EQ(sizes->currentText(), QStringLiteral("12.0"));
    EXPECT_EQ(sizes->count(), 3);
    document().updateMySizeWith(9.25f);
    EXPECT_EQ(titles(*sizes), QStringList({"9.2", "10.0", "11.0", "12.0"}));
    EXPECT_EQ(defaults().arrayForKey(DefaultsKey::MySizes).stringListValue(), titles(*sizes));

    // Unusable stored entries are dropped.
    PropertyList stored = PropertyList::array();
    for (const char *entry : {"", "0", " ", "12.0"})
        stored.append(PropertyList(QString::fromLatin1(entry)));
    defaults().setObject(stored, DefaultsKey::MySizes);
    defaults().setObject(PropertyList::array(), DefaultsKey::MyFonts);
    delete window;
    openWindowWithAllItems();
    EXPECT_EQ(titles(*part<QComboBox>(QStringLiteral("mySize"))), QStringList({"12.0"}));
    delete window;

    // A maximum lowered in the preferences applies when the list is read.
    stored = PropertyList::array();
    for (const char *entry : {"9.0", "8.0", "14.0", "13.0", "12.0"})
        stored.append(PropertyList(QString::fromLatin1(entry)));
    defaults().setObject(stored, DefaultsKey::MySizes);
    PropertyList prefs = PropertyList::dictionary();
    prefs.insert(QStringLiteral("myPopupMaxNr"), PropertyList::fromInt(3));
    defaults().setObject(prefs, DefaultsKey::Prefs);
    openWindowWithAllItems();
    EXPECT_EQ(titles(*part<QComboBox>(QStringLiteral("mySize"))), QStringList({"12.0", "13.0", "14.0"}));
    auto *fonts = part<RecentTitlesPopup>(QStringLiteral("myFont"));
    EXPECT_EQ(fonts->count(), 1);   // the system font

    // Fonts applied to text reach the list through the document, newest on top.
    document().updateMyFontWith(QStringLiteral("Times-Roman"));
    document().updateMyFontWith(QStringLiteral("Courier"));
    EXPECT_EQ(fonts->itemText(0), QStringLiteral("Courier"));
    EXPECT_EQ(fonts->itemText(1), QStringLiteral("Times-Roman"));
    EXPECT_EQ(defaults().arrayForKey(DefaultsKey::MyFonts).stringListValue().mid(0, 2),
              QStringList({"Courier", "Times-Roman"}));
}

TEST_F(DocumentToolbarTest, ChoosingARecentColorStrokesTheSelectedObjects)
{
    openWindowWithAllItems();
    auto a = addRectangle(Rect(10, 10, 20, 20));
    view().selectObjects({a});
    auto *popup = part<RecentColorsPopup>(QStringLiteral("myColor"));
    popup->setCurrentIndex(2);
    emit popup->activated(2);
    EXPECT_EQ(a->strokeColor(), Color::blueColor());
}

TEST_F(DocumentToolbarTest, ClosingTheCustomisationDialogPostsOnceAndTheWindowShowsTheNewSet)
{
    openWindow();
    window->setGeometry(100, 120, 700, 500);
    const QRect frame = window->geometry();
    VekToolbar *before = &toolbar();
    int notices = 0;
    NotificationCenter::defaultCenter().addObserver(this, VekToolbarDidClosePanelNotification, before,
                                                    [&notices](const Notification &) { ++notices; });

    before->runCustomizationPalette();
    ToolbarCustomizeDialog *dialog = before->customizationPalette();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(before->customizationPaletteIsRunning());
    dialog->addItem(VekDocTBItemColor);
    dialog->addItem(VekDocTBItemColor);   // once only
    dialog->moveItem(dialog->configuration().itemIdentifiers.size() - 1, -100);   // out of range: stays
    dialog->removeItemAt(0);                                                       // the zoom item
    dialog->accept();
    QCoreApplication::processEvents();
    NotificationCenter::defaultCenter().removeObserver(this);

    EXPECT_EQ(notices, 1);
    EXPECT_NE(&toolbar(), before);
    EXPECT_EQ(part(VekDocTBItemZoom), nullptr);
    EXPECT_NE(part(VekDocTBItemColor), nullptr);
    EXPECT_EQ(window->geometry(), frame);
    EXPECT_EQ(defaults().dictionaryForKey(ConfigurationKey).value(QStringLiteral("TB Item Identifiers")).count(), 7);
}

TEST_F(DocumentToolbarTest, EveryToolbarReportsTheCloseOfItsOwnDialog)
{
    openWindow();
    VekDocumentWindow *first = window;
    openWindow();
    VekToolbar *toolbars[] = {first->documentToolbar().toolbar(), window->documentToolbar().toolbar()};
    std::vector<const void *> senders;
    NotificationCenter::defaultCenter().addObserver(
        this, VekToolbarDidClosePanelNotification, nullptr,
        [&senders](const Notification &n) { senders.push_back(n.sender); });
    // Both dialogs open at once; a cancelled one reports its close too.
    toolbars[0]->runCustomizationPalette();
    toolbars[1]->runCustomizationPalette();
    toolbars[0]->customizationPalette()->useDefaultSet();
    toolbars[0]->customizationPalette()->addItem(VekDocTBItemSize);
    toolbars[0]->customizationPalette()->accept();
    toolbars[1]->customizationPalette()->reject();
    QCoreApplication::processEvents();
    NotificationCenter::defaultCenter().removeObserver(this);

    EXPECT_EQ(senders, (std::vector<const void *>{toolbars[0], toolbars[1]}));
    // Both windows rebuilt from the stored configuration, which the first dialog changed.
    EXPECT_NE(first->documentToolbar().toolbar()->findChild<QWidget *>(VekDocTBItemSize), nullptr);
    EXPECT_NE(part(VekDocTBItemSize), nullptr);
    delete first;
}

} // namespace
