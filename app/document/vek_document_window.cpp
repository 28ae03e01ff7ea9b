// The document window: set-up, title and edited mark, saving, reverting and closing.
#include "app/document/vek_document_window.h"

#include "app/document/background_merge.h"
#include "app/document/document_printing.h"
#include "app/document/document_shell_services.h"
#include "app/document/document_toolbar.h"
#include "app/document/export_panel.h"
#include "app/document/save_pages_panel.h"
#include "app/document/text_export_panel.h"
#include "app/document/window_frame.h"
#include "canvas/page_geometry.h"
#include "canvas/ui/busy_cursor.h"
#include "canvas/ui/vek_view.h"
#include "document/vek_document.h"
#include "model/services/shell_services.h"
#include "panels/docinfo/document_settings.h"
#include "panels/document_dialogs.h"
#include "panels/obj_info/vek_obj_info_controller.h"
#include "panels/shadow/vek_shadow_controller.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/user_defaults.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

namespace {

// The defaults key under which the last document window's frame is kept.
const QString DocumentWindowFrameKey = QStringLiteral("NSWindow Frame VekDocumentWindow");

QRect screenArea(const QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

QString backupPathFor(const QString &path)
{
    const QFileInfo info(path);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral("~.") + info.suffix());
}

bool fileStartsWithBrace(const QString &path)
{
    QFile file(path);
    char first = 0;
    return file.open(QIODevice::ReadOnly) && file.getChar(&first) && first == '{';
}

} // namespace

VekDocumentWindow::VekDocumentWindow(std::unique_ptr<VekDocument> document, const QString &filePath,
                                     const QString &untitledName, QWidget *parent)
    : QMainWindow(parent), m_document(std::move(document)), m_filePath(filePath), m_untitledName(untitledName)
{
    setAttribute(Qt::WA_DeleteOnClose);
    m_savedAsText = !filePath.isEmpty() ? fileStartsWithBrace(filePath) : documentShellServices().saveFormatted();
    setUpWindow();

    // The edited mark follows the undo history, which changes from many places.
    auto *markTimer = new QTimer(this);
    connect(markTimer, &QTimer::timeout, this, &VekDocumentWindow::refreshEditedMark);
    markTimer->start(250);
}

VekDocumentWindow::~VekDocumentWindow()
{
    emit aboutToBeDestroyed(this);
    NotificationCenter::defaultCenter().removeObserver(this);
    m_toolbar.reset();
    // The canvas goes before the document it shows.
    delete takeCentralWidget();
}

void VekDocumentWindow::setUpWindow()
{
    if (m_document->resolution() < 1)
        m_document->setResolution(72);

    const QRect screen = screenArea(this);
    std::optional<QRect> frame = windowFrameFromString(m_document->lastWindowFrame(), screen);
    if (!frame)
        frame = windowFrameFromString(UserDefaults::standardUserDefaults().stringForKey(DocumentWindowFrameKey), screen);
    if (frame)
        setGeometry(*frame);
    else
        resize(std::min(900, screen.width() - 100), std::min(800, screen.height() - 80));

    attachView();
    m_toolbar = std::make_unique<DocumentToolbar>(*this);
    observeToolChanges();
    applyGridPreferences();
    updateTitle();

    // A window that was just made shows an unchanged document.
    m_document->undoManager()->removeAllActions();
    m_document->documentWasSaved();
}

void VekDocumentWindow::attachView()
{
    m_view = new VekView(*m_document, this);
    setCentralWidget(m_view);
    m_view->rulerHost().setRulersVisible(true);
    m_view->setGrabbedAreaSaver([this](const Rect &area, const VekView::ObjectList &objects) {
        if (saveSelectedPart(this, *m_document, displayName(), area, objects))
            m_view->endGrabEvent();
    });
    m_view->setFocus();
    // A document saved on a later page opens at the top of that page.
    const int page = m_document->lastCurrentPage();
    if (page >= 2 && page <= m_document->numberOfPages()) {
        m_view->scrollRectToVisible(m_view->rectForPage(page));
        m_view->setCurrentPageTo(page);
    }
}

