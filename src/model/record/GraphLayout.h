// SPDX-License-Identifier: GPL-3.0-or-later
// A month graph as numbers, before any pixel: the scale, the axis labels, the points and where
// the mood faces go. The screen graph and the printed sheet both draw from it, each in its own
// geometry, so they cannot disagree on what the record says.
#pragma once

#include <array>
#include <optional>
#include <vector>

class QString;
class TextGrid;

struct GraphLayout
{
    // A column after the first that holds a value, a mood face, or both. The face sits above
    // the latest point drawn so far, this column's included.
    struct Step
    {
        int column = 0;
        std::optional<double> value;
        int mood = -1; // 0..3 for mood codes "1".."4"; -1: no face
    };

    std::optional<double> first; // column 0, where the line starts and the scale rests
    int base = 0;                // the whole kilograms of first; 0 without it
    std::vector<Step> steps;     // in column order
};

// The layout of `row` of the record table; cells are read with readCellValue.
GraphLayout graphLayout(const TextGrid &table, int row);

// The axis shows nine kilogram labels, from base + 4 at the top down to base - 4.
inline constexpr int AxisLabelCount = 9;
std::array<int, AxisLabelCount> axisKilograms(int base);

// Mood codes "1".."4" as 0..3; anything else (including "0") as -1.
int moodIndex(const QString &code);
