// VekDocumentWindow: the window of one open document: the canvas (a scroll view of the
// pages), the title with the file's name and the edited mark, saving in both stored forms,
// reverting, and the question before a document with changes closes.
//
// The window owns its document; the document controller keeps the list of windows.
#pragma once

#include "canvas/ui/responder.h"

#include <QMainWindow>

#include <memory>
#include <vector>

class DocumentToolbar;
class VekDocument;
class VekObject;
class VekView;

class VekDocumentWindow : public QMainWindow, public Responder {
    Q_OBJECT
public:
    // Builds the window of a document read from filePath, or of an untitled document (an
    // empty path) shown as untitledName.
    VekDocumentWindow(std::unique_ptr<VekDocument> document, const QString &filePath, const QString &untitledName,
                      QWidget *parent = nullptr);
    ~VekDocumentWindow() override;

    VekDocument &document() const { return *m_document; }
    VekView &vekView() const { return *m_view; }
    DocumentToolbar &documentToolbar() const { return *m_toolbar; }
    // The file the document was read from or last saved to; empty while untitled.
    QString filePath() const { return m_filePath; }
    // The file's name, or the untitled name.
    QString displayName() const;
    bool isDocumentEdited() const;

    // Saves to the document's file in the form it was read in (the preferred form for a
    // document read from a file of the other kind); asks for a file when untitled.
    bool saveDocument();
    // Asks for a file and a form, then saves there.
    bool saveDocumentAs();
    // Writes the document to path in the chosen form; false with the reason.
    bool saveToPath(const QString &path, bool textForm, QString *reason = nullptr);
    // Throws the changes away and reads the file again (after asking); false when not done.
    bool revertDocumentToSaved();
    // Asks for an image, PDF or SVG file and places it on the current page (an alert says
    // why when the file gives nothing).
    void placeImage();
    // Shows the edited state in the title.
    void refreshEditedMark();
    // Ends editing on the canvas before the document goes.
    void cleanupBeforeCloseDocument();
    // Another document became the main one: editing ends and the selection is put aside
    // (and cleared) until this window is the main one again.
    void windowDidResignMain();
    void windowDidBecomeMain();

    // ---- Responder: the document's commands ----
    bool respondsToAction(const QString &action) const override;
    bool validateAction(const QString &action, ActionSender &sender) override;
    bool performAction(const QString &action, const ActionSender &sender) override;

signals:
    // The window became the active (main) document window.
    void becameMain(VekDocumentWindow *window);
    // The window's file changed (saved under a new name).
    void fileSaved(const QString &path);
    // Sent first thing in the destructor, while the window is still whole.
    void aboutToBeDestroyed(VekDocumentWindow *window);

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void setUpWindow();
    void attachView();
    void observeToolChanges();
    // The canvas's grid spacing from the ruler unit and the grid-scale preference.
    void applyGridPreferences();
    void updateTitle();
    QString currentFrameString() const;

    std::unique_ptr<VekDocument> m_document;
    VekView *m_view = nullptr;   // the central widget, owned by the window
    // Follows the canvas, so it goes before it (and before the document).
    std::unique_ptr<DocumentToolbar> m_toolbar;
    QString m_filePath;
    QString m_untitledName;
    bool m_savedAsText = false;
    // Objects deleted meanwhile are not selected again.
    std::vector<std::weak_ptr<VekObject>> m_lastSelection;
};
