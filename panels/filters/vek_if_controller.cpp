// The filter panel: its window, the object it works on, switching and reset.
#include "panels/filters/vek_if_controller.h"

#include "canvas/canvas_notifications.h"
#include "model/services/document_services.h"
#include "model/vek_obj_image.h"
#include "panels/document_dialogs.h"
#include "panels/filters/filter_panel_services.h"
#include "panels/filters/filter_types.h"
#include "panels/filters/vek_if_view.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/user_defaults.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

VekIFController *shared = nullptr;

// The readable names of the types' filters, in the pop-up's order.
const char *const FilterTitles[filterTypeCount] = {
    "Gaussian Blur",     "Median",          "Noise Reduction",     "Sharpen Luminance", "Unsharp Mask",
    "Exposure Adjust",   "Color Controls",  "Gamma Adjust",        "Hue Adjust",        "Color Invert",
    "Color Monochrome",  "Sepia Tone",      "Mask to Alpha",       "Color Posterize",   "Circular Wrap Distortion",
    "Hole Distortion",   "Pinch Distortion", "Torus Lens Distortion", "Twirl Distortion", "Perspective Transform",
    "Circular Screen",   "CMYK Halftone",   "Line Screen",         "Bloom",             "Crystallize",
    "Edges",             "Edge Work",       "Gloom",               "Height Field From Mask", "Pixellate",
    "Pointillize",       "Spot Light",      "Shaded Material",     "Kaleidoscope",      "Op Tile",
    "Parallelogram Tile", "Triangle Tile"};

