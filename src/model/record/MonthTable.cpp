// SPDX-License-Identifier: GPL-3.0-or-later
#include "MonthTable.h"

#include <cmath>
#include <stdexcept>

#include "assessment/Assessment.h"
#include "numbers/NumberFormat.h"
#include "record/TextGrid.h"

using namespace Qt::StringLiterals;
using namespace RecordLayout;

namespace {

constexpr int TableDays = Columns / 2;

int monthAfter(int month)
{
    return month % 12 + 1;
}

[[noreturn]] void badProfile(int column)
{
    throw std::runtime_error(
        u"記録ファイルの 1 行目 %1 列目の値が正しくありません"_s.arg(column + 1).toStdString());
}

qint32 wholeCell(const TextGrid &table, int column, qint32 lowest, qint32 highest)
{
    const std::optional<qint32> value = parseWholeNumber(table.cell(column, ProfileRow));
    if (!value || *value < lowest || *value > highest)
        badProfile(column);
    return *value;
}

} // namespace

QString recordFilePath(const QString &appFolder)
{
    return appFolder + u"settemp.dat"_s;
}

QString measurePrompt()
{
    return u"毎日、起床直後のトイレの後＆夕食の直後に計測！"_s;
}

QString usedUpNotice()
{
    return u"　（記録の31日間が終わりました。グラフを印刷し「C」でデータを消去してください）"_s;
}

RecordSlot recordSlot(const QDateTime &now)
{
    // Shifting the wall-clock time, not the elapsed time, keeps 04:00 the start of every day,
    // daylight-saving changes included.
    QDate day = now.date();
    int hour = now.time().hour() - 4;
    if (hour < 0) {
        day = day.addDays(-1);
        hour += 24;
    }
    return {day, hour >= 12 ? 1 : 0};
}

MonthMarkers initMonthTable(TextGrid &table, const QDateTime &now)
{
    const QDate start = recordSlot(now).day;
    for (int index = 0; index < TableDays; ++index) {
        const QDate day = start.addDays(index);
        table.setCell(2 * index, MonthRow, QString::number(day.month()));
        table.setCell(2 * index, DayRow, QString::number(day.day()));
    }
    MonthMarkers markers;
    // Two columns per day up to and including the start month's last day.
    markers.secondMonthColumn = 2 * (start.daysInMonth() - start.day() + 1);
    markers.secondMonth = monthAfter(start.month());
    markers.dayAfterTable = QString::number(start.addDays(TableDays).day());
    table.setCell(SecondMonthColumnCell, ProfileRow, QString::number(markers.secondMonthColumn));
    table.setCell(SecondMonthCell, ProfileRow, QString::number(markers.secondMonth));
    return markers;
}

TodayLocation locateToday(const TextGrid &table, const QDateTime &now)
{
    const QDate date = now.date();
    const QTime time = now.time();
    TodayLocation today;
    today.caption = measurePrompt()
        + u"%1/%2/%3 %4:%5"_s.arg(date.year())
              .arg(date.month())
              .arg(date.day())
              .arg(time.hour())
              .arg(time.minute());

    const RecordSlot slot = recordSlot(now);
    today.slot = slot;
    today.eveningSlot = slot.eveningSlot;
    const QString month = QString::number(slot.day.month());
    // The same day of the following month: the table a set-back clock still finds.
    const QString nextMonth = QString::number(monthAfter(slot.day.month()));
    const QString day = QString::number(slot.day.day());

    // A day lives in its even column; an odd column holding a date (an edited file) would put
    // the evening slot beyond the table.
    for (int column = 0; column < Columns; column += 2) {
        if (table.cell(column, DayRow) != day)
            continue;
        const QString columnMonth = table.cell(column, MonthRow);
        if (columnMonth == month || columnMonth == nextMonth) {
            today.todayColumn = column + slot.eveningSlot;
            return today;
        }
    }
    // Writing anyway would overwrite column 0, the month's first value that the graphs' scale
    // rests on.
    today.usedUp = true;
    today.caption += usedUpNotice();
    return today;
}

