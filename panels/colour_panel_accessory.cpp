// The colour panel's accessory: pattern colours made from images, and the colour lists.
#include "panels/colour_panel_accessory.h"

#include "panels/colour_panel.h"
#include "panels/document_dialogs.h"
#include "platform/foundation/localized_strings.h"
#include "platform/graphics/color_conversion.h"
#include "platform/image/image_file.h"
#include "platform/image/image_pattern.h"
#include "toolkit/image_functions.h"
#include "toolkit/ui/colour_drag.h"
#include "toolkit/ui/drag_session.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDrag>
#include <QDragEnterEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QUrl>

#include <algorithm>
#include <memory>

namespace {

constexpr float LongestSide = 512;
constexpr int SwatchSide = 24;
const int ColorRole = Qt::UserRole + 1;

// The list's colours as swatches; dragging one carries the colour itself.
class ColourSwatchList : public QListWidget {
public:
    explicit ColourSwatchList(QWidget *parent) : QListWidget(parent)
    {
        setObjectName(QStringLiteral("colourView"));
        setViewMode(QListView::IconMode);
        setIconSize(QSize(SwatchSide, SwatchSide));
        setMovement(QListView::Static);
        setDragEnabled(true);
    }

protected:
    void startDrag(Qt::DropActions) override
    {
        const QListWidgetItem *item = currentItem();
        if (!item)
            return;
        auto *drag = new QDrag(this);
        drag->setMimeData(mimeDataOfColor(qvariant_cast<Color>(item->data(ColorRole))));
        drag->setPixmap(item->icon().pixmap(SwatchSide, SwatchSide));
        runDrag(drag, Qt::CopyAction, Qt::CopyAction);
    }
};

QPixmap swatchOf(const Color &color)
{
    QPixmap swatch(SwatchSide, SwatchSide);
    swatch.fill(Qt::white);
    QPainter painter(&swatch);
    painter.fillRect(swatch.rect(), toQBrush(color));
    painter.setPen(Qt::gray);
    painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    return swatch;
}

// A dropped colour's picture: its tile, or a small square of the colour.
Image imageOfColor(const Color &color)
{
    const QBrush brush = toQBrush(color);
    if (!brush.textureImage().isNull())
        return Image(brush.textureImage());
    QImage square(16, 16, QImage::Format_ARGB32);
    square.fill(toQColor(color));
    return Image(square);
}

Image imageOfMimeData(const QMimeData &mime)
{
    if (mime.hasUrls()) {
        for (const QUrl &url : mime.urls())
            if (url.isLocalFile())
                if (Image image = readImageFile(url.toLocalFile()); image.isValid())
                    return image;
    }
    if (mime.hasImage())
        return Image(qvariant_cast<QImage>(mime.imageData()));
    if (const auto color = colorOfMimeData(mime))
        return imageOfColor(*color);
    return {};
}

} // namespace

ColourPanelAccessory::ColourPanelAccessory(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("colourPanelAccessory"));
    auto *layout = new QGridLayout(this);
    m_well = new QLabel(this);
    m_well->setObjectName(QStringLiteral("patternWell"));
    m_well->setFixedSize(64, 64);
    m_well->setFrameShape(QFrame::StyledPanel);
    m_well->setAlignment(Qt::AlignCenter);
    m_well->setAcceptDrops(true);
    m_well->setFocusPolicy(Qt::ClickFocus);
    m_well->setToolTip(localizedString(QStringLiteral("Drop or paste an image to make a pattern color")));
    m_well->installEventFilter(this);
    layout->addWidget(m_well, 0, 0, 2, 1);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("patternName"));
    m_name->setPlaceholderText(localizedString(QStringLiteral("Name")));
    layout->addWidget(m_name, 0, 1);
    m_add = new QPushButton(localizedString(QStringLiteral("Add")), this);
    m_add->setObjectName(QStringLiteral("addPattern"));
    layout->addWidget(m_add, 1, 1);
    m_lists = new QComboBox(this);
    m_lists->setObjectName(QStringLiteral("colourLists"));
    layout->addWidget(m_lists, 2, 0, 1, 2);
    m_colours = new ColourSwatchList(this);
    m_colours->setMinimumHeight(2 * (SwatchSide + 12));
    layout->addWidget(m_colours, 3, 0, 1, 2);

    connect(m_name, &QLineEdit::textChanged, this, [this] { validateAddButton(); });
    connect(m_add, &QPushButton::clicked, this, [this] { addToColorList(); });
    connect(m_lists, &QComboBox::currentTextChanged, this, [this](const QString &name) { showList(name); });
    connect(m_colours, &QListWidget::itemClicked, this, [](QListWidgetItem *item) {
        ColourPanel::sharedColorPanel().pickColor(qvariant_cast<Color>(item->data(ColorRole)));
    });
    validateAddButton();
    reloadLists();
}

