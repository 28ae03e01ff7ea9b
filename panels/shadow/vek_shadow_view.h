// VekShadowView: the shadow panel's round dial. The red hand points where the shadow falls
// and is as long as its distance; a click or drag sets both.
#pragma once

#include <QWidget>

#include <functional>

class VekShadowView : public QWidget {
public:
    explicit VekShadowView(QWidget *parent = nullptr);

    float angle() const { return m_angle; }
    float offset() const { return m_offset; }
    // Stores the angle without redrawing.
    void setAngle(float angle) { m_angle = angle; }
    // Stores a changed offset and redraws.
    void setOffset(float offset);
    // What a click or drag tells the panel: the new offset and angle.
    void setChangeHandler(std::function<void(float offset, float angle)> handler) { m_changed = std::move(handler); }
    // Sets both from a point of the view (widget coordinates, y down) and tells the panel.
    void setOffsetFromPoint(QPointF p);

    QSize sizeHint() const override { return {80, 80}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    float m_angle = 180;
    float m_offset = 5;
    std::function<void(float, float)> m_changed;
};
