// Attributed string storage: a string and a sorted vector of merged runs.
#include "platform/text/attributed_string.h"

#include <algorithm>

struct AttributedString::Data {
    QString text;
    std::vector<TextRun> runs;   // cover the text exactly; none for an empty text
};

namespace {

const TextAttributes &emptyAttributes()
{
    static const TextAttributes empty;
    return empty;
}

TextRange clampRange(TextRange r, int length)
{
    int start = std::clamp(r.location, 0, length);
    int end = std::clamp(r.location + std::max(r.length, 0), start, length);
    return {start, end - start};
}

// Index of the run holding position pos (0 <= pos < length).
int runIndexAt(const std::vector<TextRun> &runs, int pos)
{
    auto it = std::upper_bound(runs.begin(), runs.end(), pos,
                               [](int p, const TextRun &r) { return p < r.range.location; });
    return int(it - runs.begin()) - 1;
}

// Makes pos a run boundary and returns the index of the run starting there (runs.size()
// when pos is the end).
int splitAt(std::vector<TextRun> &runs, int pos)
{
    if (runs.empty() || pos >= runs.back().range.end())
        return int(runs.size());
    int i = runIndexAt(runs, pos);
    TextRun &run = runs[i];
    if (run.range.location == pos)
        return i;
    TextRun tail{{pos, run.range.end() - pos}, run.attributes};
    run.range.length = pos - run.range.location;
    runs.insert(runs.begin() + i + 1, std::move(tail));
    return i + 1;
}

// Merges equal neighbours among the runs first - 1 ... last + 1 (after a local change).
void coalesceAround(std::vector<TextRun> &runs, int first, int last)
{
    first = std::max(first - 1, 0);
    last = std::min(last + 1, int(runs.size()) - 1);
    for (int i = last; i > first; --i) {
        if (runs[i].attributes == runs[i - 1].attributes) {
            runs[i - 1].range.length += runs[i].range.length;
            runs.erase(runs.begin() + i);
        }
    }
}

} // namespace

bool isParagraphSeparator(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar(0x2029);
}

AttributedString::AttributedString() : d(std::make_shared<Data>()) {}

AttributedString::AttributedString(const QString &text, const TextAttributes &attributes)
    : d(std::make_shared<Data>())
{
    d->text = text;
    if (!text.isEmpty())
        d->runs.push_back({{0, int(text.size())}, attributes});
}

void AttributedString::detach()
{
    if (d.use_count() > 1)
        d = std::make_shared<Data>(*d);
}

const QString &AttributedString::string() const { return d->text; }
int AttributedString::length() const { return int(d->text.size()); }
const std::vector<TextRun> &AttributedString::runs() const { return d->runs; }

const TextAttributes &AttributedString::attributesAt(int index, TextRange *runRange) const
{
    if (index < 0 || index >= length()) {
        if (runRange)
            *runRange = {std::clamp(index, 0, length()), 0};
        return emptyAttributes();
    }
    const TextRun &run = d->runs[runIndexAt(d->runs, index)];
    if (runRange)
        *runRange = run.range;
    return run.attributes;
}

TextRange AttributedString::longestEffectiveRange(TextAttribute key, int index, TextRange within) const
{
    within = clampRange(within, length());
    if (!within.contains(index))
        return {std::clamp(index, 0, length()), 0};
    const auto &runs = d->runs;
    int i = runIndexAt(runs, index);
    const TextAttributes &value = runs[i].attributes;
    int first = i;
    while (first > 0 && runs[first - 1].range.end() > within.location
           && runs[first - 1].attributes.sameValue(key, value))
        --first;
    int last = i;
    while (last + 1 < int(runs.size()) && runs[last + 1].range.location < within.end()
           && runs[last + 1].attributes.sameValue(key, value))
        ++last;
    int start = std::max(runs[first].range.location, within.location);
    int end = std::min(runs[last].range.end(), within.end());
    return {start, end - start};
}

TextRange AttributedString::longestEffectiveRange(TextAttribute key, int index) const
{
    return longestEffectiveRange(key, index, {0, length()});
}

void AttributedString::enumerateRuns(TextRange range, const std::function<void(const TextRun &)> &f) const
{
    range = clampRange(range, length());
    if (range.isEmpty())
        return;
    for (int i = runIndexAt(d->runs, range.location); i < int(d->runs.size()); ++i) {
        const TextRun &run = d->runs[i];
        if (run.range.location >= range.end())
            break;
        f({intersectionRange(run.range, range), run.attributes});
    }
}