void VekDocumentWindow::observeToolChanges()
{
    NotificationCenter &center = NotificationCenter::defaultCenter();
    // A creation tool starts from an empty selection; the canvas shows the new tool's cursors.
    center.addObserver(this, VekSelectedToolDidChangeNotification, nullptr, [this](const Notification &) {
        m_view->endEditing();
        if (documentShellServices().selectedTool() != 0)
            m_view->clearSelection();
        m_view->resetCursorRects();
    });
    center.addObserver(this, VekSelectedToolCursorDidChangeNotification, nullptr,
                       [this](const Notification &) { m_view->resetCursorRects(); });
    // A setting changed from a panel (or its undo): the title and the page geometry follow.
    center.addObserver(this, VekDocumentSettingsDidChangeNotification, m_document.get(), [this](const Notification &) {
        updateTitle();
        m_view->setCurrentZoom(m_view->currentZoom());
    });
    // The grid follows the ruler unit and the grid scale; sizes follow the scale base.
    for (const QString &name : {VekRulerUnitDidChangeNotification, VekGridScaleDidChangeNotification})
        center.addObserver(this, name, nullptr, [this](const Notification &) { applyGridPreferences(); });
    center.addObserver(this, VekScaleBaseDidChangeNotification, nullptr,
                       [this](const Notification &) { m_view->setCurrentZoom(m_view->currentZoom()); });
}

void VekDocumentWindow::applyGridPreferences()
{
    const ShellServices &shell = shellServices();
    m_view->setGridSpacing(gridSpacingForUnit(shell.selectedUnit(), shell.gridScale()));
    m_view->viewport()->update();
}

QString VekDocumentWindow::displayName() const
{
    return m_filePath.isEmpty() ? m_untitledName : QFileInfo(m_filePath).fileName();
}

bool VekDocumentWindow::isDocumentEdited() const
{
    return m_document->isDocumentEdited();
}

void VekDocumentWindow::updateTitle()
{
    setWindowFilePath(m_filePath);
    // The document's title, when it has one of its own, follows the file's name.
    // A title from the metadata may hold line breaks and tabs: the title bar shows one line.
    QString title = displayName();
    const QString documentTitle = m_document->title().simplified();
    if (!documentTitle.isEmpty() && documentTitle != title)
        title += QStringLiteral(" [%1]").arg(documentTitle);
    setWindowTitle(title + QStringLiteral("[*]"));
    refreshEditedMark();
}

void VekDocumentWindow::refreshEditedMark()
{
    const bool edited = isDocumentEdited();
    if (isWindowModified() != edited)
        setWindowModified(edited);
}

QString VekDocumentWindow::currentFrameString() const
{
    return windowFrameString(geometry(), screenArea(this));
}

bool VekDocumentWindow::saveToPath(const QString &path, bool textForm, QString *reason)
{
    const bool keepBackup = documentShellServices().keepBackup() && QFileInfo::exists(path);
    if (keepBackup) {
        QFile::remove(backupPathFor(path));
        QFile::copy(path, backupPathFor(path));
    }
    m_document->setLastWindowFrame(currentFrameString());
    DocumentError error;
    if (!m_document->writeToFile(path, textForm, &error)) {
        if (reason)
            *reason = error.description;
        return false;
    }
    m_document->documentWasSaved();
    const bool renamed = path != m_filePath;
    m_filePath = path;
    m_savedAsText = textForm;
    updateTitle();
    if (renamed)
        emit fileSaved(path);
    return true;
}

bool VekDocumentWindow::saveDocument()
{
    if (m_filePath.isEmpty())
        return saveDocumentAs();
    QString reason;
    if (saveToPath(m_filePath, m_savedAsText, &reason))
        return true;
    // The reason names the file.
    documentDialogs().showAlert(this, localizedString(QStringLiteral("The document could not be saved.")), reason);
    return false;
}

