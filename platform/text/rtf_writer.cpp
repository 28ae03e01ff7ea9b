// RTF writer: font and colour tables, then paragraph by paragraph the changes of formatting.
#include "platform/text/code_page.h"
#include "platform/text/font_registry.h"
#include "platform/text/rtf.h"

#include <QBuffer>
#include <QImageReader>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// What the reader's character state holds, in the writer's terms.
struct CharFormat {
    int font = -1;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    int underline = 0;
    int underlineColor = 0;
    int strike = 0;
    int strikeColor = 0;
    int foreground = 0;
    int background = 0;
    std::optional<int> kerningTwips;
    int strokeWidth = 0;   // twentieths of a percent
    int strokeColor = 0;
    int baselineHalfPoints = 0;
    int obliqueness = 0;   // thousandths

    friend bool operator==(const CharFormat &, const CharFormat &) = default;
};

int twips(float points) { return int(std::lround(points * 20.0)); }

class RtfWriter {
public:
    RtfWriter(const AttributedString &text, QList<TextAttachment> *files, const RtfDocumentAttributes *document = nullptr)
        : m_text(text), m_files(files), m_document(document)
    {
    }
    QByteArray write();

private:
    int fontIndex(const QString &name);
    int colorIndex(const std::optional<Color> &color);
    CharFormat formatOf(const TextAttributes &a);
    void writeFormat(const CharFormat &f);
    void writeParagraphStyle(const ParagraphStyle &p);
    void writeText(const QString &s);
    void writeAttachment(const TextAttachment &attachment);
    void writeColorTables();
    // The information group and the page settings, after the tables.
    QByteArray documentAttributes();

    const AttributedString &m_text;
    QList<TextAttachment> *m_files;
    const RtfDocumentAttributes *m_document;
    QStringList m_fonts;
    std::vector<Color> m_colors;
    QByteArray m_body;
    CharFormat m_current;
    // Paragraph formatting carries over to the next paragraph in RTF, so a style is written
    // only where it differs from the one before.
    std::optional<ParagraphStyle> m_lastParagraph;
    float m_defaultTab = 0;   // the document's \deftab
    QSet<QString> m_fileNames;
};

int RtfWriter::fontIndex(const QString &name)
{
    int i = int(m_fonts.indexOf(name));
    if (i < 0) {
        m_fonts.append(name);
        i = int(m_fonts.size()) - 1;
    }
    return i;
}

int RtfWriter::colorIndex(const std::optional<Color> &color)
{
    if (!color)
        return 0;
    for (size_t i = 0; i < m_colors.size(); ++i)
        if (m_colors[i] == *color)
            return int(i) + 1;
    m_colors.push_back(*color);
    return int(m_colors.size());
}

CharFormat RtfWriter::formatOf(const TextAttributes &a)
{
    CharFormat f;
    Font font = a.font.value_or(Font{QStringLiteral("Helvetica"), 12});
    f.font = fontIndex(font.name);
    f.halfPoints = std::max(1, int(std::lround(font.size * 2)));
    if (auto traits = fontTraits(font.name)) {
        f.bold = traits->bold;
        f.italic = traits->italic;
    }
    f.underline = a.underlineStyle.value_or(0);
    if (f.underline)
        f.underlineColor = colorIndex(a.underlineColor);
    f.strike = a.strikethroughStyle.value_or(0);
    if (f.strike)
        f.strikeColor = colorIndex(a.strikethroughColor);
    f.foreground = colorIndex(a.foregroundColor);
    f.background = colorIndex(a.backgroundColor);
    if (a.kerning)
        f.kerningTwips = twips(*a.kerning);
    if (a.strokeWidth && *a.strokeWidth != 0) {
        f.strokeWidth = twips(*a.strokeWidth);
        f.strokeColor = colorIndex(a.strokeColor);
    }
    if (a.baselineOffset)
        f.baselineHalfPoints = int(std::lround(*a.baselineOffset * 2));
    if (a.obliqueness)
        f.obliqueness = int(std::lround(*a.obliqueness * 1000));
    return f;
}

