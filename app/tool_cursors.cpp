// The tool cursors and the pictures they are made of.
#include "app/tool_cursors.h"

#include "platform/graphics/color_conversion.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int CursorSide = 16;
constexpr int MaxFormatCursorSide = 64;

QPixmap blankPicture()
{
    QPixmap pixmap(CursorSide, CursorSide);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// The pictures of the image cursors, drawn in black with a white outline so that they show
// on any background.
QPixmap pictureFor(ToolCursors::Kind kind)
{
    QPixmap pixmap = blankPicture();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    switch (kind) {
    case ToolCursors::Kind::Curve:
        shape.moveTo(2, 13);
        shape.cubicTo(4, 2, 12, 2, 14, 13);
        break;
    case ToolCursors::Kind::Line:
        shape.moveTo(2, 13);
        shape.lineTo(14, 3);
        break;
    case ToolCursors::Kind::Move:
        shape.moveTo(8, 1);
        shape.lineTo(8, 15);
        shape.moveTo(1, 8);
        shape.lineTo(15, 8);
        break;
    case ToolCursors::Kind::SelectColumn:
        shape.moveTo(8, 1);
        shape.lineTo(8, 15);
        shape.moveTo(4, 11);
        shape.lineTo(8, 15);
        shape.lineTo(12, 11);
        break;
    case ToolCursors::Kind::SelectRow:
        shape.moveTo(1, 8);
        shape.lineTo(15, 8);
        shape.moveTo(11, 4);
        shape.lineTo(15, 8);
        shape.lineTo(11, 12);
        break;
    case ToolCursors::Kind::ResizeCornerLR:
        shape.moveTo(2, 2);
        shape.lineTo(14, 14);
        break;
    case ToolCursors::Kind::ResizeCornerRL:
        shape.moveTo(14, 2);
        shape.lineTo(2, 14);
        break;
    case ToolCursors::Kind::Pen:
        shape.moveTo(1, 14);
        shape.lineTo(12, 3);
        shape.lineTo(14, 5);
        shape.lineTo(3, 16);
        shape.closeSubpath();
        break;
    }
    p.setPen(QPen(Qt::white, 3.5));
    p.drawPath(shape);
    p.setPen(QPen(Qt::black, 1.5));
    p.drawPath(shape);
    return pixmap;
}

// The marker: a broad tip whose opaque pixels take the marker colour.
QPixmap markerPicture()
{
    QPixmap pixmap = blankPicture();
    QPainter p(&pixmap);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    QPolygonF tip;
    tip << QPointF(1, 14) << QPointF(3, 9) << QPointF(10, 2) << QPointF(14, 6) << QPointF(7, 13);
    p.drawPolygon(tip);
    return pixmap;
}

QPixmap formatPicture()
{
    QPixmap pixmap = blankPicture();
    QPainter p(&pixmap);
    QFont font;
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("#"));
    return pixmap;
}

QCursor centredCursor(const QPixmap &pixmap)
{
    return QCursor(pixmap, pixmap.width() / 2, pixmap.height() / 2);
}

} // namespace

const QCursor &ToolCursors::cursor(Kind kind)
{
    auto found = m_images.find(kind);
    if (found == m_images.end()) {
        const QPixmap picture = pictureFor(kind);
        const QCursor made = kind == Kind::Pen ? QCursor(picture, 1, 14) : centredCursor(picture);
        found = m_images.emplace(kind, made).first;
    }
    return found->second;
}

QString ToolCursors::markerLabel(float thickness)
{
    return QString::number(int(thickness));
}

const QCursor &ToolCursors::markCursor(const Color &markerColor, float thickness)
{
    if (!m_mark)
        updateMarkCursor(markerColor, thickness);
    return *m_mark;
}

void ToolCursors::updateMarkCursor(const Color &markerColor, float thickness)
{
    QPixmap pixmap = markerPicture();
    QPainter p(&pixmap);
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    p.fillRect(pixmap.rect(), toQColor(markerColor));
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    QFont font;
    font.setPixelSize(7);
    p.setFont(font);
    p.setPen(Qt::darkGray);
    const QString label = markerLabel(thickness);
    const QFontMetricsF metrics(font);
    p.drawText(QPointF(pixmap.width() - metrics.horizontalAdvance(label), pixmap.height() - metrics.descent()), label);
    p.end();
    m_mark = QCursor(pixmap, 1, 14);
}

const QCursor &ToolCursors::formatCursor(bool rebuild, const AttributedString &example)
{
    if (m_format && !rebuild)
        return *m_format;
    const QString text = example.string();
    if (text.isEmpty()) {
        m_format = centredCursor(formatPicture());
        return *m_format;
    }
    QFont font;
    font.setPixelSize(12);
    const QFontMetricsF metrics(font);
    const QSizeF size(metrics.horizontalAdvance(text) + 2, metrics.height());
    QPixmap pixmap(size.toSize());
    pixmap.fill(Qt::transparent);
    {
        QPainter p(&pixmap);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(pixmap.rect(), Qt::AlignCenter, text);
    }
    if (pixmap.width() > MaxFormatCursorSide || pixmap.height() > MaxFormatCursorSide)
        pixmap = pixmap.scaled(MaxFormatCursorSide, MaxFormatCursorSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    m_format = centredCursor(pixmap);
    return *m_format;
}

const QCursor &ToolCursors::pointCursor(const Color &selectedPointColor)
{
    if (!m_point) {
        QPixmap pixmap = blankPicture();
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(toQColor(selectedPointColor));
        p.setBrush(toQColor(selectedPointColor));
        p.drawEllipse(QRectF(0, 13, 3, 3));
        p.setPen(Qt::gray);
        p.drawLine(QPointF(1, 15), QPointF(14, 2));
        p.end();
        m_point = QCursor(pixmap, 2, 12);
    }
    return *m_point;
}
