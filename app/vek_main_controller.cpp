// The application controller: start-up, opening files by kind, the application's commands
// and the shell services.
#include "app/vek_main_controller.h"

#include "app/document/document_info_canvas.h"
#include "app/document/find_panel.h"
#include "app/filter_panel_shell.h"
#include "app/document/vek_doc_controller.h"
#include "app/document/vek_document_window.h"
#include "app/help_files.h"
#include "app/main_menu.h"
#include "app/memo_panel.h"
#include "app/modal_dialog_stacking.h"
#include "app/object_sets/object_set_palette.h"
#include "app/preferences_window.h"
#include "app/splash_panel.h"
#include "app/updater/file_replacement.h"
#include "app/updater/update_files.h"
#include "app/updater/version_checker.h"
#include "app/tool_controller.h"
#include "canvas/ui/floating_ruler.h"
#include "canvas/ui/vek_view.h"
#include "document/print_info.h"
#include "export/preview_data.h"
#include "model/vek_obj_grid.h"
#include "model/vek_obj_image.h"
#include "panels/colour_panel.h"
#include "panels/colour_panel_accessory.h"
#include "panels/docinfo/doc_info_controller.h"
#include "panels/document_dialogs.h"
#include "panels/filters/vek_if_controller.h"
#include "panels/format_options_panel.h"
#include "panels/obj_info/vek_obj_info_controller.h"
#include "panels/shadow/vek_shadow_controller.h"
#include "panels/panel_canvas.h"
#include "panels/table_options_panel.h"
#include "platform/foundation/archive_coder_registry.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/user_defaults.h"
#include "platform/image/image_pattern_coder.h"
#include "platform/text/text_archiving.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QUrl>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMenu>
#include <QMenuBar>
#include <QWindow>

namespace {

// Document, text and print-settings archives must read and write their classes, and saved
// documents must be able to draw their previews, before the first document is opened or saved.
void registerArchiveCoders()
{
    ArchiveCoderRegistry &registry = ArchiveCoderRegistry::shared();
    registerTextCoders(registry);
    registerPrintInfoCoders(registry);
    registerPatternColorCoders(registry);
    installDocumentPreviewMakers();
}

// The picture files the image opener reads, as name patterns.
QString imagePatterns()
{
    QStringList patterns;
    for (const QByteArray &format : QImageReader::supportedImageFormats())
        if (format != "pdf" && format != "svg" && format != "svgz")
            patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    patterns << QStringLiteral("*.jp2") << QStringLiteral("*.j2k");
    return patterns.join(QLatin1Char(' '));
}

// Every kind of file the program opens, first all together, then kind by kind.
QStringList openNameFilters()
{
    const std::vector<std::pair<QString, QString>> kinds = {
        {QStringLiteral("Vekanto Documents"), QStringLiteral("*.vek")},
        {QStringLiteral("SVG Drawings"), QStringLiteral("*.svg *.svgz")},
        {QStringLiteral("PDF Documents"), QStringLiteral("*.pdf *.PDF")},
        {QStringLiteral("Pictures"), imagePatterns()},
        {QStringLiteral("Rich Text"), QStringLiteral("*.rtf *.rtfd")},
        {QStringLiteral("Predecessor Documents"), QStringLiteral("*.qomt")},
    };
    QStringList all;
    for (const auto &[name, patterns] : kinds)
        all << patterns;
    QStringList filters = {localizedString(QStringLiteral("All Readable Files")) + QStringLiteral(" (") +
                           all.join(QLatin1Char(' ')) + QLatin1Char(')')};
    for (const auto &[name, patterns] : kinds)
        filters << localizedString(name) + QStringLiteral(" (") + patterns + QLatin1Char(')');
    filters << localizedString(QStringLiteral("All Files")) + QStringLiteral(" (*)");
    return filters;
}

const QStringList &importNameFilters()
{
    static const QStringList filters = {QStringLiteral("PDF, predecessor, SVG and image files "
                                                       "(*.pdf *.PDF *.qomt *.svg *.png *.jpg *.jpeg *.tif *.tiff "
                                                       "*.gif *.bmp *.jp2)")};
    return filters;
}

} // namespace