QByteArray underlineWord(int style)
{
    switch (style) {
    case 0: return "\\ulnone";
    case UnderlineStyleSingle: return "\\ul";
    case UnderlineStyleDouble: return "\\uldb";
    case UnderlineStyleThick: return "\\ulth";
    case UnderlineStyleSingle | UnderlinePatternDot: return "\\uld";
    case UnderlineStyleSingle | UnderlinePatternDash: return "\\uldash";
    case UnderlineStyleSingle | UnderlinePatternDashDot: return "\\uldashd";
    case UnderlineStyleSingle | UnderlinePatternDashDotDot: return "\\uldashdd";
    case UnderlineStyleSingle | UnderlineByWord: return "\\ulw";
    default: return "\\ulstyle" + QByteArray::number(style);
    }
}

QByteArray strikeWord(int style)
{
    switch (style) {
    case 0: return "\\strike0";
    case UnderlineStyleSingle: return "\\strike";
    case UnderlineStyleDouble: return "\\striked1";
    default: return "\\strikestyle" + QByteArray::number(style);
    }
}

void RtfWriter::writeFormat(const CharFormat &f)
{
    QByteArray out;
    CharFormat &c = m_current;
    // Kerning has no word for "none": start from \plain when it must go away.
    if (c.kerningTwips && !f.kerningTwips) {
        out += "\\plain";
        c = CharFormat{};
    }
    auto num = [](int v) { return QByteArray::number(v); };
    if (f.font != c.font) out += "\\f" + num(f.font);
    if (f.halfPoints != c.halfPoints) out += "\\fs" + num(f.halfPoints);
    if (f.bold != c.bold) out += f.bold ? "\\b" : "\\b0";
    if (f.italic != c.italic) out += f.italic ? "\\i" : "\\i0";
    if (f.underline != c.underline) out += underlineWord(f.underline);
    if (f.underlineColor != c.underlineColor) out += "\\ulc" + num(f.underlineColor);
    if (f.strike != c.strike) out += strikeWord(f.strike);
    if (f.strikeColor != c.strikeColor) out += "\\strikec" + num(f.strikeColor);
    if (f.foreground != c.foreground) out += "\\cf" + num(f.foreground);
    if (f.background != c.background) out += "\\cb" + num(f.background);
    if (f.kerningTwips != c.kerningTwips)
        out += "\\expnd" + num(int(std::lround(*f.kerningTwips / 5.0))) + "\\expndtw" + num(*f.kerningTwips);
    if (f.strokeWidth != c.strokeWidth) out += "\\outl0\\strokewidth" + num(f.strokeWidth);
    if (f.strokeColor != c.strokeColor) out += "\\strokec" + num(f.strokeColor);
    if (f.baselineHalfPoints != c.baselineHalfPoints)
        out += f.baselineHalfPoints >= 0 ? "\\up" + num(f.baselineHalfPoints) : "\\dn" + num(-f.baselineHalfPoints);
    if (f.obliqueness != c.obliqueness) out += "\\obliqueness" + num(f.obliqueness);
    if (!out.isEmpty())
        m_body += out + ' ';
    c = f;
}

