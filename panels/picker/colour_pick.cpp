// The running pick and the picture-of-the-screen window.
#include "panels/picker/colour_pick.h"

#include "canvas/screen_capture.h"
#include "panels/colour_well.h"
#include "panels/picker/portal_colour_pick.h"
#include "panels/picker/vek_full_view.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>

namespace {

struct PickState {
    ColourPickOwner *owner = nullptr;
    QPointer<ColourWell> well;
    QPointer<VekFullView> window;
};

PickState &state()
{
    static PickState pick;
    return pick;
}

Color pickedColour(const QColor &color)
{
    return Color::colorWithDeviceRed(float(color.redF()), float(color.greenF()), float(color.blueF()),
                                     float(color.alphaF()));
}

// Without a picture of the screen the desktop's portal picks.
void pickThroughPortal()
{
    pickColourThroughPortal([](const QColor &color, const QString &error) {
        if (!error.isEmpty())
            QMessageBox::information(QApplication::activeWindow(), QString(), error);
        if (color.isValid())
            finishColourPickWith(color, nullptr);
        else
            stopColorPickup();
    });
}

} // namespace

ColourPickOwner *pickColorOwner() { return state().owner; }
ColourWell *pickColorWell() { return state().well; }

bool beginScreenColourPick(ColourPickOwner *owner, ColourWell *well)
{
    if (state().owner || !owner)
        return false;
    state().owner = owner;
    state().well = well;
    if (!screenCaptureUnavailableReason(QGuiApplication::platformName()).isEmpty()) {
        pickThroughPortal();
        return true;
    }
    QWidget *window = fullWindow();
    window->show();
    window->raise();
    window->activateWindow();
    return true;
}

ColourWell *endScreenColourPick(ColourPickOwner *owner)
{
    if (state().owner != owner)
        return nullptr;
    releaseFullWindow();
    ColourWell *well = state().well;
    state().owner = nullptr;
    state().well = nullptr;
    return well;
}

bool finishColourPickWith(const QColor &color, QObject *sender)
{
    if (!state().owner)
        return false;
    if (state().well && color.isValid())
        state().well->setColor(pickedColour(color));
    state().owner->togglePickColor(sender);
    return true;
}

QWidget *fullWindow()
{
    if (!state().window) {
        auto *view = new VekFullView;
        view->setAttribute(Qt::WA_DeleteOnClose);
        if (QScreen *screen = QGuiApplication::primaryScreen())
            view->setGeometry(screen->geometry());
        state().window = view;
    }
    state().window->setupFullView();
    return state().window;
}

void releaseFullWindow()
{
    if (!state().window)
        return;
    state().window->close();
    state().window = nullptr;
}

void stopColorPickup()
{
    if (ColourPickOwner *owner = state().owner)
        owner->togglePickColor(nullptr);
    else
        releaseFullWindow();
}
