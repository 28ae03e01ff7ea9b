// The text ruler strip: alignment, tab kind and spacing controls, and the band of indents
// and tab stops along the edited text.
#include "canvas/ui/text_ruler_accessory.h"

#include "canvas/ui/ruler_view.h"
#include "model/text/vek_text_view.h"
#include "platform/foundation/localized_strings.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QSignalBlocker>
#include <QToolButton>

#include <cmath>

namespace {

const QColor StripBackground(232, 232, 232);
const QColor BandBackground(214, 214, 214);
const QColor MarkerColour(40, 40, 40);
// How far above or below the band a tab stop must be dragged to go.
constexpr int DragOffDistance = 10;
// How near (in pixels) a press must be to a marker to take it.
constexpr double GrabDistance = 4.5;

// A tab stop's picture standing on (x, baseline): a foot pointing the way text runs from it.
void drawTabShape(QPainter &painter, TextTabType type, double x, double baseline)
{
    QPainterPath path;
    path.moveTo(x, baseline - 7);
    path.lineTo(x, baseline);
    switch (type) {
    case TextTabType::Left: path.lineTo(x + 5, baseline); break;
    case TextTabType::Right: path.lineTo(x - 5, baseline); break;
    case TextTabType::Center:
    case TextTabType::Decimal:
        path.moveTo(x - 4, baseline);
        path.lineTo(x + 4, baseline);
        break;
    }
    painter.drawPath(path);
    if (type == TextTabType::Decimal)
        painter.drawRect(QRectF(x + 2, baseline - 4, 1, 1));
}

QIcon alignmentIcon(TextAlignment alignment)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QPen(MarkerColour, 1));
    const int widths[] = {12, 8, 12, 6};
    for (int i = 0; i < 4; ++i) {
        const int full = 12;
        int width = alignment == TextAlignment::Justified && i < 3 ? full : widths[i];
        int left = 2;
        if (alignment == TextAlignment::Center)
            left = 2 + (full - width) / 2;
        else if (alignment == TextAlignment::Right)
            left = 2 + full - width;
        painter.drawLine(left, 3 + 3 * i, left + width - 1, 3 + 3 * i);
    }
    return QIcon(pixmap);
}

QIcon tabIcon(TextTabType type)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QPen(MarkerColour, 1.5));
    drawTabShape(painter, type, 8, 12);
    return QIcon(pixmap);
}

QToolButton *smallButton(QWidget *parent, const QIcon &icon, const QString &toolTip)
{
    auto *button = new QToolButton(parent);
    button->setIcon(icon);
    button->setToolTip(toolTip);
    button->setAccessibleName(toolTip);
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setFixedSize(20, 20);
    // The keys stay with the edited text.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

TextRulerAccessory::TextRulerAccessory(std::function<VekTextView *()> editor, bool enabled, QWidget *parent)
    : QWidget(parent), m_editor(std::move(editor)), m_active(enabled)
{
    setAutoFillBackground(false);
    setFocusPolicy(Qt::NoFocus);
    auto *row = new QHBoxLayout;
    row->setContentsMargins(4, 1, 4, 1);
    row->setSpacing(1);

    m_alignments = new QButtonGroup(this);
    const std::pair<TextAlignment, const char *> alignments[] = {{TextAlignment::Left, "Align Left"},
                                                                   {TextAlignment::Center, "Center"},
                                                                   {TextAlignment::Right, "Align Right"},
                                                                   {TextAlignment::Justified, "Justify"}};
    for (const auto &[alignment, name] : alignments) {
        QToolButton *button = smallButton(this, alignmentIcon(alignment), localizedString(QString::fromLatin1(name)));
        m_alignments->addButton(button, int(alignment));
        row->addWidget(button);
    }
    row->addSpacing(12);
    m_tabKinds = new QButtonGroup(this);
    const std::pair<TextTabType, const char *> kinds[] = {{TextTabType::Left, "Left Tab"},
                                                          {TextTabType::Center, "Center Tab"},
                                                          {TextTabType::Right, "Right Tab"},
                                                          {TextTabType::Decimal, "Decimal Tab"}};
    for (const auto &[type, name] : kinds) {
        QToolButton *button = smallButton(this, tabIcon(type), localizedString(QString::fromLatin1(name)));
        m_tabKinds->addButton(button, int(type));
        row->addWidget(button);
    }
    m_tabKinds->button(int(TextTabType::Left))->setChecked(true);
    row->addSpacing(12);
    m_spacing = new QComboBox(this);
    m_spacing->setFocusPolicy(Qt::NoFocus);
    m_spacing->setToolTip(localizedString(QStringLiteral("Line Spacing")));
    for (float multiple : {1.0f, 1.5f, 2.0f})
        m_spacing->addItem(QString::number(multiple, 'f', 1), multiple);
    m_spacing->setFixedHeight(20);
    QFont small = m_spacing->font();
    small.setPixelSize(11);
    m_spacing->setFont(small);
    row->addWidget(m_spacing);
    row->addStretch();
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, BandHeight);
    column->addLayout(row);
    setFixedHeight(RowHeight + BandHeight);

    connect(m_alignments, &QButtonGroup::idClicked, this, [this](int id) {
        ParagraphEdit edit;
        edit.kind = ParagraphEdit::Kind::Alignment;
        edit.alignment = TextAlignment(id);
        apply(edit);
    });
    connect(m_spacing, &QComboBox::activated, this, [this](int index) {
        ParagraphEdit edit;
        edit.kind = ParagraphEdit::Kind::LineHeight;
        edit.value = m_spacing->itemData(index).toFloat();
        apply(edit);
    });
    setEnabled(m_active);
    refresh();
}

