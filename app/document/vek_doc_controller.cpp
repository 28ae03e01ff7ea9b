// The document controller: the open windows, untitled documents, recent files and the
// main document.
#include "app/document/vek_doc_controller.h"

#include "app/document/document_shell_services.h"
#include "app/document/vek_document_window.h"
#include "app/document/window_frame.h"
#include "document/vek_document.h"
#include "panels/document_dialogs.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/user_defaults.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

namespace {

const QString RecentDocumentsKey = QStringLiteral("recentDocuments");
constexpr int MaxRecentDocuments = 10;

QString canonicalPath(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QFileInfo(path).absoluteFilePath() : canonical;
}

// A new window is cascaded from the open ones and kept within the screen's free area.
void placeNewWindow(QWidget &window, const std::vector<VekDocumentWindow *> &open)
{
    const QScreen *screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QList<QRect> others;
    for (const VekDocumentWindow *other : open)
        if (other != &window && other->isVisible())
            others << other->geometry();
    window.setGeometry(cascadedWindowFrame(window.geometry(), others, screen->availableGeometry()));
}

} // namespace

const QString VekDocController::DocumentTypeName = QStringLiteral("Vekanto Document Type");

VekDocController::VekDocController(UserDefaults &defaults, QObject *parent) : QObject(parent), m_defaults(defaults) {}

VekDocController::~VekDocController() = default;

std::vector<VekDocumentWindow *> VekDocController::documentWindows() const
{
    std::vector<VekDocumentWindow *> windows;
    for (const QPointer<VekDocumentWindow> &w : m_windows)
        if (w)
            windows.push_back(w);
    return windows;
}

VekDocumentWindow *VekDocController::currentVekDocument() const
{
    if (m_current)
        return m_current;
    const std::vector<VekDocumentWindow *> windows = documentWindows();
    return windows.empty() ? nullptr : windows.front();
}

std::unique_ptr<VekDocument> VekDocController::makeUntitledDocument()
{
    auto document = std::make_unique<VekDocument>();
    const DocumentShellServices &shell = documentShellServices();
    const Size view = shell.userPrefViewSize();
    const DefaultMargins margins = shell.userDefaultMargins();
    PrintInfo info = document->printInfo();
    info.leftMargin = margins.left;
    info.rightMargin = margins.right;
    info.topMargin = margins.top;
    info.bottomMargin = margins.bottom;
    info.paperSize = {margins.left + view.width + margins.right, margins.top + view.height + margins.bottom};
    info.orientation = PrintInfo::Orientation::Portrait;
    // A custom size carries no paper name; a known preferred paper keeps its own.
    info.paperName = QString();
    const QString paper = shell.userDefaultPaperName();
    for (const Paper &p : builtInPapers())
        if (p.name == paper)
            info.paperName = paper;
    document->setPrintInfo(info);
    document->setDrawAreaSizePerPage(view);
    return document;
}

VekDocumentWindow *VekDocController::showDocument(std::unique_ptr<VekDocument> document, const QString &filePath,
                                                  const QString &importedFrom)
{
    QString untitledName;
    if (filePath.isEmpty() && !importedFrom.isEmpty()) {
        untitledName = QFileInfo(importedFrom).fileName();
    } else if (filePath.isEmpty()) {
        ++m_untitledCount;
        untitledName = localizedString(QStringLiteral("Untitled"));
        if (m_untitledCount > 1)
            untitledName += QStringLiteral(" %1").arg(m_untitledCount);
    }
    auto *window = new VekDocumentWindow(std::move(document), filePath, untitledName);
    m_windows.emplace_back(window);
    connect(window, &VekDocumentWindow::becameMain, this, &VekDocController::windowBecameMain);
    connect(window, &VekDocumentWindow::fileSaved, this, &VekDocController::noteNewRecentDocument);
    connect(window, &VekDocumentWindow::aboutToBeDestroyed, this, &VekDocController::forgetWindow);
    emit documentWindowOpened(window);
    placeNewWindow(*window, documentWindows());
    window->show();
    m_current = window;
    emit currentDocumentChanged(window);
    return window;
}

void VekDocController::forgetWindow(VekDocumentWindow *window)
{
    // The window is going: it is neither listed nor current when the others hear of it.
    std::erase_if(m_windows, [window](const QPointer<VekDocumentWindow> &w) { return w.isNull() || w == window; });
    if (m_current == window)
        m_current = nullptr;
    emit currentDocumentChanged(currentVekDocument());
}

VekDocumentWindow *VekDocController::createVekUntitledDocument()
{
    return showDocument(makeUntitledDocument(), QString());
}

void VekDocController::windowBecameMain(VekDocumentWindow *window)
{
    if (m_current == window)
        return;
    // The tool palette goes back to the arrow when another document becomes the main one.
    if (m_current) {
        m_current->windowDidResignMain();
        documentShellServices().selectArrowTool();
    }
    m_current = window;
    window->windowDidBecomeMain();
    emit currentDocumentChanged(window);
}

VekDocumentWindow *VekDocController::windowForFile(const QString &path) const
{
    const QString wanted = canonicalPath(path);
    for (VekDocumentWindow *w : documentWindows())
        if (!w->filePath().isEmpty() && canonicalPath(w->filePath()) == wanted)
            return w;
    return nullptr;
}

bool VekDocController::openVekDocument(const QString &path, QString *reason)
{
    if (VekDocumentWindow *open = windowForFile(path)) {
        open->raise();
        open->activateWindow();
        return true;
    }
    auto document = std::make_unique<VekDocument>();
    DocumentError error;
    if (!document->readFromFile(path, &error)) {
        if (reason)
            *reason = error.description;
        return false;
    }
    const QStringList notes = document->readingNotes();
    showDocument(std::move(document), QFileInfo(path).absoluteFilePath());
    noteNewRecentDocument(path);
    // The document opened, but the user should know what of the file it leaves out.
    if (!notes.isEmpty())
        documentDialogs().showAlert(currentVekDocument(),
                                    localizedString(QStringLiteral("Part of \"%1\" was left out."))
                                        .arg(QFileInfo(path).fileName()),
                                    notes.join(QLatin1Char('\n')));
    return true;
}

QStringList VekDocController::recentDocumentURLs() const
{
    QStringList paths;
    const PropertyList stored = m_defaults.arrayForKey(RecentDocumentsKey);
    for (qsizetype i = 0; i < stored.count(); ++i)
        if (stored.at(i).isString())
            paths << stored.at(i).stringValue();
    return paths;
}

void VekDocController::noteNewRecentDocument(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList paths = recentDocumentURLs();
    paths.removeAll(absolute);
    paths.prepend(absolute);
    while (paths.size() > MaxRecentDocuments)
        paths.removeLast();
    PropertyList array = PropertyList::array();
    for (const QString &p : paths)
        array.append(PropertyList(p));
    m_defaults.setObject(array, RecentDocumentsKey);
    m_defaults.synchronize();
}
