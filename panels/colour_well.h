// ColourWell: a control that shows a colour and takes colours from the shared colour panel.
// Keyboard focus activates it exclusively: while it has focus it is the panel's only
// target; losing focus deactivates it. A click gives it focus and brings the panel up.
#pragma once

#include "panels/colour_panel.h"

#include <QWidget>

class ColourWell : public QWidget, public ColourPanelTarget {
    Q_OBJECT
public:
    explicit ColourWell(QWidget *parent = nullptr);

    Color color() const { return m_color; }
    void setColor(const Color &color);
    // Whether the shared panel sends its colours here.
    bool isActive() const;

    void changeColor(const ColourPanel &sender) override;

signals:
    // The user picked a colour for the well.
    void colorChanged(const Color &color);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    QSize sizeHint() const override { return {44, 24}; }

private:
    Color m_color = Color::blackColor();
};
