// The answer of the archive readers: a value or the reason there is none, and notes on
// what was left out on the way.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

template <typename T>
struct ArchiveResult {
    std::optional<T> value;
    QString error;        // why there is no value
    QStringList notes;    // objects left out because no coder reads their class

    explicit operator bool() const { return value.has_value(); }
};
