// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/MonthTable.h"
#include "record/TextGrid.h"

#include <QTest>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

QDateTime at(int year, int month, int day, int hour, int minute)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute));
}

// The (month, day) texts of the even columns as "M/D", one per table day.
QStringList calendar(const TextGrid &table)
{
    QStringList days;
    for (int column = 0; column < 62; column += 2)
        days << table.cell(column, 1) + u'/' + table.cell(column, 2);
    return days;
}

QStringList expectedDays(QDate first)
{
    QStringList days;
    for (int i = 0; i < 31; ++i) {
        const QDate day = first.addDays(i);
        days << u"%1/%2"_s.arg(day.month()).arg(day.day());
    }
    return days;
}

TextGrid tableFrom(QDate startDay)
{
    TextGrid table(62, 16);
    initMonthTable(table, QDateTime(startDay, QTime(9, 0)));
    return table;
}

} // namespace

class TestMonthTable : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void slotShiftsByFourHours_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QDate>("day");
        QTest::addColumn<int>("eveningSlot");

        QTest::newRow("slot-evening-0359") << at(2024, 5, 6, 3, 59) << QDate(2024, 5, 5) << 1;
        QTest::newRow("slot-morning-0400") << at(2024, 5, 6, 4, 0) << QDate(2024, 5, 6) << 0;
        QTest::newRow("slot-morning-1559") << at(2024, 5, 6, 15, 59) << QDate(2024, 5, 6) << 0;
        QTest::newRow("slot-evening-1600") << at(2024, 5, 6, 16, 0) << QDate(2024, 5, 6) << 1;
        QTest::newRow("slot-evening-2359") << at(2024, 5, 6, 23, 59) << QDate(2024, 5, 6) << 1;
        QTest::newRow("slot-new-year-0100") << at(2025, 1, 1, 1, 0) << QDate(2024, 12, 31) << 1;
        QTest::newRow("slot-leap-day-0200") << at(2024, 3, 1, 2, 0) << QDate(2024, 2, 29) << 1;
    }
    void slotShiftsByFourHours()
    {
        QFETCH(QDateTime, now);
        QFETCH(QDate, day);
        QFETCH(int, eveningSlot);
        const RecordSlot slot = recordSlot(now);
        QCOMPARE(slot.day, day);
        QCOMPARE(slot.eveningSlot, eveningSlot);
    }

    void newTableLaysOutThirtyOneDays_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QDate>("firstDay");
        QTest::addColumn<int>("secondMonthColumn");
        QTest::addColumn<int>("secondMonth");
        QTest::addColumn<QString>("dayAfterTable");

        QTest::newRow("20-april") << at(2024, 4, 20, 9, 0) << QDate(2024, 4, 20) << 22 << 5
                                  << u"21"_s;
        QTest::newRow("1-july-one-month")
            << at(2024, 7, 1, 9, 0) << QDate(2024, 7, 1) << 62 << 8 << u"1"_s;
        QTest::newRow("31-january-three-months")
            << at(2023, 1, 31, 9, 0) << QDate(2023, 1, 31) << 2 << 2 << u"3"_s;
        QTest::newRow("31-january-leap")
            << at(2024, 1, 31, 9, 0) << QDate(2024, 1, 31) << 2 << 2 << u"2"_s;
        QTest::newRow("31-december")
            << at(2024, 12, 31, 20, 0) << QDate(2024, 12, 31) << 2 << 1 << u"31"_s;
        QTest::newRow("leap-february")
            << at(2024, 2, 10, 9, 0) << QDate(2024, 2, 10) << 40 << 3 << u"12"_s;
        QTest::newRow("before-4am-is-previous-day")
            << at(2024, 5, 1, 3, 0) << QDate(2024, 4, 30) << 2 << 5 << u"31"_s;
    }
    void newTableLaysOutThirtyOneDays()
    {
        QFETCH(QDateTime, now);
        QFETCH(QDate, firstDay);
        QFETCH(int, secondMonthColumn);
        QFETCH(int, secondMonth);
        QFETCH(QString, dayAfterTable);

        TextGrid table(62, 16);
        const MonthMarkers markers = initMonthTable(table, now);
        QCOMPARE(calendar(table), expectedDays(firstDay));
        QCOMPARE(markers.secondMonthColumn, secondMonthColumn);
        QCOMPARE(markers.secondMonth, secondMonth);
        QCOMPARE(markers.dayAfterTable, dayAfterTable);
        QCOMPARE(table.cell(3, 0), QString::number(secondMonthColumn));
        QCOMPARE(table.cell(4, 0), QString::number(secondMonth));
        // The second month starts at its marker (unless the table holds none of it).
        if (secondMonthColumn < 62) {
            QCOMPARE(table.cell(secondMonthColumn, 1), QString::number(secondMonth));
            QCOMPARE(table.cell(secondMonthColumn, 2), u"1"_s);
        }
        for (int column = 1; column < 62; column += 2) {
            QCOMPARE(table.cell(column, 1), QString());
            QCOMPARE(table.cell(column, 2), QString());
        }
    }

    void newTableKeepsOtherCells()
    {
        // After a failed restore the file's measurements stay under the new dates.
        TextGrid table(62, 16);
        for (int row = 0; row < 16; ++row)
            for (int column = 0; column < 62; ++column)
                table.setCell(column, row, u"x"_s);
        initMonthTable(table, at(2024, 4, 20, 9, 0));
        for (int row = 0; row < 16; ++row)
            for (int column = 0; column < 62; ++column) {
                const bool calendarCell = (row == 1 || row == 2) && column % 2 == 0;
                const bool marker = row == 0 && (column == 3 || column == 4);
                if (!calendarCell && !marker)
                    QCOMPARE(table.cell(column, row), u"x"_s);
            }
        QCOMPARE(table.cell(0, 1), u"4"_s);
        QCOMPARE(table.cell(21, 2), u"x"_s);
    }

    void captionHasNoLeadingZeros()
    {
        const TextGrid table = tableFrom(QDate(2024, 5, 1));
        const TodayLocation today = locateToday(table, at(2024, 5, 3, 7, 5));
        QCOMPARE(today.caption, u"毎日、起床直後のトイレの後＆夕食の直後に計測！2024/5/3 7:5"_s);
        QVERIFY(!today.usedUp);
        QCOMPARE(today.todayColumn, 4);
        QCOMPARE(today.eveningSlot, 0);
    }

    void todayColumnFromCalendar_data()
    {
        QTest::addColumn<QDate>("startDay");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<int>("todayColumn");
        QTest::addColumn<int>("eveningSlot");
        QTest::addColumn<bool>("usedUp");

        QTest::newRow("start-morning")
            << QDate(2024, 5, 10) << at(2024, 5, 10, 6, 0) << 0 << 0 << false;
        QTest::newRow("start-evening")
            << QDate(2024, 5, 10) << at(2024, 5, 10, 19, 0) << 1 << 1 << false;
        QTest::newRow("last-day-evening-after-midnight")
            << QDate(2024, 5, 10) << at(2024, 6, 10, 2, 0) << 61 << 1 << false;
        QTest::newRow("second-month")
            << QDate(2024, 5, 10) << at(2024, 6, 1, 8, 0) << 44 << 0 << false;
        // Test B: 9 May has no column, the same day of the next month has.
        QTest::newRow("set-back-picks-next-month")
            << QDate(2024, 5, 10) << at(2024, 5, 9, 8, 0) << 60 << 0 << false;
        QTest::newRow("december-table-set-back")
            << QDate(2024, 12, 10) << at(2024, 12, 9, 20, 0) << 61 << 1 << false;
        // A January table must not claim the same day of every later month.
        QTest::newRow("january-table-month-later")
            << QDate(2025, 1, 10) << at(2025, 2, 10, 8, 0) << 0 << 0 << true;
        QTest::newRow("january-table-two-months-later")
            << QDate(2025, 1, 10) << at(2025, 3, 15, 20, 0) << 0 << 1 << true;
        QTest::newRow("day-after-table")
            << QDate(2024, 5, 10) << at(2024, 6, 10, 8, 0) << 0 << 0 << true;
        QTest::newRow("set-back-before-start")
            << QDate(2024, 5, 10) << at(2024, 3, 5, 8, 0) << 0 << 0 << true;
        QTest::newRow("empty-table") << QDate() << at(2024, 5, 10, 8, 0) << 0 << 0 << true;
    }
    void todayColumnFromCalendar()
    {
        QFETCH(QDate, startDay);
        QFETCH(QDateTime, now);
        QFETCH(int, todayColumn);
        QFETCH(int, eveningSlot);
        QFETCH(bool, usedUp);

        const TextGrid table = startDay.isValid() ? tableFrom(startDay) : TextGrid(62, 16);
        const TodayLocation today = locateToday(table, now);
        QCOMPARE(today.todayColumn, todayColumn);
        QCOMPARE(today.eveningSlot, eveningSlot);
        QCOMPARE(today.usedUp, usedUp);
        QCOMPARE(today.caption.endsWith(usedUpNotice()), usedUp);
        QVERIFY(today.caption.startsWith(measurePrompt()));
    }

    void oddColumnDateIsIgnored()
    {
        // An edited file with a date in column 61 must not send the evening slot to column 62.
        TextGrid table(62, 16);
        table.setCell(61, 1, u"5"_s);
        table.setCell(61, 2, u"3"_s);
        const TodayLocation today = locateToday(table, at(2024, 5, 3, 20, 0));
        QVERIFY(today.usedUp);
        QCOMPARE(today.todayColumn, 0);
    }

    void profileRestored()
    {
        TextGrid table(62, 16);
        writeMeasurementProfile(table, 2, 35, 158.25f);
        table.setCell(3, 0, u"22"_s);
        table.setCell(4, 0, u"5"_s);
        QCOMPARE(table.cell(2, 0), u"158.3"_s);
        const Profile profile = restoreProfile(table);
        QCOMPARE(profile.secondMonthColumn, 22);
        QCOMPARE(profile.secondMonth, 5);
        QCOMPARE(profile.sexCode, 2);
        QCOMPARE(profile.age, 35);
        QCOMPARE(profile.ageText, u"35"_s);
        QCOMPARE(profile.heightCm, 158.3f);
        QCOMPARE(profile.heightText, u"158.3"_s);
    }

    void badProfileThrows_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");

        QTest::newRow("marker-empty") << 3 << QString();
        QTest::newRow("marker-decimal") << 3 << u"22.0"_s;
        QTest::newRow("marker-below-two") << 3 << u"1"_s;
        QTest::newRow("marker-beyond-table") << 3 << u"64"_s;
        QTest::newRow("marker-wrapping") << 3 << u"4294967318"_s;
        QTest::newRow("month-zero") << 4 << u"0"_s;
        QTest::newRow("month-thirteen") << 4 << u"13"_s;
        QTest::newRow("sex-text") << 0 << u"M"_s;
        QTest::newRow("age-empty") << 1 << QString();
        QTest::newRow("age-huge") << 1 << u"99999999999"_s;
        QTest::newRow("height-empty") << 2 << QString();
        QTest::newRow("height-nan") << 2 << u"NAN"_s;
        QTest::newRow("height-inf") << 2 << u"INF"_s;
        QTest::newRow("height-beyond-float") << 2 << u"1"_s + QString(60, u'0');
        QTest::newRow("height-huge-text") << 2 << QString(10 * 1024 * 1024, u'9');
    }
    void badProfileThrows()
    {
        QFETCH(int, column);
        QFETCH(QString, text);
        TextGrid table(62, 16);
        writeMeasurementProfile(table, 1, 40, 170.0f);
        table.setCell(3, 0, u"22"_s);
        table.setCell(4, 0, u"5"_s);
        table.setCell(column, 0, text);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, restoreProfile(table));
    }

    void measurementCells()
    {
        TextGrid table(62, 16);
        writeMeasurement(table, 5, 60.94f, 21.06f);
        QCOMPARE(table.cell(5, 3), u"60.9"_s);
        QCOMPARE(table.cell(5, 4), u"21.1"_s);
        QCOMPARE(table.cell(5, 12), u"0"_s);
        writeMood(table, 5, 3);
        QCOMPARE(table.cell(5, 12), u"3"_s);
    }

    void firstColumnCompletedFromEvening()
    {
        TextGrid table = tableFrom(QDate(2024, 5, 10));
        for (int row = 3; row < 16; ++row)
            table.setCell(1, row, QString::number(row));
        completeFirstColumn(table);
        for (int row = 3; row < 16; ++row)
            QCOMPARE(table.cell(0, row), QString::number(row));
        QCOMPARE(table.cell(0, 1), u"5"_s); // the calendar stays

        // Once column 0 holds a measurement it is never replaced.
        table.setCell(1, 3, u"70.0"_s);
        completeFirstColumn(table);
        QCOMPARE(table.cell(0, 3), u"3"_s);
    }

    void recordFileBesideProgram()
    {
        QCOMPARE(recordFilePath(u"/opt/pemira/"_s), u"/opt/pemira/settemp.dat"_s);
    }
};

QTEST_GUILESS_MAIN(TestMonthTable)
#include "tst_monthtable.moc"
