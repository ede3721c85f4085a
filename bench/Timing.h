// SPDX-License-Identifier: GPL-3.0-or-later
// Repeats a piece of work and summarises its wall-clock times: the median is the figure reported.
#pragma once

#include <functional>
#include <vector>

struct Timing
{
    double medianMs = 0;
    double minMs = 0;
    double maxMs = 0;
    // Processor time of this process: less disturbed than wall time on a shared, busy machine.
    double cpuMedianMs = 0;
    int runs = 0;

    static double median(std::vector<double> values);
    // Runs work once untimed to warm caches and lazy initialisation, then `runs` times timed.
    // settle, when given, runs untimed after each: waiting for what the work set going.
    static Timing of(
        int runs, const std::function<void()> &work, const std::function<void()> &settle = {});
};
