// SPDX-License-Identifier: GPL-3.0-or-later
// The measurement history: kept through a clear and a used-up month, exported byte for byte, read
// back whole or not at all, surviving a kill mid-write, and its trend counting days.
#include "WindowHarness.h"
#include "app/HistoryWindow.h"
#include "history/HistoryFile.h"
#include "history/HistoryImport.h"
#include "history/HistoryTrend.h"
#include "history/RecordHistory.h"
#include "record/TextGrid.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMutex>
#include <QPushButton>
#include <QSemaphore>
#include <QSettings>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

HistoryEntry weighed(const QDate &day, int slot, float kg)
{
    HistoryEntry e;
    e.day = day;
    e.eveningSlot = slot;
    e.weightKg = kg;
    return e;
}

const QByteArray header = "date,slot,time,sex,age,height_cm,weight_kg,body_fat_percent,"
                          "fat_weight_kg,bmi,bmr_kcal,body_type,excess_fat_kg,mood\n";

} // namespace

class TestHistory : public WindowTest
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        // The window's size and goal go to settings of this run only.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
    }

    void twoMonthsWithAClearBetweenAreAllKeptAndExported()
    {
        h->clock = QDateTime(QDate(2024, 4, 1), QTime(7, 30));
        h->start();
        h->fill(1, u"30"_s, u"170"_s, u"60"_s, u"20"_s);
        h->click("PictureButton3");
        h->clock = QDateTime(QDate(2024, 4, 2), QTime(3, 10)); // still the evening of 1 April
        h->enter("RightEdit3", u"61"_s);
        h->click("PictureButton3");
        h->click("PictureButton12");
        // Cleared: the record goes, the history stays.
        h->click("PictureButton10");
        h->click("Button18");
        h->click("Button17");
        QVERIFY(!QFile::exists(h->recordPath()));
        h->clock = QDateTime(QDate(2024, 5, 3), QTime(7, 5));
        h->start();
        h->fill(2, u"41"_s, u"158"_s, u"52.5"_s, u"28"_s);
        h->click("PictureButton3");
        QVERIFY2(h->messages.isEmpty(), qPrintable(h->messages.join(u'\n')));

        const QByteArray rows
            = "2024-04-01,morning,07:30,male,30,170.0,60.0,20.0,12.0,20.8,1374,6,1.5,\n"
              "2024-04-01,evening,03:10,male,30,170.0,61.0,20.0,12.2,21.1,1391,6,1.5,2\n"
              "2024-05-03,morning,07:05,female,41,158.0,52.5,28.0,14.7,21.0,1145,7,3.4,\n";
        const QString csv = h->folder.filePath(u"out.csv"_s);
        exportHistoryCsv(h->recordPath(), csv, false, h->clock);
        QCOMPARE(readAll(csv), header + rows);
        exportHistoryCsv(h->recordPath(), csv, true, h->clock);
        QCOMPARE(readAll(csv), "\xEF\xBB\xBF" + QByteArray(header + rows).replace("\n", "\r\n"));

        // Into a fresh folder and out again: the same bytes.
        QTemporaryDir fresh;
        const QString record = fresh.filePath(u"settemp.dat"_s);
        QCOMPARE(
            importHistoryCsv(record, csv, h->clock), u"Added 3 rows, skipped 0 already kept."_s);
        QCOMPARE(
            importHistoryCsv(record, csv, h->clock), u"Added 0 rows, skipped 3 already kept."_s);
        exportHistoryCsv(record, fresh.filePath(u"again.csv"_s), false, h->clock);
        QCOMPARE(readAll(fresh.filePath(u"again.csv"_s)), header + rows);

        // Ctrl+H shows the same history.
        QApplication::setActiveWindow(h->window.get());
        QVERIFY(QTest::qWaitForWindowActive(h->window.get()));
        QTest::keyClick(h->window.get(), Qt::Key_H, Qt::ControlModifier);
        QVERIFY(h->window->historyWindow());
        QTRY_VERIFY(h->window->historyWindow()->isVisible());
        QCOMPARE(h->window->historyWindow()->rows().size(), std::size_t(3));
    }

    void historySheetIsHandedToThePrinterWithoutHoldingTheWindow()
    {
        QSemaphore go;
        QMutex lock;
        QStringList jobs;
        h->printer = [&](const ReportPage &, const QString &documentName) {
            go.tryAcquire(1, 10000);
            const QMutexLocker locked(&lock);
            jobs << documentName;
        };
        h->start();
        h->fill(1, u"30"_s, u"170"_s, u"60"_s, u"20"_s);
        h->click("PictureButton3");
        QApplication::setActiveWindow(h->window.get());
        QVERIFY(QTest::qWaitForWindowActive(h->window.get()));
        QTest::keyClick(h->window.get(), Qt::Key_H, Qt::ControlModifier);
        QVERIFY(h->window->historyWindow());
        auto *print = h->window->historyWindow()->findChild<QPushButton *>(u"HistoryPrint"_s);
        auto *status = h->window->historyWindow()->findChild<QLabel *>(u"HistoryStatus"_s);
        print->click();
        // Back from the click with the job still under way.
        QVERIFY(!print->isEnabled());
        QCOMPARE(status->text(), u"印刷中…"_s);
        go.release();
        QTRY_COMPARE(status->text(), u"印刷しました。"_s);
        QVERIFY(print->isEnabled());
        QCOMPARE(jobs, QStringList {u"ペミラ 計測の履歴"_s});
        QCOMPARE(h->messages, QStringList());
    }

    void usedUpRecordOffersANewMonth_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::newRow("declined-keeps-the-record") << false;
        QTest::newRow("accepted-begins-today") << true;
    }
    void usedUpRecordOffersANewMonth()
    {
        QFETCH(bool, answer);
        h->clock = QDateTime(QDate(2024, 4, 1), QTime(8, 0));
        h->start();
        h->fill(1, u"30"_s, u"170"_s, u"60"_s, u"20"_s);
        h->click("PictureButton3");
        const QByteArray april = h->recordBytes();
        h->clock = QDateTime(QDate(2024, 5, 3), QTime(8, 0));
        h->start();
        h->answer = answer;
        h->enter("RightEdit3", u"62"_s);
        h->enter("RightEdit4", u"22"_s);
        h->click("PictureButton3");
        QCOMPARE(h->questions.size(), 1);
        h->click("PictureButton3");
        QCOMPARE(h->questions.size(), 1); // asked once a run
        QCOMPARE(h->recordBytes() == april, !answer);
        const HistoryRows kept = HistoryFile(HistoryFile::pathFor(h->recordPath())).read();
        QCOMPARE(kept.size(), std::size_t(answer ? 2 : 1));
        QCOMPARE(kept.begin()->first, HistoryKey(QDate(2024, 4, 1), 0));
        if (answer) {
            QCOMPARE(h->window->recordTable().cell(0, 2), u"3"_s);
            QCOMPARE(h->window->recordTable().cell(0, 3), u"62.0"_s);
            QCOMPARE(h->window->recordTable().cell(2, 3), QString());
        }
    }

    void killDuringAWriteLosesNoKeptRow()
    {
        const QString path = h->folder.filePath(u"k-history.csv"_s);
        int acks[2];
        QCOMPARE(::pipe(acks), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(acks[0]);
            HistoryFile file(path);
            try {
                for (int i = 0;; ++i) {
                    file.append(weighed(QDate(2000, 1, 1).addDays(i), 0, 60));
                    if (::write(acks[1], "x", 1) != 1)
                        ::_exit(1);
                }
            } catch (...) {
                ::_exit(1);
            }
        }
        ::close(acks[1]);
        char ack;
        int confirmed = 0;
        while (confirmed < 200 && ::read(acks[0], &ack, 1) == 1)
            ++confirmed;
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        ::close(acks[0]);
        // Whatever the kill cut short, a line half written included, every confirmed row is there.
        QFile cut(path);
        QVERIFY(cut.open(QIODevice::ReadWrite));
        cut.seek(cut.size());
        cut.write("2001-01-01,morn");
        cut.close();
        HistoryFile file(path);
        QVERIFY(file.read().size() >= std::size_t(confirmed));
        file.append(weighed(QDate(2003, 1, 1), 1, 70));
        const HistoryRows rows = file.read();
        QVERIFY(rows.size() >= std::size_t(confirmed + 1));
        QVERIFY(rows.count({QDate(2003, 1, 1), 1}));
        QVERIFY(!rows.count({QDate(2001, 1, 1), 0}));
    }

    void damagedHistoryIsKeptAsideAndBegunAgain()
    {
        const QString record = h->folder.filePath(u"settemp.dat"_s);
        const QString path = HistoryFile::pathFor(record);
        QCOMPARE(path, h->folder.filePath(u"settemp-history.csv"_s));
        writeFile(path, header + "2024-05-01,noon,,,,,60.0,,,,,,,\n");
        TextGrid table(RecordLayout::Columns, RecordLayout::Rows);
        initMonthTable(table, QDateTime(QDate(2024, 5, 1), QTime(8, 0)));
        table.setCell(2, RecordLayout::WeightRow, u"59.5"_s);
        RecordHistory history(record);
        QString notice;
        const HistoryRows rows
            = history.rows(&table, QDateTime(QDate(2024, 5, 2), QTime(9, 0)), &notice, true);
        QVERIFY(notice.contains(u"20240502-090000"_s));
        QCOMPARE(readAll(path + u".damaged-20240502-090000"_s),
            header + "2024-05-01,noon,,,,,60.0,,,,,,,\n");
        QCOMPARE(rows.size(), std::size_t(1));
        QCOMPARE(rows.begin()->first, HistoryKey(QDate(2024, 5, 2), 0));
        QCOMPARE(HistoryFile(path).read().size(), std::size_t(1));
    }

    void importIsAllOrNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("reason");
        QTest::newRow("one-bad-date")
            << QByteArray("Date;Weight\n2024-05-01;60\n2024-5-2;61\n") << 3 << u"ISO"_s;
        QTest::newRow("future") << QByteArray("date,weight\n2024-05-04,60\n") << 2 << u"future"_s;
        QTest::newRow("weight-beyond-keypad")
            << QByteArray("date,weight\n2024-05-01,60\n2024-05-02,130\n") << 3 << u"120"_s;
        QTest::newRow("fat-beyond-keypad")
            << QByteArray("weight,fat,date\n60,55,2024-05-02\n") << 2 << u"50"_s;
        QTest::newRow("no-weight-column")
            << QByteArray("date,mass_lb\n2024-05-01,130\n") << 1 << u"weight"_s;
        QTest::newRow("binary") << QByteArray("date,weight\n\x00\x01\x02", 15) << 0 << u"text"_s;
        QTest::newRow("not-utf8") << QByteArray("date,weight\n\xff\xfe,60\n") << 0 << u"UTF-8"_s;
        QTest::newRow("empty") << QByteArray("\n\n") << 0 << u"empty"_s;
        QTest::newRow("too-large") << QByteArray() << 0 << u"too large"_s;
    }
    void importIsAllOrNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        QFETCH(QString, reason);
        const QString record = h->folder.filePath(u"settemp.dat"_s);
        HistoryFile kept(HistoryFile::pathFor(record));
        kept.append(weighed(QDate(2024, 4, 30), 0, 58));
        const QByteArray before = readAll(kept.path());
        const QString csv = h->folder.filePath(u"in.csv"_s);
        writeFile(csv, bytes);
        if (bytes.isEmpty() && line == 0 && reason.startsWith(u"too"_s))
            QVERIFY(QFile::resize(csv, 100 * 1024 * 1024));
        try {
            HistoryImport::mergeFile(csv, kept.read(), QDateTime(QDate(2024, 5, 3), QTime(8, 0)));
            QFAIL("accepted");
        } catch (const HistoryImport::Refused &refused) {
            QCOMPARE(refused.line, line);
            QVERIFY2(refused.english.contains(reason), qPrintable(refused.english));
            QVERIFY(refused.japanese.contains(u"何も変更していません"_s));
        }
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
            importHistoryCsv(record, csv, QDateTime(QDate(2024, 5, 3), QTime(8, 0))));
        QCOMPARE(readAll(kept.path()), before);
    }

    void trackerExportPicksSlotsAndSkipsKeptRows()
    {
        const QByteArray tracker = "\"weight (kg)\";\"dateTime\";\"body fat (%)\"\n"
                                   "61,5;2024-05-02 03:59;\n"
                                   "60.04;2024-05-02T16:00:00;20\n"
                                   "59.9;2024-05-01;21.5\n";
        const HistoryRows existing {{{QDate(2024, 5, 1), 0}, weighed(QDate(2024, 5, 1), 0, 58)}};
        const HistoryImport::Outcome outcome
            = HistoryImport::merge(tracker, existing, QDateTime(QDate(2024, 5, 3), QTime(8, 0)));
        QCOMPARE(outcome.added, 2);
        QCOMPARE(outcome.skipped, 1);
        const HistoryEntry &late = outcome.rows.at({QDate(2024, 5, 1), 1});
        QCOMPARE(late.weightKg, 61.5f);
        QCOMPARE(late.time, QTime(3, 59));
        QVERIFY(std::isnan(late.bodyFatPercent));
        const HistoryEntry &evening = outcome.rows.at({QDate(2024, 5, 2), 1});
        QCOMPARE(evening.weightKg, 60.0f);
        QCOMPARE(evening.fatWeightKg, 12.0f);
        QCOMPARE(outcome.rows.at({QDate(2024, 5, 1), 0}).weightKg, 58.0f);
    }

    void trendCountsDaysNotMeasurements()
    {
        HistoryRows rows;
        for (int day = 1; day <= 3; ++day)
            for (int slot = 0; slot < 2; ++slot)
                rows[{QDate(2024, 5, day), slot}] = weighed(QDate(2024, 5, day), slot, 60);
        rows[{QDate(2024, 5, 8), 0}] = weighed(QDate(2024, 5, 8), 0, 67);
        rows[{QDate(2024, 5, 20), 0}] = weighed(QDate(2024, 5, 20), 0, 70);
        const QList<HistoryTrend::Point> trend = HistoryTrend::trend(rows, 7);
        QCOMPARE(trend.size(), 5);
        QCOMPARE(trend[2].value, 60.0);
        // 2 to 8 May: four weights of 60 on the 2nd and 3rd, one of 67.
        QCOMPARE(trend[3].day, QDate(2024, 5, 8));
        QCOMPARE(trend[3].value, (4 * 60 + 67) / 5.0);
        // After twelve days without a measurement, nothing older is left in the window.
        QCOMPARE(trend[4].value, 70.0);
        const QList<HistoryTrend::Month> months = HistoryTrend::months(rows);
        QCOMPARE(months.size(), 1);
        QCOMPARE(months[0].measurements, 8);
        QCOMPARE(months[0].highestWeight, 70.0);
    }

private:
    QTemporaryDir m_settings;
};

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
