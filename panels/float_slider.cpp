// The slider's steps and real values.
#include "panels/float_slider.h"

#include <QSignalBlocker>

#include <algorithm>
#include <cmath>

namespace {

constexpr int Steps = 1000;

} // namespace

FloatSlider::FloatSlider(double minimum, double maximum, QWidget *parent)
    : QSlider(Qt::Horizontal, parent), m_minimum(minimum), m_maximum(maximum)
{
    setRange(0, Steps);
    connect(this, &QSlider::valueChanged, this, [this] { emit floatValueChanged(floatValue(), !isSliderDown()); });
    connect(this, &QSlider::sliderReleased, this, [this] { emit floatValueChanged(floatValue(), true); });
}

double FloatSlider::floatValue() const
{
    // A value that was set keeps its exact figure until the slider moves.
    if (value() == m_exactStep)
        return m_exact;
    return m_minimum + (m_maximum - m_minimum) * value() / Steps;
}

void FloatSlider::setFloatValue(double v)
{
    const QSignalBlocker blocker(this);
    const double span = m_maximum - m_minimum;
    const double clamped = std::clamp(std::isfinite(v) ? v : m_minimum, m_minimum, m_maximum);
    setValue(span > 0 ? int(std::lround((clamped - m_minimum) / span * Steps)) : 0);
    m_exact = clamped;
    m_exactStep = value();
}

void FloatSlider::setFloatRange(double minimum, double maximum)
{
    const double v = floatValue();
    m_minimum = minimum;
    m_maximum = maximum;
    setFloatValue(v);
}
