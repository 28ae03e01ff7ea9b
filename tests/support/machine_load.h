// Time bounds for tests of threaded work on a shared machine.
#pragma once

#include <QtGlobal>

#include <algorithm>
#include <cstdlib>
#include <thread>

// `ms` as it holds on free cores, stretched by the other programs' threads on them: by the
// one-minute load average beyond the cores, doubled because that average lags the bursts of
// tests run side by side.
inline qint64 boundOnThisMachine(qint64 ms)
{
    double load[1] = {0};
    getloadavg(load, 1);
    return qint64(double(ms) * std::max(1.0, 2 * load[0] / std::thread::hardware_concurrency()));
}
