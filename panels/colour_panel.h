// The shared colour panel: one non-modal window over a QColorDialog that sends its colour to
// the current target.
//
// A control that takes colours (the gradient strip, later the colour wells and the
// inspector) makes itself the target; every colour the user picks is then sent to the
// target's changeColor(). Before the panel closes it posts WindowWillCloseNotification with
// itself as sender, so that its targets can let it go.
#pragma once

#include "platform/color/color.h"

#include <QDialog>
#include <QPointer>
#include <QString>

class QColorDialog;

// Posted by a window (the sender is its QWidget) just before it closes.
inline const QString WindowWillCloseNotification = QStringLiteral("WindowWillCloseNotification");

class ColourPanel;

// What the panel's target implements (the panel's action).
class ColourPanelTarget {
public:
    virtual ~ColourPanelTarget() = default;
    virtual void changeColor(const ColourPanel &sender) = 0;
};

class ColourPanel : public QDialog {
    Q_OBJECT
public:
    // The one panel, made on first use (it lives as long as the application).
    static ColourPanel &sharedColorPanel();
    // Whether the shared panel has been made.
    static bool sharedColorPanelExists();

    // The object that receives changeColor; null for none. A QObject that is destroyed stops
    // being the target.
    void setTarget(QObject *target);
    QObject *target() const { return m_target; }

    Color color() const { return m_color; }
    // Shows the colour without sending it to the target.
    void setColor(const Color &color);
    // Shows the panel and brings it to the front.
    void orderFront();

    // Takes a colour as if the user had picked it: shows it and sends it to the target.
    void pickColor(const Color &color);
    // Places a view below the pickers (the panel takes it over).
    void setAccessoryView(QWidget *view);
    QWidget *accessoryView() const { return m_accessory; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void done(int result) override;

private:
    explicit ColourPanel(QWidget *parent = nullptr);
    void postWillClose();

    QColorDialog *m_dialog = nullptr;
    QPointer<QObject> m_target;
    QWidget *m_accessory = nullptr;
    Color m_color;
    bool m_settingColor = false;
    bool m_willClosePosted = false;
};
