// The object-set palette: showing a set, picking and moving items, drops from the canvas,
// drags onto a canvas and the set commands.
#include "app/object_sets/object_set_palette.h"

#include "app/preferences.h"
#include "canvas/canvas_notifications.h"
#include "canvas/ui/vek_view.h"
#include "document/vek_document.h"
#include "model/services/shell_services.h"
#include "panels/document_dialogs.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/notification_center.h"
#include "toolkit/ui/drag_session.h"

#include <QApplication>
#include <QComboBox>
#include <QDrag>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

const QString SelectedSetKey = QStringLiteral("selectedSet");

// Copies of the dropped objects placed from (1, 1) by the first one's origin, each at least
// one point wide and high.
std::vector<std::shared_ptr<VekObject>> adjustBoundsOf(const std::vector<std::shared_ptr<VekObject>> &objects)
{
    std::vector<std::shared_ptr<VekObject>> copies;
    if (objects.empty())
        return copies;
    const Point base = objects.front()->bounds().origin;
    for (const auto &object : objects) {
        const Rect b = object->bounds();
        auto copy = object->copy();
        if (!copy)
            continue;
        copy->setBoundsSimplyAs(Rect(b.origin.x - base.x + 1, b.origin.y - base.y + 1, std::max(b.width(), 1.0f),
                                     std::max(b.height(), 1.0f)));
        copies.push_back(std::move(copy));
    }
    return copies;
}

} // namespace

VekObjMatrix::VekObjMatrix(VekPreferences &preferences, QComboBox &setSelection, QWidget *parent)
    : QAbstractScrollArea(parent), m_preferences(preferences), m_setSelection(setSelection)
{
    setObjectName(QStringLiteral("objectMatrix"));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    viewport()->setMouseTracking(false);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, viewport(), qOverload<>(&QWidget::update));
    // A name typed and confirmed (or chosen from the list) switches, creates or renames.
    connect(&m_setSelection, &QComboBox::activated, this,
            [this](int index) { setSet(m_setSelection.itemText(index)); });
    if (QLineEdit *field = m_setSelection.lineEdit())
        connect(field, &QLineEdit::editingFinished, this, [this] {
            if (m_setSelection.lineEdit())
                setSet(m_setSelection.lineEdit()->text());
        });
    NotificationCenter::defaultCenter().addObserver(this, VekViewDidPrepareDraggingNotification, nullptr,
                                                    [this](const Notification &) {
                                                        if (!m_setUp)
                                                            setupObjMatrix();
                                                        if (m_activate)
                                                            m_activate();
                                                    });
}

VekObjMatrix::~VekObjMatrix()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

void VekObjMatrix::setupObjMatrix()
{
    m_store.readAll();
    if (m_store.setCount() == 0)
        addDefaultSet(false);
    m_currentSetName = m_preferences.lastStatesForKey(SelectedSetKey).stringValue();
    if (m_currentSetName.isEmpty())
        m_currentSetName = localizedString(QStringLiteral("default"));
    updateSetSelection();
    updateDisplayWith(0);
    m_setUp = true;
}

std::vector<std::shared_ptr<VekObject>> VekObjMatrix::selectedObjects() const
{
    const ObjectSetItems &items = currentItems();
    if (items.empty())
        return {};
    const int tag = std::clamp(m_selectedTag, 0, int(items.size()) - 1);
    return items[size_t(tag)].objects;
}

void VekObjMatrix::selectTag(int tag)
{
    m_selectedTag = tag;
    viewport()->update();
}

int VekObjMatrix::columnCount() const
{
    return std::max(1, viewport()->width() / CellPitch);
}

int VekObjMatrix::rowCount() const
{
    const int columns = columnCount();
    return std::max(1, (int(currentItems().size()) + 1 + columns - 1) / columns);
}

QRect VekObjMatrix::cellRect(int tag) const
{
    const int columns = columnCount();
    return QRect((tag % columns) * CellPitch, (tag / columns) * CellPitch - verticalScrollBar()->value(), CellPitch,
                 CellPitch);
}

int VekObjMatrix::tagAt(QPoint at) const
{
    const int column = at.x() / CellPitch, row = (at.y() + verticalScrollBar()->value()) / CellPitch;
    if (at.x() < 0 || column >= columnCount() || row >= rowCount())
        return -1;
    return row * columnCount() + column;
}

void VekObjMatrix::updateScrollRange()
{
    const int height = rowCount() * CellPitch;
    verticalScrollBar()->setRange(0, std::max(0, height - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(CellPitch);
}

void VekObjMatrix::updateDisplayWith(int tag)
{
    m_shownColumns = columnCount();
    updateScrollRange();
    selectTag(tag);
}

void VekObjMatrix::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().base());
    const ObjectSetItems &items = currentItems();
    const int cells = rowCount() * columnCount();
    for (int tag = 0; tag < cells; ++tag) {
        const QRect cell = cellRect(tag);
        if (!cell.intersects(viewport()->rect()))
            continue;
        if (tag == m_selectedTag)
            painter.fillRect(cell.adjusted(1, 1, -1, -1), palette().highlight());
        painter.setPen(palette().mid().color());
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
        if (tag < int(items.size())) {
            const QImage &preview = items[size_t(tag)].preview;
            painter.drawImage(cell.topLeft() + QPoint((CellPitch - preview.width()) / 2, (CellPitch - preview.height()) / 2),
                              preview);
        }
    }
}

