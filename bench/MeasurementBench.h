// SPDX-License-Identifier: GPL-3.0-or-later
// One measurement on the real main window, driven through its named controls: the calculate
// press, the assessment and graph shown, and the record saved durably in a private folder.
#pragma once

#include "Timing.h"

#include <QString>

#include <optional>

namespace MeasurementBench {

// Nothing when the window cannot be driven; why() then says what went wrong.
std::optional<Timing> run(int runs);
QString why();

} // namespace MeasurementBench
