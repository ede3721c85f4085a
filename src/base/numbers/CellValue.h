// SPDX-License-Identifier: GPL-3.0-or-later
// What a value cell of the record holds: the one reading shared by the screen graph, the
// printed sheets and the report's advice, so that one text never means three things.
#pragma once

#include <QString>

#include <optional>

// Values beyond this are no body's measurement; they are treated as no value, not clamped.
inline constexpr double LargestCellValue = 10000;

// A value a person could have measured: a decimal text as parseDecimal reads it ("65.3", "-2",
// ".5"; no exponent, "inf" or "nan") whose magnitude is below LargestCellValue. Anything else,
// the empty cell included, is std::nullopt.
std::optional<double> readCellValue(const QString &text);