void VekObjMatrix::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (columnCount() != m_shownColumns) {
        const int tag = m_selectedTag < int(currentItems().size()) ? m_selectedTag : 0;
        updateDisplayWith(tag);
    } else {
        updateScrollRange();
    }
}

bool VekObjMatrix::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip)
        setToolTip(localizedString(shellServices().selectedTool() == 0 ? QStringLiteral("ToolTipObjectMatrix")
                                                                         : QStringLiteral("ToolTipCreatingPaths")));
    return QAbstractScrollArea::viewportEvent(event);
}

void VekObjMatrix::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    const int tag = tagAt(event->position().toPoint());
    if (tag < 0)
        return;
    selectTag(tag);
    m_pressedAt = event->position().toPoint();
}

void VekObjMatrix::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton) || m_pressedAt.x() < 0
        || (event->position().toPoint() - m_pressedAt).manhattanLength() < QApplication::startDragDistance())
        return;
    m_pressedAt = {-1, -1};
    dragSelectedItem();
}

// The item goes out as the canvas's own data, so a canvas places copies of its objects.
void VekObjMatrix::dragSelectedItem()
{
    if (m_selectedTag < 0 || m_selectedTag >= int(currentItems().size()))
        return;
    const ObjectSetItem &item = currentItems()[size_t(m_selectedTag)];
    // Front-most first, as a canvas lists a selection.
    std::vector<std::shared_ptr<VekObject>> objects(item.objects.rbegin(), item.objects.rend());
    const VekDocument scratch;
    auto *mime = new QMimeData;
    mime->setData(VekantoDocumentMimeType, scratch.vekDocumentDataForObjects(objects, std::nullopt, false, false));
    mime->setImageData(item.preview);
    auto *drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->setPixmap(QPixmap::fromImage(item.preview));
    runDrag(drag, Qt::CopyAction, Qt::CopyAction);
}

void VekObjMatrix::keyPressEvent(QKeyEvent *event)
{
    if (doEventForChar(event->key()))
        viewport()->update();
    else
        QAbstractScrollArea::keyPressEvent(event);
}

bool VekObjMatrix::doEventForChar(int key)
{
    ObjectSetItems items = currentItems();
    const int count = int(items.size()), tag = m_selectedTag;
    if (tag < 0 || tag >= count)
        return false;
    if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
        const int answer = documentDialogs().askQuestion(
            window(), localizedString(QStringLiteral("Delete Cell")),
            localizedString(QStringLiteral("Are you sure to delete the selected object?")),
            {localizedString(QStringLiteral("Delete")), localizedString(QStringLiteral("Cancel"))});
        if (answer == 0)
            items.erase(items.begin() + tag);
        storeCurrentItems(std::move(items), tag);
        return true;
    }
    int to = -1;
    switch (key) {
    case Qt::Key_Left: to = tag > 0 ? tag - 1 : -1; break;
    case Qt::Key_Right: to = tag + 1 < count ? tag + 1 : -1; break;
    case Qt::Key_Up: to = tag - columnCount() >= 0 ? tag - columnCount() : -1; break;
    case Qt::Key_Down: to = tag + columnCount() < count ? tag + columnCount() : -1; break;
    default: return false;
    }
    if (to < 0)
        return false;
    ObjectSetItem moved = std::move(items[size_t(tag)]);
    items.erase(items.begin() + tag);
    items.insert(items.begin() + to, std::move(moved));
    storeCurrentItems(std::move(items), to);
    return true;
}

void VekObjMatrix::storeCurrentItems(ObjectSetItems items, int tag)
{
    m_store.setItems(m_currentSetName, std::move(items));
    updateDisplayWith(tag);
    m_store.updateSupportFileFor(m_currentSetName);
}

void VekObjMatrix::dragEnterEvent(QDragEnterEvent *event)
{
    if (VekView::isCanvasSelectionData(*event->mimeData()))
        event->acceptProposedAction();
}

void VekObjMatrix::dragMoveEvent(QDragMoveEvent *event)
{
    if (VekView::isCanvasSelectionData(*event->mimeData()))
        event->acceptProposedAction();
}

void VekObjMatrix::dropEvent(QDropEvent *event)
{
    if (VekView::isCanvasSelectionData(*event->mimeData())
        && concludeDrop(event->mimeData()->data(VekantoDocumentMimeType), event->position().toPoint()))
        event->acceptProposedAction();
}

bool VekObjMatrix::concludeDrop(const QByteArray &documentData, QPoint at)
{
    if (!viewport()->rect().contains(at))
        return false;
    const int tag = std::max(tagAt(at), 0);
    DocumentError error;
    std::vector<std::shared_ptr<VekObject>> objects =
        VekDocument::objectsFromVekDocumentDictionary(VekDocument::vekDocumentDictionaryFromData(documentData, &error));
    std::reverse(objects.begin(), objects.end());   // back-most first, as they are drawn
    std::optional<ObjectSetItem> item = ObjectSetStore::itemWith(adjustBoundsOf(objects));
    if (!item)
        return false;
    ObjectSetItems items = currentItems();
    const int place = std::min(tag, int(items.size()));
    items.insert(items.begin() + place, std::move(*item));
    storeCurrentItems(std::move(items), place);
    return true;
}

