// PdfRewriter::compactContents: makes page contents smaller without changing what they show.
// Qt's PDF engine writes numbers with nine decimals, names the colour space, graphics state,
// colours and line style again before every shape, writes state that is never used before
// the next restore or is replaced before it is used whenever a pen or a transform changes,
// and fills and strokes a shape as two groups that each carry the whole path.
#include "platform/pdf/pdf_content_operators.h"
#include "platform/pdf/pdf_rewriter.h"
#include "platform/pdf/pdf_rewriter_private.h"

#include <libdeflate.h>
#include <qpdf/Pl_String.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <algorithm>
#include <iterator>
#include <limits>
#include <memory>
#include <optional>
#include <string>

namespace {

using Op = ContentOperators::Op;
using Ops = std::vector<Op>;

// A state operator whose whole effect later state operators replace before anything else
// comes (painting, a path, a save or restore, text) is never used: Qt resets the pen after
// each shape it fills and strokes at once, and the next shape sets its own.
Ops withoutOverwrittenState(const ContentOperators &content, const Ops &ops)
{
    enum Slot : uint16_t {
        FillSpace = 1 << 0, FillColour = 1 << 1, StrokeSpace = 1 << 2, StrokeColour = 1 << 3, LineWidth = 1 << 4,
        LineCap = 1 << 5, LineJoin = 1 << 6, MiterLimit = 1 << 7, Dash = 1 << 8, Intent = 1 << 9, Flatness = 1 << 10,
    };
    // What the operator sets; a colour space also sets the colour. 0 for "cm" and "gs", which
    // add to the state rather than replace a part of it.
    const auto slotsOf = [&](const Op &op) -> uint16_t {
        if (op.is(ContentOperators::FillSpace) || op.is(ContentOperators::DeviceFill))
            return FillSpace | FillColour;
        if (op.is(ContentOperators::FillColour))
            return FillColour;
        if (op.is(ContentOperators::StrokeSpace) || op.is(ContentOperators::DeviceStroke))
            return StrokeSpace | StrokeColour;
        if (op.is(ContentOperators::StrokeColour))
            return StrokeColour;
        const std::string_view name = content.name(op);
        return name == "w" ? LineWidth : name == "J" ? LineCap : name == "j" ? LineJoin : name == "M" ? MiterLimit
             : name == "d" ? Dash : name == "ri" ? Intent : name == "i" ? Flatness : 0;
    };
    std::vector<bool> kept(ops.size(), true);
    uint16_t setLater = 0;
    for (size_t i = ops.size(); i-- > 0;) {
        if (!ops[i].is(ContentOperators::SetsState)) {
            setLater = 0;
            continue;
        }
        const uint16_t sets = slotsOf(ops[i]);
        kept[i] = sets == 0 || (setLater & sets) != sets;
        setLater |= sets;
    }
    Ops out;
    out.reserve(ops.size());
    for (size_t i = 0; i < ops.size(); ++i)
        if (kept[i])
            out.push_back(ops[i]);
    return out;
}

// Leaves out state that is already the current one: a graphics state, a colour, a line
// width, cap, join, miter limit, dash, intent or flatness, and a colour space when a colour
// follows (naming it also resets the colour).
Ops withoutRepeatedState(const ContentOperators &content, const Ops &ops)
{
    // An operator's name and operands; empty while the value is not known.
    struct Value {
        std::string_view name, operands;
        bool operator==(const Value &other) const { return name == other.name && operands == other.operands; }
    };
    struct State {
        std::string_view gs, fillSpace, strokeSpace;
        Value fill, stroke;
        Value line[7];   // w J j M d ri i
    };
    const auto lineSlot = [](std::string_view name) -> int {
        static constexpr std::string_view Names[] = {"w", "J", "j", "M", "d", "ri", "i"};
        for (int k = 0; k < 7; ++k)
            if (Names[k] == name)
                return k;
        return -1;
    };
    std::vector<State> stack(1);
    Ops out;
    out.reserve(ops.size());
    for (size_t i = 0; i < ops.size(); ++i) {
        const Op &op = ops[i];
        State &state = stack.back();
        const std::string_view operand = content.operands(op);
        const Value value{content.name(op), operand};
        if (op.is(ContentOperators::SaveState)) {
            stack.push_back(state);
        } else if (op.is(ContentOperators::RestoreState)) {
            if (stack.size() > 1)
                stack.pop_back();
        } else if (op.is(ContentOperators::GraphicsState)) {
            if (operand == state.gs)
                continue;
            state.gs = operand;
            std::fill(std::begin(state.line), std::end(state.line), Value{});   // a state may set them
        } else if (op.is(ContentOperators::FillSpace) || op.is(ContentOperators::StrokeSpace)) {
            const bool fill = op.is(ContentOperators::FillSpace);
            const bool colourFollows =
                i + 1 < ops.size()
                && ops[i + 1].is(fill ? ContentOperators::FillColour : ContentOperators::StrokeColour);
            std::string_view &space = fill ? state.fillSpace : state.strokeSpace;
            if (operand == space && colourFollows)
                continue;
            space = operand;
            (fill ? state.fill : state.stroke) = Value{};
        } else if (const bool fill = op.is(ContentOperators::FillColour) || op.is(ContentOperators::DeviceFill);
                   fill || op.is(ContentOperators::StrokeColour) || op.is(ContentOperators::DeviceStroke)) {
            // A device colour's value tells its space: the same value means the same space.
            Value &colour = fill ? state.fill : state.stroke;
            if (value == colour)
                continue;
            colour = value;
            if (op.is(fill ? ContentOperators::DeviceFill : ContentOperators::DeviceStroke))
                (fill ? state.fillSpace : state.strokeSpace) = {};
        } else if (const int slot = op.is(ContentOperators::SetsState) ? lineSlot(value.name) : -1; slot >= 0) {
            if (value == state.line[slot])
                continue;
            state.line[slot] = value;
        }
        out.push_back(op);
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
    size_t pathLength() const { return paintIndex - pathBegin; }
};

std::optional<PaintGroup> paintGroupAt(const Ops &ops, size_t i, ContentOperators::Kind stateKind)
{
    if (i >= ops.size() || !ops[i].is(ContentOperators::SaveState))
        return std::nullopt;
    PaintGroup group;
    size_t k = i + 1;
    group.stateBegin = k;
    for (; k < ops.size() && ops[k].is(stateKind); ++k) {
    }
    group.pathBegin = k;
    for (; k < ops.size() && ops[k].is(ContentOperators::PathPart); ++k) {
    }
    if (k == group.pathBegin || k >= ops.size())
        return std::nullopt;
    group.paintIndex = k;
    for (++k; k < ops.size() && ops[k].is(ContentOperators::SetsState); ++k) {
    }
    if (k >= ops.size() || !ops[k].is(ContentOperators::RestoreState))
        return std::nullopt;
    group.end = k + 1;
    return group;
}

// A filled group followed by a stroked group of the same path becomes one group that fills
// and strokes it ("B"). Only fill state may precede the fill and only stroke state the
// stroke, so neither changes what the other paints.
Ops withFillAndStrokeMerged(ContentOperators &content, const Ops &ops)
{
    Ops out;
    out.reserve(ops.size());
    auto copy = [&](size_t begin, size_t end) { out.insert(out.end(), ops.begin() + begin, ops.begin() + end); };
    for (size_t i = 0; i < ops.size();) {
        const auto fill = paintGroupAt(ops, i, ContentOperators::FillState);
        const std::string_view fillPaint = fill ? content.name(ops[fill->paintIndex]) : std::string_view();
        const auto stroke = fillPaint == "f" || fillPaint == "f*"
                                ? paintGroupAt(ops, fill->end, ContentOperators::StrokeState)
                                : std::nullopt;
        bool samePath =
            stroke && content.name(ops[stroke->paintIndex]) == "S" && stroke->pathLength() == fill->pathLength();
        for (size_t k = 0; samePath && k < fill->pathLength(); ++k)
            samePath = content.sameOperands(ops[fill->pathBegin + k], ops[stroke->pathBegin + k]);
        if (!samePath) {
            out.push_back(ops[i++]);
            continue;
        }
        copy(i, i + 1);
        copy(fill->stateBegin, fill->pathBegin);
        copy(stroke->stateBegin, stroke->pathBegin);
        copy(fill->pathBegin, fill->paintIndex);
        Op paint = ops[fill->paintIndex];
        content.rename(paint, fillPaint == "f*" ? "B*" : "B");
        out.push_back(paint);
        copy(stroke->end - 1, stroke->end);
        i = stroke->end;
    }
    return out;
}

// State set just before a restore is never used; a group that only sets state is empty.
Ops withoutUnusedState(const Ops &ops)
{
    Ops out;
    out.reserve(ops.size());
    for (const Op &op : ops) {
        if (op.is(ContentOperators::RestoreState)) {
            while (!out.empty() && out.back().is(ContentOperators::SetsState))
                out.pop_back();
            if (!out.empty() && out.back().is(ContentOperators::SaveState)) {
                out.pop_back();
                continue;
            }
        }
        out.push_back(op);
    }
    return out;
}

// The stream as FlateDecode data. libdeflate at its level 6 makes slightly smaller data
// than zlib's default level in less than half the time, and the writer keeps data that is
// already deflated as it is.
std::string deflated(const std::string &text)
{
    const std::unique_ptr<libdeflate_compressor, decltype(&libdeflate_free_compressor)> compressor(
        libdeflate_alloc_compressor(6), &libdeflate_free_compressor);
    if (!compressor)
        throw std::bad_alloc();
    std::string out(libdeflate_zlib_compress_bound(compressor.get(), text.size()), '\0');
    out.resize(libdeflate_zlib_compress(compressor.get(), text.data(), text.size(), out.data(), out.size()));
    return out;
}

std::string compacted(const std::string &stream)
{
    ContentOperators content(stream);
    content.ops() = withoutUnusedState(withFillAndStrokeMerged(
        content, withoutRepeatedState(content, withoutOverwrittenState(content, content.ops()))));
    return content.text();
}

} // namespace

bool PdfRewriter::compactContents()
{
    if (!d->open)
        return fail(QStringLiteral("no document is open"));
    try {
        for (QPDFPageObjectHelper &page : QPDFPageDocumentHelper(d->pdf).getAllPages()) {
            std::string stream;
            Pl_String pipeline("page contents", nullptr, stream);
            page.pipeContents(&pipeline);
            // The operators count their text in 32 bits; a larger page stays as it is.
            if (stream.size() > std::numeric_limits<uint32_t>::max() / 2)
                continue;
            QPDFObjectHandle contents = d->pdf.newStream();
            contents.replaceStreamData(deflated(compacted(stream)), QPDFObjectHandle::newName("/FlateDecode"),
                                       QPDFObjectHandle::newNull());
            page.getObjectHandle().replaceKey("/Contents", contents);
        }
        return true;
    } catch (const std::exception &e) {
        return fail(QString::fromLocal8Bit(e.what()));
    }
}
