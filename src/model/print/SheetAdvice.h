// SPDX-License-Identifier: GPL-3.0-or-later
// The advice line a printed sheet carries: that of the record's latest measurement, as the diet
// pop-up showed it after that calculation. One answer for the window's print, its PDF save and
// the command line's export.
#pragma once

#include <QString>

class TextGrid;

struct SheetAdvice
{
    QString label20;
    QString label21;
    bool operator==(const SheetAdvice &) const = default;
};

// Empty when the table holds no measurement, or its profile or latest values cannot be judged:
// a sheet never carries figures the record does not hold.
SheetAdvice sheetAdvice(const TextGrid &table);
