// Keeps the application's modal dialogs (alerts, questions, panels) in sight above its
// always-on-top tool windows (the tool palette, the memo, floating rulers).
//
// A window manager keeps a window that asks to stay on top above every ordinary window, a
// modal dialog included, so the palette could cover an alert's text. While a modal dialog is
// up, the visible tool windows stop asking; when the last modal dialog closes they ask again
// and come to the front.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <vector>

class ModalDialogStacking : public QObject {
public:
    // Watches the application's windows from now on.
    explicit ModalDialogStacking(QObject *parent = nullptr);
    ~ModalDialogStacking() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void modalShown(QWidget *dialog);
    void modalHidden(QWidget *dialog);

    std::vector<QPointer<QWidget>> m_modals;    // up now
    std::vector<QPointer<QWidget>> m_lowered;   // tool windows that stopped staying on top
};
