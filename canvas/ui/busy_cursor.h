// The busy cursor for the length of a scope, for work on many objects that takes longer
// than a moment.
#pragma once

#include <QCursor>
#include <QGuiApplication>

#include <cstddef>

class BusyCursor {
public:
    // From about this many objects, selecting, moving or undoing them takes a noticeable time.
    static constexpr std::size_t ManyObjects = 2000;

    explicit BusyCursor(bool busy) : m_busy(busy)
    {
        if (m_busy)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~BusyCursor()
    {
        if (m_busy)
            QGuiApplication::restoreOverrideCursor();
    }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

private:
    bool m_busy;
};
