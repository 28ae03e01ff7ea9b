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

#include <cmath>
#include <optional>
#include <set>
#include <string>

namespace {

using Token = QPDFTokenizer::Token;

struct Op {
    std::vector<Token> operands;
    std::string name;
    Token op;
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

Token compacted(const Token &token)
{
    if (token.getType() != QPDFTokenizer::tt_real)
        return token;
    bool ok = false;
    const double value = QByteArray::fromStdString(token.getValue()).toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::abs(value) > 1e9)
        return token;
    // Four decimals: a ten-thousandth of a point or of a colour component.
    QByteArray text = QByteArray::number(std::round(value * 10000) / 10000, 'f', 4);
    while (text.endsWith('0'))
        text.chop(1);
    if (text.endsWith('.'))
        text.chop(1);
    if (text == "-0")
        text = "0";
    return Token(QPDFTokenizer::tt_real, text.toStdString());
}

bool sameOperands(const Op &a, const Op &b)
{
    if (a.name != b.name || a.operands.size() != b.operands.size())
        return false;
    for (size_t i = 0; i < a.operands.size(); ++i)
        if (a.operands[i].getValue() != b.operands[i].getValue())
            return false;
    return true;
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
    for (size_t i = 0; i < ops.size(); ++i) {
        Op &op = ops[i];
        State &state = stack.back();
        const std::string operand = op.operands.size() == 1 ? op.operands[0].getValue() : std::string();
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
// (state set after the painting is never used and is left out).
struct PaintGroup {
    size_t paintIndex = 0;
    size_t end = 0;                  // index after the "Q"
    std::vector<Op> state, path;
    std::string paint;
};

std::optional<PaintGroup> paintGroupAt(const std::vector<Op> &ops, size_t i, const std::set<std::string> &stateOps)
{
    if (i >= ops.size() || ops[i].name != "q")
        return std::nullopt;
    PaintGroup group;
    size_t k = i + 1;
    for (; k < ops.size() && isOneOf(ops[k].name, stateOps); ++k)
        group.state.push_back(ops[k]);
    for (; k < ops.size() && isOneOf(ops[k].name, PathOps); ++k)
        group.path.push_back(ops[k]);
    if (group.path.empty() || k >= ops.size())
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
    for (size_t i = 0; i < ops.size();) {
        const auto fill = paintGroupAt(ops, i, FillStateOps);
        const auto stroke = fill && (fill->paint == "f" || fill->paint == "f*")
                                ? paintGroupAt(ops, fill->end, StrokeStateOps)
                                : std::nullopt;
        bool samePath = stroke && stroke->paint == "S" && stroke->path.size() == fill->path.size();
        for (size_t k = 0; samePath && k < fill->path.size(); ++k)
            samePath = sameOperands(fill->path[k], stroke->path[k]);
        if (!samePath) {
            out.push_back(std::move(ops[i++]));
            continue;
        }
        out.push_back(ops[i]);
        out.insert(out.end(), fill->state.begin(), fill->state.end());
        out.insert(out.end(), stroke->state.begin(), stroke->state.end());
        out.insert(out.end(), fill->path.begin(), fill->path.end());
        Op paint = ops[fill->paintIndex];
        paint.name = fill->paint == "f*" ? "B*" : "B";
        paint.op = Token(QPDFTokenizer::tt_word, paint.name);
        out.push_back(paint);
        out.push_back(ops[stroke->end - 1]);
        i = stroke->end;
    }
    return out;
}

// State set just before a restore is never used; a group that only sets state is empty.
std::vector<Op> withoutUnusedState(std::vector<Op> ops)
{
    std::vector<Op> out;
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
            m_operands.push_back(compacted(token));
            return;
        }
        m_ops.push_back({std::move(m_operands), token.getValue(), token});
        m_operands.clear();
    }

private:
    void finish()
    {
        const std::vector<Op> ops =
            withoutUnusedState(withFillAndStrokeMerged(withoutRepeatedState(std::move(m_ops))));
        for (const Op &op : ops) {
            for (const Token &operand : op.operands) {
                writeToken(operand);
                write(" ");
            }
            writeToken(op.op);
            write("\n");
        }
        // Operands without an operator (a damaged stream) are kept as they came.
        for (const Token &operand : m_operands) {
            writeToken(operand);
            write(" ");
        }
    }

    std::vector<Op> m_ops;
    std::vector<Token> m_operands;
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
