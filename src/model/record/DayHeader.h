// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the graph's two-row day header: month markers over the first day of the start and
// second month, the day numbers of the table's 31 days below them.
#pragma once

#include <QString>

#include <array>

class TextGrid;

struct DayHeaderTexts
{
    static constexpr int Columns = 32;
    static constexpr int Rows = 2;

    // Empty outside the header.
    QString text(int column, int row) const;
    void setText(int column, int row, const QString &text);

    bool operator==(const DayHeaderTexts &other) const = default;

    std::array<QString, Columns * Rows> cells;
};

// Column 0 of the header lies hidden left of the picture, so day j - 1 of the table is header
// column j. A second-month column that falls outside the header (62 for a table without a second
// month) marks nothing.
DayHeaderTexts dayHeaderTexts(const TextGrid &table, int secondMonthColumn, int secondMonth);