VekMainController::VekMainController(UserDefaults &defaults, QObject *parent)
    : QObject(parent), m_defaults(defaults), m_preferences(defaults)
{
    m_docController = new VekDocController(defaults, this);
    m_toolController = new VekToolController(m_preferences, defaults);
    // Alerts and other modal dialogs come up above the palette, never under it.
    new ModalDialogStacking(this);
    // The table panel follows the main document's current object.
    NotificationCenter::defaultCenter().addObserver(
        this, VekViewCurrentObjectDidChangeNotification, nullptr, [this](const Notification &n) {
            if (VekDocumentWindow *window = m_docController->currentVekDocument();
                window && n.sender == &window->vekView())
                tablePanel().setCurrentObject(window->vekView().currentObject());
        });
    connect(m_docController, &VekDocController::documentWindowOpened, this, &VekMainController::installMenus);
    auto *paletteMenu = new QMenu(m_toolController);
    ::installMenus(*paletteMenu, [this] { return responderChain(); });
    m_toolController->setMenu(paletteMenu);
    m_findPanel = new FindPanel;
    m_findPanel->setTarget([this](int action) {
        ActionSender sender;
        sender.tag = action;
        sender.control = m_findPanel;
        responderChain().performAction(QStringLiteral("performFindPanelAction"), sender);
    });
    connectFloatingRulers();
    connectPanels();
    connectDocInfoPanel();
    connect(qApp, &QCoreApplication::aboutToQuit, this, &VekMainController::applicationWillTerminate);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            applicationWillBecomeActive();
    });
}

void VekMainController::connectPanels()
{
    setPanelServices(this);
    setMainCanvasProvider([this]() -> PanelCanvas * {
        VekDocumentWindow *window = m_docController->currentVekDocument();
        return window ? &window->vekView() : nullptr;
    });
    // Asked once a closing window is wholly gone, since it still counts as current while it goes.
    connect(m_docController, &VekDocController::currentDocumentChanged, this, [this] {
        QMetaObject::invokeMethod(
            this,
            [] {
                if (VekObjInfoController::sharedObjInfoControllerExists())
                    VekObjInfoController::sharedObjInfoController().mainWindowChanged();
            },
            Qt::QueuedConnection);
    });
    m_filterPanelServices = std::make_unique<ShellFilterPanelServices>(*m_docController);
    setFilterPanelServices(m_filterPanelServices.get());
    // A closing document takes the filter panel's object with it, and the panel goes too.
    connect(m_docController, &VekDocController::documentWindowOpened, this, [](VekDocumentWindow *window) {
        connect(window, &QObject::destroyed, [] {
            if (VekIFController::sharedIFControllerExists() &&
                !VekIFController::sharedIFController().isCurrentReferentAlive())
                VekIFController::sharedIFController().hide();
        });
    });
}

void VekMainController::connectFloatingRulers()
{
    FloatingRulerController &rulers = FloatingRulerController::sharedFloatingRulerController();
    rulers.setCurrentDocumentProvider([this]() -> VekDocument * {
        VekDocumentWindow *window = m_docController->currentVekDocument();
        return window ? &window->document() : nullptr;
    });
    // A document window that loses the focus stops being main; one that gains it becomes main.
    const auto isDocumentWindow = [this](QWindow *window) {
        for (VekDocumentWindow *w : m_docController->documentWindows())
            if (window && w->windowHandle() == window)
                return true;
        return false;
    };
    connect(qApp, &QGuiApplication::focusWindowChanged, this,
            [isDocumentWindow, previous = QPointer<QWindow>()](QWindow *now) mutable {
                FloatingRulerController &rulers = FloatingRulerController::sharedFloatingRulerController();
                if (previous && previous != now && isDocumentWindow(previous))
                    rulers.mainWindowResigned();
                if (isDocumentWindow(now))
                    rulers.mainWindowChanged(true);
                previous = now;
            });
    // The last document window gone: no main window is left. Asked once the closing window
    // is wholly destroyed, since it still counts as current while it goes.
    connect(m_docController, &VekDocController::currentDocumentChanged, this, [this] {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!m_docController->currentVekDocument())
                    FloatingRulerController::sharedFloatingRulerController().mainWindowResigned();
            },
            Qt::QueuedConnection);
    });
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [](Qt::ApplicationState state) {
        FloatingRulerController::sharedFloatingRulerController().setApplicationActive(state == Qt::ApplicationActive);
    });
}