QPushButton *button(const char *title, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(localizedString(QString::fromLatin1(title)), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

VekIFController &VekIFController::sharedIFController()
{
    if (!shared)
        shared = new VekIFController;
    return *shared;
}

bool VekIFController::sharedIFControllerExists() { return shared != nullptr; }

VekIFController::VekIFController() : QWidget(nullptr, Qt::Tool)
{
    setObjectName(QStringLiteral("IFPanel"));
    setWindowTitle(localizedString(QStringLiteral("Image Filters")));
    buildPanel();
    buildStackWindow();
    const int last = UserDefaults::standardUserDefaults()
                         .dictionaryForKey(DefaultsKey::LastStates)
                         .value(QStringLiteral("lastFilter"))
                         .intValue();
    selectFilter(std::clamp(last, 0, filterTypeCount - 1));
    readinSavedFilters();
    NotificationCenter &center = NotificationCenter::defaultCenter();
    center.addObserver(this, VekViewSelectionDidChangeNotification, nullptr,
                       [this](const Notification &) { selectionChanged(); });
    center.addObserver(this, UndoManagerDidUndoChangeNotification, &m_imageView->undoManager(),
                       [this](const Notification &) { didUndoChange(); });
    forgetHistory();
}

VekIFController::~VekIFController()
{
    NotificationCenter::defaultCenter().removeObserver(this);
    delete m_stackWindow;
    if (shared == this)
        shared = nullptr;
}

void VekIFController::buildPanel()
{
    m_imageView = new VekIFView(this);
    m_imageView->setObjectName(QStringLiteral("imageView"));

    m_filterTypes = new QComboBox(this);
    m_filterTypes->setObjectName(QStringLiteral("pupFilterTypes"));
    for (const char *title : FilterTitles)
        m_filterTypes->addItem(localizedString(QString::fromLatin1(title)));
    connect(m_filterTypes, &QComboBox::activated, this, [this](int type) { selectFilter(type); });

    auto *sliders = new QGridLayout;
    for (size_t n = 0; n < m_sliders.size(); ++n) {
        SliderOutlets &outlets = m_sliders[n];
        outlets.label = new QLabel(this);
        outlets.slider = new QSlider(Qt::Horizontal, this);
        outlets.slider->setObjectName(QStringLiteral("sldr%1").arg(n + 1));
        outlets.slider->setRange(0, 1000);
        outlets.value = new QLabel(this);
        outlets.value->setObjectName(QStringLiteral("val%1").arg(n + 1));
        outlets.value->setMinimumWidth(60);
        sliders->addWidget(outlets.label, int(n), 0);
        sliders->addWidget(outlets.slider, int(n), 1);
        sliders->addWidget(outlets.value, int(n), 2);
        connect(outlets.slider, &QSlider::valueChanged, this, [this, n](int position) {
            // The user moved it (the program sets values with the signals blocked).
            SliderOutlets &o = m_sliders[n];
            o.exact = float(o.minimum + (o.maximum - o.minimum) * position / 1000.0);
            o.value->setText(QString::number(o.exact, 'g', 4));
        });
    }

    m_apply = button("Apply", "btnApply", this);
    m_undo = button("Undo", "btnUndo", this);
    m_reset = button("Reset", "btnReset", this);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progIndicator"));
    m_progress->setRange(0, 1000);
    m_progress->setTextVisible(false);
    m_progress->hide();
    m_cancel = button("Cancel", "btnCancel", this);
    m_cancel->hide();
    m_progressTimer = new QTimer(this);
    m_progressTimer->setInterval(50);
    connect(m_progressTimer, &QTimer::timeout, this, &VekIFController::showProgress);
    connect(m_cancel, &QPushButton::clicked, this, &VekIFController::cancelEffect);
    connect(m_apply, &QPushButton::clicked, this, &VekIFController::doEffect);
    connect(m_undo, &QPushButton::clicked, this, [this] { m_imageView->undo(); });
    connect(m_reset, &QPushButton::clicked, this, &VekIFController::resetImage);

    m_replace = button("Replace", "btnReplace", this);
    QPushButton *newImage = button("New Image", "btnNewImage", this);
    QPushButton *saveTiff = button("Save as TIFF...", "btnSaveTiff", this);
    QPushButton *copy = button("Copy", "btnCopy", this);
    QPushButton *showStack = button("Filter Stack...", "btnShowFilterStack", this);
    connect(m_replace, &QPushButton::clicked, this, [this] { useImage(ReplaceImage); });
    connect(newImage, &QPushButton::clicked, this, [this] { useImage(NewImageObject); });
    connect(saveTiff, &QPushButton::clicked, this, [this] { useImage(TiffFile); });
    connect(copy, &QPushButton::clicked, this, [this] { useImage(Clipboard); });
    connect(showStack, &QPushButton::clicked, this, &VekIFController::showFilterStack);

    auto *runRow = new QHBoxLayout;
    runRow->addWidget(m_apply);
    runRow->addWidget(m_undo);
    runRow->addWidget(m_reset);
    auto *deliverRow = new QHBoxLayout;
    for (QPushButton *b : {m_replace, newImage, saveTiff, copy})
        deliverRow->addWidget(b);
    auto *controls = new QVBoxLayout;
    controls->addWidget(m_filterTypes);
    controls->addLayout(sliders);
    controls->addLayout(runRow);
    auto *progressRow = new QHBoxLayout;
    progressRow->addWidget(m_progress, 1);
    progressRow->addWidget(m_cancel);
    controls->addLayout(progressRow);
    controls->addStretch();
    controls->addWidget(showStack);
    controls->addLayout(deliverRow);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_imageView, 1);
    layout->addLayout(controls);
    resize(820, 460);
}

void VekIFController::openIFPanel(const std::shared_ptr<VekObjImage> &object)
{
    setCurrentObject(object);
    if (!object)
        return;
    show();
    raise();
    m_imageView->setFocus();
}

void VekIFController::forgetHistory()
{
    ++m_generation;
    m_imageView->undoManager().removeAllActions();
    m_undo->setEnabled(false);
    m_filterStack = PropertyList::array();
    reloadStack();
}

void VekIFController::setCurrentObject(const std::shared_ptr<VekObjImage> &object)
{
    if (object == m_object.lock())
        return;
    // A switch always forgets the preview's history: an undo step of the old picture must
    // never bring it into the new object's preview, and from there into the new object.
    forgetHistory();
    m_object = object;
    m_baseImage = QImage();
    if (object) {
        showBaseImage();
    } else {
        m_imageView->setImage(QImage());
        hide();
    }
    m_replace->setEnabled(isCurrentReferentAlive());
    m_reset->setEnabled(object != nullptr);
}

void VekIFController::showBaseImage()
{
    if (m_baseImage.isNull())
        if (const auto object = m_object.lock(); object && object->image().isValid())
            m_baseImage = object->image().toQImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    m_imageView->setImage(m_baseImage);
}

bool VekIFController::isCurrentReferentAlive() const
{
    const auto object = m_object.lock();
    if (!object || !object->document())
        return false;
    const auto &objects = object->document()->objects();
    return std::find(objects.begin(), objects.end(), object) != objects.end();
}

std::shared_ptr<VekObjImage> VekIFController::currentObject()
{
    if (isCurrentReferentAlive())
        return m_object.lock();
    if (auto image = std::dynamic_pointer_cast<VekObjImage>(filterPanelServices().currentObjectOfMainDocument())) {
        setCurrentObject(image);
        return image;
    }
    return nullptr;
}

void VekIFController::selectionChanged()
{
    if (isCurrentReferentAlive()) {
        m_replace->setEnabled(true);
        m_reset->setEnabled(true);
    } else {
        m_replace->setEnabled(false);
        m_reset->setEnabled(currentObject() != nullptr);
    }
}

void VekIFController::resetImage()
{
    const auto current = std::dynamic_pointer_cast<VekObjImage>(filterPanelServices().currentObjectOfMainDocument());
    const auto object = m_object.lock();
    if (isCurrentReferentAlive() && !(current && current != object)) {
        showBaseImage();
    } else if (current) {
        setCurrentObject(current);
    } else if (m_baseImage.isNull()) {
        documentDialogs().showAlert(this, QString(),
                                    localizedString(QStringLiteral("No image can be associated with the filter function.")));
    } else {
        m_imageView->setImage(m_baseImage);
    }
    forgetHistory();
    updateIBOutletState();
}

void VekIFController::closeEvent(QCloseEvent *event)
{
    m_stackWindow->hide();
    QWidget::closeEvent(event);
}
