// MiniCloseButton: the small round red close button of the floating rulers; it shows a
// cross while the mouse is over it or presses it.
#pragma once

#include <QAbstractButton>

class MiniCloseButton : public QAbstractButton {
public:
    static constexpr int Side = 13;

    explicit MiniCloseButton(QWidget *parent = nullptr);
    QSize sizeHint() const override { return {Side, Side}; }

protected:
    void paintEvent(QPaintEvent *event) override;
};