void VekMainController::connectDocInfoPanel()
{
    m_docInfo = new VekDocInfoController;
    m_docInfo->setCanvasProvider(
        [this]() -> DocInfoCanvas * { return DocumentInfoCanvas::of(m_docController->currentVekDocument()); });
    m_docInfo->setShadowPanelOpener(
        [] { VekShadowController::sharedShadowController().updateAndShowWindow(true, ShadowPanelLevel::Document); });
    // Asked once the change has settled: a closing window counts as current while it goes.
    connect(m_docController, &VekDocController::currentDocumentChanged, this, [this] {
        QMetaObject::invokeMethod(
            m_docInfo,
            [this] {
                if (m_docController->currentVekDocument())
                    m_docInfo->mainWindowChanged();
                else
                    m_docInfo->mainWindowResigned();
            },
            Qt::QueuedConnection);
    });
}

VekMainController::~VekMainController()
{
    FloatingRulerController::sharedFloatingRulerController().setCurrentDocumentProvider(nullptr);
    setMainCanvasProvider(nullptr);
    if (&panelServices() == this)
        setPanelServices(nullptr);
    NotificationCenter::defaultCenter().removeObserver(this);
    if (&filterPanelServices() == m_filterPanelServices.get())
        setFilterPanelServices(nullptr);
    if (&shellServices() == this)
        setShellServices(nullptr);
    if (&documentShellServices() == this)
        setDocumentShellServices(nullptr);
    delete m_docInfo;
    delete m_toolController;
    delete m_memoController;
    delete m_splashPanel;
    delete m_versionChecker;
    delete m_preferencesWindow;
    delete m_findPanel;
}

void VekMainController::startUp(const QStringList &files)
{
    // An update cut short is undone, a finished one loses the old files it kept.
    settleInterruptedUpdate(runningInstallRoot());
    updateHelpCaches(m_defaults);
    m_splashPanel = new SplashPanel;
    m_splashPanel->show();
    installServices();
    m_preferences.ensureStored();
    // The program runs on with its palette and menus when the last document closes; it
    // ends by the Quit command.
    QApplication::setQuitOnLastWindowClosed(false);
    m_toolController->show();
    m_toolController->setupColorPanelAccessory();
    if (files.isEmpty()) {
        openAtStartUp();
        return;
    }
    for (const QString &file : files)
        applicationOpenFile(file);
}

void VekMainController::installServices()
{
    registerArchiveCoders();
    setShellServices(this);
    setDocumentShellServices(this);
}

void VekMainController::openAtStartUp()
{
    switch (m_preferences.startUp()) {
    case 1: {
        const QStringList recent = m_docController->recentDocumentURLs();
        if (recent.isEmpty() || !m_docController->openVekDocument(recent.first()))
            m_docController->createVekUntitledDocument();
        break;
    }
    case 2:
        openDocument();
        break;
    default:
        m_docController->createVekUntitledDocument();
        break;
    }
}

bool VekMainController::applicationOpenFile(const QString &path)
{
    QString reason;
    const bool opened = m_docController->openFile(path, &reason);
    if (!opened)
        alertOpenFailure(path, reason);
    return opened;
}

void VekMainController::alertOpenFailure(const QString &path, const QString &reason)
{
    if (reason.isEmpty())
        return;   // the user cancelled
    // The text names the file: many window managers do not show an alert's title.
    QString why = reason;
    why[0] = why[0].toUpper();
    if (!why.endsWith(QLatin1Char('.')))
        why += QLatin1Char('.');
    const QString name = QFileInfo(path).fileName();
    documentDialogs().showAlert(m_docController->currentVekDocument(),
                                localizedString(QStringLiteral("The file \"%1\" could not be opened.")).arg(name),
                                localizedString(QStringLiteral("The file \"%1\" could not be opened. %2")).arg(name, why));
}