void RtfWriter::writeParagraphStyle(const ParagraphStyle &p)
{
    if (m_lastParagraph == p)
        return;
    m_lastParagraph = p;
    QByteArray out = "\\pard";
    auto num = [](int v) { return QByteArray::number(v); };
    if (p.defaultTabInterval > 0 && p.defaultTabInterval != m_defaultTab)
        out += "\\pardeftab" + num(twips(p.defaultTabInterval));
    for (const TextTab &tab : p.tabStops) {
        switch (tab.type) {
        case TextTabType::Right: out += "\\tqr"; break;
        case TextTabType::Center: out += "\\tqc"; break;
        case TextTabType::Decimal: out += "\\tqdec"; break;
        case TextTabType::Left: break;
        }
        out += "\\tx" + num(twips(tab.location));
    }
    switch (p.alignment) {
    case TextAlignment::Left: out += "\\ql"; break;
    case TextAlignment::Right: out += "\\qr"; break;
    case TextAlignment::Center: out += "\\qc"; break;
    case TextAlignment::Justified: out += "\\qj"; break;
    case TextAlignment::Natural: out += "\\ql\\qnatural"; break;
    }
    if (p.headIndent != 0) out += "\\li" + num(twips(p.headIndent));
    if (p.firstLineHeadIndent != p.headIndent) out += "\\fi" + num(twips(p.firstLineHeadIndent) - twips(p.headIndent));
    if (p.tailIndent < 0) out += "\\ri" + num(-twips(p.tailIndent));
    if (p.tailIndent > 0) out += "\\tailindent" + num(twips(p.tailIndent));
    if (p.paragraphSpacingBefore != 0) out += "\\sb" + num(twips(p.paragraphSpacingBefore));
    if (p.paragraphSpacing != 0) out += "\\sa" + num(twips(p.paragraphSpacing));
    // \sl holds one line height: a multiple (\slmult1) or else the minimum height in the
    // standard form (\slmult0) that other readers take; a minimum beside a multiple is ours.
    if (p.lineHeightMultiple > 0) {
        out += "\\sl" + num(int(std::lround(p.lineHeightMultiple * 240))) + "\\slmult1";
        if (p.minimumLineHeight > 0) out += "\\slminimum" + num(twips(p.minimumLineHeight));
    } else if (p.minimumLineHeight > 0) {
        out += "\\sl" + num(twips(p.minimumLineHeight)) + "\\slmult0";
    }
    if (p.maximumLineHeight > 0) out += "\\slmaximum" + num(twips(p.maximumLineHeight));
    if (p.lineSpacing != 0) out += "\\slleading" + num(twips(p.lineSpacing));
    if (p.hyphenationFactor > 0) out += "\\hyphfactor" + num(int(std::lround(p.hyphenationFactor * 100)));
    m_body += out + '\n';
}

void RtfWriter::writeText(const QString &s)
{
    QByteArray &out = m_body;
    for (QChar c : s) {
        char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}') {
            out += '\\';
            out += char(u);
        } else if (u == u'\t') {
            out += "\\tab ";
        } else if (u == u'\n' || u == u'\r' || u == 0x2029) {
            out += "\\\n";
        } else if (u == 0x2028) {
            out += "\\line ";
        } else if (u == 0x00A0) {
            out += "\\~";
        } else if (u == 0x00AD) {
            out += "\\-";
        } else if (u == 0x2011) {
            out += "\\_";
        } else if (u >= 0x20 && u < 0x7F) {
            out += char(u);
        } else if (auto b = encodeWindows1252(c)) {
            out += "\\'" + QByteArray::number(*b, 16).rightJustified(2, '0');
        } else {
            out += "\\u" + QByteArray::number(int(int16_t(u))) + ' ';
        }
    }
}

void RtfWriter::writeAttachment(const TextAttachment &attachment)
{
    if (!m_files)
        return;
    // File names are unique within the folder.
    QString name = attachment.fileName;
    name.replace(u'/', u'_').replace(u'\\', u'_');
    // "." and ".." (or no name) would name the folder itself or its parent.
    if (name.count(u'.') == name.size())
        name = QStringLiteral("Attachment");
    if (name == QLatin1String("TXT.rtf") || m_fileNames.contains(name)) {
        QString base = name.section(u'.', 0, 0), ext = name.section(u'.', 1);
        for (int i = 1; m_fileNames.contains(name) || name == QLatin1String("TXT.rtf"); ++i)
            name = base + QLatin1Char('_') + QString::number(i) + (ext.isEmpty() ? QString() : QLatin1Char('.') + ext);
    }
    m_fileNames.insert(name);
    m_files->append({name, attachment.contents});
    QBuffer buffer;
    buffer.setData(attachment.contents);
    QSize size = QImageReader(&buffer).size();
    m_body += "{{\\NeXTGraphic ";
    writeText(name);
    m_body += " \\width" + QByteArray::number(std::max(0, size.width()) * 20) + " \\height"
        + QByteArray::number(std::max(0, size.height()) * 20) + "}\\'ac}";
}