bool VekDocumentWindow::saveDocumentAs()
{
    const QString suggested = m_filePath.isEmpty() ? m_untitledName + QStringLiteral(".vek") : m_filePath;
    const std::optional<DocumentDialogs::SaveChoice> choice =
        documentDialogs().runSavePanel(this, suggested, m_savedAsText);
    if (!choice)
        return false;
    QString path = choice->path;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".vek");
    QString reason;
    if (saveToPath(path, choice->textForm, &reason))
        return true;
    documentDialogs().showAlert(this, localizedString(QStringLiteral("The document could not be saved.")), reason);
    return false;
}

bool VekDocumentWindow::revertDocumentToSaved()
{
    if (m_filePath.isEmpty() || !documentDialogs().askToRevert(this, displayName()))
        return false;
    auto reread = std::make_unique<VekDocument>();
    DocumentError error;
    if (!reread->readFromFile(m_filePath, &error)) {
        documentDialogs().showAlert(this, localizedString(QStringLiteral("The document could not be reverted.")),
                                    QStringLiteral("\"%1\": %2").arg(m_filePath, error.description));
        return false;
    }
    cleanupBeforeCloseDocument();
    m_toolbar.reset();
    delete takeCentralWidget();
    m_view = nullptr;
    m_document = std::move(reread);
    attachView();
    applyGridPreferences();
    m_toolbar = std::make_unique<DocumentToolbar>(*this);
    m_document->undoManager()->removeAllActions();
    m_document->documentWasSaved();
    refreshEditedMark();
    return true;
}

void VekDocumentWindow::cleanupBeforeCloseDocument()
{
    if (m_view)
        m_view->endEditing();
    // The panels that show this document let it go.
    if (VekObjInfoController::sharedObjInfoControllerExists())
        VekObjInfoController::sharedObjInfoController().closePanels();
    if (VekShadowController::sharedShadowControllerExists())
        VekShadowController::sharedShadowController().documentWillClose(*m_document);
}

void VekDocumentWindow::windowDidResignMain()
{
    m_view->endEditing();
    m_lastSelection.clear();
    for (const std::shared_ptr<VekObject> &object : m_view->selectedObjects())
        m_lastSelection.push_back(object);
    if (!m_lastSelection.empty())
        m_view->clearSelection();
    m_toolbar->setCustomToolbarItemsEnabled(false);
}

void VekDocumentWindow::windowDidBecomeMain()
{
    for (const std::weak_ptr<VekObject> &weak : m_lastSelection)
        if (std::shared_ptr<VekObject> object = weak.lock(); object && m_document->indexOfObject(object.get()) >= 0)
            m_view->selectObject(object);
    m_lastSelection.clear();
    m_toolbar->setCustomToolbarItemsEnabled(true);
}

void VekDocumentWindow::closeEvent(QCloseEvent *event)
{
    if (isDocumentEdited()) {
        switch (documentDialogs().askToSaveChanges(this, displayName())) {
        case DocumentDialogs::CloseAnswer::Save:
            if (!saveDocument()) {
                event->ignore();
                return;
            }
            break;
        case DocumentDialogs::CloseAnswer::DontSave:
            break;
        case DocumentDialogs::CloseAnswer::Cancel:
            event->ignore();
            return;
        }
    }
    cleanupBeforeCloseDocument();
    UserDefaults &defaults = UserDefaults::standardUserDefaults();
    defaults.setObject(PropertyList(currentFrameString()), DocumentWindowFrameKey);
    defaults.synchronize();
    event->accept();
}

void VekDocumentWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        emit becameMain(this);
}

void VekDocumentWindow::placeImage()
{
    static const QStringList filters = {localizedString(QStringLiteral(
        "Images, PDF and SVG files (*.png *.jpg *.jpeg *.tif *.tiff *.gif *.bmp *.jp2 *.pdf *.svg *.svgz "
        "*.PNG *.JPG *.JPEG *.TIF *.TIFF *.GIF *.BMP *.JP2 *.PDF *.SVG *.SVGZ)"))};
    const QStringList files =
        documentDialogs().runOpenPanel(this, localizedString(QStringLiteral("Place Image")), filters, false);
    if (files.isEmpty())
        return;
    m_view->endEditing();
    QString reason;
    if (!m_view->placeFileOnCurrentPage(files.first(), &reason))
        documentDialogs().showAlert(this, localizedString(QStringLiteral("Sorry, failed to place the file:")),
                                    files.first() + QStringLiteral("\n") + reason);
}

