// The grab area as the canvas hosts it: the export-part command starts it, the mouse drags
// and adjusts it, the overlay shows it, and "Save" hands it to the document's export.
#include "canvas/ui/vek_view.h"

#include <QMessageBox>
#include <QPushButton>

void VekView::beginGrabEvent()
{
    endGrabEvent();
    m_grab.begin();
    activateWindow();
    setFocus();
    resetCursorRects();
    showCursorAt(m_mouseInWindow);
}

void VekView::endGrabEvent()
{
    if (!m_grab.end())
        return;
    resetCursorRects();
    showCursorAt(m_mouseInWindow);
    viewport()->update();
}

GrabChoice VekView::askWhatToDoWithGrabbedArea()
{
    QMessageBox box(QMessageBox::Question, QString(), tr("Grab the selected area."), QMessageBox::NoButton, this);
    box.setInformativeText(tr("Do you want to save now or adjust the area?"));
    QPushButton *save = box.addButton(tr("Save"), QMessageBox::AcceptRole);
    QPushButton *cancel = box.addButton(tr("Cancel"), QMessageBox::RejectRole);
    box.addButton(tr("Adjust"), QMessageBox::ActionRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save)
        return GrabChoice::Save;
    return box.clickedButton() == cancel ? GrabChoice::Cancel : GrabChoice::Adjust;
}

void VekView::selectForGrabWithEvent(const MouseEvent &event)
{
    m_grab.mouseDown(convertPointFromWindow(event.locationInWindow));
    viewport()->update();
    GrabOutcome outcome = GrabOutcome::Adjusting;
    for (MouseEvent next = event; next.type != EventType::LeftMouseUp;) {
        next = eventSource().nextEvent(DragOrUpMask);
        autoscroll(next);
        const Point c = convertPointFromWindow(next.locationInWindow);
        m_mouseInWindow = next.locationInWindow;
        if (next.type == EventType::LeftMouseUp) {
            viewport()->repaint();   // the whole area shows while the question is asked
            outcome = m_grab.mouseUp(c, [this] { return askWhatToDoWithGrabbedArea(); },
                                     [this](const Rect &area) {
                                         if (m_saveGrabbedArea)
                                             m_saveGrabbedArea(area, objectsIntersectingRect(area));
                                     });
        } else {
            m_grab.mouseDragged(c);
        }
        viewport()->update();
    }
    switch (outcome) {
    case GrabOutcome::Ended:
        // Cancelled or too small: the mode is off (mouseUp ended it).
        resetCursorRects();
        showCursorAt(m_mouseInWindow);
        break;
    case GrabOutcome::Adjusting:
        // The next click adjusts the area: the canvas takes the keyboard again after the alert.
        activateWindow();
        setFocus();
        break;
    case GrabOutcome::Saved:
        break;   // the document ends the mode once it has written the area
    }
}