bool sameMonth(const TextGrid &a, const TextGrid &b)
{
    for (int column = 0; column < Columns; ++column) {
        if (a.cell(column, MonthRow) != b.cell(column, MonthRow)
            || a.cell(column, DayRow) != b.cell(column, DayRow))
            return false;
    }
    return a.cell(SecondMonthColumnCell, ProfileRow) == b.cell(SecondMonthColumnCell, ProfileRow)
        && a.cell(SecondMonthCell, ProfileRow) == b.cell(SecondMonthCell, ProfileRow);
}

void copyMeasurement(TextGrid &to, const TextGrid &from, int column)
{
    for (int profileColumn = SexColumn; profileColumn <= HeightColumn; ++profileColumn)
        to.setCell(profileColumn, ProfileRow, from.cell(profileColumn, ProfileRow));
    for (int row = WeightRow; row <= MoodRow; ++row)
        to.setCell(column, row, from.cell(column, row));
}

Profile restoreProfile(const TextGrid &table)
{
    Profile profile;
    // The graphs index their day labels by these markers: a wrapped or wild value must not load.
    profile.secondMonthColumn = wholeCell(table, SecondMonthColumnCell, 2, Columns);
    profile.secondMonth = wholeCell(table, SecondMonthCell, 1, 12);
    profile.sexCode = wholeCell(table, SexColumn, INT32_MIN, INT32_MAX);
    profile.age = wholeCell(table, AgeColumn, INT32_MIN, INT32_MAX);
    profile.ageText = table.cell(AgeColumn, ProfileRow);
    const std::optional<double> height = parseDecimal(table.cell(HeightColumn, ProfileRow));
    if (!height || !std::isfinite(float(*height)))
        badProfile(HeightColumn);
    profile.heightCm = float(*height);
    profile.heightText = table.cell(HeightColumn, ProfileRow);
    return profile;
}

void writeMeasurementProfile(TextGrid &table, qint32 sexCode, qint32 age, float heightCm)
{
    table.setCell(SexColumn, ProfileRow, QString::number(sexCode));
    table.setCell(AgeColumn, ProfileRow, QString::number(age));
    table.setCell(HeightColumn, ProfileRow, formatNumber(heightCm, 1));
}

void writeMeasurement(TextGrid &table, int column, float weightKg, float bodyFatPercent)
{
    table.setCell(column, WeightRow, formatNumber(weightKg, 1));
    table.setCell(column, BodyFatRow, formatNumber(bodyFatPercent, 1));
    table.setCell(column, MoodRow, u"0"_s);
}

void writeMood(TextGrid &table, int column, int moodCode)
{
    table.setCell(column, MoodRow, QString::number(moodCode));
}

void completeFirstColumn(TextGrid &table)
{
    if (!table.cell(0, WeightRow).isEmpty())
        return;
    for (int row = WeightRow; row < Rows; ++row)
        table.setCell(0, row, table.cell(1, row));
}

void writeAssessmentCells(TextGrid &table, int column, const Assessment &a)
{
    table.setCell(column, BodyTypeRow, QString::number(a.bodyType));
    table.setCell(column, BmiRow, a.bmiText);
    table.setCell(column, BmrRow, a.bmrText);
    table.setCell(column, FatWeightRow, a.fatWeightText);
    table.setCell(column, ExcessFatRow, a.excessCell);
    table.setCell(column, TargetFatRow, a.targetText);
    table.setCell(column, ReductionRow, a.reductionText);
}

void writeMeasurementCells(TextGrid &table, int column, const Measurements &m)
{
    writeMeasurementProfile(table, m.sexCode, m.age, m.heightCm);
    writeMeasurement(table, column, m.weightKg, m.bodyFatPercent);
}
