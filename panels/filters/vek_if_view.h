// VekIFView: the filter panel's preview. It shows the picture under edit, scaled down to fit
// when it is larger than the view and centred, keeps the preview's own undo history, and
// shows the centre marker that the user places with a click or a drag for filters that take
// a centre.
#pragma once

#include "platform/foundation/undo_manager.h"
#include "platform/geometry/geometry.h"

#include <QImage>
#include <QWidget>

class VekIFView : public QWidget {
    Q_OBJECT
public:
    explicit VekIFView(QWidget *parent = nullptr);

    const QImage &image() const { return m_image; }
    void setImage(const QImage &image);

    // The undo history of the preview's picture; never the document's.
    UndoManager &undoManager() { return m_undo; }
    // Undoes one step when there is one.
    void undo();

    bool showsCenter() const { return m_showCenter; }
    // Shows or hides the marker and puts it in the middle of the view.
    void setShowCenter(bool show);
    // Puts the marker back in the middle.
    void resetCurrentCenter() { setShowCenter(m_showCenter); }
    // Shows the marker at the point (view coordinates, y down).
    void setCurrentCenter(Point center);
    Point currentCenter() const { return m_center; }
    // Where the picture is drawn in the view.
    Rect imageBounds() const;

    QSize sizeHint() const override { return {480, 360}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Moves the marker without showing it: types without a centre keep it hidden.
    void moveCenter(QPointF to);

    QImage m_image;
    UndoManager m_undo;
    Point m_center;
    bool m_showCenter = false;
    bool m_tracking = false;
};
