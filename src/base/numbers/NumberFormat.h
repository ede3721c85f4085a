// SPDX-License-Identifier: GPL-3.0-or-later
// The program's number texts: the patterns "0.0" and "0" it writes into the display and the record,
// and the locale-independent reading of the texts its fields and record cells hold.
#pragma once

#include <QString>

#include <optional>

// Formats with `decimals` digits after a "." (0 gives no point; 0 to 9 are supported, others are
// clamped). The exact binary value is rounded to the nearest and an exact half away from zero
// (65.25 gives "65.3", 0.5 gives "1"). At least one integer digit, no leading zeros. A negative
// value keeps its sign unless it rounds to zero: -0.04 gives "0.0", never "-0.0". Infinite and NaN
// values give "INF", "-INF" and "NAN", which parseDecimal rejects.
QString formatNumber(double value, int decimals);

// Reads a decimal text: optional surrounding ASCII spaces, an optional "+" or "-", then digits with
// at most one "." and at least one digit ("65.26", "1.", ".5", "-3.0"). No exponent, no grouping,
// no "inf"/"nan". std::nullopt when the text is not such a number or its value is not finite.
std::optional<double> parseDecimal(const QString &text);

// Reads a whole number: optional surrounding ASCII spaces, an optional "+" or "-", then digits;
// std::nullopt otherwise or outside the signed 32-bit range.
std::optional<qint32> parseWholeNumber(const QString &text);
