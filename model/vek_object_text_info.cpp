// VekObject: the text-information rows (one per stretch of text in one font and size) that
// the document's font statistics and the inspector's run table show.
#include "model/vek_object.h"

#include "platform/text/attributed_string.h"

namespace {

// The point size as the rows write it: one decimal, C locale.
QString sizeText(float size)
{
    return QString::number(double(size), 'f', 1);
}

bool sameFontRow(const Font &a, const Font &b)
{
    return a.name == b.name && sizeText(a.size) == sizeText(b.size);
}

} // namespace

PropertyList VekObject::getTextInfoArrayFor(const AttributedString &text, const PropertyList &additionalInfo)
{
    if (text.isEmpty())
        return {};
    PropertyList rows = PropertyList::array();
    const std::vector<TextRun> &runs = text.runs();
    const QString &string = text.string();
    // A row's offset is where its first run begins, so that its offset and length are its
    // character range even when runs without a font (left out of the rows) came before.
    QString pending;
    int rowStart = -1;
    for (size_t i = 0; i < runs.size(); ++i) {
        const TextRun &run = runs[i];
        if (!run.attributes.font)
            continue;
        if (rowStart < 0)
            rowStart = run.range.location;
        pending += string.mid(run.range.location, run.range.length);
        const Font &font = *run.attributes.font;
        if (i + 1 < runs.size() && runs[i + 1].attributes.font && sameFontRow(font, *runs[i + 1].attributes.font))
            continue;
        PropertyList row = PropertyList::array();
        row.append(font.name);
        row.append(sizeText(font.size));
        row.append(pending);
        row.append(PropertyList::fromInt(rowStart));
        if (!additionalInfo.isAbsent())
            row.append(additionalInfo);
        rows.append(row);
        pending.clear();
        rowStart = -1;
    }
    return rows.count() > 0 ? rows : PropertyList();
}