void RtfWriter::writeColorTables()
{
    // The plain table for every reader, the extended one for the exact colour and space.
    QByteArray plain = "{\\colortbl;", exact = "{\\*\\expandedcolortbl;";
    auto c100k = [](float v) { return "\\c" + QByteArray::number(int(std::lround(v * 100000.0))); };
    for (const Color &c : m_colors) {
        std::optional<Color> rgb = c.colorUsingColorSpaceName(CalibratedRGBColorSpace);
        float r = rgb ? rgb->redComponent() : 0, g = rgb ? rgb->greenComponent() : 0, b = rgb ? rgb->blueComponent() : 0;
        auto byte = [](float v) { return QByteArray::number(std::clamp(int(std::lround(v * 255)), 0, 255)); };
        plain += "\\red" + byte(r) + "\\green" + byte(g) + "\\blue" + byte(b) + ';';
        float comps[Color::maxComponents + 1] = {};
        int n = 0;
        QByteArray space;
        Color exactColor = c;
        switch (c.kind()) {
        case Color::Kind::CalibratedWhite: space = "\\csgray"; break;
        case Color::Kind::DeviceWhite: space = "\\csdevicegray"; break;
        case Color::Kind::CalibratedRGB: space = "\\csgenericrgb"; break;
        case Color::Kind::DeviceRGB: space = "\\csdevicergb"; break;
        case Color::Kind::DeviceCMYK: space = "\\csdevicecmyk"; break;
        default:
            space = "\\csgenericrgb";
            exactColor = rgb.value_or(Color::blackColor());
            break;
        }
        n = exactColor.numberOfComponents();
        exactColor.getComponents(comps);
        exact += space;
        for (int i = 0; i < n; ++i) {
            if (i == n - 1 && comps[i] == 1.0f)
                break;   // opaque: alpha left out
            exact += c100k(comps[i]);
        }
        exact += ';';
    }
    m_body += plain + "}\n" + exact + "}\n";
}

QByteArray RtfWriter::write()
{
    // The body first, so that the tables know every font and colour.
    QByteArray header = "{\\rtf1\\ansi\\ansicpg1252\\uc0\\deff0";
    const QString &s = m_text.string();
    int length = m_text.length();
    QByteArray body;
    int pos = 0;
    while (pos < length) {
        TextRange para = m_text.paragraphRange({pos, 0});
        ParagraphStyle style = m_text.attributesAt(para.location).paragraphStyle.value_or(ParagraphStyle{});
        if (pos == 0)
            m_defaultTab = style.defaultTabInterval;
        writeParagraphStyle(style);
        int i = para.location;
        while (i < para.end()) {
            TextRange linkRange = m_text.longestEffectiveRange(TextAttribute::Link, i, para);
            const std::optional<QString> &link = m_text.attributesAt(i).link;
            CharFormat outside = m_current;
            if (link) {
                m_body += "{\\field{\\*\\fldinst{HYPERLINK \"";
                QString target = *link;
                target.replace(u'\\', QLatin1String("\\\\")).replace(u'"', QLatin1String("\\\""));
                writeText(target);
                m_body += "\"}}{\\fldrslt ";
            }
            m_text.enumerateRuns(linkRange, [&](const TextRun &run) {
                writeFormat(formatOf(run.attributes));
                if (run.attributes.attachment && s[run.range.location] == QChar(AttachmentCharacter)) {
                    for (int k = 0; k < run.range.length; ++k)
                        writeAttachment(*run.attributes.attachment);
                } else {
                    QString part = s.mid(run.range.location, run.range.length);
                    if (!m_files || !run.attributes.attachment)
                        part.remove(QChar(AttachmentCharacter));
                    writeText(part);
                }
            });
            if (link) {
                m_body += "}}";
                m_current = outside;   // the field's group ends its formatting
            }
            i = linkRange.end();
        }
        pos = para.end();
    }
    body.swap(m_body);
    m_body.clear();
    if (m_defaultTab > 0)
        header += "\\deftab" + QByteArray::number(twips(m_defaultTab));
    header += "\n{\\fonttbl";
    for (int i = 0; i < m_fonts.size(); ++i) {
        header += "\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 ";
        m_body.clear();
        writeText(m_fonts[i]);
        header += m_body + ';';
    }
    header += "}\n";
    m_body.clear();
    writeColorTables();
    header += m_body;
    if (m_document)
        header += documentAttributes();
    return header + body + "}";
}

