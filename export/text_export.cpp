// Collecting and writing the text of a document.
#include "export/text_export.h"

#include "canvas/stacking_order.h"
#include "document/vek_document.h"
#include "model/vek_obj_grid.h"
#include "model/vek_obj_text.h"
#include "platform/foundation/file_writing.h"
#include "platform/pdf/pdf_document.h"
#include "platform/text/rtf.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

std::optional<QString> backgroundPdfText(VekDocument &document)
{
    const auto &pdf = document.backgroundPDF();
    if (!pdf || document.bgPDFpages().empty())
        return std::nullopt;
    QStringList pages;
    for (int page = 0; page < pdf->pageCount(); ++page)
        pages.append(pdf->pageText(page));
    const QString text = pages.join(QLatin1Char('\n'));
    if (text.trimmed().isEmpty())
        return std::nullopt;
    return text;
}

namespace {

// A text box's text, a table's cells or the text laid along a path; nothing for the rest.
std::optional<AttributedString> textOfObject(const VekObject &object)
{
    if (auto *box = dynamic_cast<const VekObjText *>(&object))
        return box->contents().text();
    if (auto *table = dynamic_cast<const VekObjGrid *>(&object))
        return table->tableToString();
    return object.attStringForPath();
}

} // namespace

AttributedString documentText(VekDocument &document, bool addBackgroundPdfText)
{
    std::vector<std::shared_ptr<VekObject>> objects = document.objects();
    sortObjectsByKey(objects, QStringLiteral("tcPosY"));
    AttributedString text;
    for (const auto &object : objects) {
        const std::optional<AttributedString> piece = textOfObject(*object);
        if (!piece || piece->isEmpty())
            continue;
        if (!text.isEmpty())
            text.append(AttributedString(QStringLiteral("\n"), piece->attributesAt(0)));
        text.append(*piece);
    }
    if (addBackgroundPdfText) {
        if (const std::optional<QString> pdfText = backgroundPdfText(document)) {
            text.append(AttributedString(QStringLiteral("\n")));
            text.append(AttributedString(*pdfText));
        }
    }
    return text;
}

RtfDocumentAttributes currentDocumentAttributes(VekDocument &document)
{
    RtfDocumentAttributes attributes;
    attributes.title = document.title();
    attributes.author = document.author();
    attributes.subject = document.subject();
    attributes.copyright = document.copyright();
    const PropertyList metadata = document.documentMetaData();
    attributes.keywords = metadata.value(QStringLiteral("NSKeywordsDocumentAttribute")).stringListValue();
    const PrintInfo &print = document.printInfo();
    attributes.paperSize = print.paperSize;
    attributes.leftMargin = print.leftMargin;
    attributes.rightMargin = print.rightMargin;
    attributes.topMargin = print.topMargin;
    attributes.bottomMargin = print.bottomMargin;
    const Size page = document.drawAreaSizePerPage();
    attributes.viewSize = Size(page.width, page.height * float(document.numberOfPages()));
    const Color background = document.backgroundColor();
    if (background.alphaComponent() > 0.09f)
        attributes.backgroundColor = background;
    attributes.creationTime = QDateTime::currentDateTime();
    return attributes;
}

std::optional<QByteArray> encodedText(const QString &text, const QByteArray &encoding)
{
    iconv_t converter = iconv_open(encoding.constData(), "UTF-8");
    if (converter == iconv_t(-1))
        return std::nullopt;
    QByteArray utf8 = text.toUtf8();
    QByteArray out(utf8.size() * 4 + 16, '\0');
    char *in = utf8.data();
    size_t inLeft = size_t(utf8.size());
    char *to = out.data();
    size_t toLeft = size_t(out.size());
    const bool ok = iconv(converter, &in, &inLeft, &to, &toLeft) != size_t(-1)
                 && iconv(converter, nullptr, nullptr, &to, &toLeft) != size_t(-1);
    iconv_close(converter);
    if (!ok)
        return std::nullopt;
    out.resize(out.size() - qsizetype(toLeft));
    return out;
}

TextExportResult saveTextAs(VekDocument &document, const QString &path, bool rtf, bool addBackgroundPdfText,
                            const QByteArray &encoding, QString *error)
{
    const AttributedString text = documentText(document, addBackgroundPdfText);
    if (text.string().trimmed().isEmpty())
        return TextExportResult::NoText;
    QByteArray bytes;
    if (rtf) {
        bytes = RTFFromRange(text, {0, text.length()}, currentDocumentAttributes(document));
    } else if (std::optional<QByteArray> encoded = encodedText(text.string(), encoding)) {
        bytes = *encoded;
    } else {
        if (error)
            *error = QStringLiteral("The text cannot be written in the encoding %1.").arg(QString::fromLatin1(encoding));
        return TextExportResult::Failed;
    }
    return writeWholeFile(path, bytes, error) ? TextExportResult::Saved : TextExportResult::Failed;
}
