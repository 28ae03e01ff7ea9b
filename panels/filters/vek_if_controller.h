// VekIFController: the image filter panel. It runs the 37 filter types over a private copy of
// one image object's picture, shown in its preview (VekIFView) with an undo history of its
// own, records every applied filter in the filter stack, replays saved stacks, and puts the
// result back into the object (one undo step of the document), into a new image object
// beside it, into a TIFF file or onto the clipboard.
//
// Filters run on a worker thread, one run at a time: the panel stays responsive, shows how far
// the run is and offers to cancel it (Cancel or Escape stops the worker within a band of
// rows), and a result arrives only while the preview still shows the picture it was made
// from (an undo, reset or switch in the meantime drops it). A filter whose extent grows past
// the picture (blur, bloom, height field) gives a larger preview; put back into the object,
// it grows the object's bounds by the same margin, as one undo step.
//
// The panel holds its object weakly: an object that goes is simply no longer the panel's,
// and one that has left its document (alive only in the document's undo history) is never
// written to.
#pragma once

#include "panels/filters/filter_runner.h"
#include "platform/foundation/property_list.h"

#include <QWidget>

#include <array>
#include <memory>

class QTimer;
class RowWork;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSlider;
class QTreeView;
class FilterStackModel;
class VekIFView;
class VekObjImage;
struct Notification;

class VekIFController : public QWidget {
    Q_OBJECT
public:
    // The one panel, made on first use; it lives as long as the application.
    static VekIFController &sharedIFController();
    static bool sharedIFControllerExists();
    ~VekIFController() override;

    // The entry point of the inspector and the menu command: the panel on that object, in front.
    void openIFPanel(const std::shared_ptr<VekObjImage> &object);

    // Switches the panel to the object (null: none, and the panel goes); the same object
    // again changes nothing. A switch forgets the preview's undo history and the stack.
    void setCurrentObject(const std::shared_ptr<VekObjImage> &object);
    // The panel's object while it lives; else the main document's current object when that
    // is an image object (the panel switches to it); else null.
    std::shared_ptr<VekObjImage> currentObject();
    // Whether the panel's object is still in its document.
    bool isCurrentReferentAlive() const;

    // ---- Filter types and sliders ----
    int selectedFilterType() const;
    // Chooses the type in the pop-up: its sliders at their starting values, remembered as
    // "lastFilter".
    void selectFilter(int type);
    // Sets the sliders and the centre marker up for the type, from saved parameters where
    // they hold the slider's key (kept within the slider's range); false outside 0..36.
    bool resetParameterOutletsFor(int type, const PropertyList &parameters = PropertyList());
    float sliderValue(int index) const;
    void setSliderValue(int index, float value);

    // ---- Actions ----
    // Applies the selected type to the preview (on a worker thread).
    void doEffect();
    // Stops the running filter: the preview stays as it was and the panel is ready at once.
    void cancelEffect();
    // Back to the object's picture, or on to the main document's current image object.
    void resetImage();
    // Delivers the preview by tag: 11 a TIFF file, 12 a new image object, 13 back into the
    // object, any other the clipboard (TIFF and PNG).
    enum DeliveryTag { TiffFile = 11, NewImageObject = 12, ReplaceImage = 13, Clipboard = 0 };
    void useImage(int tag);

    // ---- Filter stack (vek_if_controller_stacks.cpp) ----
    const PropertyList &filterStack() const { return m_filterStack; }
    void showFilterStack();
    void saveFilter();
    void renameFilter();
    void deleteFilter();
    // Replays the selected saved stack over the preview: one undo step for all of it.
    void useSavedFilter();
    // Lists the saved stacks in the pop-up.
    void readinSavedFilters();
    void updateIBOutletState();
    QWidget &filterStackWindow() const { return *m_stackWindow; }

    VekIFView &imageView() const { return *m_imageView; }
    // Whether the panel waits for a filter run (from Apply until its result, or a cancel).
    bool isRunning() const { return m_running; }

signals:
    // A run's worker ended (with or without a result, cancelled or not).
    void runFinished();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    VekIFController();
    void buildPanel();
    void buildStackWindow();
    void selectionChanged();
    void didUndoChange();
    void showBaseImage();
    void forgetHistory();
    // The settings of the selected sliders and the centre marker for the type.
    FilterSettings currentSettings(int type);
    // Runs the steps one after another over the preview on a worker thread, as one undo
    // step; the stack records those that gave a picture. A replay that gives none is silent.
    void runFilters(std::vector<FilterSettings> steps, bool replay);
    void finishRun(const RowWork &work, quint64 generation, const QImage &before,
                   const std::vector<std::optional<FilterOutput>> &outputs, bool replay);
    void setRunning(bool running);
    void showProgress();
    void reloadStack();
    void appendStackEntries(const std::vector<PropertyList> &entries);
    // The typed stack name; alerts and focuses the field when it is empty.
    QString typedFilterName();

    struct SliderOutlets {
        QLabel *label = nullptr;
        QSlider *slider = nullptr;
        QLabel *value = nullptr;
        double minimum = 0, maximum = 1;
        float exact = 0;   // the value itself; the slider shows it in steps
    };

    std::weak_ptr<VekObjImage> m_object;
    QImage m_baseImage;          // the object's picture when the panel took it
    PropertyList m_filterStack = PropertyList::array();
    std::vector<QString> m_savedFilters;   // one path per item of the saved stacks' pop-up
    quint64 m_generation = 0;    // grows with every switch, reset and cancel; runs of older ones are dropped
    bool m_running = false;
    std::shared_ptr<RowWork> m_work;   // the run under way, shared with its worker

    VekIFView *m_imageView = nullptr;
    QComboBox *m_filterTypes = nullptr;
    std::array<SliderOutlets, 3> m_sliders;
    QProgressBar *m_progress = nullptr;
    QTimer *m_progressTimer = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_apply = nullptr, *m_undo = nullptr, *m_reset = nullptr, *m_replace = nullptr;
    QWidget *m_stackWindow = nullptr;
    QTreeView *m_stackView = nullptr;
    FilterStackModel *m_stackModel = nullptr;
    QComboBox *m_savedFiltersPopup = nullptr;
    QLineEdit *m_filterName = nullptr;
    QPushButton *m_saveFilter = nullptr, *m_renameFilter = nullptr, *m_deleteFilter = nullptr, *m_useSaved = nullptr;
};