QByteArray RtfWriter::documentAttributes()
{
    const RtfDocumentAttributes &d = *m_document;
    auto textGroup = [this](const char *word, const QString &value) {
        if (value.isEmpty())
            return QByteArray();
        m_body.clear();
        writeText(value);
        return "{" + QByteArray(word) + " " + m_body + "}";
    };
    QByteArray info = textGroup("\\title", d.title) + textGroup("\\author", d.author) + textGroup("\\subject", d.subject)
        + textGroup("\\*\\copyright", d.copyright) + textGroup("\\keywords", d.keywords.join(QStringLiteral(", ")));
    if (d.creationTime.isValid()) {
        const QDateTime t = d.creationTime;
        info += "{\\creatim\\yr" + QByteArray::number(t.date().year()) + "\\mo" + QByteArray::number(t.date().month())
            + "\\dy" + QByteArray::number(t.date().day()) + "\\hr" + QByteArray::number(t.time().hour()) + "\\min"
            + QByteArray::number(t.time().minute()) + "}";
    }
    QByteArray out = info.isEmpty() ? QByteArray() : "{\\info\n" + info + "}\n";
    auto length = [](const char *word, float points) { return QByteArray(word) + QByteArray::number(twips(points)); };
    if (d.paperSize)
        out += length("\\paperw", d.paperSize->width) + length("\\paperh", d.paperSize->height);
    const std::pair<const char *, const std::optional<float> *> margins[] = {
        {"\\margl", &d.leftMargin}, {"\\margr", &d.rightMargin}, {"\\margt", &d.topMargin}, {"\\margb", &d.bottomMargin}};
    for (const auto &[word, value] : margins)
        if (*value)
            out += length(word, **value);
    if (d.viewSize)
        out += length("\\vieww", d.viewSize->width) + length("\\viewh", d.viewSize->height) + "\\viewkind0";
    if (d.backgroundColor) {
        // The page colour is a background shape whose fill colour is 0xBBGGRR.
        const Color rgb = d.backgroundColor->colorUsingColorSpaceName(CalibratedRGBColorSpace).value_or(*d.backgroundColor);
        auto byte = [](float v) { return int(std::lround(std::clamp(v, 0.0f, 1.0f) * 255)); };
        const int bgr = byte(rgb.redComponent()) | byte(rgb.greenComponent()) << 8 | byte(rgb.blueComponent()) << 16;
        out += "\\viewbksp1\n{\\*\\background {\\shp{\\*\\shpinst{\\sp{\\sn fillColor}{\\sv " + QByteArray::number(bgr)
            + "}}}}}";
    }
    return out.isEmpty() ? out : out + "\n";
}

} // namespace

QByteArray RTFFromRange(const AttributedString &text, TextRange range)
{
    AttributedString part = text.substring(range);
    return RtfWriter(part, nullptr).write();
}

QByteArray RTFFromRange(const AttributedString &text, TextRange range, const RtfDocumentAttributes &document)
{
    AttributedString part = text.substring(range);
    return RtfWriter(part, nullptr, &document).write();
}

QByteArray RTFWithAttachments(const AttributedString &text, TextRange range, QList<TextAttachment> *files)
{
    AttributedString part = text.substring(range);
    QList<TextAttachment> collected;
    QByteArray rtf = RtfWriter(part, &collected).write();
    if (files)
        *files = collected;
    return rtf;
}
