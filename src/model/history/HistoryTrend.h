// SPDX-License-Identifier: GPL-3.0-or-later
// What the history window shows besides the rows: the trend of the weight and the months.
#pragma once

#include "history/HistoryTable.h"

#include <QList>
#include <QString>

namespace HistoryTrend {

// The trend's window in days.
constexpr int WindowDays = 7;

struct Point
{
    QDate day;
    double value = 0;
};
// For each day with a weight, the mean of every weight measured in the WindowDays days ending that
// day. The window counts days, not measurements, so a gap of weeks does not pull old weights in.
QList<Point> trend(const HistoryRows &rows, int windowDays = WindowDays);
// The method, as the window states it.
QString methodText(int windowDays = WindowDays);

struct Month
{
    int year = 0;
    int month = 0;
    int measurements = 0;
    double meanWeight = 0, lowestWeight = 0, highestWeight = 0;
    double meanBodyFat = -1; // -1: no body fat measured that month
};
// One entry per calendar month of the record days that hold a weight, oldest first.
QList<Month> months(const HistoryRows &rows);

} // namespace HistoryTrend