void VekMainController::openDocument()
{
    const QStringList files = documentDialogs().runOpenPanel(
        m_docController->currentVekDocument(), localizedString(QStringLiteral("Open")), openNameFilters(), true);
    for (const QString &file : files)
        applicationOpenFile(file);
}

void VekMainController::importCommand()
{
    const QStringList files = documentDialogs().runOpenPanel(
        m_docController->currentVekDocument(), localizedString(QStringLiteral("Import...")), importNameFilters(), false);
    if (!files.isEmpty())
        applicationOpenFile(files.first());
}

void VekMainController::importPDFimageOnly()
{
    const QStringList files = documentDialogs().runOpenPanel(m_docController->currentVekDocument(),
                                                             localizedString(QStringLiteral("Select a pdf file...")),
                                                             {QStringLiteral("PDF (*.pdf *.PDF)")}, false);
    if (files.isEmpty())
        return;
    QString reason;
    if (!m_docController->importPDFimageOf(files.first(), &reason))
        documentDialogs().showAlert(m_docController->currentVekDocument(),
                                    localizedString(QStringLiteral("Sorry, failed to import:")),
                                    files.first() + QStringLiteral("\n") + reason);
}

void VekMainController::terminate()
{
    // Each document may ask about its changes; one that stays open stops the quitting.
    for (VekDocumentWindow *window : m_docController->documentWindows())
        if (!window->close())
            return;
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

VekPreferencesWindow &VekMainController::preferencesWindow()
{
    if (!m_preferencesWindow) {
        m_preferencesWindow = new VekPreferencesWindow(m_preferences);
        // The canvases draw the grid, knobs and control points in the preference colours.
        connect(m_preferencesWindow, &VekPreferencesWindow::displayColorsChanged, this, [this] {
            for (VekDocumentWindow *window : m_docController->documentWindows())
                window->vekView().viewport()->update();
        });
    }
    return *m_preferencesWindow;
}

void VekMainController::applicationWillBecomeActive()
{
    if (!m_firstActivation)
        return;
    m_firstActivation = false;
    if (m_splashPanel)
        m_splashPanel->close();
    if (versionChecker().automaticCheckIsDue())
        versionChecker().checkInBackground();
}

VekVersionChecker &VekMainController::versionChecker()
{
    if (!m_versionChecker)
        m_versionChecker = new VekVersionChecker(m_preferences);
    return *m_versionChecker;
}

void VekMainController::openReadme()
{
    const QString readme = QDir::toNativeSeparators(vekHelpPath() + QStringLiteral("/readme.html"));
    // The message names the file, so that the user can open it another way.
    QString failure;
    if (!QFileInfo::exists(readme))
        failure = localizedString(QStringLiteral("Sorry, the readme file \"%1\" is missing.")).arg(readme);
    else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(readme)))
        failure = localizedString(QStringLiteral("Sorry, no program is set up to open the readme file. "
                                                 "It is \"%1\": open it in a web browser."))
                      .arg(readme);
    if (!failure.isEmpty())
        documentDialogs().showAlert(m_docController->currentVekDocument(), QString(), failure);
}

void VekMainController::openExample()
{
    QWidget *window = m_docController->currentVekDocument();
    const auto fail = [window] {
        documentDialogs().showAlert(window, QString(),
                                    localizedString(QStringLiteral("Sorry, failed to open the example file.")));
    };
    const QString example = vekHelpPath() + QStringLiteral("/example.vek");
    if (!QFileInfo::exists(example))
        return fail();
    const std::optional<QString> folder = documentDialogs().chooseFolder(
        window, localizedString(QStringLiteral("Select a folder to copy the example file...")),
        localizedString(QStringLiteral("Select")));
    if (!folder)
        return;
    const QString copy = exampleCopyPath(*folder);
    if (!QFile::copy(example, copy) || !m_docController->openVekDocument(copy))
        fail();
}

