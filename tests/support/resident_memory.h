// The process's resident memory as the kernel counts it, for tests that bound what a piece
// of work takes: the peak since the last reset, read from /proc.
#pragma once

#include <QFile>

#include <malloc.h>

// A field of /proc/self/status in bytes ("VmRSS", "VmHWM"); -1 when absent.
inline qint64 procStatusBytes(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').first().toLongLong() * 1024;
    return -1;
}

// Gives freed memory back and makes the current resident size the new peak; false when the
// kernel does not let the peak be reset.
inline bool resetResidentPeak()
{
    malloc_trim(0);
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

inline qint64 residentBytes() { return procStatusBytes("VmRSS"); }
inline qint64 residentPeakBytes() { return procStatusBytes("VmHWM"); }