AttributedString AttributedString::substring(TextRange range) const
{
    range = clampRange(range, length());
    if (range.location == 0 && range.length == length())
        return *this;
    AttributedString result;
    result.d->text = d->text.mid(range.location, range.length);
    enumerateRuns(range, [&](const TextRun &run) {
        result.d->runs.push_back({{run.range.location - range.location, run.range.length}, run.attributes});
    });
    return result;
}

TextRange AttributedString::paragraphRange(TextRange range) const
{
    const QString &s = d->text;
    range = clampRange(range, length());
    int start = range.location;
    // The "\n" of "\r\n" belongs to the paragraph the "\r" ends.
    if (start > 0 && start < s.size() && s[start] == u'\n' && s[start - 1] == u'\r')
        --start;
    while (start > 0 && !isParagraphSeparator(s[start - 1]))
        --start;
    int end = std::max(range.end(), range.location);
    if (range.length > 0 && isParagraphSeparator(s[end - 1])) {
        if (s[end - 1] == u'\r' && end < s.size() && s[end] == u'\n')
            ++end;
    } else {
        while (end < s.size() && !isParagraphSeparator(s[end]))
            ++end;
        if (end < s.size()) {
            ++end;
            if (s[end - 1] == u'\r' && end < s.size() && s[end] == u'\n')
                ++end;
        }
    }
    return {start, end - start};
}

void AttributedString::replaceCharacters(TextRange range, const QString &text)
{
    range = clampRange(range, length());
    int from = range.length > 0 ? range.location : (range.location > 0 ? range.location - 1 : 0);
    replaceCharacters(range, AttributedString(text, attributesAt(from)));
}

void AttributedString::replaceCharacters(TextRange range, const AttributedString &text)
{
    range = clampRange(range, length());
    if (range.isEmpty() && text.isEmpty())
        return;
    // Keep text's data alive even when it is this very string.
    AttributedString inserted = text;
    detach();
    auto &runs = d->runs;
    int first = splitAt(runs, range.location);
    int last = splitAt(runs, range.end());
    runs.erase(runs.begin() + first, runs.begin() + last);
    int delta = inserted.length() - range.length;
    for (auto it = runs.begin() + first; it != runs.end(); ++it)
        it->range.location += delta;
    std::vector<TextRun> added = inserted.d->runs;
    for (auto &run : added)
        run.range.location += range.location;
    runs.insert(runs.begin() + first, added.begin(), added.end());
    d->text.replace(range.location, range.length, inserted.d->text);
    coalesceAround(runs, first, first + int(added.size()));
}

void AttributedString::append(const AttributedString &text) { replaceCharacters({length(), 0}, text); }

void AttributedString::insert(int index, const AttributedString &text) { replaceCharacters({index, 0}, text); }

void AttributedString::deleteCharacters(TextRange range) { replaceCharacters(range, AttributedString()); }

void AttributedString::modifyAttributes(TextRange range, const std::function<void(TextAttributes &)> &f)
{
    range = clampRange(range, length());
    if (range.isEmpty())
        return;
    detach();
    auto &runs = d->runs;
    int first = splitAt(runs, range.location);
    int last = splitAt(runs, range.end());
    for (int i = first; i < last; ++i)
        f(runs[i].attributes);
    coalesceAround(runs, first, last - 1);
}

void AttributedString::setAttributes(const TextAttributes &attributes, TextRange range)
{
    modifyAttributes(range, [&](TextAttributes &a) { a = attributes; });
}

void AttributedString::addAttributes(const TextAttributes &attributes, TextRange range)
{
    modifyAttributes(range, [&](TextAttributes &a) { a.merge(attributes); });
}

void AttributedString::removeAttribute(TextAttribute key, TextRange range)
{
    modifyAttributes(range, [&](TextAttributes &a) { a.remove(key); });
}

bool operator==(const AttributedString &a, const AttributedString &b)
{
    if (a.d == b.d)
        return true;
    if (a.d->text != b.d->text || a.d->runs.size() != b.d->runs.size())
        return false;
    for (size_t i = 0; i < a.d->runs.size(); ++i) {
        if (a.d->runs[i].range != b.d->runs[i].range || a.d->runs[i].attributes != b.d->runs[i].attributes)
            return false;
    }
    return true;
}
