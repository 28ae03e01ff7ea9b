#include "platform/graphics/parallel_rows.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

int parallelRowThreads()
{
    return int(std::max(1u, std::thread::hardware_concurrency()));
}

void parallelRows(int height, const std::function<void(int y0, int y1)> &rows)
{
    constexpr int minimumBand = 8;
    const int threads = std::clamp(height / (2 * minimumBand), 1, parallelRowThreads());
    if (threads == 1) {
        rows(0, height);
        return;
    }
    // About eight bands a thread: enough for the fast threads to take over a slow one's share.
    const int band = std::max(minimumBand, height / (threads * 8));
    std::atomic<int> next{0};
    const auto work = [&] {
        for (int y0 = next.fetch_add(band); y0 < height; y0 = next.fetch_add(band))
            rows(y0, std::min(height, y0 + band));
    };
    std::vector<std::thread> helpers;
    for (int i = 1; i < threads; ++i)
        helpers.emplace_back(work);
    work();
    for (std::thread &helper : helpers)
        helper.join();
}
