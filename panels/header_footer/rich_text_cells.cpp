// Cell text between attributed strings and QTextDocument.
#include "panels/header_footer/rich_text_cells.h"

#include "platform/graphics/color_conversion.h"
#include "platform/text/font_registry.h"
#include "platform/text/rtf.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

void setCellText(QTextDocument &editor, const AttributedString &text)
{
    editor.clear();
    QTextCursor cursor(&editor);
    for (const TextRun &run : text.runs()) {
        QTextCharFormat format;
        if (run.attributes.font)
            format.setFont(qFont(*run.attributes.font), QTextCharFormat::FontPropertiesAll);
        if (run.attributes.foregroundColor)
            format.setForeground(toQColor(*run.attributes.foregroundColor));
        format.setFontUnderline(run.attributes.underlineStyle.value_or(0) != 0);
        QString piece = text.string().mid(run.range.location, run.range.length);
        piece.replace(QLatin1Char('\n'), QChar::ParagraphSeparator);
        cursor.insertText(piece, format);
    }
}

AttributedString cellText(const QTextDocument &editor)
{
    AttributedString text;
    for (QTextBlock block = editor.begin(); block.isValid(); block = block.next()) {
        if (block != editor.begin())
            text.append(AttributedString(QStringLiteral("\n"), text.attributesAt(text.length() - 1)));
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            const QFont font = format.font();
            TextAttributes attributes;
            attributes.font = Font{fontNameWithTraits(font.family(), font.bold(), font.italic()),
                                   float(font.pointSizeF() > 0 ? font.pointSizeF() : 12.0)};
            if (format.hasProperty(QTextFormat::ForegroundBrush)) {
                const QColor c = format.foreground().color();
                attributes.foregroundColor =
                    Color::colorWithCalibratedRed(float(c.redF()), float(c.greenF()), float(c.blueF()), float(c.alphaF()));
            }
            if (format.fontUnderline())
                attributes.underlineStyle = 1;
            text.append(AttributedString(fragment.text(), attributes));
        }
    }
    return text;
}

PropertyList storedCell(const AttributedString &text)
{
    if (text.isEmpty())
        return PropertyList();
    return PropertyList::fromData(RTFDFromRange(text, {0, text.length()}));
}

AttributedString cellFromStored(const PropertyList &stored)
{
    return attributedStringWithRTFD(stored.dataValue()).value_or(AttributedString());
}