QToolButton *TextRulerAccessory::alignmentButton(TextAlignment alignment) const
{
    return static_cast<QToolButton *>(m_alignments->button(int(alignment)));
}

QToolButton *TextRulerAccessory::tabKindButton(TextTabType type) const
{
    return static_cast<QToolButton *>(m_tabKinds->button(int(type)));
}

VekTextView *TextRulerAccessory::activeEditor() const
{
    VekTextView *editor = m_active && m_editor ? m_editor() : nullptr;
    return editor && editor->textObject() && editor->textStorage() ? editor : nullptr;
}

const VekRulerView *TextRulerAccessory::ruler() const
{
    return dynamic_cast<const VekRulerView *>(parentWidget());
}

std::optional<TextRulerAccessory::TextExtent> TextRulerAccessory::textExtent() const
{
    VekTextView *editor = activeEditor();
    if (!editor || !ruler())
        return std::nullopt;
    const Rect frame = editor->frame();
    // A box that grows to the right while typing ends where it ends now.
    const float width = editor->resizesHorizontally() ? frame.width() : editor->textContainer().containerSize().width;
    return TextExtent{frame.minX(), width, editor->textContainer().lineFragmentPadding()};
}

std::optional<double> TextRulerAccessory::positionOfTextLocation(float location) const
{
    const auto extent = textExtent();
    if (!extent)
        return std::nullopt;
    return ruler()->rulerPosition(extent->left + location);
}

std::optional<float> TextRulerAccessory::canvasXAt(double position) const
{
    const auto extent = textExtent();
    if (!extent)
        return std::nullopt;
    return std::round(ruler()->locationAt(position) - extent->left);
}

void TextRulerAccessory::refresh()
{
    VekTextView *editor = activeEditor();
    m_style = editor ? rulerParagraphStyle(*editor) : ParagraphStyle{};
    const TextAlignment alignment =
        m_style.alignment == TextAlignment::Natural ? TextAlignment::Left : m_style.alignment;
    if (QAbstractButton *button = m_alignments->button(int(alignment)); button && !button->isChecked()) {
        const QSignalBlocker blocker(m_alignments);
        button->setChecked(true);
    }
    const std::optional<float> multiple = simpleLineHeightMultiple(m_style);
    const int index = multiple ? m_spacing->findData(*multiple) : -1;
    if (index != m_spacing->currentIndex()) {
        const QSignalBlocker blocker(m_spacing);
        m_spacing->setCurrentIndex(index);
    }
    update();
}

std::vector<TextRulerAccessory::Marker> TextRulerAccessory::markers() const
{
    const auto extent = textExtent();
    if (!extent)
        return {};
    const auto at = [&](float x) { return ruler()->rulerPosition(extent->left + x); };
    std::vector<Marker> list;
    for (const TextTab &tab : m_style.tabStops)
        list.push_back({MarkerKind::Tab, tab, at(tab.location)});
    list.push_back({MarkerKind::FirstLine, {}, at(extent->padding + m_style.firstLineHeadIndent)});
    list.push_back({MarkerKind::Head, {}, at(extent->padding + m_style.headIndent)});
    const float tail = m_style.tailIndent > 0 ? m_style.tailIndent : extent->width - extent->padding + m_style.tailIndent;
    list.push_back({MarkerKind::Tail, {}, at(tail)});
    return list;
}

void TextRulerAccessory::drawMarker(QPainter &painter, const Marker &marker, bool faded) const
{
    const QRect b = band();
    const double x = std::floor(marker.position) + 0.5;
    painter.setPen(QPen(faded ? QColor(150, 150, 150) : MarkerColour, marker.kind == MarkerKind::Tab ? 1.5 : 1));
    painter.setBrush(faded ? QColor(190, 190, 190) : QColor(90, 90, 90));
    const double middle = b.top() + BandHeight / 2.0;
    switch (marker.kind) {
    case MarkerKind::FirstLine:
        painter.drawPolygon(QPolygonF({QPointF(x - 4, b.top() + 1), QPointF(x + 4, b.top() + 1), QPointF(x, middle)}));
        break;
    case MarkerKind::Head:
    case MarkerKind::Tail:
        painter.drawPolygon(QPolygonF({QPointF(x - 4, b.bottom()), QPointF(x + 4, b.bottom()), QPointF(x, middle)}));
        break;
    case MarkerKind::Tab:
        drawTabShape(painter, marker.tab.type, x, b.bottom() - 1);
        break;
    }
}

