// The point rows' fields and the points written as text.
#include "panels/obj_info/points_text.h"

#include "platform/foundation/c_locale.h"

PointRow parsePointRow(const QString &row)
{
    const QStringList fields = row.split(QLatin1Char(','));
    PointRow parsed;
    if (fields.size() < 5)
        return parsed;
    parsed.x = fields[0];
    parsed.y = fields[1];
    parsed.kind = fields[2];
    parsed.element = fields[3].toInt();
    parsed.point = fields[4].toInt();
    return parsed;
}

QString rowWithPoint(const QString &row, Point p)
{
    QStringList fields = row.split(QLatin1Char(','));
    if (fields.size() < 5)
        return row;
    fields[0] = formatC("%4.2f", double(p.x));
    fields[1] = formatC("%4.2f", double(p.y));
    return fields.join(QLatin1Char(','));
}

QString pointsAsString(const QStringList &rows, const PointsTextStyle &style)
{
    if (rows.isEmpty())
        return {};
    const auto keyword = [](const QString &typed, const char *fallback) {
        return typed.isEmpty() ? QString::fromLatin1(fallback) : typed;
    };
    const QString move = keyword(style.move, "M"), line = keyword(style.line, "L");
    const QString curve = keyword(style.curve, "C"), close = keyword(style.close, "Z");
    const QString open = style.round ? QStringLiteral("(") : QStringLiteral("{");
    const QString doubleOpen = style.round ? QStringLiteral("((") : QStringLiteral("{{");
    const QString shut = style.round ? QStringLiteral(")") : QStringLiteral("}");
    const QString final = style.round ? QStringLiteral(")\n)") : QStringLiteral("}\n}");

    QString text;
    if (style.brackets)
        text += open + QLatin1Char('\n');
    for (int i = 0; i < rows.size(); ++i) {
        const PointRow row = parsePointRow(rows[i]);
        QString word;
        if (row.kind == QLatin1String("M"))
            word = move;
        else if (row.kind == QLatin1String("L"))
            word = line;
        else if (row.kind == QLatin1String("C"))
            word = curve;
        else if (row.kind == QLatin1String("Z"))
            word = close;
        if (i > 0) {
            if (style.brackets && !word.isEmpty())
                text += shut;
            text += style.commas ? QStringLiteral(", ") : QStringLiteral(" ");
        }
        if (style.keywords && !word.isEmpty())
            text += word + QLatin1Char(' ');
        if (style.brackets)
            text += word == curve ? doubleOpen : open;
        // A close has no point of its own: its group stays empty.
        if (row.hasCoordinates())
            text += formatC(style.commas ? "%4.2f,%4.2f" : "%4.2f %4.2f", row.x.toDouble(), row.y.toDouble());
        if (style.brackets && (word.isEmpty() || word == curve))
            text += shut;
    }
    if (style.brackets)
        text += final;
    return text;
}
