// Work over the rows of an image spread among the processor's cores, which whoever started
// it can stop and watch.
#pragma once

#include <atomic>
#include <functional>

// A long run of passes over images (an image filter) that its starter can stop and watch.
// The thread that runs it installs it with RowWorkScope; every parallelRows or serialRows
// pass on that thread then counts its rows into it and, once a stop is asked for, starts no
// further band, so the kernels need no handle of their own. The pixels of a stopped run are
// unfinished: its caller drops them.
class RowWork {
public:
    void requestStop() { m_stop.store(true, std::memory_order_relaxed); }
    bool stopRequested() const { return m_stop.load(std::memory_order_relaxed); }

    // The passes the run is expected to make (a dry run over a small image counts them).
    void expectPasses(int passes) { m_expected.store(passes, std::memory_order_relaxed); }
    int passesExpected() const { return m_expected.load(std::memory_order_relaxed); }
    int passesMade() const { return m_passes.load(std::memory_order_relaxed); }
    // How far the run is, 0 to 1: its finished passes and the rows of the current one, out
    // of the passes expected (at least one more than made while a pass runs).
    double fractionDone() const;

    // For the passes.
    void beginPass(int rows);
    void addRows(int rows) { m_passRowsDone.fetch_add(rows, std::memory_order_relaxed); }
    void endPass();

private:
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_expected{0}, m_passes{0}, m_passRows{0}, m_passRowsDone{0};
};

// Installs a run on the calling thread for the scope's life (the one before comes back after).
class RowWorkScope {
public:
    explicit RowWorkScope(RowWork &work);
    ~RowWorkScope();
    RowWorkScope(const RowWorkScope &) = delete;
    RowWorkScope &operator=(const RowWorkScope &) = delete;

private:
    RowWork *m_previous;
};

// The run installed on the calling thread, or null.
RowWork *currentRowWork();
// Whether the calling thread's run was asked to stop.
bool rowWorkStopRequested();

// Runs `rows(y0, y1)` over [0, height) in bands taken in turn by one thread a core, so a
// thread that the system holds back leaves its bands to the others; small heights run on
// the calling thread.
void parallelRows(int height, const std::function<void(int y0, int y1)> &rows);
// As parallelRows, in bands of `band` rows one after another on the calling thread (for
// work that spreads itself among the cores, or must stay on its thread).
void serialRows(int height, int band, const std::function<void(int y0, int y1)> &rows);
// The threads parallelRows uses.
int parallelRowThreads();
