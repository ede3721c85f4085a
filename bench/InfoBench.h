// SPDX-License-Identifier: GPL-3.0-or-later
// The information button on the real main window, the first time in a run: how long the click and
// every later step hold the window, and when the page is drawn. The engine can start only once per
// process, so each run is a child process of its own.
#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace InfoBench {

struct Figures
{
    double clickMs = 0;          // the click handler itself
    double longestHoldMs = 0;    // the longest stretch the window could not handle events
    double drawnMs = 0;          // from the press until the page shows in the area
    double longestHoldCpuMs = 0; // processor time the window's thread spent in that stretch
};

// In the child: one window, one click, the figures printed on stdout; returns the exit code.
int runChild();
// In the parent: runs the child `runs` times; nothing when it fails, why() says why.
std::optional<std::vector<Figures>> run(const QString &program, int runs);
QString why();

// The argument that makes bench_pemira a child.
inline const char *childArgument()
{
    return "--info-child";
}

} // namespace InfoBench
