// DocumentToolbar: a document window's toolbar and what stands behind it.
//
// It makes the nine items of its own (zoom, page navigation, view options, align, equal
// spacing, add page, and the pop-ups of recent font names, font sizes and colours) and the
// standard ones (show colours, print, customise, spaces, separator) in the order of the
// stored configuration; keeps them in step with the canvas through the canvas's page,
// frame and selection notifications; turns their actions into the canvas's commands (each
// an undo step of its own); and keeps the document's recent fonts, sizes and colours.
// When the customisation dialog closes, the toolbar is built again from the configuration
// it left, the window keeping its frame.
#pragma once

#include "app/document/vek_toolbar.h"
#include "document/recent_entries_keeper.h"

#include <QButtonGroup>
#include <QObject>
#include <QPointer>

class QLineEdit;
class QToolButton;
class RecentColorsPopup;
class RecentTitlesPopup;
class VekDocumentWindow;
class VekView;

inline const QString VekDocToolbarID = QStringLiteral("Vekanto Document Toolbar ID");
inline const QString VekDocTBItemZoom = QStringLiteral("VeK Document Toolbar Item Zoom");
inline const QString VekDocTBItemPage = QStringLiteral("VeK Document Toolbar Item Page");
inline const QString VekDocTBItemView = QStringLiteral("VeK Document Toolbar Item View");
inline const QString VekDocTBItemAlign = QStringLiteral("VeK Document Toolbar Item Align");
inline const QString VekDocTBItemPageAdd = QStringLiteral("VeK Document Toolbar Item PageAdd");
inline const QString VekDocTBItemSpace = QStringLiteral("VeK Document Toolbar Item Space");
inline const QString VekDocTBItemFont = QStringLiteral("VeK Document Toolbar Item Font");
inline const QString VekDocTBItemSize = QStringLiteral("VeK Document Toolbar Item Size");
inline const QString VekDocTBItemColor = QStringLiteral("VeK Document Toolbar Item Color");
// The standard items.
inline const QString VekTBItemShowColors = QStringLiteral("VeK Toolbar Item Show Colors");
inline const QString VekTBItemPrint = QStringLiteral("VeK Toolbar Item Print");
inline const QString VekTBItemCustomize = QStringLiteral("VeK Toolbar Item Customize");
inline const QString VekTBItemFlexibleSpace = QStringLiteral("VeK Toolbar Item Flexible Space");
inline const QString VekTBItemSpace = QStringLiteral("VeK Toolbar Item Space");
inline const QString VekTBItemSeparator = QStringLiteral("VeK Toolbar Item Separator");

class DocumentToolbar : public QObject, public RecentEntriesKeeper {
    Q_OBJECT
public:
    // Builds the window's toolbar (removed again on destruction); the window's canvas must
    // exist and stay while this object lives.
    explicit DocumentToolbar(VekDocumentWindow &window);
    ~DocumentToolbar() override;

    static std::vector<ToolbarItemDescription> allowedItems();
    static QStringList defaultItemIdentifiers();

    VekToolbar *toolbar() const { return m_toolbar; }
    // Replaces the toolbar by one built from the stored configuration.
    void setupToolbar();

    // ---- Item state (nothing for an absent item) ----
    void updateCurrentPageInfo(int page);
    void updateZoomInfo(int zoom);
    void updateTBItemAlignState();
    void updateTBItemSpaceState();
    // The window became (true) or stopped being (false) the main document window.
    void setCustomToolbarItemsEnabled(bool flag);

    // ---- The recent pop-ups ----
    void updateMyColorWith(const Color &color) override;
    void updateMyFontWith(const QString &fontName) override;
    void updateMySizeWith(float size) override;

    // ---- The items' actions ----
    void zoomIn();
    void zoomOut();
    // A typed zoom, kept within 10 and 900 percent.
    void zoom(int percent);
    void previousPage();
    void nextPage();
    void gotoPage(int page);
    // The view option buttons' states go to the canvas and to the preferences.
    void toggleViewStates();
    // Tags 0 left, 1 horizontal centres, 2 right, 3 top, 4 vertical centres, 5 bottom.
    void alignObjects(int tag);
    // Tag 1 horizontally, any other vertically.
    void makeSameSpace(int tag);
    // Applies the selected entry of a recent pop-up (tag 1 font, 2 size, 3 colour) to the
    // edited text's selection, else to the selected objects.
    void setMyFont(int tag);
    void addPage();

private:
    VekView &view() const;
    void addItem(const QString &identifier, const ToolbarConfiguration &configuration);
    QWidget *makeOwnItemView(const QString &identifier, int iconSide);
    QWidget *makeZoomView(int iconSide);
    QWidget *makePageView(int iconSide);
    // A row of buttons named namePrefix + tag.
    QWidget *makeButtonRow(QButtonGroup *group, const QString &namePrefix,
                           const std::vector<std::pair<int, int>> &tagsAndIcons, bool checkable, int iconSide);
    // What a new item shows: the canvas's state, the preferences, the recent lists.
    void toolbarWillAddItem(const QString &identifier);
    void applyViewStates(bool grid, bool points, bool lines);
    void toolbarDidClosePanel();

    VekDocumentWindow &m_window;
    QPointer<VekToolbar> m_toolbar;
    // The items now shown (null when absent) and the parts that change.
    QPointer<QWidget> m_zoomItem, m_pageItem, m_viewItem, m_alignItem, m_spaceItem, m_pageAddItem, m_fontItem,
        m_sizeItem, m_colorItem;
    QPointer<QLineEdit> m_zoomField, m_pageField;
    QPointer<QToolButton> m_zoomOut, m_zoomIn, m_previousPage, m_nextPage;
    QPointer<QButtonGroup> m_viewButtons, m_alignButtons, m_spaceButtons;
    QPointer<RecentTitlesPopup> m_fontPopup, m_sizePopup;
    QPointer<RecentColorsPopup> m_colorPopup;
    bool m_enabled = true;
};
