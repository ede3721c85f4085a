// SPDX-License-Identifier: GPL-3.0-or-later
// The record table's calendar and cells: the half-day slot of a moment, a new month's layout, the
// column of today's measurement, the profile kept in row 0 and the cells a measurement writes.
// Pure functions of the table and of the local time passed in.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include "record/RecordLayout.h"

class TextGrid;
struct Assessment;
struct Measurements;

// The record file inside the program's folder (appFolder ends with a separator).
QString recordFilePath(const QString &appFolder);
// The caption's prompt, followed by the start time.
QString measurePrompt();
// Appended to the caption when the record day lies outside the table.
QString usedUpNotice();

// A measuring day begins at 04:00: the record day is the date of the local time minus 4 hours,
// and that shifted time's hours 0..11 are the first slot, 12..23 the second (eveningSlot 1).
struct RecordSlot
{
    QDate day;
    int eveningSlot = 0;
    bool operator==(const RecordSlot &) const = default;
};
RecordSlot recordSlot(const QDateTime &now);

// Where the table's second calendar month begins (2..62; 62: none in the table) and its number,
// and the day of the month that follows the table's last day, kept for the report's 32nd label
// (empty when the table came from the file).
struct MonthMarkers
{
    int secondMonthColumn = 0;
    int secondMonth = 0;
    QString dayAfterTable;
};
// Lays out 31 days from the record day of now: month and day in rows 1 and 2 of the even
// columns, the markers in row 0, columns 3 and 4. No other cell is touched.
MonthMarkers initMonthTable(TextGrid &table, const QDateTime &now);

// The caption, the slot and the column that receive this run's measurement. usedUp: the record
// day has no column in the table; nothing may then be written to the table or the file
// (todayColumn is 0 and must not be used). slot: the record day and slot now falls in; a window
// left open locates today again once the clock has left it.
struct TodayLocation
{
    QString caption;
    int eveningSlot = 0;
    int todayColumn = 0;
    bool usedUp = false;
    RecordSlot slot;
};
TodayLocation locateToday(const TextGrid &table, const QDateTime &now);

// Whether two tables lay out the same 31 days: rows 1 and 2 and the month markers agree.
bool sameMonth(const TextGrid &a, const TextGrid &b);
// Copies what one measurement writes from `from` into `to`: the profile (row 0, columns 0..2) and
// rows 3..12 of column.
void copyMeasurement(TextGrid &to, const TextGrid &from, int column);

// The profile and month markers of row 0 as a loaded file holds them; ageText and heightText are
// the cells' own texts for the age and height fields.
struct Profile
{
    int secondMonthColumn = 0;
    int secondMonth = 0;
    qint32 sexCode = 0;
    qint32 age = 0;
    QString ageText;
    float heightCm = 0;
    QString heightText;
};
// Throws std::runtime_error when column 0, 1, 3 or 4 of row 0 is not a whole number, column 2 not
// a finite number, column 3 outside 2..62 or column 4 outside 1..12.
Profile restoreProfile(const TextGrid &table);

// Row 0, columns 0..2: sex code, age and height "0.0" of the latest measurement.
void writeMeasurementProfile(TextGrid &table, qint32 sexCode, qint32 age, float heightCm);
// Rows 3, 4 and 12 of column: weight "0.0", body fat "0.0" and no mood yet ("0").
void writeMeasurement(TextGrid &table, int column, float weightKg, float bodyFatPercent);
// Row 12 of column: the mood code "0".."4".
void writeMood(TextGrid &table, int column, int moodCode);
// The assessment's cells of column: body type, BMI, metabolic rate, fat weight, excess fat,
// target and reduction.
void writeAssessmentCells(TextGrid &table, int column, const Assessment &a);
// The profile and the measurement cells one measurement writes into column.
void writeMeasurementCells(TextGrid &table, int column, const Measurements &m);
// When column 0 holds no measurement yet (row 3 empty), copies rows 3..15 of column 1 into it, so
// a table whose first measurement was an evening one still has a starting point for the graphs.
void completeFirstColumn(TextGrid &table);
