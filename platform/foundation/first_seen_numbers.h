// FirstSeenNumbers: the numbers an archiver gives texts (shared strings, class names,
// string objects) in the order it first writes them. Looking a text up allocates nothing,
// which matters because every value written looks up its type encoding: a few entries are
// searched in order, more through a hash index built once the table grows.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

template <typename Text>   // QByteArray or QString
class FirstSeenNumbers {
public:
    using Char = std::conditional_t<std::is_same_v<Text, QString>, char16_t, char>;
    using View = std::basic_string_view<Char>;

    static View viewOf(const Text &text) { return View(reinterpret_cast<const Char *>(text.constData()), size_t(text.size())); }

    std::optional<qint64> find(View text) const
    {
        if (m_index.empty()) {
            for (const auto &[stored, number] : m_entries)
                if (viewOf(stored) == text)
                    return number;
            return std::nullopt;
        }
        const auto it = m_index.find(text);
        return it == m_index.end() ? std::nullopt : std::optional<qint64>(it->second);
    }

    // The text must not be in the table yet. A view is copied; a Qt string is shared.
    void insert(View text, qint64 number)
    {
        insert(Text(reinterpret_cast<const typename Text::value_type *>(text.data()), qsizetype(text.size())), number);
    }
    void insert(const Text &text, qint64 number)
    {
        // The index keeps views of the stored texts: a Qt string's characters stay where
        // they are when the vector moves the string.
        m_entries.emplace_back(text, number);
        if (!m_index.empty()) {
            m_index.emplace(viewOf(m_entries.back().first), number);
        } else if (m_entries.size() > LinearSearchLimit) {
            m_index.reserve(2 * m_entries.size());
            for (const auto &[stored, n] : m_entries)
                m_index.emplace(viewOf(stored), n);
        }
    }

    qint64 size() const { return qint64(m_entries.size()); }

private:
    static constexpr size_t LinearSearchLimit = 16;

    std::vector<std::pair<Text, qint64>> m_entries;
    std::unordered_map<View, qint64> m_index;
};
