// VekFullView: the full-screen picture of the screen in which the user clicks the colour to
// pick. While the pointer is over it, every half second the pointer takes the colour under
// it (the pick cursor's opaque pixels tinted, its outline drawn over them); a click hands
// the colour under the click to the pick's well and tells the pick's owner. Escape ends the
// pick without a colour.
#pragma once

#include <QColor>
#include <QCursor>
#include <QImage>
#include <QTimer>
#include <QWidget>

class VekFullView : public QWidget {
public:
    explicit VekFullView(QWidget *parent = nullptr);

    // Takes the picture of the screen, sets the pick cursor and starts the update timer.
    void setupFullView();
    // The picture shown (null when the screen could not be read: picking reads the null
    // picture as black).
    const QImage &screenshot() const { return m_screenshot; }
    void setScreenshot(const QImage &image);
    // The colour of the picture under a point of the view (logical pixels).
    QColor colorAt(QPoint p) const;
    // The last colour read under the pointer; invalid before the first reading.
    QColor pickedColor() const { return m_pickedColor; }
    bool timerRunning() const { return m_timer.isActive(); }
    // Reads the colour under the pointer and tints the cursor with it.
    void updatePicker();
    const QCursor &pickCursor() const { return m_cursor; }

    // The pointer image (16 x 16, hot spot (1, 14)) and its outline.
    static QImage pickImage();
    static QImage pickOutlineImage();
    // The pointer image with its opaque pixels in the colour and the outline over them.
    static QImage tintedPickImage(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QImage m_screenshot;
    QCursor m_cursor;
    QTimer m_timer;
    QColor m_pickedColor;
};
