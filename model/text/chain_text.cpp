// The text of a chain of linked boxes, read in place.
#include "model/text/chain_text.h"

#include <algorithm>

ChainText::ChainText(std::vector<Piece> pieces) : m_pieces(std::move(pieces))
{
    m_starts.reserve(m_pieces.size() + 1);
    int start = 0;
    for (const Piece &p : m_pieces) {
        m_starts.push_back(start);
        start += p.length;
    }
    m_starts.push_back(start);
}

int ChainText::pieceAt(int index) const
{
    // The last piece that begins at or before index (empty pieces are passed over).
    const auto it = std::upper_bound(m_starts.begin(), m_starts.end() - 1, index);
    return int(it - m_starts.begin()) - 1;
}

QChar ChainText::at(int index) const
{
    const int i = pieceAt(index);
    return m_pieces[i].text.string()[index - m_starts[i]];
}

AttributedString ChainText::slice(int from, int to) const
{
    from = std::clamp(from, 0, length());
    to = std::clamp(to, from, length());
    AttributedString result;
    for (int i = from < to ? pieceAt(from) : int(m_pieces.size()); i < int(m_pieces.size()) && m_starts[i] < to; ++i) {
        const int start = std::max(from, m_starts[i]) - m_starts[i];
        const int end = std::min(to, m_starts[i + 1]) - m_starts[i];
        if (end <= start)
            continue;
        // A whole piece alone is shared, not copied.
        const AttributedString part = m_pieces[i].text.substring({start, end - start});
        if (result.isEmpty())
            result = part;
        else
            result.append(part);
    }
    return result;
}

int ChainText::find(int from, int limit, const std::function<bool(QChar)> &test) const
{
    limit = std::min(limit, length());
    if (from >= limit)
        return limit;
    for (int i = pieceAt(from); i < int(m_pieces.size()) && m_starts[i] < limit; ++i) {
        const QString &s = m_pieces[i].text.string();
        const int end = std::min(limit, m_starts[i + 1]) - m_starts[i];
        for (int k = std::max(from, m_starts[i]) - m_starts[i]; k < end; ++k) {
            if (test(s[k]))
                return m_starts[i] + k;
        }
    }
    return limit;
}
