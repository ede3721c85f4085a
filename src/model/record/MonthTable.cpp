#include "MonthTable.h"

#include <cmath>
#include <stdexcept>

#include "numbers/NumberFormat.h"
#include "record/TextGrid.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int TableDays = RecordColumns / 2;

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
    const std::optional<qint32> value = parseWholeNumber(table.cell(column, 0));
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
        table.setCell(2 * index, 1, QString::number(day.month()));
        table.setCell(2 * index, 2, QString::number(day.day()));
    }
    MonthMarkers markers;
    // Two columns per day up to and including the start month's last day.
    markers.secondMonthColumn = 2 * (start.daysInMonth() - start.day() + 1);
    markers.secondMonth = monthAfter(start.month());
    markers.dayAfterTable = QString::number(start.addDays(TableDays).day());
    table.setCell(3, 0, QString::number(markers.secondMonthColumn));
    table.setCell(4, 0, QString::number(markers.secondMonth));
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
    for (int column = 0; column < RecordColumns; column += 2) {
        if (table.cell(column, 2) != day)
            continue;
        const QString columnMonth = table.cell(column, 1);
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
    for (int column = 0; column < RecordColumns; ++column) {
        if (a.cell(column, 1) != b.cell(column, 1) || a.cell(column, 2) != b.cell(column, 2))
            return false;
    }
    return a.cell(3, 0) == b.cell(3, 0) && a.cell(4, 0) == b.cell(4, 0);
}

void copyMeasurement(TextGrid &to, const TextGrid &from, int column)
{
    for (int profileColumn = 0; profileColumn <= 2; ++profileColumn)
        to.setCell(profileColumn, 0, from.cell(profileColumn, 0));
    for (int row = 3; row <= 12; ++row)
        to.setCell(column, row, from.cell(column, row));
}

Profile restoreProfile(const TextGrid &table)
{
    Profile profile;
    // The graphs index their day labels by these markers: a wrapped or wild value must not load.
    profile.secondMonthColumn = wholeCell(table, 3, 2, RecordColumns);
    profile.secondMonth = wholeCell(table, 4, 1, 12);
    profile.sexCode = wholeCell(table, 0, INT32_MIN, INT32_MAX);
    profile.age = wholeCell(table, 1, INT32_MIN, INT32_MAX);
    profile.ageText = table.cell(1, 0);
    const std::optional<double> height = parseDecimal(table.cell(2, 0));
    if (!height || !std::isfinite(float(*height)))
        badProfile(2);
    profile.heightCm = float(*height);
    profile.heightText = table.cell(2, 0);
    return profile;
}

void writeMeasurementProfile(TextGrid &table, qint32 sexCode, qint32 age, float heightCm)
{
    table.setCell(0, 0, QString::number(sexCode));
    table.setCell(1, 0, QString::number(age));
    table.setCell(2, 0, formatNumber(heightCm, 1));
}

void writeMeasurement(TextGrid &table, int column, float weightKg, float bodyFatPercent)
{
    table.setCell(column, 3, formatNumber(weightKg, 1));
    table.setCell(column, 4, formatNumber(bodyFatPercent, 1));
    table.setCell(column, 12, u"0"_s);
}

void writeMood(TextGrid &table, int column, int moodCode)
{
    table.setCell(column, 12, QString::number(moodCode));
}

void completeFirstColumn(TextGrid &table)
{
    if (!table.cell(0, 3).isEmpty())
        return;
    for (int row = 3; row < RecordRows; ++row)
        table.setCell(0, row, table.cell(1, row));
}
