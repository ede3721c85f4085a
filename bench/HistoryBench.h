// SPDX-License-Identifier: GPL-3.0-or-later
// Ten years of history (7,300 measurements): a measurement's history line, the CSV export without
// a window and the history window shown.
#pragma once

namespace HistoryBench {

// Prints its rows in the benchmark table's format through printRow.
void run(
    void (*printRow)(const char *name, double medianMs, double minMs, int runs, double targetMs));

} // namespace HistoryBench
