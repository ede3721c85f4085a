// SPDX-License-Identifier: GPL-3.0-or-later
// The print button on the real main window: from the press of "印刷開始" until both sheets have
// been handed to the system's default printer, with a month of measurements loaded.
#pragma once

#include "Timing.h"

#include <QString>

#include <optional>

namespace PrintBench {

// Nothing when there is no default printer or the window cannot be driven; why() says which.
std::optional<Timing> run(int runs);
QString why();

} // namespace PrintBench
