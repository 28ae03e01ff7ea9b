// The document info panel: set-up, following the main window, the notifications it observes
// and the sub-panels.
#include "panels/docinfo/doc_info_controller.h"

#include "canvas/canvas_notifications.h"
#include "document/vek_document.h"
#include "model/services/shell_services.h"
#include "model/vek_object.h"
#include "panels/docinfo/document_settings.h"
#include "panels/docinfo/groups_tab.h"
#include "panels/docinfo/info_tab.h"
#include "panels/docinfo/objects_tab.h"
#include "panels/docinfo/page_preview_panel.h"
#include "panels/docinfo/print_tab.h"
#include "panels/docinfo/text_statistics_tab.h"
#include "panels/header_footer/border_controller.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/notification_center.h"

#include <QCheckBox>
#include <QTabBar>
#include <QTimer>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

VekDocInfoController *gShared = nullptr;

QString localized(const char *text)
{
    return localizedString(QString::fromLatin1(text));
}

} // namespace

// On top of the document windows, as the other panels: a window manager leaves a tool window
// without a parent window below the document window that is activated.
VekDocInfoController::VekDocInfoController(QWidget *parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    gShared = this;
    setObjectName(QStringLiteral("DocInfoPanel"));
    setWindowTitle(localized("Document Info"));
    auto *layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget(this);
    layout->addWidget(m_tabs);
    infoTab = new InfoTab(*this, m_tabs);
    m_tabs->addTab(infoTab, localized("Info"));
    m_tabs->tabBar()->setTabData(m_tabs->count() - 1, QStringLiteral("info"));
    printTab = new PrintTab(*this, m_tabs);
    m_tabs->addTab(printTab, localized("Print"));
    m_tabs->tabBar()->setTabData(m_tabs->count() - 1, QStringLiteral("print"));
    objectsTab = new ObjectsTab(*this, m_tabs);
    m_tabs->addTab(objectsTab, localized("Objects"));
    m_tabs->tabBar()->setTabData(m_tabs->count() - 1, QStringLiteral("obj"));
    groupsTab = new GroupsTab(*this, m_tabs);
    m_tabs->addTab(groupsTab, localized("Groups"));
    m_tabs->tabBar()->setTabData(m_tabs->count() - 1, QStringLiteral("grp"));
    textTab = new TextStatisticsTab(*this, m_tabs);
    m_tabs->addTab(textTab, localized("Text"));
    m_tabs->tabBar()->setTabData(m_tabs->count() - 1, QStringLiteral("txt"));
    borderController = new VekBorderController;
    previewPanel = new PagePreviewPanel;
    previewPanel->setImageSource([this] {
        return m_shown ? m_shown->previewOfCurrentPage(printTab->optShowMargin->isChecked()) : QImage();
    });
    borderController->bordersChanged = [this] { updatePagePreview(); };
    connect(m_tabs, &QTabWidget::currentChanged, this, [this] { tabSelected(); });
    updateInfo();
}

VekDocInfoController::~VekDocInfoController()
{
    NotificationCenter::defaultCenter().removeObserver(this);
    delete borderController;
    delete previewPanel;
    if (gShared == this)
        gShared = nullptr;
}

VekDocInfoController *VekDocInfoController::sharedDocInfoController()
{
    return gShared;
}

void VekDocInfoController::setShadowPanelOpener(std::function<void()> open)
{
    infoTab->setShadowPanelOpener(std::move(open));
    infoTab->updateDocumentInfo();
}

VekDocument *VekDocInfoController::currentDocument() const
{
    return m_shown ? &m_shown->document() : nullptr;
}

void VekDocInfoController::showWindow()
{
    setupForFirstDisplay();
    show();
    raise();
}

void VekDocInfoController::toggleWindow()
{
    if (isVisible())
        hide();
    else
        showWindow();
}

void VekDocInfoController::setupForFirstDisplay()
{
    if (!m_isFirstDisplay)
        return;
    m_isFirstDisplay = false;
    if (DocInfoCanvas *canvas = m_canvasProvider ? m_canvasProvider() : nullptr) {
        m_shown = canvas;
        updateInfo();
    }
    observeNotifications();
}

bool VekDocInfoController::postedByShownCanvas(const void *sender) const
{
    return m_shown && sender == m_shown->canvasIdentity();
}

