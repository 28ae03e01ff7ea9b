// VekMainController: the application controller. It starts the application in order
// (archive coders, preferences, tool palette, what to open), opens the files handed to
// the application by their kind, carries out the application's menu commands, and answers
// the shell's questions of the drawing objects (ShellServices) and of the document windows
// (DocumentShellServices).
#pragma once

#include "app/document/document_shell_services.h"
#include "app/preferences.h"
#include "canvas/ui/responder.h"
#include "model/services/panel_services.h"
#include "model/services/shell_services.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <memory>

class UserDefaults;
class VekDocController;
class VekDocumentWindow;
class VekMemoController;
class VekVersionChecker;
class VekPreferencesWindow;
class FindPanel;
class FormatOptionsPanel;
class TableOptionsPanel;
class VekToolController;
class VekDocInfoController;
class ShellFilterPanelServices;

class VekMainController : public QObject,
                          public ShellServices,
                          public DocumentShellServices,
                          public PanelServices,
                          public Responder {
    Q_OBJECT
public:
    explicit VekMainController(UserDefaults &defaults, QObject *parent = nullptr);
    ~VekMainController() override;

    // Start-up: registers the archive coders, stores missing preferences, installs the
    // shell services, shows the tool palette, then opens the files (or what the "startUp"
    // preference asks for when there are none).
    void startUp(const QStringList &files);
    // What documents need of the application without any window of its own: the archive
    // coders and the shell services (start-up does it first; the command line's conversions
    // need only this).
    void installServices();
    // The find panel; its buttons act on the main document.
    FindPanel &findPanel() const { return *m_findPanel; }

    // Opens a file by its kind (extension, or the content of a PDF); an alert names the
    // file and the reason when it cannot be opened.
    bool applicationOpenFile(const QString &path);
    // What "startUp" asks for: 0 a new document, 1 the most recent document (a new one when
    // that fails), 2 the open panel.
    void openAtStartUp();

    VekDocController &docController() const { return *m_docController; }
    VekToolController &toolController() const { return *m_toolController; }
    VekDocInfoController &docInfoController() const { return *m_docInfo; }
    VekPreferences &preferences() { return m_preferences; }
    VekPreferencesWindow &preferencesWindow();
    // The memo panel, made on first use.
    VekMemoController &memoController();
    // The update checker, made on first use.
    VekVersionChecker &versionChecker();
    // What quitting does before the windows go: the memo is saved (when it was opened).
    void applicationWillTerminate();
    // The chain a menu command walks: the focused widget, the main document's canvas, its
    // window, this controller.
    ResponderChain responderChain() const;
    // The chain of a window's own menus: from the widget given (if any) and the window's
    // focused canvas to the window and this controller.
    ResponderChain responderChainFor(VekDocumentWindow *window, QWidget *focused = nullptr) const;

    // ---- ShellServices ----
    int selectedTool() const override;
    int currentMarkerColorNr() const override;
    float currentMarkerThickness() const override;
    Color markerColor(int number) const override;
    int selectedUnit() const override;
    bool displayOnRealWorldBase() const override;
    float gridScale() const override;
    Color gridColor() const override;
    Color gridmColor() const override;
    bool continueFindInOthers() const override;
    Color knobColor() const override;
    Color frBGColor() const override;
    Color frMKColor() const override;
    Color ctrlLineColor() const override;
    Color ctrlPtsColor() const override;
    Color ctrlPtCColor() const override;
    Color ctrlPtBColor() const override;
    Color ctrlPtEColor() const override;
    Color ctrlPtOColor() const override;
    QCursor selectColumnCursor() const override;
    QCursor selectRowCursor() const override;
    QCursor cursorForSelectedTool() const override;
    void selectPointPenTool() override;
    void selectObjectTool() override;
    int visibleToolOption() const override;
    std::vector<std::shared_ptr<VekObject>> selectedObjectSetObjects() const override;
    void setMarkerColorNr(int number) override;
    void setMarkerThickness(float thickness) override;
    void beep() override;
    // The option panels of the field and table tools.
    QString selectedFormat() const override;
    int selectedFormatType() const override;
    int selectedFormatAlign() const override;
    AttributedString selectedFormatExample() const override;
    int selectedRepeatType() const override;
    int gridCurrentColumnNr() const override;
    int gridCurrentRowNr() const override;
    Color gridCurrentColor() const override;
    int gridCurrentDrawLineH() const override;
    int gridCurrentDrawLineV() const override;
    void showToolOptionPanelFor(const VekObject &object, bool edit) override;
    void orderOutToolOptionPanelFor(const VekObject &object) override;
    void setGridOutlets(VekObjGrid &table, int column, int row) override;

    // ---- DocumentShellServices ----
    Size userPrefViewSize() const override;
    DefaultMargins userDefaultMargins() const override;
    QString userDefaultPaperName() const override;
    bool keepBackup() const override;
    bool saveFormatted() const override;
    void selectArrowTool() override;

    // ---- PanelServices ----
    PropertyList dashInfoFor(int index) const override;
    bool grpPartialSelectionIsAllowed() const override;

    // ---- Responder: the application's commands ----
    bool respondsToAction(const QString &action) const override;
    bool validateAction(const QString &action, ActionSender &sender) override;
    bool performAction(const QString &action, const ActionSender &sender) override;

private:
    void openDocument();
    // The Help menu: the readme in the desktop's viewer; a copy of the example document.
    void openReadme();
    void openExample();
    void importCommand();
    void importPDFimageOnly();
    // Quit: closes the documents (each may ask about its changes), then ends the program.
    void terminate();
    void alertOpenFailure(const QString &path, const QString &reason);
    void installMenus(VekDocumentWindow *window);
    // The floating rulers follow the current document, the main window and the activation.
    void connectFloatingRulers();
    // The first activation closes the splash panel (and may start the update check).
    void applicationWillBecomeActive();
    // The palette's option panels of the field and table tools.
    FormatOptionsPanel &formatPanel() const;
    TableOptionsPanel &tablePanel() const;
    // The inspector and the shadow panel follow the main window's canvas.
    void connectPanels();
    // The document info panel follows the main document window.
    void connectDocInfoPanel();

    UserDefaults &m_defaults;
    VekPreferences m_preferences;
    VekDocController *m_docController = nullptr;
    VekToolController *m_toolController = nullptr;   // a top-level window, deleted with the controller
    QPointer<VekPreferencesWindow> m_preferencesWindow;
    VekMemoController *m_memoController = nullptr;   // a top-level window, deleted with the controller
    FindPanel *m_findPanel = nullptr;   // the application's one find panel, a top-level window
    VekDocInfoController *m_docInfo = nullptr;   // a top-level window, deleted with the controller
    std::unique_ptr<ShellFilterPanelServices> m_filterPanelServices;
    VekVersionChecker *m_versionChecker = nullptr;   // a top-level window, deleted with the controller
    QPointer<QWidget> m_splashPanel;   // up from start-up to the first activation
    bool m_firstActivation = true;
};
