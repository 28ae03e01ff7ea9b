// The point table of the current object's path (edited point by point), the points copied
// as text, and the inspector's options remembered between runs.
#include "panels/obj_info/vek_obj_info_controller.h"

#include "model/services/canvas_services.h"
#include "model/vek_object.h"
#include "panels/obj_info/points_text.h"
#include "panels/panel_canvas.h"
#include "platform/foundation/c_locale.h"
#include "platform/foundation/user_defaults.h"
#include "toolkit/path_editing.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTableWidget>

namespace {

constexpr int ColumnX = 1;
constexpr int ColumnY = 2;

// The remembered options: key, and whether the control is a switch, the reference matrix or
// a keyword field.
struct Remembered {
    const char *key;
    const char *control;
};

const Remembered rememberedOptions[] = {
    {"optPtsCopyL", "optPtsCopyL"},   {"optPtsCopyP", "optPtsCopyP"},     {"optPtsCopyC", "optPtsCopyC"},
    {"optPtsRelative", "mtxPtsRelative"}, {"txPEMove", "txMove"},     {"txPELine", "txLine"},
    {"txPECurve", "txCurve"},         {"txPEClose", "txClose"},           {"optRelMove", "optRelativeMove"},
    {"optRelSize", "optResizeProportional"}, {"optWHtogether", "optResizeWHtogether"}};

} // namespace

void VekObjInfoController::updatePointTable(const std::shared_ptr<VekObject> &o)
{
    const QSignalBlocker blocker(ptsTable);
    const int reference = std::max(0, mtxPtsRelative->checkedId());
    m_points = o ? o->pointArrayRelativeTo(reference) : QStringList();
    const auto keyword = [this](const QString &kind) {
        QLineEdit *field = kind == QLatin1String("M")   ? txMove
                           : kind == QLatin1String("L") ? txLine
                           : kind == QLatin1String("C") ? txCurve
                           : kind == QLatin1String("Z") ? txClose
                                                        : nullptr;
        if (!field)
            return QString();
        return field->text().isEmpty() ? kind : field->text();
    };
    ptsTable->clearContents();
    ptsTable->setRowCount(int(m_points.size()));
    const bool editable = o && o->canDrawStroke();
    for (int row = 0; row < m_points.size(); ++row) {
        const PointRow point = parsePointRow(m_points[row]);
        auto *number = new QTableWidgetItem(formatC("%3d ", row));
        auto *x = new QTableWidgetItem(point.x);
        auto *y = new QTableWidgetItem(point.y);
        auto *kind = new QTableWidgetItem(keyword(point.kind));
        for (QTableWidgetItem *item : {number, kind})
            item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        for (QTableWidgetItem *item : {x, y})
            if (!editable || !point.hasCoordinates())
                item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        ptsTable->setItem(row, 0, number);
        ptsTable->setItem(row, ColumnX, x);
        ptsTable->setItem(row, ColumnY, y);
        ptsTable->setItem(row, 3, kind);
    }
    const bool absolute = o && reference == 0;
    btnPtsAdjust->setEnabled(absolute);
    optPtsEach->setEnabled(absolute);
    ptsTable->setEnabled(o != nullptr);
    btnDeletePoint->setEnabled(o != nullptr);
    btnCopyPoints->setEnabled(!m_points.isEmpty());
    if (o)
        selectRowOfElementNrAndPointNr(o->selectedElementNr(), o->selectedPointNr());
    else
        btnDeselectPoint->setEnabled(false);
}

// A typed coordinate moves the point; a chosen row selects it on the canvas.
void VekObjInfoController::connectPointTable()
{
    connect(ptsTable, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        const auto current = currentObject();
        PanelCanvas *canvas = mainPanelCanvas();
        const int row = item->row();
        if (!current || !canvas || row < 0 || row >= m_points.size() ||
            (item->column() != ColumnX && item->column() != ColumnY))
            return;
        const PointRow point = parsePointRow(m_points[row]);
        Point p(floatValueOf(point.x), floatValueOf(point.y));
        (item->column() == ColumnX ? p.x : p.y) = floatValueOf(item->text());
        m_points[row] = rowWithPoint(m_points[row], p);
        // Back to document coordinates.
        const int reference = std::max(0, mtxPtsRelative->checkedId());
        if (reference == 1) {
            const Point pathOrigin = current->bezierPath().bounds().origin;
            const Point pageOrigin = canvas->canvasServices().convertRelativeToPage(pathOrigin);
            p.y += pathOrigin.y - pageOrigin.y;
        } else if (reference == 2) {
            const Point origin = current->bezierPath().bounds().origin;
            p = Point(p.x + origin.x, p.y + origin.y);
        }
        current->dragPathPointNr(point.point, point.element, p);
        nameUndo(QStringLiteral("Set Object Property"));
    });
    connect(ptsTable, &QTableWidget::currentCellChanged, this, [this](int row) {
        const auto current = currentObject();
        if (!current || row < 0 || row >= m_points.size() || m_refreshing)
            return;
        const PointRow point = parsePointRow(m_points[row]);
        current->setSelectedElementNr(point.element, point.point);
        if (PanelCanvas *canvas = mainPanelCanvas())
            canvas->canvasServices().setNeedsDisplayInRect(current->boundsToRedraw());
        btnDeselectPoint->setEnabled(true);
    });
}

