// RTF reader: a tokenizer and a group-state machine that builds an attributed string.
#include "platform/text/code_page.h"
#include "platform/text/font_registry.h"
#include "platform/text/rtf.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int MaxDepth = 256;            // deeper groups are read as part of their parent
constexpr long long MaxParameter = 1000000000;

enum class Destination { Text, FontTable, ColorTable, ExpandedColorTable, FieldInstruction, Attachment, Skip };

struct CharState {
    int font = -1;
    float size = 12;
    bool bold = false;
    bool italic = false;
    int underline = 0;
    int underlineColor = 0;
    int strike = 0;
    int strikeColor = 0;
    int foreground = 0;
    int background = 0;
    std::optional<float> kerning;
    std::optional<float> strokeWidth;
    int strokeColor = 0;
    float baseline = 0;
    std::optional<float> obliqueness;
    std::optional<QString> link;

    friend bool operator==(const CharState &, const CharState &) = default;
};

struct GroupState {
    CharState ch;
    ParagraphStyle para;
    TextTabType pendingTab = TextTabType::Left;
    int lineSpacingValue = 0;   // the last \sl, interpreted with \slmult
    Destination destination = Destination::Text;
    int unicodeSkip = 1;        // \uc
    bool fieldResult = false;
};

struct FontEntry {
    QString name;
    std::optional<int> codePage;
};

class RtfReader {
public:
    RtfReader(const QByteArray &data, const AttachmentLookup &lookup) : m_data(data), m_lookup(lookup) {}
    AttributedString read();

private:
    void handleControlWord(const QByteArray &word, std::optional<long long> param);
    void handleText(QChar c);
    void addByte(char b) { m_pendingBytes.append(b); }
    void flushBytes();
    void flushText();
    void endParagraph();
    void openGroup();
    void closeGroup();
    void endColorEntry();
    TextAttributes attributesFor(const CharState &ch);
    std::optional<Color> color(int index) const;
    int codePage() const;

    GroupState &state() { return m_stack.back(); }

    const QByteArray &m_data;
    const AttachmentLookup &m_lookup;
    std::vector<GroupState> m_stack;
    int m_overflowDepth = 0;
    bool m_ignorable = false;
    int m_skip = 0;   // characters still to skip after \u
    int m_documentCodePage = 1252;
    int m_defaultFont = 0;
    float m_defaultTab = 0;

    QHash<int, FontEntry> m_fonts;
    int m_fontEntry = -1;
    QString m_fontName;
    std::vector<std::optional<Color>> m_colors;
    std::vector<std::optional<Color>> m_expandedColors;
    int m_red = -1, m_green = -1, m_blue = -1;
    QString m_colorSpace;
    std::vector<float> m_colorComponents;

    QString m_fieldInstruction;
    QString m_attachmentName;
    std::optional<QString> m_pendingAttachment;

    QByteArray m_pendingBytes;
    QString m_pendingText;
    CharState m_pendingState;
    AttributedString m_result;
    int m_paragraphStart = 0;
    QHash<QString, QString> m_traitNames;
};

std::optional<Color> calibrated255(int r, int g, int b)
{
    return Color::colorWithCalibratedRed(std::clamp(r, 0, 255) / 255.0f, std::clamp(g, 0, 255) / 255.0f,
                                         std::clamp(b, 0, 255) / 255.0f);
}

