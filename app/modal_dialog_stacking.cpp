// Lowering the always-on-top tool windows while a modal dialog is up.
#include "app/modal_dialog_stacking.h"

#include <QApplication>
#include <QEvent>
#include <QWindow>

#include <algorithm>
#include <utility>

namespace {

// Both the widget and its native window learn the flags: the widget keeps them for a later
// native window, the native window tells the window manager now.
void setStaysOnTop(QWidget &window, bool onTop)
{
    const Qt::WindowFlags flags = window.windowFlags().setFlag(Qt::WindowStaysOnTopHint, onTop);
    window.overrideWindowFlags(flags);
    if (QWindow *handle = window.windowHandle())
        handle->setFlags(flags);
}

bool isToolOnTop(const QWidget &window)
{
    return window.isVisible() && window.windowType() == Qt::Tool && window.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

} // namespace

ModalDialogStacking::ModalDialogStacking(QObject *parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

ModalDialogStacking::~ModalDialogStacking()
{
    qApp->removeEventFilter(this);
}

bool ModalDialogStacking::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->isWindow() && widget->isModal())
            event->type() == QEvent::Show ? modalShown(widget) : modalHidden(widget);
    }
    return false;
}

// The show event comes before the dialog's window appears, so it appears above them.
void ModalDialogStacking::modalShown(QWidget *dialog)
{
    std::erase_if(m_modals, [](const QPointer<QWidget> &w) { return w.isNull(); });
    if (std::find(m_modals.begin(), m_modals.end(), dialog) == m_modals.end())
        m_modals.emplace_back(dialog);
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window != dialog && isToolOnTop(*window)) {
            setStaysOnTop(*window, false);
            m_lowered.emplace_back(window);
        }
}

void ModalDialogStacking::modalHidden(QWidget *dialog)
{
    std::erase_if(m_modals, [dialog](const QPointer<QWidget> &w) { return w.isNull() || w == dialog; });
    if (!m_modals.empty())
        return;
    for (const QPointer<QWidget> &window : std::exchange(m_lowered, {}))
        if (window) {
            setStaysOnTop(*window, true);
            if (window->isVisible())
                window->raise();
        }
}
