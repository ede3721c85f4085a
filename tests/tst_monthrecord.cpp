// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/SheetAdvice.h"
#include "record/MonthRecord.h"
#include "record/StrGrdIO.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QDateTime may(int day, int hour)
{
    return QDateTime(QDate(2024, 5, day), QTime(hour, 0));
}

const Measurements first {1, 30, 170, 60, 20};
const Measurements later {2, 41, 158, 71, 34};

} // namespace

class TestMonthRecord : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        clock = may(3, 19);
    }

    void unreadableRecordLendsNoRowsToTheNewMonth_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::newRow("second-month-marker-wild") << 3 << u"99"_s;
        QTest::newRow("height-not-a-number") << 2 << u"abc"_s;
    }
    void unreadableRecordLendsNoRowsToTheNewMonth()
    {
        QFETCH(int, column);
        QFETCH(QString, text);
        clock = QDateTime(QDate(2024, 4, 28), QTime(19, 0));
        {
            auto r = open();
            QVERIFY(!r->load());
            measure(*r, first, 2);
        }
        TextGrid damaged(RecordLayout::Columns, RecordLayout::Rows);
        TStringGridIO::parse(readRecord(), damaged, u","_s, false);
        damaged.setCell(column, RecordLayout::ProfileRow, text);
        writeRecord(TStringGridIO::serialize(damaged, u","_s, false));

        clock = may(1, 7);
        auto r = open();
        QVERIFY(!r->load());
        QVERIFY(r->damagedAtStart());
        QVERIFY(!r->keepAside().isEmpty());
        const TextGrid &table = r->table();
        QCOMPARE(table.cell(0, RecordLayout::MonthRow), u"5"_s);
        QCOMPARE(table.cell(0, RecordLayout::DayRow), u"1"_s);
        for (int c = 0; c < RecordLayout::Columns; ++c) {
            for (int row = RecordLayout::WeightRow; row < RecordLayout::Rows; ++row)
                QVERIFY2(table.cell(c, row).isEmpty(), qPrintable(u"%1,%2"_s.arg(c).arg(row)));
        }
        QCOMPARE(table.cell(0, RecordLayout::SexColumn), QString());
    }

    void listenersHearEachMeasurementOnceItIsInTheFile()
    {
        auto r = open();
        QVERIFY(!r->load());
        QList<RecordedMeasurement> heard;
        r->addListener([&](const RecordedMeasurement &m) { heard << m; });

        measure(*r, first, 3);
        QCOMPARE(heard.size(), 1);
        QCOMPARE(heard[0].column, 1);
        QCOMPARE(heard[0].slot, (RecordSlot {QDate(2024, 5, 3), 1}));
        QCOMPARE(heard[0].measuredAt, clock);
        QCOMPARE(heard[0].measurements.weightKg, first.weightKg);
        QCOMPARE(heard[0].assessment.bmiText, assess(first).bmiText);
        QCOMPARE(heard[0].mood, 3);
        QCOMPARE(r->table().cell(1, RecordLayout::MoodRow), u"3"_s);

        // A save with nothing new measured tells nothing; one that fails tells nothing either.
        r->save();
        QCOMPARE(heard.size(), 1);
        clock = may(4, 7);
        QCOMPARE(r->relocate(), MonthRecord::Relocated::Moved);
        QFile::remove(path());
        QVERIFY(QDir().mkdir(path()));
        r->recordMeasurement(later);
        QVERIFY_THROWS_EXCEPTION(std::exception, r->save());
        QCOMPARE(heard.size(), 1);
        QVERIFY(QDir().rmdir(path()));
        r->save();
        QCOMPARE(heard.size(), 2);
        QCOMPARE(heard[1].column, 2);

        // Used up: the table keeps its 31 days and nobody hears of the measurement.
        clock = QDateTime(QDate(2024, 6, 20), QTime(8, 0));
        r->relocate();
        QVERIFY(r->usedUp());
        const TextGrid before = r->table();
        r->recordMeasurement(first);
        r->setMood(2);
        QCOMPARE(r->table(), before);
        r->save();
        QCOMPARE(heard.size(), 2);
    }

    void sheetAdviceIsTheLatestMeasurements()
    {
        auto r = open();
        QVERIFY(!r->load());
        QCOMPARE(sheetAdvice(r->table()), SheetAdvice());
        clock = may(3, 7);
        r->relocate();
        measure(*r, first);
        clock = may(4, 19);
        r->relocate();
        measure(*r, later, 1);
        const Assessment a = assess(later);
        QVERIFY(!a.advice1.isEmpty());
        QCOMPARE(sheetAdvice(r->table()), (SheetAdvice {a.advice1, a.advice2}));

        TextGrid damaged = r->table();
        damaged.setCell(RecordLayout::AgeColumn, RecordLayout::ProfileRow, u"x"_s);
        QCOMPARE(sheetAdvice(damaged), SheetAdvice());
    }

private:
    QString path() const { return dir->filePath(u"settemp.dat"_s); }
    std::unique_ptr<MonthRecord> open()
    {
        return std::make_unique<MonthRecord>(path(), QString(), [this] { return clock; });
    }
    void measure(MonthRecord &r, const Measurements &m, int mood = 0)
    {
        r.recordMeasurement(m);
        if (mood)
            r.setMood(mood);
        QCOMPARE(r.reconcile(), RecordKeeper::Reconciled::Unchanged);
        r.save();
    }
    QByteArray readRecord() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void writeRecord(const QByteArray &bytes) const
    {
        QFile file(path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    std::unique_ptr<QTemporaryDir> dir;
    QDateTime clock;
};

QTEST_GUILESS_MAIN(TestMonthRecord)
#include "tst_monthrecord.moc"
