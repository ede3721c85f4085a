// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowHarness.h"

#include <QDir>
#include <QFile>

namespace {

// The record file a new table started on 3 May 2024 holds after one measurement in column
// `column`, built here cell by cell, independently of the program's own tables.
QByteArray expectedFile(const QStringList &profile, int column, const QStringList &values)
{
    QList<QStringList> rows(16, QStringList(62, QString()));
    for (int i = 0; i < profile.size(); ++i)
        rows[0][i] = profile[i];
    int k = 0;
    for (int d = 3; d <= 31; ++d, k += 2) {
        rows[1][k] = u"5"_s;
        rows[2][k] = QString::number(d);
    }
    for (int d = 1; k < 62; ++d, k += 2) {
        rows[1][k] = u"6"_s;
        rows[2][k] = QString::number(d);
    }
    for (int i = 0; i < values.size(); ++i)
        rows[3 + i][column] = values[i];
    QByteArray bytes;
    for (const QStringList &row : rows)
        bytes += row.join(u',').toLatin1() + "\r\n";
    return bytes;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestMeasurementFlow : public WindowTest
{
    Q_OBJECT
private Q_SLOTS:
    void morningMeasurementShowsAndSavesExactly()
    {
        h->start();
        h->fill(1, u"20"_s, u"175"_s, u"70"_s, u"18"_s);
        QVERIFY(h->recordBytes().isEmpty()); // nothing is written before a measurement
        h->click("PictureButton3");
        QCOMPARE(h->label("Label9"), u"22.9"_s);
        QCOMPARE(h->label("Label10"), u"1628"_s);
        QCOMPARE(h->find<TPanel>("Panel2")->caption(), u"健康標準"_s);
        QVERIFY(h->shown("Image2"));
        QVERIFY(!h->shown("Image1"));
        QCOMPARE(h->label("Label12"), u"12.6kg"_s);
        QCOMPARE(h->label("Label14"), u"なし!"_s);
        QCOMPARE(h->label("Label20"), u"さらにシェイプアップした体型を目指すなら、"_s);
        QCOMPARE(h->label("Label21"), u"体脂肪率 15.0%を目標に 2.5kgの減量（体脂肪）を！"_s);
        const QByteArray expected = expectedFile({"1", "20", "175.0", "58", "6"}, 0,
            {"70.0", "18.0", "7", "22.9", "1628", "12.6", "0", "15.0", "2.5", "0"});
        QCOMPARE(h->recordBytes(), expected);
        QCOMPARE(expected.count("\r\n"), 16);
    }

    void dietPopupOpensAndCloses()
    {
        h->start();
        h->fill(2, u"45"_s, u"155"_s, u"60"_s, u"35"_s);
        h->click("PictureButton3");
        QCOMPARE(h->find<TPanel>("Panel2")->caption(), u"隠れ肥満"_s);
        QVERIFY(h->shown("Image5"));
        h->click("PictureButton5");
        QVERIFY(h->shown("Panel5") && h->shown("Panel3"));
        QVERIFY(!h->find<QWidget>("Panel1")->isEnabled());
        h->click("Button1");
        QVERIFY(!h->shown("Panel5"));
        QVERIFY(h->find<QWidget>("Panel1")->isEnabled());
        h->click("PictureButton4");
        QVERIFY(!h->button("PictureButton5")->isEnabled());
        QVERIFY(h->button("PictureButton6")->isEnabled());
        QVERIFY(h->button("PictureButton10")->isEnabled());
        QCOMPARE(h->label("Label9"), u"--.-"_s);
        QVERIFY(h->shown("Image1"));
    }

    void restartRestoresTheProfile()
    {
        h->start();
        h->fill(2, u"29"_s, u"158"_s, u"52"_s, u"32"_s);
        h->click("PictureButton3");
        h->start();
        QCOMPARE(h->edit("RightEdit1")->text(), u"29"_s);
        QCOMPARE(h->edit("RightEdit2")->text(), u"158.0"_s);
        QCOMPARE(h->edit("RightEdit3")->text(), QString());
        QCOMPARE(h->button("PictureButton1")->caption(), QString());
        QCOMPARE(h->button("PictureButton2")->caption(), u"♀"_s);
        QVERIFY(h->button("PictureButton10")->isEnabled());
        QVERIFY(h->button("PictureButton6")->isEnabled());
        QCOMPARE(h->window->recordTable().cell(0, 3), u"52.0"_s);
    }

    void eveningMeasurementWaitsForTheMood()
    {
        h->clock = QDateTime(QDate(2024, 5, 3), QTime(19, 0));
        h->start();
        QCOMPARE(h->window->todayColumn(), 1);
        h->fill(1, u"20"_s, u"175"_s, u"70"_s, u"18"_s);
        h->click("PictureButton3");
        QVERIFY(h->shown("Panel15"));
        QVERIFY(!h->find<QWidget>("Panel1")->isEnabled());
        QVERIFY(h->recordBytes().isEmpty());
        QCOMPARE(h->label("Label9"), u"--.-"_s);

        // Pressed on one mood, released outside it, then another mood clicked: the second counts.
        TPictureButton *up = h->button("PictureButton11");
        QTest::mousePress(up, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseMove(up, QPoint(5, 60));
        QTest::mouseRelease(up, Qt::LeftButton, {}, QPoint(5, 60));
        QVERIFY(h->shown("Panel15"));
        QCOMPARE(h->window->recordTable().cell(1, 12), u"1"_s);
        h->click("PictureButton14");
        QVERIFY(!h->shown("Panel15"));
        QCOMPARE(h->label("Label9"), u"22.9"_s);
        QVERIFY(h->find<QWidget>("Panel6")->isEnabled());
        const TextGrid &table = h->window->recordTable();
        QCOMPARE(table.cell(1, 12), u"4"_s);
        // The first measurement of the table came in the evening: column 0 gets a copy.
        for (int row = 3; row <= 15; ++row)
            QCOMPARE(table.cell(0, row), table.cell(1, row));
        QVERIFY(h->recordBytes().contains(",4,"));
    }

    void zeroHeightFromARecordIsReportedAndChangesNothing()
    {
        h->start();
        h->fill(1, u"30"_s, u"170"_s, u"60"_s, u"20"_s);
        h->click("PictureButton3");
        QByteArray bytes = h->recordBytes();
        bytes.replace(",170.0,", ",0.0,");
        writeFile(h->recordPath(), bytes);
        h->start();
        QCOMPARE(h->edit("RightEdit2")->text(), u"0.0"_s);
        h->enter("RightEdit3", u"61"_s);
        h->enter("RightEdit4", u"21"_s);
        h->click("PictureButton3");
        QCOMPARE(h->messages.size(), 1);
        QVERIFY(h->messages.first().contains(u"身長"_s));
        QCOMPARE(h->recordBytes(), bytes);
        QCOMPARE(h->edit("RightEdit3")->text(), u"61"_s);
        QCOMPARE(h->label("Label9"), u"--.-"_s);
    }

    void usedUpRecordIsAssessedButNotWritten()
    {
        h->clock = QDateTime(QDate(2024, 4, 1), QTime(8, 0));
        h->start();
        h->fill(1, u"30"_s, u"170"_s, u"60"_s, u"20"_s);
        h->click("PictureButton3");
        const QByteArray april = h->recordBytes();
        QVERIFY(!april.isEmpty());
        h->clock = QDateTime(QDate(2024, 5, 3), QTime(20, 0));
        h->start();
        QVERIFY(h->window->windowTitle().contains(u"2024/5/3 20:0"_s));
        QVERIFY(h->window->windowTitle().contains(u"C"_s));
        h->enter("RightEdit3", u"62"_s);
        h->enter("RightEdit4", u"22"_s);
        h->click("PictureButton3");
        QVERIFY(!h->shown("Panel15"));
        QCOMPARE(h->label("Label9"), u"21.5"_s);
        QCOMPARE(h->recordBytes(), april);
        QCOMPARE(h->window->recordTable().cell(0, 3), u"60.0"_s);
    }

    void clearingCanBeCancelled()
    {
        h->start();
        h->fill(1, u"30"_s, u"170"_s, u"60"_s, u"20"_s);
        h->click("PictureButton3");
        const QByteArray bytes = h->recordBytes();
        h->click("PictureButton10");
        QCOMPARE(h->label("Label18"), u"データを消去して終了します"_s);
        QCOMPARE(h->push("Button18")->text(), u"消去する"_s);
        for (const char *name : {"Panel1", "Panel6", "Panel14", "PictureButton8", "PictureButton9",
                 "PictureButton10", "PictureButton6", "Frame11"})
            QVERIFY2(!h->find<QWidget>(name)->isEnabled(), name);
        h->click("Button17");
        QVERIFY(!h->shown("Panel11"));
        QCOMPARE(h->push("Button18")->text(), u"本当だってば"_s);
        for (const char *name : {"Panel1", "Panel6", "Panel14", "PictureButton8", "PictureButton9",
                 "PictureButton10", "PictureButton6", "Frame11"})
            QVERIFY2(h->find<QWidget>(name)->isEnabled(), name);
        QCOMPARE(h->recordBytes(), bytes);
    }

    void clearingDeletesTheRecordAndCloses()
    {
        h->start();
        h->fill(1, u"30"_s, u"170"_s, u"60"_s, u"20"_s);
        h->click("PictureButton3");
        h->click("PictureButton10");
        h->click("Button18");
        QCOMPARE(h->label("Label18"), u"消去前にグラフ印刷しますか？"_s);
        QCOMPARE(h->push("Button17")->text(), u"直ちに終了"_s);
        QCOMPARE(h->push("Button18")->text(), u"印刷して終了"_s);
        h->click("Button17");
        QVERIFY(!QFile::exists(h->recordPath()));
        QVERIFY(!h->window->isVisible());
        QVERIFY(h->messages.isEmpty());
    }

    void failedSaveIsReportedAndTheMeasurementStaysShown()
    {
        h->start();
        QDir(h->folder.path()).mkdir(u"settemp.dat"_s); // a folder where the file should go
        h->fill(1, u"30"_s, u"170"_s, u"60"_s, u"20"_s);
        h->click("PictureButton3");
        QCOMPARE(h->messages.size(), 1);
        QCOMPARE(h->label("Label9"), u"20.8"_s);
    }

    void graphSwitchDrawsTheOtherGraph()
    {
        h->start();
        h->fill(1, u"30"_s, u"170"_s, u"60"_s, u"20"_s);
        h->click("PictureButton3");
        TPictureButton *graphSwitch = h->button("PictureButton9");
        // The axis shows base + 4 at its top: 60 kg of weight, 12 kg of fat.
        QCOMPARE(h->label("Label22"), u"64"_s);
        h->click("PictureButton9");
        QCOMPARE(graphSwitch->caption(), u"体重グラフ表示"_s);
        QCOMPARE(h->label("Label22"), u"16"_s);
        QCOMPARE(h->label("Label30"), u"8"_s);
        h->click("PictureButton9");
        QCOMPARE(graphSwitch->caption(), u"脂肪重量グラフ表示"_s);
        QCOMPARE(h->label("Label22"), u"64"_s);
    }
};

QTEST_MAIN(TestMeasurementFlow)
#include "tst_measurementflow.moc"