VekMemoController &VekMainController::memoController()
{
    if (!m_memoController) {
        m_memoController = new VekMemoController(m_defaults);
        // The memo panel has no menus of its own: the application's Quit key works there too
        // (its text editor keeps the editing keys).
        auto *quit = new QAction(m_memoController);
        quit->setShortcuts(QKeySequence::keyBindings(QKeySequence::Quit));
        quit->setShortcutContext(Qt::WindowShortcut);
        m_memoController->addAction(quit);
        connect(quit, &QAction::triggered, this,
                [this] { responderChain().performAction(QStringLiteral("terminate"), ActionSender{}); });
    }
    return *m_memoController;
}

void VekMainController::applicationWillTerminate()
{
    if (m_memoController)
        m_memoController->saveMemoToUserPreferences();
}

void VekMainController::installMenus(VekDocumentWindow *window)
{
    // A window's menus act on that window, whichever palette or panel has the focus.
    installMainMenu(*window, [this, window = QPointer<VekDocumentWindow>(window)] { return responderChainFor(window); });
    // "Open Recent" after "Open...", filled from the recent files each time it opens.
    QMenu *file = window->menuBar()->actions().first()->menu();
    QAction *before = file->actions().value(2);
    auto *recent = new QMenu(localizedString(QStringLiteral("Open Recent")), file);
    file->insertMenu(before, recent);
    connect(recent, &QMenu::aboutToShow, recent, [this, recent] {
        recent->clear();
        for (const QString &path : m_docController->recentDocumentURLs())
            recent->addAction(QFileInfo(path).fileName(), this, [this, path] { applicationOpenFile(path); })
                ->setToolTip(path);
        recent->setEnabled(!recent->isEmpty());
    });
}

ResponderChain VekMainController::responderChain() const
{
    return responderChainFor(m_docController->currentVekDocument(), QApplication::focusWidget());
}

ResponderChain VekMainController::responderChainFor(VekDocumentWindow *window, QWidget *focused) const
{
    std::vector<Responder *> responders;
    auto add = [&responders](Responder *r) {
        if (r && std::find(responders.begin(), responders.end(), r) == responders.end())
            responders.push_back(r);
    };
    auto addFrom = [&add](QWidget *from) {
        for (QWidget *w = from; w; w = w->parentWidget())
            add(dynamic_cast<Responder *>(w));
    };
    addFrom(focused);
    // The document's canvas keeps its place while a palette or panel has the focus, and
    // before the window has ever given it the focus (a first start shows the splash panel).
    if (window) {
        addFrom(window->focusWidget());
        add(&window->vekView());
    }
    add(window);
    add(const_cast<VekMainController *>(this));
    return ResponderChain(std::move(responders));
}

// ---- Responder ----

namespace {

const QStringList &applicationActions()
{
    static const QStringList actions = {QStringLiteral("newDocument"),       QStringLiteral("openDocument"),
                                        QStringLiteral("importCommand"),     QStringLiteral("importPDFimageOnly"),
                                        QStringLiteral("showPreferences"),   QStringLiteral("terminate"),
                                        QStringLiteral("selectTool"),        QStringLiteral("toggleToolPanel"),
                                        QStringLiteral("toggleColorPanel"),  QStringLiteral("toggleFloatingRuler"),
                                        QStringLiteral("toggleObjInfoPanel"),
                                        QStringLiteral("toggleDocInfoPanel"), QStringLiteral("togglePagePreview"),
                                        QStringLiteral("toggleBorderPanel"),   QStringLiteral("addDefaultObjectSet"),
                                        QStringLiteral("readinVekObjSet"),     QStringLiteral("toggleMemoPanel"),
                                        QStringLiteral("openIFPanel"),         QStringLiteral("addDefaultPatterns"),
                                        QStringLiteral("openReadme"),          QStringLiteral("openExample"),
                                        QStringLiteral("checkVekUpdate"),      QStringLiteral("updateAutoCheck")};
    return actions;
}

} // namespace

bool VekMainController::respondsToAction(const QString &action) const
{
    return applicationActions().contains(action);
}

namespace {

// The main document's current object when it is an image object.
std::shared_ptr<VekObjImage> currentImageObject(const VekDocController &documents)
{
    VekDocumentWindow *window = documents.currentVekDocument();
    return window ? std::dynamic_pointer_cast<VekObjImage>(window->vekView().currentObject()) : nullptr;
}

} // namespace

