// What the canvas shows beside the drawing when asked: the invisible characters of the
// edited text and the document's anchors, each mark with its name as a tool tip.
#include "canvas/ui/vek_view.h"

#include "document/vek_document.h"
#include "model/text/vek_text_view.h"
#include "platform/foundation/property_list.h"

#include <QPainter>

namespace {

// The anchor mark: a small ship's anchor, drawn once.
const QImage &anchorImage()
{
    static const QImage image = [] {
        QImage mark(12, 14, QImage::Format_ARGB32_Premultiplied);
        mark.fill(Qt::transparent);
        QPainter painter(&mark);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(0, 0, 160), 1.5));
        painter.drawEllipse(QPointF(6, 2.5), 1.8, 1.8);
        painter.drawLine(QPointF(6, 4.3), QPointF(6, 13));
        painter.drawLine(QPointF(3, 6.5), QPointF(9, 6.5));
        painter.drawArc(QRectF(1, 6, 10, 7), 180 * 16, 180 * 16);
        return mark;
    }();
    return image;
}

} // namespace

void VekView::setShowInvisibleChars(bool flag)
{
    m_showInvisibleChars = flag;
    if (auto *editor = dynamic_cast<VekTextView *>(m_editor))
        editor->layoutManager().setShowsInvisibleCharacters(flag);
    viewport()->update();
}

void VekView::setShowAnchors(bool flag)
{
    m_showAnchors = flag;
    viewport()->update();
}

// Each mark is centred on the top-left corner of its anchor's rectangle.
std::vector<std::pair<QString, Rect>> VekView::anchorMarks() const
{
    std::vector<std::pair<QString, Rect>> marks;
    const PropertyList anchors = m_document.anchorsInView();
    const float width = float(anchorImage().width()), height = float(anchorImage().height());
    for (const QString &name : anchors.keys()) {
        const Rect anchor = rectFromString(anchors.value(name).stringValue());
        marks.emplace_back(name, Rect(anchor.origin.x - width / 2, anchor.origin.y - height / 2, width, height));
    }
    return marks;
}

void VekView::drawAnchorMarks(QPainter &painter, const Rect &dirty) const
{
    painter.save();
    painter.setOpacity(0.5);
    for (const auto &[name, mark] : anchorMarks())
        if (intersectsRect(mark, dirty))
            painter.drawImage(QRectF(mark.origin.x, mark.origin.y, mark.width(), mark.height()), anchorImage());
    painter.restore();
}

QString VekView::anchorNameAt(Point p) const
{
    if (!m_showAnchors)
        return {};
    for (const auto &[name, mark] : anchorMarks())
        if (pointInRect(p, mark))
            return name;
    return {};
}
