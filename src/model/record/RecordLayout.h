// SPDX-License-Identifier: GPL-3.0-or-later
// Where things stand in the record table: its size, what each row holds and the profile cells of
// row 0. The one place these numbers are written; every module addresses the table through them.
#pragma once

namespace RecordLayout {

inline constexpr int Columns = 62; // 31 days, two half-day slots each: column = 2 * day + slot
inline constexpr int Rows = 16;

// Rows of a measurement column (3 to 12); rows 13 to 15 are carried along but unused.
enum Row : int {
    ProfileRow = 0, // profile and month markers, see ProfileColumn
    MonthRow = 1,   // calendar month of the day (even columns only)
    DayRow = 2,     // day of the month (even columns only)
    WeightRow = 3,
    BodyFatRow = 4,
    BodyTypeRow = 5,
    BmiRow = 6,
    BmrRow = 7,
    FatWeightRow = 8,
    ExcessFatRow = 9,
    TargetFatRow = 10,
    ReductionRow = 11,
    MoodRow = 12,
    LastCarriedRow = 15,
};

// Cells of the profile row.
enum ProfileColumn : int {
    SexColumn = 0,
    AgeColumn = 1,
    HeightColumn = 2,
    SecondMonthColumnCell = 3, // where the table's second calendar month begins (2..62)
    SecondMonthCell = 4,       // that month's number (1..12)
};

} // namespace RecordLayout
