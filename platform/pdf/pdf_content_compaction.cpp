// PdfRewriter::compactContents: makes page contents smaller without changing what they show.
// Qt's PDF engine writes numbers with nine decimals, names the colour space and graphics
// state again before every fill, writes state that is never used before the next restore
// whenever a pen or a transform changes, and fills and strokes a shape as two groups that
// each carry the whole path.
#include "platform/pdf/pdf_rewriter.h"
#include "platform/pdf/pdf_rewriter_private.h"

#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <QByteArray>

#include <charconv>
#include <cmath>
#include <optional>
#include <set>
#include <string>

namespace {

using Token = QPDFTokenizer::Token;

// One operator with its operands as they will be written: each operand's text followed by
// a blank. A page holds hundreds of thousands of operators, so an operator is two strings,
// cheap to move, not a list of tokens.
struct Op {
    std::string operands;
    std::string name;
};

bool isOneOf(const std::string &name, const std::set<std::string> &names)
{
    return names.count(name) != 0;
}

// Operators that only change the graphics state, which "Q" restores.
const std::set<std::string> StateOps = {"cm", "w", "J", "j", "M", "d", "ri", "i", "gs", "CS", "cs",
                                        "SC", "SCN", "sc", "scn", "G", "g", "RG", "rg", "K", "k"};
const std::set<std::string> FillStateOps = {"cs", "sc", "scn", "g", "rg", "k", "gs"};
const std::set<std::string> StrokeStateOps = {"CS", "SC", "SCN", "G", "RG", "K", "w", "J", "j", "M", "d"};
const std::set<std::string> PathOps = {"m", "l", "c", "v", "y", "h", "re"};
const std::set<std::string> FillColourOps = {"sc", "scn"};
const std::set<std::string> StrokeColourOps = {"SC", "SCN"};
const std::set<std::string> DeviceFillOps = {"g", "rg", "k"};
const std::set<std::string> DeviceStrokeOps = {"G", "RG", "K"};

// Appends the token as it is written: reals with at most four decimals (a ten-thousandth
// of a point or of a colour component), everything else as it came.
void appendCompacted(std::string &out, const Token &token)
{
    const std::string &raw = token.getRawValue();
    if (token.getType() == QPDFTokenizer::tt_real) {
        // from_chars and to_chars ignore the C library's locale, which Qt sets from the
        // environment (a decimal comma would break the stream).
        const char *begin = raw.data() + (raw.size() > 1 && raw[0] == '+' ? 1 : 0);
        double value = 0;
        const auto parsed = std::from_chars(begin, raw.data() + raw.size(), value);
        if (parsed.ec == std::errc() && std::isfinite(value) && std::abs(value) <= 1e9) {
            char text[32];
            const auto written = std::to_chars(text, text + sizeof text, std::round(value * 10000) / 10000,
                                               std::chars_format::fixed, 4);
            size_t n = size_t(written.ptr - text);
            while (n > 0 && text[n - 1] == '0')
                --n;
            if (n > 0 && text[n - 1] == '.')
                --n;
            if (n == 2 && text[0] == '-' && text[1] == '0')
                n = 1, text[0] = '0';
            out.append(text, n);
            return;
        }
    }
    out += raw;
}

bool sameOperands(const Op &a, const Op &b)
{
    return a.name == b.name && a.operands == b.operands;
}

// Leaves out a graphics state or colour space that is already the current one (a colour
// space only when a colour follows, since naming it also resets the colour).
std::vector<Op> withoutRepeatedState(std::vector<Op> ops)
{
    struct State {
        std::string gs, fillSpace, strokeSpace;
    };
    std::vector<State> stack(1);
    std::vector<Op> out;
    out.reserve(ops.size());
    for (size_t i = 0; i < ops.size(); ++i) {
        Op &op = ops[i];
        State &state = stack.back();
        const std::string &operand = op.operands;
        const bool colourFollows =
            i + 1 < ops.size() && isOneOf(ops[i + 1].name, op.name == "cs" ? FillColourOps : StrokeColourOps);
        if (op.name == "q") {
            stack.push_back(state);
        } else if (op.name == "Q") {
            if (stack.size() > 1)
                stack.pop_back();
        } else if (op.name == "gs") {
            if (operand == state.gs)
                continue;
            state.gs = operand;
        } else if (op.name == "cs" || op.name == "CS") {
            std::string &space = op.name == "cs" ? state.fillSpace : state.strokeSpace;
            if (operand == space && colourFollows)
                continue;
            space = operand;
        } else if (isOneOf(op.name, DeviceFillOps)) {
            state.fillSpace.clear();
        } else if (isOneOf(op.name, DeviceStrokeOps)) {
            state.strokeSpace.clear();
        }
        out.push_back(std::move(op));
    }
    return out;
}

// One group of a shape: "q", state ops of one kind, a path, one painting operator, "Q"
// (state set after the painting is never used and is left out). The parts are index
// ranges of the operator list.
struct PaintGroup {
    size_t stateBegin = 0, pathBegin = 0;   // the state ends where the path begins
    size_t paintIndex = 0;                  // the path ends here
    size_t end = 0;                         // index after the "Q"
    std::string paint;
    size_t pathLength() const { return paintIndex - pathBegin; }
};

std::optional<PaintGroup> paintGroupAt(const std::vector<Op> &ops, size_t i, const std::set<std::string> &stateOps)
{
    if (i >= ops.size() || ops[i].name != "q")
        return std::nullopt;
    PaintGroup group;
    size_t k = i + 1;
    group.stateBegin = k;
    for (; k < ops.size() && isOneOf(ops[k].name, stateOps); ++k) {
    }
    group.pathBegin = k;
    for (; k < ops.size() && isOneOf(ops[k].name, PathOps); ++k) {
    }
    if (k == group.pathBegin || k >= ops.size())
        return std::nullopt;
    group.paint = ops[k].name;
    group.paintIndex = k;
    for (++k; k < ops.size() && isOneOf(ops[k].name, StateOps); ++k) {
    }
    if (k >= ops.size() || ops[k].name != "Q")
        return std::nullopt;
    group.end = k + 1;
    return group;
}

// A filled group followed by a stroked group of the same path becomes one group that fills
// and strokes it ("B"). Only fill state may precede the fill and only stroke state the
// stroke, so neither changes what the other paints.
std::vector<Op> withFillAndStrokeMerged(std::vector<Op> ops)
{
    std::vector<Op> out;
    out.reserve(ops.size());
    auto move = [&](size_t begin, size_t end) {
        for (size_t k = begin; k < end; ++k)
            out.push_back(std::move(ops[k]));
    };
    for (size_t i = 0; i < ops.size();) {
        const auto fill = paintGroupAt(ops, i, FillStateOps);
        const auto stroke = fill && (fill->paint == "f" || fill->paint == "f*")
                                ? paintGroupAt(ops, fill->end, StrokeStateOps)
                                : std::nullopt;
        bool samePath = stroke && stroke->paint == "S" && stroke->pathLength() == fill->pathLength();
        for (size_t k = 0; samePath && k < fill->pathLength(); ++k)
            samePath = sameOperands(ops[fill->pathBegin + k], ops[stroke->pathBegin + k]);
        if (!samePath) {
            out.push_back(std::move(ops[i++]));
            continue;
        }
        move(i, i + 1);
        move(fill->stateBegin, fill->pathBegin);
        move(stroke->stateBegin, stroke->pathBegin);
        move(fill->pathBegin, fill->paintIndex);
        Op paint = std::move(ops[fill->paintIndex]);
        paint.name = fill->paint == "f*" ? "B*" : "B";
        out.push_back(std::move(paint));
        move(stroke->end - 1, stroke->end);
        i = stroke->end;
    }
    return out;
}

// State set just before a restore is never used; a group that only sets state is empty.
std::vector<Op> withoutUnusedState(std::vector<Op> ops)
{
    std::vector<Op> out;
    out.reserve(ops.size());
    for (Op &op : ops) {
        if (op.name == "Q") {
            while (!out.empty() && isOneOf(out.back().name, StateOps))
                out.pop_back();
            if (!out.empty() && out.back().name == "q") {
                out.pop_back();
                continue;
            }
        }
        out.push_back(std::move(op));
    }
    return out;
}

class ContentCompactor : public QPDFObjectHandle::TokenFilter {
public:
    void handleToken(const Token &token) override
    {
        const auto type = token.getType();
        if (type == QPDFTokenizer::tt_eof) {
            finish();
            return;
        }
        if (type == QPDFTokenizer::tt_space || type == QPDFTokenizer::tt_comment)
            return;
        if (type != QPDFTokenizer::tt_word) {
            appendCompacted(m_operands, token);
            m_operands += ' ';
            return;
        }
        m_ops.push_back({std::move(m_operands), token.getValue()});
        m_operands.clear();
    }

private:
    void finish()
    {
        const std::vector<Op> ops =
            withoutUnusedState(withFillAndStrokeMerged(withoutRepeatedState(std::move(m_ops))));
        std::string text;
        for (const Op &op : ops) {
            text += op.operands;
            text += op.name;
            text += '\n';
            if (text.size() > 65536) {
                write(text);
                text.clear();
            }
        }
        // Operands without an operator (a damaged stream) are kept as they came.
        text += m_operands;
        write(text);
    }

    std::vector<Op> m_ops;
    std::string m_operands;
};

} // namespace

bool PdfRewriter::compactContents()
{
    if (!d->open)
        return fail(QStringLiteral("no document is open"));
    try {
        for (QPDFPageObjectHelper &page : QPDFPageDocumentHelper(d->pdf).getAllPages())
            page.addContentTokenFilter(std::make_shared<ContentCompactor>());
        return true;
    } catch (const std::exception &e) {
        return fail(QString::fromLocal8Bit(e.what()));
    }
}