// ---- Sets ----

void VekObjMatrix::rememberCurrentSet()
{
    m_preferences.updateLastStates(PropertyList::fromString(m_currentSetName), SelectedSetKey);
}

void VekObjMatrix::makeCurrent(const QString &name)
{
    m_currentSetName = name;
    rememberCurrentSet();
    updateDisplayWith(0);
}

void VekObjMatrix::updateSetSelection()
{
    const QStringList names = m_store.setNames();
    const QSignalBlocker quiet(&m_setSelection);
    m_setSelection.clear();
    m_setSelection.addItems(names);
    m_setSelection.setMaxVisibleItems(std::clamp(int(names.size()), 1, 5));
    if (m_currentSetName.isEmpty() || !names.contains(m_currentSetName)) {
        m_currentSetName = names.value(0);
        updateDisplayWith(0);
    }
    m_setSelection.setCurrentIndex(int(names.indexOf(m_currentSetName)));
    rememberCurrentSet();
}

void VekObjMatrix::addDefaultSet(bool announce)
{
    const QString name = m_store.addDefaultSet();
    if (!announce) {
        m_store.updateSupportFileFor(name);
        return;
    }
    m_currentSetName = name;
    updateSetSelection();
    updateDisplayWith(0);
    m_store.updateSupportFileFor(name);
    documentDialogs().showAlert(window(), localizedString(QStringLiteral("Object Sets")),
                                localizedString(QStringLiteral("Default object set (%1) is now available.")).arg(name));
}

void VekObjMatrix::readinVekObjSet()
{
    const QStringList files = documentDialogs().runOpenPanel(
        window(), localizedString(QStringLiteral("Import Object Sets")),
        {QStringLiteral("Object sets (*.vekset *.qomtSet)")}, true);
    if (files.isEmpty())
        return;
    const int before = m_store.setCount();
    QStringList added;
    for (const QString &file : files) {
        if (QFileInfo(file).suffix() == QLatin1String("qomtSet"))
            added << m_store.readinQoMtSetsFrom(file);
        else if (const QString name = m_store.readinSetFrom(file); !name.isEmpty())
            added << name;
    }
    for (const QString &name : added)
        if (!QFileInfo::exists(m_store.filePathFor(name)))
            m_store.updateSupportFileFor(name);
    QString message = localizedString(QStringLiteral("No proper data found."));
    if (m_store.setCount() > before) {
        updateSetSelection();
        message = localizedString(QStringLiteral("%1 sets added")).arg(m_store.setCount() - before);
    }
    documentDialogs().showAlert(window(), message, QStringLiteral(" "));
}

void VekObjMatrix::setSet(const QString &name)
{
    if (name == m_currentSetName || name.isEmpty())
        return;
    if (m_store.hasSet(name)) {
        makeCurrent(name);
        m_setSelection.setCurrentIndex(m_setSelection.findText(name));
        return;
    }
    const int answer = documentDialogs().askQuestion(
        window(), localizedString(QStringLiteral("Create or Rename?")),
        localizedString(QStringLiteral("Do you want to create a new set or rename the selected set?")),
        {localizedString(QStringLiteral("Create")), localizedString(QStringLiteral("Rename")),
         localizedString(QStringLiteral("Cancel"))});
    if (answer == 0) {
        // The new set gets its file with its first item.
        m_store.setItems(name, {});
        m_currentSetName = name;
        updateSetSelection();
        updateDisplayWith(0);
    } else if (answer == 1) {
        const QString old = m_currentSetName;
        m_store.renameSet(old, name);
        m_currentSetName = name;
        updateSetSelection();
        m_store.updateSupportFileFor(name);
        // The old file would bring the set back under its old name at the next start.
        m_store.deleteSupportFileFor(old);
    } else {
        m_setSelection.setCurrentIndex(m_setSelection.findText(m_currentSetName));
    }
}

void VekObjMatrix::deleteSet()
{
    const int answer = documentDialogs().askQuestion(
        window(), localizedString(QStringLiteral("Delete")),
        localizedString(QStringLiteral("Are you sure to delete the selected set?")),
        {localizedString(QStringLiteral("Delete")), localizedString(QStringLiteral("Cancel"))});
    if (answer != 0)
        return;
    if (!m_store.deleteSupportFileFor(m_currentSetName)) {
        documentDialogs().showAlert(window(), localizedString(QStringLiteral("Error")),
                                    localizedString(QStringLiteral("Could not delete the set file: %1"))
                                        .arg(m_store.filePathFor(m_currentSetName)));
        return;
    }
    m_store.removeSet(m_currentSetName);
    m_currentSetName.clear();
    if (m_store.setCount() == 0)
        addDefaultSet(false);
    updateSetSelection();
    updateDisplayWith(0);
}
