// SPDX-License-Identifier: GPL-3.0-or-later
#include "SheetAdvice.h"

#include "assessment/Assessment.h"
#include "numbers/CellValue.h"
#include "record/MonthTable.h"
#include "record/TextGrid.h"

#include <exception>

using namespace RecordLayout;

SheetAdvice sheetAdvice(const TextGrid &table)
{
    // Columns follow the half days, so the last one holding both values is the latest.
    for (int column = table.columnCount() - 1; column >= 0; --column) {
        const std::optional<double> weight = readCellValue(table.cell(column, WeightRow));
        const std::optional<double> fat = readCellValue(table.cell(column, BodyFatRow));
        if (!weight || !fat)
            continue;
        try {
            const Profile profile = restoreProfile(table);
            const Assessment a = assess(
                {profile.sexCode, profile.age, profile.heightCm, float(*weight), float(*fat)});
            return {a.advice1, a.advice2};
        } catch (const std::exception &) {
            return {};
        }
    }
    return {};
}
