// A range of UTF-16 code units in a text: a location and a length.
#pragma once

#include <algorithm>

struct TextRange {
    int location = 0;
    int length = 0;

    int end() const { return location + length; }
    bool isEmpty() const { return length <= 0; }
    // True for location <= index < end.
    bool contains(int index) const { return index >= location && index < end(); }

    friend bool operator==(TextRange a, TextRange b) { return a.location == b.location && a.length == b.length; }
    friend bool operator!=(TextRange a, TextRange b) { return !(a == b); }
};

// The common part of a and b; an empty range at the later start when they do not meet.
inline TextRange intersectionRange(TextRange a, TextRange b)
{
    int start = std::max(a.location, b.location);
    int end = std::min(a.end(), b.end());
    return {start, std::max(0, end - start)};
}
