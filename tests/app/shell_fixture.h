// What the shell tests share: a private user-defaults file, dialogs that answer from a
// script instead of the user, and the application controller started on them.
#pragma once

#include "app/document/vek_doc_controller.h"
#include "app/document/vek_document_window.h"
#include "app/vek_main_controller.h"
#include "document/vek_document.h"
#include "panels/document_dialogs.h"
#include "platform/foundation/user_defaults.h"
#include "tests/support/widget_app.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include <deque>

// Deletes the windows that closed (they go with deleteLater).
inline void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The whole test program keeps its defaults in a folder of its own.
class PrivateConfigHome : public ::testing::Environment {
public:
    void SetUp() override
    {
        qputenv("XDG_CONFIG_HOME", m_home.path().toLocal8Bit());
        qputenv("XDG_DATA_HOME", (m_home.path() + QStringLiteral("/data")).toLocal8Bit());
    }

private:
    QTemporaryDir m_home;
};

// Answers the questions from queues the test fills; records the alerts.
class ScriptedDialogs : public DocumentDialogs {
public:
    std::deque<CloseAnswer> closeAnswers;
    std::deque<std::optional<SaveChoice>> saveChoices;
    std::deque<std::optional<QString>> passwords;
    std::deque<bool> reenterAnswers;
    QStringList openPanelFiles;
    int passwordPrompts = 0;
    QStringList alerts;   // "title|message"
    std::optional<PrintInfo> pageLayout;
    std::deque<std::optional<QString>> anchorNames, linkDestinations;
    std::deque<std::optional<QString>> folders;     // what the folder panel answers
    std::deque<int> questionAnswers;                // unanswered questions are cancelled
    QStringList questions;                          // the titles asked
    QStringList anchorPanelShowed;                  // the names the anchor panel was opened with
    QStringList linkPanelOffered;                   // the anchors the last link panel offered

    CloseAnswer askToSaveChanges(QWidget *, const QString &) override { return take(closeAnswers, CloseAnswer::Cancel); }
    bool askToRevert(QWidget *, const QString &) override { return true; }
    std::optional<SaveChoice> runSavePanel(QWidget *, const QString &, bool) override
    {
        return take(saveChoices, std::optional<SaveChoice>());
    }
    QStringList runOpenPanel(QWidget *, const QString &, const QStringList &, bool) override { return openPanelFiles; }
    std::optional<QString> askPassword(const QString &) override
    {
        ++passwordPrompts;
        return take(passwords, std::optional<QString>());
    }
    bool askToReenterPassword() override { return take(reenterAnswers, false); }
    std::optional<PrintInfo> runPageLayout(QWidget *, const PrintInfo &) override { return pageLayout; }
    std::optional<QString> runAnchorPanel(QWidget *, const QString &name) override
    {
        anchorPanelShowed << name;
        return take(anchorNames, std::optional<QString>());
    }
    std::optional<QString> runLinkPanel(QWidget *, const QString &, const QString &,
                                        const QStringList &anchors) override
    {
        linkPanelOffered = anchors;
        return take(linkDestinations, std::optional<QString>());
    }
    std::optional<QString> chooseFolder(QWidget *, const QString &, const QString &) override
    {
        return take(folders, std::optional<QString>());
    }
    int askQuestion(QWidget *, const QString &title, const QString &, const QStringList &buttons) override
    {
        questions << title;
        return take(questionAnswers, int(buttons.size()) - 1);
    }
    void showAlert(QWidget *, const QString &title, const QString &message) override
    {
        alerts << title + QLatin1Char('|') + message;
    }

private:
    template <typename T>
    static T take(std::deque<T> &queue, T fallback)
    {
        if (!queue.empty()) {
            std::swap(fallback, queue.front());
            queue.pop_front();
        }
        return fallback;
    }
};

// A started application controller on its own defaults file, with scripted dialogs.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureWidgetApp();
        qputenv("XDG_DATA_HOME", folder.filePath(QStringLiteral("data")).toLocal8Bit());
        defaults = std::make_unique<UserDefaults>(folder.filePath(QStringLiteral("prefs.plist")));
        setDocumentDialogs(&dialogs);
        controller = std::make_unique<VekMainController>(*defaults);
    }
    void TearDown() override
    {
        for (VekDocumentWindow *w : controller->docController().documentWindows()) {
            w->document().documentWasSaved();
            w->close();
        }
        flushDeletes();
        controller.reset();
        setDocumentDialogs(nullptr);
    }
    std::vector<VekDocumentWindow *> windows() const { return controller->docController().documentWindows(); }
    QString path(const QString &name) const { return folder.filePath(name); }

    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    std::unique_ptr<UserDefaults> defaults;
    std::unique_ptr<VekMainController> controller;
};
