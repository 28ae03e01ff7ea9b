// Picking a colour from the screen for a panel's colour well.
//
// One pick runs at a time; the panel that starts it is its owner and names the well that
// takes the colour. Under X11 a full-screen window shows a picture of the screen
// (VekFullView) and the click takes the colour under it; in a Wayland session the desktop
// portal's colour picker does the picking when the desktop offers it. Either way the well
// gets the colour and the owner's togglePickColor ends the pick, taking the well's colour
// into its own model. A click on a canvas while a pick runs takes the canvas's colour.
#pragma once

#include <QColor>
#include <QString>

class ColourWell;
class QObject;
class QWidget;

class ColourPickOwner {
public:
    virtual ~ColourPickOwner() = default;
    // Called when the user clicked (sender: the view or canvas that read the colour) or the
    // pick was stopped (sender null); the owner then ends the pick with endScreenColourPick.
    virtual void togglePickColor(QObject *sender) = 0;
};

// The running pick's owner and well (null when no pick runs; the well also when it is gone).
ColourPickOwner *pickColorOwner();
ColourWell *pickColorWell();

// Starts a pick for the owner's well: the picture of the screen comes up as the key window
// (or the portal is asked). False, and nothing happens, while another pick runs.
bool beginScreenColourPick(ColourPickOwner *owner, ColourWell *well);
// The owner's end of the pick: the picture goes away and the pick state is cleared.
// Answers the well that was picking for (null when it is gone), whose colour the owner takes.
ColourWell *endScreenColourPick(ColourPickOwner *owner);
// Hands a colour read elsewhere (a canvas click) to the running pick, as a click on the
// picture would; false when no pick runs.
bool finishColourPickWith(const QColor &color, QObject *sender);

// The picture-of-the-screen window, made when there is none and set up for a new pick.
QWidget *fullWindow();
// Closes the picture window, if any.
void releaseFullWindow();
// Ends a running pick without a click: the owner is told; without an owner the window closes.
void stopColorPickup();
