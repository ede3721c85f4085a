// SPDX-License-Identifier: GPL-3.0-or-later
// Every measurement a record ever received, one row per record day and slot, and the CSV form it is
// kept and exported in. Pure: dates and the record's table are passed in.
#pragma once

#include "history/CsvCodec.h"

#include <QDate>
#include <QTime>

#include <cmath>
#include <limits>
#include <map>
#include <utility>

class TextGrid;

// Values a row does not know (a tracker's export gives only weight and body fat) are NaN or 0.
struct HistoryEntry
{
    static constexpr float Unknown = std::numeric_limits<float>::quiet_NaN();
    QDate day; // the record day (a day begins at 04:00)
    int eveningSlot = 0;
    QTime time;         // local time of the measurement; invalid when not known
    qint32 sexCode = 0; // 1 male, 2 female, 0 not known
    qint32 age = 0;     // 0: not known
    float heightCm = Unknown;
    float weightKg = Unknown;
    float bodyFatPercent = Unknown;
    int bodyType = 0; // 1..12, 0 not known
    float bmi = Unknown;
    float bmrKcal = Unknown;
    float fatWeightKg = Unknown;
    float excessFatKg = Unknown;
    int mood = 0; // 1..4, 0 none chosen
};

using HistoryKey = std::pair<QDate, int>; // record day, evening slot
using HistoryRows = std::map<HistoryKey, HistoryEntry>;

inline HistoryKey keyOf(const HistoryEntry &e)
{
    return {e.day, e.eveningSlot};
}

namespace HistoryCsv {

// The header line's names, in the order every row is written.
QStringList header();
QStringList fields(const HistoryEntry &e);
// The whole table, oldest first, after a header line.
QByteArray encode(const HistoryRows &rows, CsvCodec::Form form);
// One row written in this program's own form, with its line for the journal.
QByteArray encodeLine(const HistoryEntry &e);

} // namespace HistoryCsv

// The measurements in a record table as history rows, full dates found from rows 1 and 2 (month
// and day only): the year is that of the latest such date not after today. No time is known; the
// profile of row 0 is the only one the table keeps.
HistoryRows historyFromRecord(const TextGrid &table, const QDate &today);
// The row one measurement in column of the table makes, for the given record day and time.
HistoryEntry historyEntry(const TextGrid &table, int column, const QDate &day, const QTime &time);
