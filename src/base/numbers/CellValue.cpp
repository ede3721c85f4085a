// SPDX-License-Identifier: GPL-3.0-or-later
#include "numbers/CellValue.h"

#include <cmath>

#include "numbers/NumberFormat.h"

std::optional<double> readCellValue(const QString &text)
{
    const std::optional<double> value = parseDecimal(text);
    if (!value || !(std::abs(*value) < LargestCellValue))
        return std::nullopt;
    return value;
}