bool VekMainController::validateAction(const QString &action, ActionSender &sender)
{
    if (action == QLatin1String("updateAutoCheck")) {
        sender.state = m_preferences.userPrefsValueFor(QStringLiteral("autoCheck")) != 0 ? 1 : 0;
        return true;
    }
    if (action == QLatin1String("openIFPanel"))
        return currentImageObject(*m_docController) != nullptr;
    if (action == QLatin1String("togglePagePreview") || action == QLatin1String("toggleBorderPanel")) {
        const int number = action == QLatin1String("togglePagePreview") ? 1 : 2;
        const bool visible = m_docInfo->isVisibleSubpanel(number);
        const bool available = m_docInfo->isAvailableSubpanel(number);
        if (!available && visible)
            m_docInfo->toggleSubPanel(number);
        const QString name = number == 1 ? QStringLiteral("Page Preview") : QStringLiteral("Border Panel");
        sender.title = localizedString((available && visible ? QStringLiteral("Close ") : QStringLiteral("Open ")) + name);
        return available;
    }
    if (action == QLatin1String("toggleMemoPanel"))
        sender.title = localizedString(memoController().isVisible() ? QStringLiteral("Close Memo Panel")
                                                                    : QStringLiteral("Open Memo Panel"));
    else if (action == QLatin1String("toggleDocInfoPanel"))
        sender.title = localizedString(m_docInfo->isVisible() ? QStringLiteral("Close Document Info Panel")
                                                              : QStringLiteral("Open Document Info Panel"));
    else if (action == QLatin1String("toggleToolPanel"))
        sender.title = localizedString(m_toolController->isVisible() ? QStringLiteral("Close Tool Panel")
                                                                     : QStringLiteral("Open Tool Panel"));
    else if (action == QLatin1String("toggleObjInfoPanel"))
        sender.title = localizedString(VekObjInfoController::sharedObjInfoController().isVisible()
                                           ? QStringLiteral("Close Object Info Panel")
                                           : QStringLiteral("Open Object Info Panel"));
    else if (action == QLatin1String("toggleFloatingRuler")) {
        const FloatingRulerController &rulers = FloatingRulerController::sharedFloatingRulerController();
        if (sender.tag == 0)
            sender.title = localizedString(rulers.horizontalRulerIsVisible() ? QStringLiteral("Hide Horizontal Ruler")
                                                                             : QStringLiteral("Show Horizontal Ruler"));
        else
            sender.title = localizedString(rulers.verticalRulerIsVisible() ? QStringLiteral("Hide Vertical Ruler")
                                                                           : QStringLiteral("Show Vertical Ruler"));
    }
    return true;
}

