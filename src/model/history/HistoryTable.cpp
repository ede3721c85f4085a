// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryTable.h"

#include "record/RecordLayout.h"
#include "record/TextGrid.h"

using namespace Qt::StringLiterals;

namespace {

QString decimal(float v, int decimals = 1)
{
    return std::isfinite(v) ? QString::number(double(v), 'f', decimals) : QString();
}

QString whole(int v)
{
    return v != 0 ? QString::number(v) : QString();
}

float cellValue(const TextGrid &table, int column, int row)
{
    bool ok = false;
    const float v = table.cell(column, row).trimmed().toFloat(&ok);
    return ok && std::isfinite(v) ? v : HistoryEntry::Unknown;
}

int cellWhole(const TextGrid &table, int column, int row)
{
    bool ok = false;
    const int v = table.cell(column, row).trimmed().toInt(&ok);
    return ok ? v : 0;
}

bool isCopyOfFirstEvening(const TextGrid &table)
{
    for (int row = RecordLayout::WeightRow; row <= RecordLayout::LastCarriedRow; ++row)
        if (table.cell(0, row) != table.cell(1, row))
            return false;
    return true;
}

} // namespace

namespace HistoryCsv {

QStringList header()
{
    return {u"date"_s, u"slot"_s, u"time"_s, u"sex"_s, u"age"_s, u"height_cm"_s, u"weight_kg"_s,
        u"body_fat_percent"_s, u"fat_weight_kg"_s, u"bmi"_s, u"bmr_kcal"_s, u"body_type"_s,
        u"excess_fat_kg"_s, u"mood"_s};
}

QStringList fields(const HistoryEntry &e)
{
    return {e.day.toString(Qt::ISODate), e.eveningSlot ? u"evening"_s : u"morning"_s,
        e.time.isValid() ? e.time.toString(u"HH:mm"_s) : QString(),
        e.sexCode == 1       ? u"male"_s
            : e.sexCode == 2 ? u"female"_s
                             : QString(),
        whole(e.age), decimal(e.heightCm), decimal(e.weightKg), decimal(e.bodyFatPercent),
        decimal(e.fatWeightKg), decimal(e.bmi), decimal(e.bmrKcal, 0), whole(e.bodyType),
        decimal(e.excessFatKg), whole(e.mood)};
}

QByteArray encode(const HistoryRows &rows, CsvCodec::Form form)
{
    QByteArray bytes;
    bytes.reserve(64 + qsizetype(rows.size()) * 80);
    if (form == CsvCodec::Form::Spreadsheet)
        bytes += CsvCodec::byteOrderMark();
    bytes += CsvCodec::encodeLine(header(), form);
    for (const auto &[key, entry] : rows)
        bytes += CsvCodec::encodeLine(fields(entry), form);
    return bytes;
}

QByteArray encodeLine(const HistoryEntry &e)
{
    return CsvCodec::encodeLine(fields(e), CsvCodec::Form::Plain);
}

} // namespace HistoryCsv

HistoryEntry historyEntry(const TextGrid &table, int column, const QDate &day, const QTime &time)
{
    using namespace RecordLayout;
    HistoryEntry e;
    e.day = day;
    e.eveningSlot = column % 2;
    e.time = time.isValid() ? QTime(time.hour(), time.minute()) : QTime();
    e.sexCode = cellWhole(table, SexColumn, ProfileRow);
    if (e.sexCode != 1 && e.sexCode != 2)
        e.sexCode = 0;
    e.age = cellWhole(table, AgeColumn, ProfileRow);
    e.heightCm = cellValue(table, HeightColumn, ProfileRow);
    e.weightKg = cellValue(table, column, WeightRow);
    e.bodyFatPercent = cellValue(table, column, BodyFatRow);
    e.bodyType = cellWhole(table, column, BodyTypeRow);
    e.bmi = cellValue(table, column, BmiRow);
    e.bmrKcal = cellValue(table, column, BmrRow);
    e.fatWeightKg = cellValue(table, column, FatWeightRow);
    e.excessFatKg = cellValue(table, column, ExcessFatRow);
    e.mood = cellWhole(table, column, MoodRow);
    if (e.mood < 1 || e.mood > 4)
        e.mood = 0;
    return e;
}

HistoryRows historyFromRecord(const TextGrid &table, const QDate &today)
{
    using namespace RecordLayout;
    // Find the year of the latest laid-out day not after today: the table's days run forward
    // from its first column, so the year steps up where the month number falls.
    struct Day
    {
        int column;
        int month;
        int day;
    };
    QList<Day> days;
    for (int column = 0; column < Columns; column += 2) {
        bool okMonth = false, okDay = false;
        const int month = table.cell(column, MonthRow).trimmed().toInt(&okMonth);
        const int day = table.cell(column, DayRow).trimmed().toInt(&okDay);
        if (okMonth && okDay && month >= 1 && month <= 12 && day >= 1 && day <= 31)
            days << Day {column, month, day};
    }
    HistoryRows rows;
    if (days.isEmpty())
        return rows;
    // Years relative to the first day's year: +1 each time the month number falls.
    QList<int> yearStep;
    int step = 0;
    for (qsizetype i = 0; i < days.size(); ++i) {
        if (i > 0 && days[i].month < days[i - 1].month)
            ++step;
        yearStep << step;
    }
    // The first day's year: the one that makes the latest date not after today as late as
    // possible.
    int firstYear = today.year() - yearStep.last() - 1;
    for (int year = today.year() + 1; year >= today.year() - yearStep.last() - 1; --year) {
        bool anyNotAfter = false;
        for (qsizetype i = 0; i < days.size() && !anyNotAfter; ++i) {
            const QDate d(year + yearStep[i], days[i].month, days[i].day);
            anyNotAfter = d.isValid() && d <= today;
        }
        if (anyNotAfter) {
            firstYear = year;
            break;
        }
    }
    for (qsizetype i = 0; i < days.size(); ++i) {
        const QDate date(firstYear + yearStep[i], days[i].month, days[i].day);
        if (!date.isValid() || date > today)
            continue;
        for (int slot = 0; slot < 2; ++slot) {
            const int column = days[i].column + slot;
            // The first morning may hold only the copy of the first evening that gives the
            // graphs a starting point: not a measurement of its own.
            if (column == 0 && isCopyOfFirstEvening(table))
                continue;
            HistoryEntry e = historyEntry(table, column, date, QTime());
            if (std::isfinite(e.weightKg) && e.weightKg > 0)
                rows[keyOf(e)] = e;
        }
    }
    return rows;
}
