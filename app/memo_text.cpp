// Converting the memo's text between the editor's document and the program's rich text.
#include "app/memo_text.h"

#include "platform/graphics/color_conversion.h"
#include "platform/text/font_registry.h"
#include "platform/text/text_attachment.h"

#include <QBuffer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

namespace {

const QString AttachmentScheme = QStringLiteral("attachment");

TextAttributes attributesOf(const QTextCharFormat &format)
{
    TextAttributes attributes;
    const QFont font = format.font();
    const float size = font.pointSizeF() > 0 ? float(font.pointSizeF()) : 12.0f;
    attributes.font = Font{fontNameWithTraits(font.family(), font.bold(), font.italic()), size};
    if (format.foreground().style() != Qt::NoBrush) {
        const QColor c = format.foreground().color().toRgb();
        attributes.foregroundColor =
            Color::colorWithCalibratedRed(float(c.redF()), float(c.greenF()), float(c.blueF()), float(c.alphaF()));
    }
    if (format.fontUnderline())
        attributes.underlineStyle = UnderlineStyleSingle;
    return attributes;
}

QTextCharFormat formatOf(const TextAttributes &attributes)
{
    QTextCharFormat format;
    if (attributes.font) {
        format.setFontFamilies({fontFamilyName(attributes.font->name)});
        format.setFontPointSize(attributes.font->size);
        const FontTraits traits = fontTraits(attributes.font->name).value_or(FontTraits{});
        format.setFontWeight(traits.bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(traits.italic);
    }
    if (attributes.foregroundColor)
        format.setForeground(toQColor(*attributes.foregroundColor));
    format.setFontUnderline(attributes.underlineStyle.value_or(UnderlineStyleNone) != UnderlineStyleNone);
    return format;
}

} // namespace

AttributedString attributedStringOfDocument(const QTextDocument &document)
{
    AttributedString text;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextFragment piece = fragment.fragment();
            const QTextCharFormat format = piece.charFormat();
            if (format.isImageFormat()) {
                // Each picture is one attachment character holding the picture's PNG.
                const QString name = format.toImageFormat().name();
                const QImage image = qvariant_cast<QImage>(document.resource(QTextDocument::ImageResource, QUrl(name)));
                QByteArray png;
                QBuffer buffer(&png);
                buffer.open(QIODevice::WriteOnly);
                image.save(&buffer, "PNG");
                TextAttributes attributes = attributesOf(format);
                QString fileName = QUrl(name).fileName();
                if (!fileName.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
                    fileName += QStringLiteral(".png");
                attributes.attachment = TextAttachment{fileName, png};
                for (int i = 0; i < piece.length(); ++i)
                    text.append(AttributedString(QString(QChar(AttachmentCharacter)), attributes));
                continue;
            }
            text.append(AttributedString(piece.text(), attributesOf(format)));
        }
        if (block.next().isValid())
            text.append(AttributedString(QStringLiteral("\n"), text.isEmpty() ? TextAttributes{} : text.attributesAt(text.length() - 1)));
    }
    return text;
}

void setDocumentText(QTextDocument &document, const AttributedString &text)
{
    document.clear();
    QTextCursor cursor(&document);
    int attachmentNumber = 0;
    for (const TextRun &run : text.runs()) {
        const QString part = text.string().mid(run.range.location, run.range.length);
        const QTextCharFormat format = formatOf(run.attributes);
        if (run.attributes.attachment) {
            const QImage image = attachmentImage(*run.attributes.attachment);
            for (int i = 0; i < part.size(); ++i) {
                if (image.isNull())
                    continue;
                const QUrl name(AttachmentScheme + QStringLiteral(":") + QString::number(++attachmentNumber) + QLatin1Char('/')
                                + run.attributes.attachment->fileName);
                document.addResource(QTextDocument::ImageResource, name, image);
                QTextImageFormat picture;
                picture.merge(format);
                picture.setName(name.toString());
                cursor.insertImage(picture);
            }
            continue;
        }
        const QStringList lines = part.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                cursor.insertBlock();
            cursor.insertText(lines[i], format);
        }
    }
}