void VekObjInfoController::selectRowOfElementNrAndPointNr(int element, int point)
{
    const QSignalBlocker blocker(ptsTable);
    for (int row = 0; row < m_points.size(); ++row) {
        const PointRow p = parsePointRow(m_points[row]);
        if (p.element == element && p.point == point) {
            ptsTable->setCurrentCell(row, ColumnX);
            ptsTable->selectRow(row);
            ptsTable->scrollToItem(ptsTable->item(row, 0));
            btnDeselectPoint->setEnabled(true);
            return;
        }
    }
    ptsTable->clearSelection();
    ptsTable->setCurrentCell(-1, -1);
    ptsTable->scrollToTop();
    btnDeselectPoint->setEnabled(false);
}

void VekObjInfoController::deselectPoint()
{
    const auto current = currentObject();
    if (!current)
        return;
    current->setSelectedElementNr(-1, -1);
    if (PanelCanvas *canvas = mainPanelCanvas())
        canvas->canvasServices().setNeedsDisplayInRect(current->boundsToRedraw());
    btnDeselectPoint->setEnabled(false);
}

void VekObjInfoController::adjustHalfPosition()
{
    const auto current = currentObject();
    if (!current || !current->hasEditablePath())
        return;
    current->setBezierPathAdjust(adjustToHalfPosition(current->bezierPath(), optPtsEach->isChecked()), false);
    nameUndo(QStringLiteral("Set Object Property"));
}

void VekObjInfoController::updatePoints(QObject *sender)
{
    updatePreferences(sender);
    updatePointTable(currentObject());
}

void VekObjInfoController::deleteAction()
{
    if (PanelCanvas *canvas = mainPanelCanvas())
        canvas->doEventForChar(QChar(0x7F), 0);
}

QString VekObjInfoController::pointsAsString(bool round) const
{
    PointsTextStyle style;
    style.move = txMove->text();
    style.line = txLine->text();
    style.curve = txCurve->text();
    style.close = txClose->text();
    style.keywords = optPtsCopyL->isChecked();
    style.brackets = optPtsCopyP->isChecked();
    style.commas = optPtsCopyC->isChecked();
    style.round = round;
    return ::pointsAsString(m_points, style);
}

void VekObjInfoController::copyPointsToClipboard(bool round)
{
    const QString text = pointsAsString(round);
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

// ---- Remembered options ----

void VekObjInfoController::updatePreferences(QObject *sender)
{
    const QString name = sender->objectName();
    for (const Remembered &option : rememberedOptions) {
        if (name != QLatin1String(option.control))
            continue;
        PropertyList value;
        if (auto *box = qobject_cast<QCheckBox *>(sender))
            value = PropertyList::fromInt(box->isChecked() ? 1 : 0);
        else if (auto *field = qobject_cast<QLineEdit *>(sender))
            value = PropertyList::fromString(field->text());
        else if (auto *matrix = qobject_cast<QButtonGroup *>(sender))
            value = PropertyList::fromInt(std::max(0, matrix->checkedId()));
        const QString key = QString::fromLatin1(option.key);
        UserDefaults &defaults = UserDefaults::standardUserDefaults();
        defaults.updateObjectForKey(DefaultsKey::LastStates, [&](PropertyList &states) {
            if (!states.isDictionary())
                states = PropertyList::dictionary();
            states.insert(key, value);
        });
        return;
    }
}

void VekObjInfoController::setupUserPrefs()
{
    const PropertyList states = UserDefaults::standardUserDefaults().dictionaryForKey(DefaultsKey::LastStates);
    for (const Remembered &option : rememberedOptions) {
        const PropertyList value = states.value(QString::fromLatin1(option.key));
        const QString control = QString::fromLatin1(option.control);
        if (value.isAbsent()) {
            if (control == QLatin1String("mtxPtsRelative"))
                mtxPtsRelative->button(0)->setChecked(true);
            continue;
        }
        if (auto *box = findChild<QCheckBox *>(control))
            box->setChecked(value.intValue() != 0);
        else if (auto *field = findChild<QLineEdit *>(control))
            field->setText(value.stringValue());
        else if (control == QLatin1String("mtxPtsRelative"))
            if (QAbstractButton *b = mtxPtsRelative->button(std::clamp(value.intValue(), 0, 2)))
                b->setChecked(true);
    }
}