AttributedString RtfReader::read()
{
    m_stack.push_back({});
    const char *p = m_data.constData();
    const char *end = p + m_data.size();
    while (p < end) {
        char c = *p++;
        if (c == '{') {
            flushBytes();
            openGroup();
        } else if (c == '}') {
            flushBytes();
            closeGroup();
        } else if (c == '\\') {
            if (p >= end)
                break;
            char n = *p;
            if ((n >= 'a' && n <= 'z') || (n >= 'A' && n <= 'Z')) {
                const char *start = p;
                while (p < end && p - start < 32 && ((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z')))
                    ++p;
                QByteArray word(start, p - start);
                while (p < end && ((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z')))
                    ++p;   // an overlong word is cut, not split into text
                std::optional<long long> param;
                bool negative = false;
                if (p < end && *p == '-' && p + 1 < end && *(p + 1) >= '0' && *(p + 1) <= '9') {
                    negative = true;
                    ++p;
                }
                if (p < end && *p >= '0' && *p <= '9') {
                    long long v = 0;
                    while (p < end && *p >= '0' && *p <= '9') {
                        v = std::min(v * 10 + (*p - '0'), MaxParameter);
                        ++p;
                    }
                    param = negative ? -v : v;
                }
                if (p < end && *p == ' ')
                    ++p;
                if (word != "u" || !param)
                    flushBytes();
                handleControlWord(word, param);
            } else if (n == '\'') {
                ++p;
                int value = -1;
                if (end - p >= 2) {
                    bool ok = false;
                    value = QByteArray(p, 2).toInt(&ok, 16);
                    if (!ok)
                        value = -1;
                    p += 2;
                } else {
                    p = end;
                }
                if (m_skip > 0) {
                    --m_skip;
                } else if (value >= 0) {
                    addByte(char(value));
                }
            } else {
                ++p;
                flushBytes();
                switch (n) {
                case '\\': case '{': case '}': handleText(QLatin1Char(n)); break;
                case '~': handleText(QChar(0x00A0)); break;
                case '-': handleText(QChar(0x00AD)); break;
                case '_': handleText(QChar(0x2011)); break;
                case '*': m_ignorable = true; break;
                case '\n': case '\r': handleControlWord("par", std::nullopt); break;
                case '\t': handleText(u'\t'); break;
                default: break;
                }
            }
        } else if (c == '\r' || c == '\n') {
            // Line ends in RTF source are not text.
        } else {
            if (m_skip > 0) {
                --m_skip;
                continue;
            }
            if (uchar(c) >= 0x80 || !m_pendingBytes.isEmpty()) {
                addByte(c);
            } else {
                handleText(QLatin1Char(c));
            }
        }
    }
    flushBytes();
    flushText();
    // A text that ends without a paragraph mark still takes the paragraph's style.
    if (m_paragraphStart < m_result.length())
        endParagraph();
    return m_result;
}

void RtfReader::openGroup()
{
    m_ignorable = false;
    if (m_stack.size() >= MaxDepth) {
        ++m_overflowDepth;
        return;
    }
    GroupState copy = state();
    copy.fieldResult = false;
    m_stack.push_back(copy);
}

void RtfReader::closeGroup()
{
    m_ignorable = false;
    m_skip = 0;
    if (m_overflowDepth > 0) {
        --m_overflowDepth;
        return;
    }
    if (m_stack.size() <= 1)
        return;   // unbalanced "}": keep reading with the outermost state
    if (m_stack.size() == 2) {
        // The document group ends: its last paragraph takes the style in force here.
        flushText();
        if (m_paragraphStart < m_result.length())
            endParagraph();
    }
    Destination closing = state().destination;
    Destination parent = m_stack[m_stack.size() - 2].destination;
    if (closing == Destination::FontTable && parent != Destination::FontTable && !m_fontName.trimmed().isEmpty())
        m_fonts[m_fontEntry].name = m_fontName.trimmed();
    if (closing == Destination::Attachment && parent != Destination::Attachment) {
        m_pendingAttachment = m_attachmentName.trimmed();
        m_attachmentName.clear();
    }
    m_stack.pop_back();
}

int RtfReader::codePage() const
{
    int font = m_stack.back().ch.font;
    auto it = m_fonts.constFind(font);
    if (it != m_fonts.constEnd() && it->codePage)
        return *it->codePage;
    return m_documentCodePage;
}

void RtfReader::flushBytes()
{
    if (m_pendingBytes.isEmpty())
        return;
    QByteArray bytes = m_pendingBytes;
    m_pendingBytes.clear();
    QString text = decodeCodePage(bytes, codePage());
    for (QChar c : text)
        handleText(c);
}

void RtfReader::handleText(QChar c)
{
    GroupState &s = state();
    switch (s.destination) {
    case Destination::Text:
        break;
    case Destination::FontTable:
        if (c == u';') {
            if (!m_fontName.trimmed().isEmpty())
                m_fonts[m_fontEntry].name = m_fontName.trimmed();
            m_fontName.clear();
        } else {
            m_fontName.append(c);
        }
        return;
    case Destination::ColorTable:
    case Destination::ExpandedColorTable:
        if (c == u';')
            endColorEntry();
        return;
    case Destination::FieldInstruction:
        m_fieldInstruction.append(c);
        return;
    case Destination::Attachment:
        m_attachmentName.append(c);
        return;
    case Destination::Skip:
        return;
    }
    if (m_pendingAttachment) {
        // The character after an attachment reference stands for the attachment.
        flushText();
        TextAttributes attrs = attributesFor(s.ch);
        TextAttachment attachment{*m_pendingAttachment, {}};
        if (m_lookup) {
            if (auto data = m_lookup(attachment.fileName))
                attachment.contents = *data;
        }
        attrs.attachment = attachment;
        m_pendingAttachment.reset();
        m_result.append(AttributedString(QString(QChar(AttachmentCharacter)), attrs));
        return;
    }
    if (!m_pendingText.isEmpty() && !(m_pendingState == s.ch))
        flushText();
    if (m_pendingText.isEmpty())
        m_pendingState = s.ch;
    m_pendingText.append(c);
}

void RtfReader::flushText()
{
    if (m_pendingText.isEmpty())
        return;
    m_result.append(AttributedString(m_pendingText, attributesFor(m_pendingState)));
    m_pendingText.clear();
}

void RtfReader::endParagraph()
{
    flushText();
    ParagraphStyle style = state().para;
    if (style.defaultTabInterval == 0)
        style.defaultTabInterval = m_defaultTab;
    TextAttributes attrs;
    attrs.paragraphStyle = style;
    m_result.addAttributes(attrs, {m_paragraphStart, m_result.length() - m_paragraphStart});
    m_paragraphStart = m_result.length();
}

std::optional<Color> RtfReader::color(int index) const
{
    if (index > 0 && index < int(m_expandedColors.size()) && m_expandedColors[index])
        return m_expandedColors[index];
    if (index > 0 && index < int(m_colors.size()))
        return m_colors[index];
    return std::nullopt;
}

void RtfReader::endColorEntry()
{
    bool expanded = state().destination == Destination::ExpandedColorTable;
    std::optional<Color> c;
    if (expanded) {
        const auto &v = m_colorComponents;
        auto comp = [&](size_t i) { return i < v.size() ? v[i] : 0.0f; };
        auto alpha = [&](size_t n) { return v.size() > n ? v[n] : 1.0f; };
        if (m_colorSpace == "csgray" || m_colorSpace == "csgenericgray")
            c = Color::colorWithCalibratedWhite(comp(0), alpha(1));
        else if (m_colorSpace == "csdevicegray")
            c = Color::colorWithDeviceWhite(comp(0), alpha(1));
        else if (m_colorSpace == "csgenericrgb")
            c = Color::colorWithCalibratedRed(comp(0), comp(1), comp(2), alpha(3));
        else if (m_colorSpace == "cssrgb" || m_colorSpace == "csdevicergb")
            c = Color::colorWithDeviceRed(comp(0), comp(1), comp(2), alpha(3));
        else if (m_colorSpace == "csdevicecmyk")
            c = Color::colorWithDeviceCyan(comp(0), comp(1), comp(2), comp(3), alpha(4));
        m_expandedColors.push_back(c);
    } else {
        if (m_red >= 0 || m_green >= 0 || m_blue >= 0)
            c = calibrated255(std::max(m_red, 0), std::max(m_green, 0), std::max(m_blue, 0));
        m_colors.push_back(c);
    }
    m_red = m_green = m_blue = -1;
    m_colorSpace.clear();
    m_colorComponents.clear();
}

TextAttributes RtfReader::attributesFor(const CharState &ch)
{
    TextAttributes a;
    QString name = m_fonts.value(ch.font >= 0 ? ch.font : m_defaultFont).name;
    if (name.isEmpty())
        name = QStringLiteral("Helvetica");
    QString key = name + QLatin1Char(ch.bold ? 'b' : '-') + QLatin1Char(ch.italic ? 'i' : '-');
    auto it = m_traitNames.find(key);
    if (it == m_traitNames.end()) {
        // The table names a face or a family; \b and \i ask for the face of its family with
        // those traits, but only change the name when the face's own traits differ (a family
        // name, or a face that is not installed, has no traits of its own).
        QString resolved = name;
        const auto traits = fontTraits(name);
        if (traits ? traits->bold != ch.bold || traits->italic != ch.italic : ch.bold || ch.italic)
            resolved = fontNameWithTraits(name, ch.bold, ch.italic);
        it = m_traitNames.insert(key, resolved);
    }
    a.font = Font{*it, ch.size};
    a.foregroundColor = color(ch.foreground);
    a.backgroundColor = color(ch.background);
    if (ch.underline)
        a.underlineStyle = ch.underline;
    if (ch.underline)
        a.underlineColor = color(ch.underlineColor);
    if (ch.strike)
        a.strikethroughStyle = ch.strike;
    if (ch.strike)
        a.strikethroughColor = color(ch.strikeColor);
    a.kerning = ch.kerning;
    a.strokeWidth = ch.strokeWidth;
    if (ch.strokeWidth)
        a.strokeColor = color(ch.strokeColor);
    if (ch.baseline != 0)
        a.baselineOffset = ch.baseline;
    a.obliqueness = ch.obliqueness;
    a.link = ch.link;
    return a;
}

// Destinations whose contents are not text of the document.
bool isSkippedDestination(const QByteArray &w)
{
    static const char *const names[] = {
        "info", "stylesheet", "pict", "header", "footer", "headerl", "headerr", "headerf", "footerl", "footerr",
        "footerf", "footnote", "listtable", "listoverridetable", "generator", "themedata", "colorschememapping",
        "latentstyles", "datastore", "xmlnstbl", "rsidtbl", "object", "shp", "nonshppict", "bkmkstart", "bkmkend",
        "revtbl", "filetbl", "fldtype", "annotation", "atnid", "atnauthor", "comment", "title", "author",
        "operator", "keywords", "doccomm", "company", "creatim", "revtim", "printim", "buptim", "userprops",
        "pgdsctbl", "mmathPr", "panose", "falt",
    };
    for (const char *n : names)
        if (w == n)
            return true;
    return false;
}

// The target of a HYPERLINK field instruction; in quotes, a backslash escapes the next character.
QString hyperlinkTarget(const QString &instruction)
{
    static const QRegularExpression quoted(QStringLiteral("HYPERLINK\\s+(?:\\\\l\\s+)?\"((?:[^\"\\\\]|\\\\.)*)\""));
    static const QRegularExpression bare(QStringLiteral("HYPERLINK\\s+(\\S+)"));
    auto m = quoted.match(instruction);
    if (m.hasMatch()) {
        QString target = m.captured(1);
        static const QRegularExpression escape(QStringLiteral("\\\\(.)"));
        return target.replace(escape, QStringLiteral("\\1"));
    }
    m = bare.match(instruction);
    return m.hasMatch() ? m.captured(1) : QString();
}

void RtfReader::handleControlWord(const QByteArray &w, std::optional<long long> param)
{
    GroupState &s = state();
    CharState &ch = s.ch;
    ParagraphStyle &para = s.para;
    const int n = int(param.value_or(1));
    const float twips = n / 20.0f;
    bool ignorable = m_ignorable;
    m_ignorable = false;

    if (m_skip > 0 && w != "u") {
        --m_skip;
        return;
    }

    // Destinations.
    if (w == "fonttbl") { s.destination = Destination::FontTable; return; }
    if (w == "colortbl") { s.destination = Destination::ColorTable; m_colors.clear(); return; }
    if (w == "expandedcolortbl") { s.destination = Destination::ExpandedColorTable; m_expandedColors.clear(); return; }
    if (w == "field") { m_fieldInstruction.clear(); return; }
    if (w == "fldinst") { s.destination = Destination::FieldInstruction; m_fieldInstruction.clear(); return; }
    if (w == "fldrslt") {
        s.destination = Destination::Text;
        QString target = hyperlinkTarget(m_fieldInstruction);
        if (!target.isEmpty())
            ch.link = target;
        return;
    }
    if (w == "NeXTGraphic") { s.destination = Destination::Attachment; m_attachmentName.clear(); return; }
    if (isSkippedDestination(w)) { s.destination = Destination::Skip; return; }

    if (s.destination == Destination::FontTable) {
        if (w == "f") {
            m_fontEntry = n;
            m_fontName.clear();
        } else if (w == "fcharset") {
            m_fonts[m_fontEntry].codePage = codePageOfCharset(n);
        }
        return;
    }
    if (s.destination == Destination::ColorTable) {
        if (w == "red") m_red = n;
        else if (w == "green") m_green = n;
        else if (w == "blue") m_blue = n;
        return;
    }
    if (s.destination == Destination::ExpandedColorTable) {
        if (w.startsWith("cs"))
            m_colorSpace = QString::fromLatin1(w);
        else if (w == "c" && m_colorComponents.size() < 16)
            m_colorComponents.push_back(n / 100000.0f);
        return;
    }
    if (s.destination == Destination::Skip || s.destination == Destination::FieldInstruction
        || s.destination == Destination::Attachment)
        return;

    // Document.
    if (w == "ansicpg") { m_documentCodePage = n; return; }
    if (w == "mac") { m_documentCodePage = 10000; return; }
    if (w == "pc") { m_documentCodePage = 437; return; }
    if (w == "pca") { m_documentCodePage = 850; return; }
    if (w == "deff") { m_defaultFont = n; return; }
    if (w == "deftab") { m_defaultTab = std::max(0.0f, twips); return; }

    // Special characters.
    if (w == "par") { handleText(u'\n'); flushText(); endParagraph(); return; }
    if (w == "line") { handleText(QChar(0x2028)); return; }
    if (w == "tab") { handleText(u'\t'); return; }
    if (w == "page" || w == "sect") { handleText(u'\n'); flushText(); endParagraph(); return; }
    if (w == "emdash") { handleText(QChar(0x2014)); return; }
    if (w == "endash") { handleText(QChar(0x2013)); return; }
    if (w == "bullet") { handleText(QChar(0x2022)); return; }
    if (w == "lquote") { handleText(QChar(0x2018)); return; }
    if (w == "rquote") { handleText(QChar(0x2019)); return; }
    if (w == "ldblquote") { handleText(QChar(0x201C)); return; }
    if (w == "rdblquote") { handleText(QChar(0x201D)); return; }
    if (w == "uc") { s.unicodeSkip = std::clamp(n, 0, 16); return; }
    if (w == "u" && param) {
        long long v = *param;
        if (v < 0)
            v += 65536;
        flushBytes();
        if (v >= 0 && v <= 0xFFFF)
            handleText(QChar(char16_t(v)));
        m_skip = s.unicodeSkip;
        return;
    }

    // Character formatting.
    if (w == "plain") {
        std::optional<QString> link = ch.link;
        ch = CharState{};
        ch.link = link;
        return;
    }
    if (w == "f") { ch.font = n; return; }
    if (w == "fs") { ch.size = std::clamp(n, 1, 32000) / 2.0f; return; }
    if (w == "b") { ch.bold = n != 0; return; }
    if (w == "i") { ch.italic = n != 0; return; }
    if (w == "ul") { ch.underline = n ? UnderlineStyleSingle : 0; return; }
    if (w == "ulnone") { ch.underline = 0; return; }
    if (w == "uldb") { ch.underline = UnderlineStyleDouble; return; }
    if (w == "ulth") { ch.underline = UnderlineStyleThick; return; }
    if (w == "uld") { ch.underline = UnderlineStyleSingle | UnderlinePatternDot; return; }
    if (w == "uldash") { ch.underline = UnderlineStyleSingle | UnderlinePatternDash; return; }
    if (w == "uldashd") { ch.underline = UnderlineStyleSingle | UnderlinePatternDashDot; return; }
    if (w == "uldashdd") { ch.underline = UnderlineStyleSingle | UnderlinePatternDashDotDot; return; }
    if (w == "ulw") { ch.underline = UnderlineStyleSingle | UnderlineByWord; return; }
    if (w == "ulstyle") { ch.underline = n; return; }
    if (w == "ulc") { ch.underlineColor = n; return; }
    if (w == "strike") { ch.strike = n ? UnderlineStyleSingle : 0; return; }
    if (w == "striked") { ch.strike = n ? UnderlineStyleDouble : 0; return; }
    if (w == "strikestyle") { ch.strike = n; return; }
    if (w == "strikec") { ch.strikeColor = n; return; }
    if (w == "cf") { ch.foreground = n; return; }
    if (w == "cb" || w == "highlight") { ch.background = n; return; }
    if (w == "expnd") { ch.kerning = n / 4.0f; return; }
    if (w == "expndtw") { ch.kerning = n / 20.0f; return; }
    if (w == "outl") { if (n == 0) ch.strokeWidth.reset(); else ch.strokeWidth = 3.0f; return; }
    if (w == "strokewidth") { if (n == 0) ch.strokeWidth.reset(); else ch.strokeWidth = n / 20.0f; return; }
    if (w == "strokec") { ch.strokeColor = n; return; }
    if (w == "up") { ch.baseline = n / 2.0f; return; }
    if (w == "dn") { ch.baseline = -n / 2.0f; return; }
    if (w == "obliqueness") { if (n == 0) ch.obliqueness.reset(); else ch.obliqueness = n / 1000.0f; return; }

    // Paragraph formatting.
    if (w == "pard") {
        para = ParagraphStyle{};
        s.pendingTab = TextTabType::Left;
        s.lineSpacingValue = 0;
        return;
    }
    if (w == "pardeftab") { para.defaultTabInterval = std::max(0.0f, twips); return; }
    if (w == "ql") { para.alignment = TextAlignment::Left; return; }
    if (w == "qr") { para.alignment = TextAlignment::Right; return; }
    if (w == "qc") { para.alignment = TextAlignment::Center; return; }
    if (w == "qj") { para.alignment = TextAlignment::Justified; return; }
    if (w == "qn" || w == "qnatural") { para.alignment = TextAlignment::Natural; return; }
    if (w == "li") {
        float first = para.firstLineHeadIndent - para.headIndent;
        para.headIndent = twips;
        para.firstLineHeadIndent = twips + first;
        return;
    }
    if (w == "fi") { para.firstLineHeadIndent = para.headIndent + twips; return; }
    if (w == "ri") { para.tailIndent = -twips; return; }
    if (w == "tailindent") { para.tailIndent = twips; return; }
    if (w == "sa") { para.paragraphSpacing = twips; return; }
    if (w == "sb") { para.paragraphSpacingBefore = twips; return; }
    if (w == "sl") {
        // \sl without \slmult: above 0 at least that height, below 0 exactly that height.
        s.lineSpacingValue = n;
        para.lineHeightMultiple = 0;
        if (n > 0) {
            para.minimumLineHeight = twips;
        } else if (n < 0) {
            para.minimumLineHeight = para.maximumLineHeight = -twips;
        }
        return;
    }
    if (w == "slmult") {
        if (n == 1 && s.lineSpacingValue > 0) {
            para.lineHeightMultiple = s.lineSpacingValue / 240.0f;
            para.minimumLineHeight = 0;
        }
        return;
    }
    if (w == "slminimum") { para.minimumLineHeight = twips; return; }
    if (w == "slmaximum") { para.maximumLineHeight = twips; return; }
    if (w == "slleading") { para.lineSpacing = twips; return; }
    if (w == "hyphfactor") { para.hyphenationFactor = std::clamp(n / 100.0f, 0.0f, 1.0f); return; }
    if (w == "tqr") { s.pendingTab = TextTabType::Right; return; }
    if (w == "tqc") { s.pendingTab = TextTabType::Center; return; }
    if (w == "tqdec") { s.pendingTab = TextTabType::Decimal; return; }
    if (w == "tx") {
        if (para.tabStops.size() < 256) {
            TextTab tab{s.pendingTab, twips};
            auto pos = std::upper_bound(para.tabStops.begin(), para.tabStops.end(), tab,
                                        [](const TextTab &a, const TextTab &b) { return a.location < b.location; });
            para.tabStops.insert(pos, tab);
        }
        s.pendingTab = TextTabType::Left;
        return;
    }

    if (ignorable)
        s.destination = Destination::Skip;   // an unknown \* destination
}

} // namespace

std::optional<AttributedString> attributedStringWithRTF(const QByteArray &rtf, const AttachmentLookup &lookup)
{
    QByteArray head = rtf.left(64).trimmed();
    if (!head.startsWith("{\\rtf"))
        return std::nullopt;
    RtfReader reader(rtf, lookup);
    return reader.read();
}
