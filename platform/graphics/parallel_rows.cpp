#include "platform/graphics/parallel_rows.h"

#include <algorithm>
#include <thread>
#include <vector>

namespace {

thread_local RowWork *installed = nullptr;

// One pass of a run (when one is installed): counted, its bands' rows added, and no band
// started once a stop is asked for.
class Pass {
public:
    Pass(int rows) : m_work(installed)
    {
        if (m_work)
            m_work->beginPass(rows);
    }
    ~Pass()
    {
        if (m_work)
            m_work->endPass();
    }
    bool stopped() const { return m_work && m_work->stopRequested(); }
    void done(int rows) const
    {
        if (m_work)
            m_work->addRows(rows);
    }

private:
    RowWork *m_work;
};

} // namespace

double RowWork::fractionDone() const
{
    const int passes = m_passes.load(std::memory_order_relaxed);
    const int rows = m_passRows.load(std::memory_order_relaxed);
    const double current = rows > 0 ? std::min(1.0, double(m_passRowsDone.load(std::memory_order_relaxed)) / rows) : 0;
    const int expected = std::max(m_expected.load(std::memory_order_relaxed), passes + (rows > 0 ? 1 : 0));
    return expected > 0 ? std::clamp((passes + current) / expected, 0.0, 1.0) : 0.0;
}

void RowWork::beginPass(int rows)
{
    m_passRowsDone.store(0, std::memory_order_relaxed);
    m_passRows.store(std::max(1, rows), std::memory_order_relaxed);
}

void RowWork::endPass()
{
    m_passRows.store(0, std::memory_order_relaxed);
    m_passes.fetch_add(1, std::memory_order_relaxed);
}

RowWorkScope::RowWorkScope(RowWork &work) : m_previous(installed) { installed = &work; }

RowWorkScope::~RowWorkScope() { installed = m_previous; }

RowWork *currentRowWork() { return installed; }

bool rowWorkStopRequested() { return installed && installed->stopRequested(); }

int parallelRowThreads()
{
    return int(std::max(1u, std::thread::hardware_concurrency()));
}

void parallelRows(int height, const std::function<void(int y0, int y1)> &rows)
{
    constexpr int minimumBand = 8;
    const int threads = std::clamp(height / (2 * minimumBand), 1, parallelRowThreads());
    if (threads == 1) {
        serialRows(height, height, rows);
        return;
    }
    const Pass pass(height);
    // About eight bands a thread: enough for the fast threads to take over a slow one's share.
    const int band = std::max(minimumBand, height / (threads * 8));
    std::atomic<int> next{0};
    const auto work = [&] {
        for (int y0 = next.fetch_add(band); y0 < height && !pass.stopped(); y0 = next.fetch_add(band)) {
            const int y1 = std::min(height, y0 + band);
            rows(y0, y1);
            pass.done(y1 - y0);
        }
    };
    std::vector<std::thread> helpers;
    for (int i = 1; i < threads; ++i)
        helpers.emplace_back(work);
    work();
    for (std::thread &helper : helpers)
        helper.join();
}

void serialRows(int height, int band, const std::function<void(int y0, int y1)> &rows)
{
    const Pass pass(height);
    band = std::max(1, band);
    for (int y0 = 0; y0 < height && !pass.stopped(); y0 += band) {
        const int y1 = std::min(height, y0 + band);
        rows(y0, y1);
        pass.done(y1 - y0);
    }
}