void ColourPanelAccessory::takeImage(const Image &image)
{
    if (!image.isValid())
        return;
    const Size size = image.size();
    m_image = std::max(size.width, size.height) > LongestSide ? resizeProportionallyTo(image, LongestSide) : image;
    m_well->setPixmap(QPixmap::fromImage(m_image.toQImage()).scaled(m_well->size() - QSize(4, 4), Qt::KeepAspectRatio,
                                                                    Qt::SmoothTransformation));
    validateAddButton();
}

void ColourPanelAccessory::validateAddButton()
{
    m_add->setEnabled(m_image.isValid() && !m_name->text().isEmpty());
}

bool ColourPanelAccessory::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_well)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (imageOfMimeData(*drag->mimeData()).isValid()) {
            m_well->setFocus();
            drag->acceptProposedAction();
        }
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const Image image = imageOfMimeData(*drop->mimeData());
        if (image.isValid()) {
            takeImage(image);
            drop->acceptProposedAction();
        }
        return true;
    }
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste)) {
            if (const QMimeData *mime = QApplication::clipboard()->mimeData(); mime && mime->hasImage())
                takeImage(Image(qvariant_cast<QImage>(mime->imageData())));
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void ColourPanelAccessory::reloadLists(const QString &select)
{
    const QString chosen = select.isEmpty() ? m_lists->currentText() : select;
    {
        const QSignalBlocker quiet(m_lists);
        m_lists->clear();
        m_lists->addItems(m_store.listNames());
        m_lists->setCurrentIndex(std::max(0, m_lists->findText(chosen)));
    }
    showList(m_lists->currentText());
}

void ColourPanelAccessory::showList(const QString &name)
{
    m_colours->clear();
    if (name.isEmpty())
        return;
    const auto list = m_store.list(name);
    if (!list) {
        // Nothing of a damaged list is shown: only why it cannot be used.
        const QString why = localizedString(QStringLiteral("The color list %1 cannot be read: %2")).arg(name, list.error);
        auto *item = new QListWidgetItem(why, m_colours);
        item->setFlags(Qt::NoItemFlags);
        item->setToolTip(why);
        return;
    }
    for (const auto &[colorName, color] : list.value->colors) {
        auto *item = new QListWidgetItem(QIcon(swatchOf(color)), colorName, m_colours);
        item->setData(ColorRole, QVariant::fromValue(color));
        item->setToolTip(colorName);
    }
}

void ColourPanelAccessory::addToColorList()
{
    const QString colorName = m_name->text();
    if (!m_image.isValid() || colorName.isEmpty())
        return;
    const Color pattern = Color::colorWithPatternImage(std::make_shared<ImagePatternTile>(m_image));
    QString target = m_lists->currentText();
    if (target.isEmpty())
        target = m_store.newListName();
    switch (m_store.addColor(target, colorName, pattern)) {
    case ColourListStore::AddResult::Added:
        reloadLists(target);
        return;
    case ColourListStore::AddResult::Duplicate:
        documentDialogs().showAlert(window(), localizedString(QStringLiteral("Error...")),
                                    localizedString(QStringLiteral("You already have a color named %1 in this list."))
                                        .arg(colorName));
        return;
    case ColourListStore::AddResult::Failed:
        documentDialogs().showAlert(window(), localizedString(QStringLiteral("Sorry")),
                                    localizedString(QStringLiteral("could not finish the job.")));
        return;
    }
}

void ColourPanelAccessory::addDefaultPatternColors()
{
    QString error;
    const QString name = m_store.addDefaultPatternColors(&error);
    if (name.isEmpty()) {
        documentDialogs().showAlert(window(), localizedString(QStringLiteral("Error")), error);
        return;
    }
    reloadLists(name);
    documentDialogs().showAlert(
        window(), localizedString(QStringLiteral("Default patterns are added to the Color Panel.")),
        localizedString(QStringLiteral("You can see the color list named \"%1\" when you use the Color Panel next time."))
            .arg(name));
}
