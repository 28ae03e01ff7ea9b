// The colour panel's target while it sets a document's page background: every colour the
// user picks goes through the background colour command, which may show it back in the
// panel in the colour space the document keeps.
#pragma once

#include "canvas/background_color_command.h"
#include "panels/colour_panel.h"

#include <QObject>

class BackgroundColourTarget : public QObject, public ColourPanelTarget, public ColorControl {
public:
    BackgroundColourTarget(VekDocument &document, QObject *parent) : QObject(parent), m_document(document) {}

    // Makes this the shared colour panel's target, showing the present background.
    void orderFrontColourPanel();

    void changeColor(const ColourPanel &sender) override;
    Color color() const override;
    void setColor(const Color &color) override;

private:
    VekDocument &m_document;
};
