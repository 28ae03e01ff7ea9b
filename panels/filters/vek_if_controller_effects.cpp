// The filter panel's filters: sliders set up per type, runs on a worker thread with their
// progress and cancel, the preview's undo steps.
#include "panels/filters/vek_if_controller.h"

#include "panels/document_dialogs.h"
#include "panels/filters/filter_types.h"
#include "panels/filters/vek_if_view.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/user_defaults.h"
#include "platform/graphics/parallel_rows.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QThreadPool>
#include <QTimer>

#include <cmath>
#include <mutex>

namespace {

PropertyList firstElements(const PropertyList &array, qsizetype count)
{
    PropertyList kept = PropertyList::array();
    for (qsizetype i = 0; i < count && i < array.count(); ++i)
        kept.append(array.at(i));
    return kept;
}

} // namespace

int VekIFController::selectedFilterType() const { return m_filterTypes->currentIndex(); }

void VekIFController::selectFilter(int type)
{
    m_filterTypes->setCurrentIndex(type);
    if (resetParameterOutletsFor(type))
        UserDefaults::standardUserDefaults().updateObjectForKey(DefaultsKey::LastStates, [type](PropertyList &states) {
            if (!states.isDictionary())
                states = PropertyList::dictionary();
            states.insert(QStringLiteral("lastFilter"), PropertyList::fromInt(type));
        });
    if (m_stackWindow->isVisible())
        updateIBOutletState();
}

bool VekIFController::resetParameterOutletsFor(int type, const PropertyList &parameters)
{
    for (SliderOutlets &outlets : m_sliders) {
        outlets.label->clear();
        outlets.value->clear();
        outlets.slider->setEnabled(false);
    }
    m_imageView->setShowCenter(false);
    const FilterType *entry = filterTypeAt(type);
    if (!entry)
        return false;
    for (size_t n = 0; n < entry->sliders.size(); ++n) {
        const FilterSlider &slider = entry->sliders[n];
        SliderOutlets &outlets = m_sliders[n];
        outlets.label->setText(localizedString(QString::fromLatin1(slider.label)));
        outlets.slider->setEnabled(true);
        outlets.minimum = slider.minimum;
        outlets.maximum = slider.maximum;
        // A saved value is kept within the slider's range, as the slider would show it; a
        // value that is no number gives the start.
        const PropertyList saved = parameters.value(QString::fromLatin1(slider.inputKey));
        const double value = saved ? saved.doubleValue() : double(slider.start);
        setSliderValue(int(n), std::isfinite(value) ? float(value) : slider.start);
    }
    if (entry->usesCenter) {
        const PropertyList center = parameters.value(QStringLiteral("inputCenter"));
        if (center)
            m_imageView->setCurrentCenter(pointFromString(center.stringValue()));
        else
            m_imageView->setShowCenter(true);
    }
    return true;
}

float VekIFController::sliderValue(int index) const { return m_sliders.at(size_t(index)).exact; }

void VekIFController::setSliderValue(int index, float value)
{
    SliderOutlets &outlets = m_sliders.at(size_t(index));
    outlets.exact = float(std::clamp(double(value), outlets.minimum, outlets.maximum));
    const double span = outlets.maximum - outlets.minimum;
    const QSignalBlocker blocker(outlets.slider);
    outlets.slider->setValue(span > 0 ? int(std::lround((outlets.exact - outlets.minimum) / span * 1000)) : 0);
    outlets.value->setText(QString::number(outlets.exact, 'g', 4));
}

FilterSettings VekIFController::currentSettings(int type)
{
    FilterSettings settings;
    settings.type = type;
    if (const FilterType *entry = filterTypeAt(type))
        for (size_t n = 0; n < entry->sliders.size(); ++n)
            settings.sliders.push_back(m_sliders[n].exact);
    const QImage &image = m_imageView->image();
    const Size size(float(image.width()), float(image.height()));
    if (const auto center = selectedCenterFor(size, m_imageView->currentCenter(), m_imageView->imageBounds())) {
        settings.center = *center;
    } else {
        // A marker off the picture goes back to the middle, and so does the centre.
        m_imageView->resetCurrentCenter();
        settings.center = Point(size.width / 2, size.height / 2);
    }
    return settings;
}

