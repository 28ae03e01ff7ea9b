// The text of a chain of linked text boxes, read as one without copying it: the boxes'
// texts one after the other. Flowing a long chain asks for slices of it, so that it copies
// only what it lays out and what moves into a box.
#pragma once

#include "platform/text/attributed_string.h"

#include <functional>
#include <vector>

class ChainText {
public:
    // A box's text, of which the first `length` characters belong to the chain (a hyphen
    // that an earlier flow put at a box's end does not).
    struct Piece {
        AttributedString text;
        int length = 0;
    };

    explicit ChainText(std::vector<Piece> pieces);

    int length() const { return m_starts.back(); }
    // Where piece i begins in the whole; the whole's length for i = the number of pieces.
    int pieceStart(int i) const { return m_starts[i]; }
    QChar at(int index) const;
    // The characters [from, to) with their attributes.
    AttributedString slice(int from, int to) const;
    // The first index in [from, limit) whose character passes the test, else limit.
    int find(int from, int limit, const std::function<bool(QChar)> &test) const;

private:
    int pieceAt(int index) const;

    std::vector<Piece> m_pieces;
    std::vector<int> m_starts;
};
