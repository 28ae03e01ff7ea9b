// ColourWell: a button that shows a colour and takes a new one from the shared colour panel.
//
// Clicking it makes it the colour panel's target and brings the panel to the front; every
// colour picked there is shown and reported through colorChanged.
#pragma once

#include "panels/colour_panel.h"

#include <QPushButton>

class ColourWell : public QPushButton, public ColourPanelTarget {
    Q_OBJECT
public:
    explicit ColourWell(QWidget *parent = nullptr);

    const Color &color() const { return m_color; }
    // Shows the colour without reporting it.
    void setColor(const Color &color);
    // Takes a colour as the panel gives it: shows it and reports it.
    void takeColor(const Color &color);

    void changeColor(const ColourPanel &sender) override;

signals:
    void colorChanged();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void activate();

    Color m_color = Color::blackColor();
};