void VekIFController::doEffect()
{
    if (m_running || m_imageView->image().isNull())
        return;
    runFilters({currentSettings(selectedFilterType())}, false);
}

void VekIFController::setRunning(bool running)
{
    m_running = running;
    m_progress->setValue(0);
    m_progress->setVisible(running);
    m_cancel->setVisible(running);
    if (running)
        m_progressTimer->start();
    else
        m_progressTimer->stop();
    m_apply->setEnabled(!running);
    m_useSaved->setEnabled(!running && m_savedFiltersPopup->count() > 0);
    m_undo->setEnabled(!running && m_imageView->undoManager().canUndo());
}

void VekIFController::showProgress()
{
    if (m_work)
        m_progress->setValue(int(m_work->fractionDone() * 1000));
}

void VekIFController::cancelEffect()
{
    if (!m_running)
        return;
    m_work->requestStop();
    // The preview stays as it is: whatever the worker still delivers is too late.
    ++m_generation;
    setRunning(false);
    m_imageView->setFocus();
}

void VekIFController::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && m_running)
        cancelEffect();
    else
        QWidget::keyPressEvent(event);
}

void VekIFController::runFilters(std::vector<FilterSettings> steps, bool replay)
{
    m_work = std::make_shared<RowWork>();
    setRunning(true);
    const QImage before = m_imageView->image();
    const quint64 generation = m_generation;
    QPointer<VekIFController> self(this);
    QThreadPool::globalInstance()->start([self, work = m_work, before, generation, replay, steps = std::move(steps)] {
        // One run at a time, even while a cancelled one ends its last band: the memory a run
        // needs is never taken twice.
        static std::mutex oneRunAtATime;
        std::vector<std::optional<FilterOutput>> outputs;
        {
            const std::lock_guard<std::mutex> lock(oneRunAtATime);
            outputs = runFilterSteps(before, steps, *work);
        }
        QMetaObject::invokeMethod(
            qApp,
            [self, work, before, generation, replay, outputs = std::move(outputs)] {
                if (self)
                    self->finishRun(*work, generation, before, outputs, replay);
            },
            Qt::QueuedConnection);
    });
}

void VekIFController::finishRun(const RowWork &work, quint64 generation, const QImage &before,
                                const std::vector<std::optional<FilterOutput>> &outputs, bool replay)
{
    if (&work == m_work.get()) {
        m_work.reset();
        setRunning(false);
    }
    // The preview moved on while the filters ran (undo, reset, another object, cancel): too late.
    if (generation != m_generation || m_imageView->image().cacheKey() != before.cacheKey()) {
        emit runFinished();
        return;
    }
    QImage result;
    std::vector<PropertyList> entries;
    for (const auto &output : outputs)
        if (output) {
            result = output->image;
            entries.push_back(output->entry);
        }
    if (result.isNull()) {
        // Nothing to show: a replayed stack whose filters all failed stays silent.
        if (!replay)
            documentDialogs().showAlert(this, localizedString(QStringLiteral("Error")),
                                        localizedString(QStringLiteral("Sorry, failed to add effect.")));
    } else {
        // One undo step, for one filter or a whole replayed stack, brings back the picture
        // and the stack as they were; the stack records only the filters that ran.
        const qsizetype length = m_filterStack.count();
        m_imageView->undoManager().registerUndoWithTarget(this, [this, before, length] {
            m_imageView->setImage(before);
            m_filterStack = firstElements(m_filterStack, length);
        });
        m_imageView->setImage(result);
        appendStackEntries(entries);
    }
    m_undo->setEnabled(m_imageView->undoManager().canUndo());
    m_imageView->setFocus();
    updateIBOutletState();
    emit runFinished();
}

void VekIFController::appendStackEntries(const std::vector<PropertyList> &entries)
{
    for (const PropertyList &entry : entries)
        m_filterStack.append(entry);
    reloadStack();
}

void VekIFController::didUndoChange()
{
    if (!m_imageView->undoManager().canUndo()) {
        m_undo->setEnabled(false);
        m_filterStack = PropertyList::array();
    }
    m_imageView->setFocus();
    reloadStack();
    updateIBOutletState();
}
