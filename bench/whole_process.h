// Running a program as a whole process and measuring it: wall time, the CPU time of all its
// threads and its peak resident memory, for the benchmarks that compare whole processes.
// Needs GNU time (/usr/bin/time).
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QTemporaryFile>

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

extern char **environ;

namespace wholeprocess {

struct Run {
    double wallMs = -1;   // negative when the program failed
    double cpuMs = 0;     // user and system time of all its threads
    double peakMb = 0;    // peak resident set size
};

// The peak memory comes from GNU time, a process between ours and the program: a program
// spawned straight from this one would count this process's memory as its own, since Linux
// keeps the peak of the process image an exec replaces.
inline Run run(const QStringList &command)
{
    QTemporaryFile peakFile;
    if (!peakFile.open())
        return {};
    std::vector<QByteArray> bytes = {"/usr/bin/time", "-f", "%M", "-o", QFile::encodeName(peakFile.fileName())};
    for (const QString &part : command)
        bytes.push_back(part.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return {};
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return {};
    Run result;
    const double wall = double(timer.nsecsElapsed()) / 1e6;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return result;
    result.wallMs = wall;
    // wait4 counts GNU time with the program it waited for.
    result.cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
                 + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    const QList<QByteArray> lines = peakFile.readAll().trimmed().split('\n');
    result.peakMb = lines.last().trimmed().toDouble() / 1024.0;
    return result;
}

// Our program and the peer's on the same input, in turn each iteration after one untimed run
// of each; the iteration time is ours. Sets our and the peer's wall, CPU and peak memory, our
// figures over the peer's ("time_vs_peer", "cpu_vs_peer", "memory_vs_peer": below 1 is
// better) and the load; false, with the state's error, when either failed.
inline bool compareInterleaved(benchmark::State &state, const QStringList &ours, const QStringList &peer)
{
    run(ours);
    run(peer);
    Run a{0, 0, 0}, b{0, 0, 0};
    double load = 0;
    for (auto _ : state) {
        const Run x = run(ours);
        const Run y = run(peer);
        if (x.wallMs < 0 || y.wallMs < 0) {
            state.SkipWithError(x.wallMs < 0 ? "our program failed" : "the peer failed");
            return false;
        }
        state.SetIterationTime(x.wallMs / 1e3);
        a = {a.wallMs + x.wallMs, a.cpuMs + x.cpuMs, std::max(a.peakMb, x.peakMb)};
        b = {b.wallMs + y.wallMs, b.cpuMs + y.cpuMs, std::max(b.peakMb, y.peakMb)};
        double now[1] = {0};
        load += getloadavg(now, 1) == 1 ? now[0] : 0;
    }
    const double n = double(state.iterations());
    state.counters["cpu_ms"] = a.cpuMs / n;
    state.counters["peak_mb"] = a.peakMb;
    state.counters["peer_ms"] = b.wallMs / n;
    state.counters["peer_cpu_ms"] = b.cpuMs / n;
    state.counters["peer_peak_mb"] = b.peakMb;
    state.counters["time_vs_peer"] = a.wallMs / b.wallMs;
    state.counters["cpu_vs_peer"] = a.cpuMs / b.cpuMs;
    state.counters["memory_vs_peer"] = a.peakMb / b.peakMb;
    state.counters["load1"] = load / n;
    return true;
}

} // namespace wholeprocess
