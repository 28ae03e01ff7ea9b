// FloatSlider: a horizontal slider over a range of real numbers (QSlider counts in whole
// steps; this one maps 1000 steps onto its minimum to maximum).
#pragma once

#include <QSlider>

class FloatSlider : public QSlider {
    Q_OBJECT
public:
    explicit FloatSlider(double minimum, double maximum, QWidget *parent = nullptr);

    double floatValue() const;
    // Shows the value, limited to the range, without telling anyone.
    void setFloatValue(double value);
    double floatMinimum() const { return m_minimum; }
    double floatMaximum() const { return m_maximum; }
    void setFloatRange(double minimum, double maximum);

signals:
    // The user moved the slider (while dragging too); `released` on the mouse-up.
    void floatValueChanged(double value, bool released);

private:
    double m_minimum, m_maximum;
    double m_exact = 0;
    int m_exactStep = -1;   // the step m_exact was set at; -1 when none
};
