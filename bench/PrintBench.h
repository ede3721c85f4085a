// SPDX-License-Identifier: GPL-3.0-or-later
// The print button on the real main window, with a month of measurements loaded: how long the
// clicks on the print button and "印刷開始" hold the window, and how long until both sheets
// have been handed to the system's default printer (the pop-up closes then).
#pragma once

#include "Timing.h"

#include <QString>

#include <optional>

namespace PrintBench {

struct Figures
{
    Timing hold;
    Timing handedOver;
};

// Nothing when there is no default printer or the window cannot be driven; why() says which.
std::optional<Figures> run(int runs);
QString why();

} // namespace PrintBench