void TextRulerAccessory::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), StripBackground);
    const QRect b = band();
    painter.fillRect(b, BandBackground);
    if (const auto extent = textExtent()) {
        const double left = ruler()->rulerPosition(extent->left);
        const double right = ruler()->rulerPosition(extent->left + extent->width);
        painter.fillRect(QRectF(left, b.top(), right - left, b.height()), Qt::white);
        painter.setRenderHint(QPainter::Antialiasing);
        for (const Marker &marker : markers()) {
            const bool dragged = m_drag && !m_drag->isNew && m_drag->marker.kind == marker.kind
                                 && (marker.kind != MarkerKind::Tab || marker.tab == m_drag->marker.tab);
            drawMarker(painter, marker, dragged);
        }
        if (m_drag && !m_drag->off) {
            Marker moved = m_drag->marker;
            moved.position = m_drag->position;
            drawMarker(painter, moved, false);
        }
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor(150, 150, 150), 0));
    painter.drawLine(QPointF(0, b.bottom() + 0.5), QPointF(width(), b.bottom() + 0.5));
}

void TextRulerAccessory::mousePressEvent(QMouseEvent *event)
{
    const QPointF p = event->position();
    const auto extent = textExtent();
    if (event->button() != Qt::LeftButton || !extent || !band().contains(p.toPoint())) {
        QWidget::mousePressEvent(event);
        return;
    }
    // The first line's marker hangs from the band's top, the others stand on its bottom.
    const bool upper = p.y() < band().top() + BandHeight / 2.0;
    std::optional<Marker> hit;
    double nearest = GrabDistance;
    for (const Marker &marker : markers()) {
        if ((marker.kind == MarkerKind::FirstLine) != upper)
            continue;
        const double distance = std::abs(marker.position - p.x());
        if (distance <= nearest) {
            nearest = distance;
            hit = marker;
        }
    }
    if (hit) {
        m_drag = Drag{*hit, false, hit->position, false};
    } else {
        // A click on the text's width adds a tab stop of the chosen kind there.
        const std::optional<float> location = canvasXAt(p.x());
        if (!location || *location < 0 || *location > extent->width)
            return;
        const TextTab tab{TextTabType(m_tabKinds->checkedId()), *location};
        m_drag = Drag{{MarkerKind::Tab, tab, p.x()}, true, p.x(), false};
    }
    update();
}

void TextRulerAccessory::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_drag)
        return;
    const QPointF p = event->position();
    m_drag->position = p.x();
    m_drag->off = m_drag->marker.kind == MarkerKind::Tab
                  && (p.y() < band().top() - DragOffDistance || p.y() > band().bottom() + DragOffDistance);
    update();
}

void TextRulerAccessory::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_drag || event->button() != Qt::LeftButton)
        return;
    const Drag drag = *m_drag;
    m_drag.reset();
    if (const auto edit = editOfDrag(drag))
        apply(*edit);
    update();
}

std::optional<ParagraphEdit> TextRulerAccessory::editOfDrag(const Drag &drag) const
{
    const auto extent = textExtent();
    const std::optional<float> x = canvasXAt(drag.position);
    if (!extent || !x)
        return std::nullopt;
    ParagraphEdit edit;
    switch (drag.marker.kind) {
    case MarkerKind::Tab:
        edit.tab = drag.marker.tab;
        if (drag.isNew) {
            if (drag.off)
                return std::nullopt;
            edit.kind = ParagraphEdit::Kind::AddTab;
            edit.tab.location = std::max(*x, 0.0f);
        } else if (drag.off) {
            edit.kind = ParagraphEdit::Kind::RemoveTab;
        } else {
            edit.kind = ParagraphEdit::Kind::MoveTab;
            edit.value = std::max(*x, 0.0f);
            if (edit.value == drag.marker.tab.location)
                return std::nullopt;
        }
        return edit;
    case MarkerKind::FirstLine:
        edit.kind = ParagraphEdit::Kind::FirstLineIndent;
        edit.value = std::max(*x - extent->padding, 0.0f);
        return edit.value == m_style.firstLineHeadIndent ? std::nullopt : std::optional(edit);
    case MarkerKind::Head:
        edit.kind = ParagraphEdit::Kind::HeadIndent;
        edit.value = std::max(*x - extent->padding, 0.0f);
        return edit.value == m_style.headIndent ? std::nullopt : std::optional(edit);
    case MarkerKind::Tail:
        edit.kind = ParagraphEdit::Kind::TailIndent;
        // A tail measured from the right edge stays so (it follows the box's width).
        edit.value = m_style.tailIndent > 0 ? std::max(*x, 1.0f) : std::min(*x - (extent->width - extent->padding), 0.0f);
        return edit.value == m_style.tailIndent ? std::nullopt : std::optional(edit);
    }
    return std::nullopt;
}

void TextRulerAccessory::apply(const ParagraphEdit &edit)
{
    if (VekTextView *editor = activeEditor())
        applyParagraphEditInEditor(*editor->textObject(), *editor, edit);
    refresh();
}
