// The questions and panels the document windows and openers put to the user.
//
// The windows and the document controller ask through this interface, so that tests can
// answer in place of the user; the application uses the built-in answers (Qt dialogs).
#pragma once

#include "document/print_info.h"

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

class DocumentDialogs {
public:
    virtual ~DocumentDialogs() = default;

    enum class CloseAnswer { Save, DontSave, Cancel };
    // "Do you want to save the changes ...?" before a document with changes closes.
    virtual CloseAnswer askToSaveChanges(QWidget *window, const QString &displayName);
    // Whether to throw the changes away and read the file again.
    virtual bool askToRevert(QWidget *window, const QString &displayName);

    struct SaveChoice {
        QString path;
        bool textForm = false;   // the readable text form instead of the archive
    };
    // The save panel, offering both stored forms; absent when cancelled.
    virtual std::optional<SaveChoice> runSavePanel(QWidget *window, const QString &suggestedPath, bool textForm);
    // The open panel for one file or more; empty when cancelled.
    virtual QStringList runOpenPanel(QWidget *parent, const QString &title, const QStringList &nameFilters,
                                     bool multiple);

    // A panel that chooses one folder; absent when cancelled.
    virtual std::optional<QString> chooseFolder(QWidget *parent, const QString &title, const QString &selectButton);

    // The password of an encrypted PDF; absent when cancelled.
    virtual std::optional<QString> askPassword(const QString &fileName);
    // After a wrong password: true to type another one ("Reenter"), false to give up.
    virtual bool askToReenterPassword();

    // The page-layout dialog on the document's print settings; absent when cancelled.
    virtual std::optional<PrintInfo> runPageLayout(QWidget *window, const PrintInfo &info);

    // The anchor panel (anchor_dialogs.cpp): the name field shows `name`; the name typed,
    // absent when cancelled.
    virtual std::optional<QString> runAnchorPanel(QWidget *window, const QString &name);
    // The link panel (anchor_dialogs.cpp): shows the selected text and its destination and
    // offers the document's anchors; the destination typed or chosen, absent when cancelled.
    virtual std::optional<QString> runLinkPanel(QWidget *window, const QString &selectedText,
                                                const QString &destination, const QStringList &anchorNames);

    // A modal alert with one OK button.
    virtual void showAlert(QWidget *parent, const QString &title, const QString &message);
    // A modal question with the buttons given (the first is the default, the last cancels);
    // answers the index of the button pressed.
    virtual int askQuestion(QWidget *parent, const QString &title, const QString &message,
                            const QStringList &buttons);
};

// The installed dialogs, or the built-in ones.
DocumentDialogs &documentDialogs();
// Installs dialogs (not owned; null puts the built-in ones back).
void setDocumentDialogs(DocumentDialogs *dialogs);
