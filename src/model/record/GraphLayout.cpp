// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/GraphLayout.h"

#include <cmath>

#include "numbers/CellValue.h"
#include "record/RecordLayout.h"
#include "record/TextGrid.h"

GraphLayout graphLayout(const TextGrid &table, int row)
{
    GraphLayout layout;
    layout.first = readCellValue(table.cell(0, row));
    // Cell values are below 10000 in magnitude, so the truncation always fits.
    if (layout.first)
        layout.base = int(std::trunc(*layout.first));
    for (int column = 1; column < RecordLayout::Columns; ++column) {
        GraphLayout::Step step {column, readCellValue(table.cell(column, row)),
            moodIndex(table.cell(column, RecordLayout::MoodRow))};
        if (step.value || step.mood >= 0)
            layout.steps.push_back(step);
    }
    return layout;
}

std::array<int, AxisLabelCount> axisKilograms(int base)
{
    std::array<int, AxisLabelCount> kilograms {};
    for (int i = 0; i < AxisLabelCount; ++i)
        kilograms[std::size_t(i)] = base + 4 - i;
    return kilograms;
}

int moodIndex(const QString &code)
{
    if (code.size() != 1)
        return -1;
    const char16_t c = code.front().unicode();
    return c >= u'1' && c <= u'4' ? int(c - u'1') : -1;
}
