// Headers and footers of printed pages: cells, variables and tab stops.
#include "canvas/page_headers.h"

#include "document/vek_document.h"
#include "model/calendar_date_format.h"
#include "platform/text/rtf.h"

#include <pwd.h>
#include <unistd.h>

#include <array>

namespace {

// Longer names first, so that "#VPAGETOTAL" is not read as "#VPAGE" followed by "TOTAL".
const std::array<QString, 5> VariableNames = {QStringLiteral("#VPAGETOTAL"), QStringLiteral("#VPAGE"),
                                              QStringLiteral("#VDATE"), QStringLiteral("#VTITLE"),
                                              QStringLiteral("#VAUTHOR")};

QString valueOf(const QString &name, const PageVariables &v)
{
    if (name == QLatin1String("#VPAGETOTAL"))
        return QString::number(v.pageCount);
    if (name == QLatin1String("#VPAGE"))
        return QString::number(v.page);
    if (name == QLatin1String("#VDATE"))
        return describeDate(v.now, v.dateFormat.isEmpty() ? DefaultCalendarFormat : v.dateFormat);
    if (name == QLatin1String("#VTITLE"))
        return v.title;
    return v.author;
}

QString userFullName()
{
    const passwd *entry = getpwuid(getuid());
    if (!entry)
        return {};
    // The comment field holds the full name first, then other entries after commas.
    QString name = QString::fromLocal8Bit(entry->pw_gecos).section(QLatin1Char(','), 0, 0).trimmed();
    return name.isEmpty() ? QString::fromLocal8Bit(entry->pw_name) : name;
}

std::optional<AttributedString> cell(VekDocument &document, const QString &key)
{
    const QByteArray data = document.borderinfo().value(key).dataValue();
    if (data.isEmpty())
        return std::nullopt;
    return attributedStringWithRTFD(data);
}

std::optional<AttributedString> composeLine(VekDocument &document, const PageVariables &variables, float pageWidth,
                                            const QString &prefix)
{
    const bool even = variables.page % 2 == 0;
    std::array<AttributedString, 3> parts;
    const std::array<QString, 3> positions = {QStringLiteral("Lt"), QStringLiteral("Md"), QStringLiteral("Rt")};
    bool any = false;
    for (size_t i = 0; i < 3; ++i) {
        const QString key = prefix + positions[i];
        std::optional<AttributedString> text = cell(document, key);
        if (text)
            text = changeVarToConst(*text, variables);
        if (!text || text->isEmpty()) {
            text = cell(document, key + (even ? QStringLiteral("E") : QStringLiteral("O")));
            if (text)
                text = changeVarToConst(*text, variables);
        }
        if (text && !text->isEmpty()) {
            parts[i] = *text;
            any = true;
        }
    }
    if (!any)
        return std::nullopt;

    AttributedString line = parts[0];
    ParagraphStyle style;
    auto addTab = [&](const AttributedString &part, TextTabType type, float location) {
        const TextAttributes attributes = part.attributesAt(0);
        line.append(AttributedString(QStringLiteral("\t"), attributes));
        line.append(part);
        style.tabStops.append(TextTab{type, location});
    };
    if (!parts[1].isEmpty())
        addTab(parts[1], TextTabType::Center, pageWidth * 0.5f);
    if (!parts[2].isEmpty())
        addTab(parts[2], TextTabType::Right, pageWidth);
    if (!style.tabStops.isEmpty())
        line.modifyAttributes({0, line.length()}, [&](TextAttributes &a) { a.paragraphStyle = style; });
    return line;
}

} // namespace

PageVariables pageVariablesFor(VekDocument &document, int page, int pageCount, const QString &displayName)
{
    PageVariables v;
    v.page = page;
    v.pageCount = pageCount;
    v.title = document.title().isEmpty() ? displayName : document.title();
    v.author = document.author().isEmpty() ? userFullName() : document.author();
    v.dateFormat = document.borderinfo().value(QStringLiteral("frmDate")).stringValue();
    return v;
}

AttributedString changeVarToConst(const AttributedString &text, const PageVariables &variables)
{
    AttributedString result = text;
    int at = 0;
    while (at < result.length()) {
        const QString &chars = result.string();
        const QString *found = nullptr;
        for (const QString &name : VariableNames) {
            if (QStringView(chars).mid(at).startsWith(name)) {
                found = &name;
                break;
            }
        }
        if (!found) {
            ++at;
            continue;
        }
        TextAttributes attributes = result.attributesAt(at);
        const QString value = valueOf(*found, variables);
        result.replaceCharacters({at, int(found->length())}, AttributedString(value, attributes));
        at += int(value.length());   // what was put in is not searched again
    }
    return result;
}

std::optional<AttributedString> pageHeader(VekDocument &document, const PageVariables &variables, float pageWidth)
{
    return composeLine(document, variables, pageWidth, QStringLiteral("hd"));
}

std::optional<AttributedString> pageFooter(VekDocument &document, const PageVariables &variables, float pageWidth)
{
    return composeLine(document, variables, pageWidth, QStringLiteral("ft"));
}

bool pageShowsHeaderAndFooter(VekDocument &document, int page, int pageCount)
{
    if (!document.addBorder())
        return false;
    const PropertyList &info = document.borderinfo();
    if (page == 1 && info.value(QStringLiteral("exFirst")).intValue() == 1)
        return false;
    return !(page == pageCount && info.value(QStringLiteral("exLast")).intValue() == 1);
}