// ---- Responder ----

namespace {

const QStringList &documentActions()
{
    static const QStringList actions = {QStringLiteral("saveDocument"), QStringLiteral("saveDocumentAs"),
                                        QStringLiteral("revertDocumentToSaved"), QStringLiteral("performClose"),
                                        QStringLiteral("undo"), QStringLiteral("redo"),
                                        QStringLiteral("runPageLayout"), QStringLiteral("exportCommand"),
                                        QStringLiteral("exportPart"), QStringLiteral("printCommand"),
                                        QStringLiteral("saveDocumentPagesAs"), QStringLiteral("saveTextAs"),
                                        QStringLiteral("mergeBasePdf"), QStringLiteral("placeImage")};
    return actions;
}

} // namespace

bool VekDocumentWindow::respondsToAction(const QString &action) const
{
    return documentActions().contains(action);
}

bool VekDocumentWindow::validateAction(const QString &action, ActionSender &sender)
{
    if (action == QLatin1String("revertDocumentToSaved"))
        return !m_filePath.isEmpty() && isDocumentEdited();
    // The Edit menu names the step that Undo and Redo take back.
    if (action == QLatin1String("undo")) {
        sender.title = m_document->undoManager()->undoMenuItemTitle();
        return m_document->undoManager()->canUndo();
    }
    if (action == QLatin1String("redo")) {
        sender.title = m_document->undoManager()->redoMenuItemTitle();
        return m_document->undoManager()->canRedo();
    }
    return true;
}

bool VekDocumentWindow::performAction(const QString &action, const ActionSender &)
{
    if (action == QLatin1String("saveDocument"))
        return saveDocument();
    if (action == QLatin1String("saveDocumentAs"))
        return saveDocumentAs();
    if (action == QLatin1String("revertDocumentToSaved"))
        return revertDocumentToSaved();
    if (action == QLatin1String("performClose"))
        return close();
    if (action == QLatin1String("runPageLayout")) {
        // The settings go to this document only; the scale sets the resolution it stands for.
        if (std::optional<PrintInfo> info = documentDialogs().runPageLayout(this, m_document->printInfo())) {
            m_document->pageLayoutAccepted(*info);
            m_view->updateFrame();
        }
        return true;
    }
    if (action == QLatin1String("exportCommand")) {
        m_view->endGrabEvent();
        return exportDocument(this, *m_document, displayName(), m_view->selectedObjectsInObjectsOrder());
    }
    if (action == QLatin1String("exportPart")) {
        m_view->beginGrabEvent();
        return true;
    }
    if (action == QLatin1String("saveDocumentPagesAs")) {
        m_view->endGrabEvent();
        return saveDocumentPages(this, *m_document, displayName());
    }
    if (action == QLatin1String("saveTextAs"))
        return exportDocumentText(this, *m_document, displayName());
    if (action == QLatin1String("mergeBasePdf")) {
        mergeBackgroundInteractively(this, *m_document);
        return true;
    }
    if (action == QLatin1String("placeImage")) {
        placeImage();
        return true;
    }
    if (action == QLatin1String("printCommand")) {
        printDocumentInteractively(this, *m_document, displayName());
        return true;
    }
    if (action == QLatin1String("undo")) {
        UndoManager &undo = *m_document->undoManager();
        BusyCursor busy(undo.undoStepSize() >= BusyCursor::ManyObjects);
        undo.undo();
        return true;
    }
    if (action == QLatin1String("redo")) {
        UndoManager &undo = *m_document->undoManager();
        BusyCursor busy(undo.redoStepSize() >= BusyCursor::ManyObjects);
        undo.redo();
        return true;
    }
    return false;
}
