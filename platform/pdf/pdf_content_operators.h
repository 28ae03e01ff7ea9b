// A page's content stream read as a list of operators, for passes that rewrite it.
//
// Each operator's operands are kept as they will be written: every operand followed by a
// blank, reals with at most four decimals (a ten-thousandth of a point or of a colour
// component), everything else as it came; comments are left out. A page holds hundreds of
// thousands of operators, so their text lives in one string shared by all of them and an
// operator is a few offsets into it with the kinds of its name, cheap to copy and compare.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class ContentOperators {
public:
    // What an operator does, as far as the passes care (a name may have several kinds).
    enum Kind : uint16_t {
        SaveState = 1 << 0,      // q
        RestoreState = 1 << 1,   // Q
        SetsState = 1 << 2,      // anything "Q" restores: transform, line, colour, gs
        FillState = 1 << 3,      // state that only fills use
        StrokeState = 1 << 4,    // state that only strokes use
        PathPart = 1 << 5,       // m l c v y h re
        FillSpace = 1 << 6,      // cs
        StrokeSpace = 1 << 7,    // CS
        FillColour = 1 << 8,     // sc scn
        StrokeColour = 1 << 9,   // SC SCN
        DeviceFill = 1 << 10,    // g rg k
        DeviceStroke = 1 << 11,  // G RG K
        GraphicsState = 1 << 12, // gs
    };
    struct Op {
        uint32_t operandsBegin = 0, operandsEnd = 0, nameBegin = 0, nameEnd = 0;
        uint16_t kinds = 0;
        bool is(Kind kind) const { return (kinds & kind) != 0; }
    };

    // Reads the stream; operands left without an operator (a damaged stream) are kept as
    // they came and written last.
    explicit ContentOperators(std::string_view stream);

    std::vector<Op> &ops() { return m_ops; }
    std::string_view name(const Op &op) const { return view(op.nameBegin, op.nameEnd); }
    std::string_view operands(const Op &op) const { return view(op.operandsBegin, op.operandsEnd); }
    bool sameOperands(const Op &a, const Op &b) const { return name(a) == name(b) && operands(a) == operands(b); }
    // Gives the operator another name (with the kinds of that name).
    void rename(Op &op, std::string_view name);

    // The operators as a content stream, one a line.
    std::string text() const;

private:
    std::string_view view(uint32_t begin, uint32_t end) const
    {
        return std::string_view(m_text).substr(begin, end - begin);
    }
    void addOperator(std::string_view name, uint32_t operandsBegin);

    std::string m_text;
    std::vector<Op> m_ops;
    uint32_t m_pendingOperands = 0; // where the operands of the next operator begin
    uint32_t m_trailingEnd = 0;     // where operands without an operator end
};
