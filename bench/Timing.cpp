// SPDX-License-Identifier: GPL-3.0-or-later
#include "Timing.h"

#include <algorithm>
#include <chrono>
#include <ctime>

double Timing::median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

Timing Timing::of(int runs, const std::function<void()> &work, const std::function<void()> &settle)
{
    work();
    if (settle)
        settle();
    std::vector<double> times;
    std::vector<double> cpuTimes;
    times.reserve(std::size_t(runs));
    cpuTimes.reserve(std::size_t(runs));
    for (int i = 0; i < runs; ++i) {
        const std::clock_t cpuStart = std::clock();
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double, std::milli> took
            = std::chrono::steady_clock::now() - start;
        times.push_back(took.count());
        cpuTimes.push_back(double(std::clock() - cpuStart) * 1000 / CLOCKS_PER_SEC);
        if (settle)
            settle();
    }
    Timing t;
    t.runs = runs;
    t.medianMs = median(times);
    t.cpuMedianMs = median(cpuTimes);
    t.minMs = times.empty() ? 0 : *std::min_element(times.begin(), times.end());
    t.maxMs = times.empty() ? 0 : *std::max_element(times.begin(), times.end());
    return t;
}