bool VekMainController::performAction(const QString &action, const ActionSender &sender)
{
    if (action == QLatin1String("newDocument"))
        m_docController->createVekUntitledDocument();
    else if (action == QLatin1String("openDocument"))
        openDocument();
    else if (action == QLatin1String("importCommand"))
        importCommand();
    else if (action == QLatin1String("importPDFimageOnly"))
        importPDFimageOnly();
    else if (action == QLatin1String("showPreferences")) {
        preferencesWindow().show();
        preferencesWindow().raise();
    } else if (action == QLatin1String("terminate"))
        terminate();
    else if (action == QLatin1String("selectTool"))
        m_toolController->selectTool(sender.tag);
    else if (action == QLatin1String("toggleToolPanel"))
        m_toolController->setVisible(!m_toolController->isVisible());
    else if (action == QLatin1String("toggleFloatingRuler"))
        FloatingRulerController::sharedFloatingRulerController().toggleRuler(sender.tag);
    else if (action == QLatin1String("openReadme"))
        openReadme();
    else if (action == QLatin1String("checkVekUpdate"))
        versionChecker().checkNewVersion(true);
    else if (action == QLatin1String("updateAutoCheck"))
        m_preferences.updateUserPreferences(QStringLiteral("prefs"), QStringLiteral("autoCheck"),
                                            PropertyList::fromInt(sender.state ? 1 : 0));
    else if (action == QLatin1String("openExample"))
        openExample();
    else if (action == QLatin1String("toggleObjInfoPanel")) {
        VekObjInfoController &inspector = VekObjInfoController::sharedObjInfoController();
        if (inspector.isVisible())
            inspector.hide();
        else
            inspector.showWindow();
    }
    else if (action == QLatin1String("toggleDocInfoPanel"))
        m_docInfo->toggleWindow();
    else if (action == QLatin1String("togglePagePreview"))
        m_docInfo->toggleSubPanel(1);
    else if (action == QLatin1String("toggleBorderPanel"))
        m_docInfo->toggleSubPanel(2);
    else if (action == QLatin1String("toggleMemoPanel"))
        memoController().setVisible(!memoController().isVisible());
    else if (action == QLatin1String("addDefaultPatterns")) {
        m_toolController->setupColorPanelAccessory();
        m_toolController->vekCPAccImageView()->addDefaultPatternColors();
    } else if (action == QLatin1String("addDefaultObjectSet"))
        m_toolController->objectMatrix().addDefaultSet(true);
    else if (action == QLatin1String("readinVekObjSet"))
        m_toolController->objectMatrix().readinVekObjSet();
    else if (action == QLatin1String("openIFPanel"))
        VekIFController::sharedIFController().openIFPanel(currentImageObject(*m_docController));
    else if (action == QLatin1String("toggleColorPanel")) {
        ColourPanel &panel = ColourPanel::sharedColorPanel();
        if (panel.isVisible())
            panel.hide();
        else
            panel.orderFront();
    }
    else
        return false;
    return true;
}

// ---- PanelServices ----

PropertyList VekMainController::dashInfoFor(int index) const
{
    return VekObjInfoController::sharedObjInfoController().dashInfoFor(index);
}

bool VekMainController::grpPartialSelectionIsAllowed() const { return m_docInfo->grpPartialSelectionIsAllowed(); }

// ---- ShellServices ----

FormatOptionsPanel &VekMainController::formatPanel() const { return m_toolController->formatOptPanel(); }
TableOptionsPanel &VekMainController::tablePanel() const { return m_toolController->gridOptPanel(); }

int VekMainController::selectedTool() const { return m_toolController->selectedTool(); }
int VekMainController::currentMarkerColorNr() const { return m_toolController->currentMarkerColorNr(); }
float VekMainController::currentMarkerThickness() const { return m_toolController->currentMarkerThickness(); }
Color VekMainController::markerColor(int number) const { return m_preferences.markerColor(number); }
int VekMainController::selectedUnit() const { return m_preferences.selectedUnit(); }
bool VekMainController::displayOnRealWorldBase() const
{
    return m_preferences.userPrefsValueFor(QStringLiteral("optRWBase")) != 0;
}
float VekMainController::gridScale() const { return m_preferences.userPrefsFloatFor(QStringLiteral("gridScale")); }
Color VekMainController::gridColor() const { return m_preferences.colorForKey(QStringLiteral("cwGrid")); }
Color VekMainController::gridmColor() const { return m_preferences.colorForKey(QStringLiteral("cwGridM")); }
bool VekMainController::continueFindInOthers() const
{
    return m_preferences.userPrefsValueFor(QStringLiteral("continueFind")) != 0;
}
Color VekMainController::knobColor() const { return m_preferences.colorForKey(QStringLiteral("cwKnob")); }
Color VekMainController::frBGColor() const { return m_preferences.colorForKey(QStringLiteral("cwFRbg")); }
Color VekMainController::frMKColor() const { return m_preferences.colorForKey(QStringLiteral("cwFRmk")); }
Color VekMainController::ctrlLineColor() const { return m_preferences.colorForKey(QStringLiteral("cwCtrlLine")); }
Color VekMainController::ctrlPtsColor() const { return m_preferences.colorForKey(QStringLiteral("cwCtrlPts")); }
Color VekMainController::ctrlPtCColor() const { return m_preferences.colorForKey(QStringLiteral("cwCtrlPtC")); }
Color VekMainController::ctrlPtBColor() const { return m_preferences.colorForKey(QStringLiteral("cwCtrlPtB")); }
Color VekMainController::ctrlPtEColor() const { return m_preferences.colorForKey(QStringLiteral("cwCtrlPtE")); }
Color VekMainController::ctrlPtOColor() const { return m_preferences.colorForKey(QStringLiteral("cwCtrlPtO")); }
QCursor VekMainController::selectColumnCursor() const
{
    return m_toolController->cursors().cursor(ToolCursors::Kind::SelectColumn);
}
QCursor VekMainController::selectRowCursor() const
{
    return m_toolController->cursors().cursor(ToolCursors::Kind::SelectRow);
}
QCursor VekMainController::cursorForSelectedTool() const { return m_toolController->cursorForSelectedTool(); }