void VekDocInfoController::observeNotifications()
{
    NotificationCenter &center = NotificationCenter::defaultCenter();
    center.addObserver(this, VekViewFrameDidChangeNotification, nullptr, [this](const Notification &n) {
        if (postedByShownCanvas(n.sender))
            updatePrintInfo();
    });
    center.addObserver(this, VekRulerUnitDidChangeNotification, nullptr, [this](const Notification &) {
        if (m_shown)
            updatePrintInfo();
    });
    // The objects' rows follow the canvas's selection at once, and the list, the groups and
    // the bounds once the change is complete (the table may be the one editing them).
    center.addObserver(this, VekViewSelectionDidChangeNotification, nullptr, [this](const Notification &n) {
        if (postedByShownCanvas(n.sender)) {
            objectsTab->updateSelectionFromCanvas();
            scheduleObjectsRefresh();
        }
    });
    for (const QString &name : {VekViewObjectsDidChangeNotification, VekViewGroupsDidChangeNotification,
                                VekObjectBoundsDidChangeNotification, VekObjectsDidChangeNotification,
                                VekViewPageDidChangeNotification})
        center.addObserver(this, name, nullptr, [this](const Notification &) {
            if (m_shown)
                scheduleObjectsRefresh();
        });
    for (const QString &name : {UndoManagerDidUndoChangeNotification, UndoManagerDidRedoChangeNotification})
        center.addObserver(this, name, nullptr, [this](const Notification &n) {
            if (currentDocument() && n.sender == currentDocument()->undoManager())
                scheduleObjectsRefresh();
        });
    // The word count follows typing; the preview follows the objects and the page.
    center.addObserver(this, VekObjectWordcountDidChangeNotification, nullptr, [this](const Notification &) {
        if (m_shown)
            textTab->updateWordCount();
    });
    for (const QString &name : {VekObjectDidChangeNotification, VekObjectsDidChangeNotification})
        center.addObserver(this, name, nullptr, [this](const Notification &) {
            if (m_shown)
                updatePagePreview();
        });
    // Undo and redo of the panel's own changes refill it.
    center.addObserver(this, VekDocumentSettingsDidChangeNotification, nullptr, [this](const Notification &n) {
        if (n.sender == currentDocument())
            updateInfo();
    });
}

void VekDocInfoController::updateInfo()
{
    infoTab->updateDocumentInfo();
    updatePrintInfo();
    objectsTab->updateObjectsTableDisplay();
    groupsTab->updateGroupTable();
    textTab->updateWordCount();
    updatePagePreview();
    borderController->setupFor(m_shown, false);
}

void VekDocInfoController::scheduleObjectsRefresh()
{
    if (m_objectsRefreshPending)
        return;
    m_objectsRefreshPending = true;
    QTimer::singleShot(0, this, [this] {
        m_objectsRefreshPending = false;
        objectsTab->updateObjectsTableDisplay();
        groupsTab->updateGroupTable();
    });
}

void VekDocInfoController::updatePrintInfo()
{
    printTab->updatePrintInfo();
}

void VekDocInfoController::updatePagePreview()
{
    if (!m_shown)
        previewPanel->hidePreview();
    else
        previewPanel->updatePreview();
}

void VekDocInfoController::mainWindowChanged()
{
    DocInfoCanvas *canvas = m_canvasProvider ? m_canvasProvider() : nullptr;
    if (!canvas || canvas == m_shown)
        return;
    closePanelsKeepingWindow();
    m_shown = canvas;
    updateInfo();
}

void VekDocInfoController::mainWindowResigned()
{
    DocInfoCanvas *canvas = m_canvasProvider ? m_canvasProvider() : nullptr;
    if (canvas && canvas == m_shown)
        return;
    m_shown = nullptr;
    updateInfo();
    if (!canvas)
        closePanels();
}

void VekDocInfoController::closePanelsKeepingWindow()
{
    m_shown = nullptr;
    borderController->setupFor(nullptr, false);
    previewPanel->hidePreview();
    textTab->fontInfoPanel->hide();
}

void VekDocInfoController::closePanels()
{
    closePanelsKeepingWindow();
    hide();
}

QString VekDocInfoController::selectedTabIdentifier() const
{
    return m_tabs->tabBar()->tabData(m_tabs->currentIndex()).toString();
}

void VekDocInfoController::selectTab(const QString &identifier)
{
    for (int i = 0; i < m_tabs->count(); ++i)
        if (m_tabs->tabBar()->tabData(i).toString() == identifier)
            m_tabs->setCurrentIndex(i);
}

bool VekDocInfoController::isVisibleSubpanel(int number) const
{
    if (number == 1)
        return previewPanel->isVisible();
    if (number == 2)
        return borderController->borderPanelIsVisible();
    return false;
}

void VekDocInfoController::toggleSubPanel(int number)
{
    if (number == 1) {
        if (m_shown && !previewPanel->isVisible())
            previewPanel->showPreview();
        else
            previewPanel->hidePreview();
    }
    if (number == 2) {
        const bool open = m_shown && !borderController->borderPanelIsVisible();
        borderController->setupFor(open ? m_shown.data() : nullptr, open);
    }
}

void VekDocInfoController::showBorderPanel()
{
    if (m_shown)
        borderController->setupFor(m_shown, true);
}

bool VekDocInfoController::grpPartialSelectionIsAllowed() const
{
    return isVisible() && selectedTabIdentifier() == QLatin1String("grp") &&
           groupsTab->optGrpPartialSelection->isChecked();
}

void VekDocInfoController::tabSelected()
{
    textTab->fontInfoPanel->hide();
    const QString tab = selectedTabIdentifier();
    if (tab == QLatin1String("txt") || tab == QLatin1String("obj"))
        textTab->updateWordCount();
}
