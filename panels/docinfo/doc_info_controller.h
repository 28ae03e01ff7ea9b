// VekDocInfoController: the document info panel, one floating tabbed panel that always shows
// the document of the main document window and edits its document-wide settings: the info
// tab (metadata, drawing options, shadow switch, link text, background, preview options), the
// print tab (paper and print settings), the objects table, the group outline and the text
// statistics. It owns two sub-panels: the page preview (1) and the header and footer panel (2).
//
// The application creates one, tells it which canvas belongs to the main document window
// (setCanvasProvider) and calls mainWindowChanged/mainWindowResigned as the main window
// changes; the panel refreshes itself on the canvas and object notifications.
#pragma once

#include "panels/docinfo/doc_info_canvas.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class GroupsTab;
class InfoTab;
class ObjectsTab;
class PagePreviewPanel;
class PrintTab;
class QTabWidget;
class TextStatisticsTab;
class VekBorderController;
class VekDocument;

class VekDocInfoController : public QWidget {
    Q_OBJECT
public:
    explicit VekDocInfoController(QWidget *parent = nullptr);
    ~VekDocInfoController() override;

    // The panel that exists, or null.
    static VekDocInfoController *sharedDocInfoController();

    // The canvas of the main document window, null when there is none.
    using CanvasProvider = std::function<DocInfoCanvas *()>;
    void setCanvasProvider(CanvasProvider provider) { m_canvasProvider = std::move(provider); }
    // What the shadow panel button of the info tab opens (the shadow panel, built elsewhere);
    // without it the button stays disabled.
    void setShadowPanelOpener(std::function<void()> open);

    // Configures the panel on its first showing, then shows it.
    void showWindow();
    // Hides a visible panel, else shows it.
    void toggleWindow();

    // The shown document's canvas and document, null when none is shown.
    DocInfoCanvas *shownCanvas() const { return m_shown; }
    PanelCanvas *shownPanelCanvas() const { return m_shown ? &m_shown->canvas() : nullptr; }
    VekDocument *currentDocument() const;
    // Refreshes every tab and the sub-panels.
    void updateInfo();
    void updatePrintInfo();
    void updatePagePreview();

    // Following the main window.
    void mainWindowChanged();
    void mainWindowResigned();
    // Forgets the shown document and hides the sub-panels and the panel itself.
    void closePanels();

    // "info", "print", "obj", "grp" or "txt".
    QString selectedTabIdentifier() const;
    void selectTab(const QString &identifier);

    // Sub-panels: 1 the page preview, 2 the header and footer panel.
    bool isAvailableSubpanel(int number) const { return number >= 1 && number <= 2 && m_shown; }
    bool isVisibleSubpanel(int number) const;
    void toggleSubPanel(int number);
    void showBorderPanel();

    // Whether a click on a grouped object selects only that object: the groups tab shows its
    // partial-selection option switched on.
    bool grpPartialSelectionIsAllowed() const;

    InfoTab *infoTab = nullptr;
    PrintTab *printTab = nullptr;
    ObjectsTab *objectsTab = nullptr;
    GroupsTab *groupsTab = nullptr;
    TextStatisticsTab *textTab = nullptr;
    PagePreviewPanel *previewPanel = nullptr;
    VekBorderController *borderController = nullptr;

private:
    void setupForFirstDisplay();
    // Forgets the shown document and hides the sub-panels; the panel stays.
    void closePanelsKeepingWindow();
    void observeNotifications();
    bool postedByShownCanvas(const void *sender) const;
    void tabSelected();
    // Refills the objects table and the group outline at the end of the present pass.
    void scheduleObjectsRefresh();

    QTabWidget *m_tabs = nullptr;
    QPointer<DocInfoCanvas> m_shown;
    CanvasProvider m_canvasProvider;
    bool m_isFirstDisplay = true;
    bool m_objectsRefreshPending = false;
};