// ---- DocumentShellServices ----

Size VekMainController::userPrefViewSize() const { return m_preferences.userPrefViewSize(); }
DefaultMargins VekMainController::userDefaultMargins() const
{
    return {m_preferences.marginFor(QStringLiteral("marginL")), m_preferences.marginFor(QStringLiteral("marginR")),
            m_preferences.marginFor(QStringLiteral("marginT")), m_preferences.marginFor(QStringLiteral("marginB"))};
}
QString VekMainController::userDefaultPaperName() const { return m_preferences.userDefaultPaperName(); }
bool VekMainController::keepBackup() const { return m_preferences.keepBackup(); }
bool VekMainController::saveFormatted() const { return m_preferences.saveFormatted(); }
void VekMainController::selectArrowTool() { m_toolController->selectArrowTool(); }

// ---- The palette's tools and option panels ----

void VekMainController::selectPointPenTool() { m_toolController->selectPointPenTool(); }
void VekMainController::selectObjectTool() { m_toolController->selectObjectTool(); }
int VekMainController::visibleToolOption() const { return m_toolController->visibleToolOption(); }
std::vector<std::shared_ptr<VekObject>> VekMainController::selectedObjectSetObjects() const
{
    return m_toolController->selectedObjects();
}
void VekMainController::setMarkerColorNr(int number) { m_toolController->setMarkerColorNr(number); }
void VekMainController::setMarkerThickness(float thickness) { m_toolController->setMarkerThickness(thickness); }
void VekMainController::beep() { QApplication::beep(); }

QString VekMainController::selectedFormat() const { return formatPanel().selectedFormat(); }
int VekMainController::selectedFormatType() const { return formatPanel().selectedFormatType(); }
int VekMainController::selectedFormatAlign() const { return formatPanel().selectedFormatAlign(); }
AttributedString VekMainController::selectedFormatExample() const { return formatPanel().selectedFormatExample(); }
int VekMainController::selectedRepeatType() const { return formatPanel().selectedRepeatType(); }
int VekMainController::gridCurrentColumnNr() const { return tablePanel().gridCurrentColumnNr(); }
int VekMainController::gridCurrentRowNr() const { return tablePanel().gridCurrentRowNr(); }
Color VekMainController::gridCurrentColor() const { return tablePanel().gridCurrentColor(); }
int VekMainController::gridCurrentDrawLineH() const { return tablePanel().gridCurrentDrawLineH(); }
int VekMainController::gridCurrentDrawLineV() const { return tablePanel().gridCurrentDrawLineV(); }

void VekMainController::showToolOptionPanelFor(const VekObject &object, bool edit)
{
    auto *target = const_cast<VekObject *>(&object);   // the panels edit the object they show
    if (object.className() == QLatin1String("VekObjGrid")) {
        tablePanel().optionPanelGrid(target, edit);
        tablePanel().show();
    } else if (object.className() == QLatin1String("VekObjFormat")) {
        formatPanel().optionPanelFormat(target, edit);
        formatPanel().show();
    }
}

void VekMainController::orderOutToolOptionPanelFor(const VekObject &object)
{
    if (object.className() == QLatin1String("VekObjGrid"))
        tablePanel().hide();
    else if (object.className() == QLatin1String("VekObjFormat"))
        formatPanel().hide();
}

void VekMainController::setGridOutlets(VekObjGrid &table, int column, int row)
{
    tablePanel().setGridOutlets(&table, column, row);
}
