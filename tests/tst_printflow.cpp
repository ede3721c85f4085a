// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowHarness.h"
#include "assessment/Assessment.h"
#include "print/SheetPdf.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QSemaphore>
#include <QProcess>
#include <QRegularExpression>

// These tests must not reach a real printer: the CUPS client is pointed at a closed port.
static const bool noPrinter = [] {
    qputenv("CUPS_SERVER", "127.0.0.1:1");
    return true;
}();

class TestPrintFlow : public WindowTest
{
    Q_OBJECT
private Q_SLOTS:
    void printPopupOpensAndCloses()
    {
        h->start();
        h->fill(1, u"30"_s, u"170"_s, u"60"_s, u"20"_s);
        h->click("PictureButton3");
        h->click("PictureButton6");
        QVERIFY(h->shown("Panel7") && h->shown("Panel8"));
        QVERIFY(!h->find<QWidget>("Panel1")->isEnabled());
        QVERIFY(!h->find<QWidget>("Panel6")->isEnabled());
        h->click("Button3");
        QVERIFY(!h->shown("Panel7"));
        QVERIFY(h->find<QWidget>("Panel1")->isEnabled());
    }

    void printingHandsTheSheetsOverWithoutHoldingTheWindow_data()
    {
        QTest::addColumn<bool>("beforeClearing");
        QTest::addColumn<bool>("fails");
        QTest::newRow("print") << false << false;
        QTest::newRow("print-fails") << false << true;
        QTest::newRow("print-before-clearing") << true << false;
        QTest::newRow("print-before-clearing-fails") << true << true;
    }

    void printingHandsTheSheetsOverWithoutHoldingTheWindow()
    {
        QFETCH(bool, beforeClearing);
        QFETCH(bool, fails);
        QSemaphore go;
        QMutex lock;
        QStringList jobs;
        h->printer = [&](const ReportPage &, const QString &documentName) {
            // Held until the test has seen the window while the jobs are under way.
            go.tryAcquire(1, 10000);
            if (fails)
                throw std::runtime_error("印刷できませんでした：用紙がありません");
            const QMutexLocker locked(&lock);
            jobs << documentName;
        };
        h->start();
        h->fill(1, u"30"_s, u"170"_s, u"60"_s, u"20"_s);
        h->click("PictureButton3");
        const QByteArray bytes = h->recordBytes();
        if (beforeClearing) {
            h->click("PictureButton10");
            h->click("Button18"); // 消去する
            h->click("Button18"); // 印刷して終了
            QVERIFY(!h->push("Button17")->isEnabled());
            QVERIFY(!h->push("Button18")->isEnabled());
            h->click("Button18"); // again: nothing more starts
        } else {
            h->click("PictureButton6");
            h->click("PictureButton7");
            QVERIFY(!h->find<QWidget>("Panel7")->isEnabled());
            QVERIFY(h->shown("Panel7"));
        }
        // The click has returned with the jobs still being handed over.
        QCOMPARE(h->button("PictureButton7")->caption(), u"印刷中"_s);
        QCOMPARE(h->recordBytes(), bytes);
        go.release(4);

        if (fails) {
            QTRY_COMPARE(h->messages, QStringList {u"印刷できませんでした：用紙がありません"_s});
            QCOMPARE(h->recordBytes(), bytes);
            QVERIFY(h->window->isVisible());
            QCOMPARE(h->button("PictureButton7")->caption(), u"印刷開始"_s);
            if (beforeClearing) {
                QVERIFY(h->shown("Panel11"));
                QVERIFY(h->push("Button17")->isEnabled() && h->push("Button18")->isEnabled());
            } else {
                QVERIFY(h->shown("Panel7") && h->find<QWidget>("Panel7")->isEnabled());
            }
            return;
        }
        if (beforeClearing) {
            QTRY_VERIFY(!QFile::exists(h->recordPath()));
            QVERIFY(!h->window->isVisible());
        } else {
            QTRY_VERIFY(!h->shown("Panel7"));
            QVERIFY(h->find<QWidget>("Panel1")->isEnabled());
            QCOMPARE(h->recordBytes(), bytes);
        }
        QCOMPARE(h->messages, QStringList());
        QCOMPARE(jobs.size(), 2);
        QCOMPARE(h->button("PictureButton7")->caption(), u"印刷開始"_s);
    }

    void noPrinterOffersPdf_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::newRow("dialog-cancelled") << QString();
        QTest::newRow("saved") << u"sheets.pdf"_s;
    }

    void noPrinterOffersPdf()
    {
        QFETCH(QString, chosen);
        const bool saved = !chosen.isEmpty();
        h->start();
        h->fill(1, u"30"_s, u"170"_s, u"60"_s, u"20"_s);
        h->click("PictureButton3");
        h->answer = true;
        h->chosenPdf = saved ? h->folder.filePath(chosen) : QString();
        h->click("PictureButton6");
        h->click("PictureButton7");
        QCOMPARE(h->messages, QStringList());
        QCOMPARE(h->questions.size(), 1);
        QCOMPARE(QFileInfo(h->proposedPdf).fileName(), u"ペミラ-2024-05.pdf"_s);
        QCOMPARE(QFile::exists(h->folder.filePath(u"sheets.pdf"_s)), saved);
        // Cancelled, the pop-up stands as before, ready for another try.
        QCOMPARE(h->shown("Panel7"), !saved);
        QVERIFY(h->find<QWidget>("Panel7")->isEnabled());
        QCOMPARE(h->button("PictureButton7")->caption(), u"印刷開始"_s);
        QCOMPARE(h->find<QWidget>("Panel1")->isEnabled(), saved);
    }

    void clearingDeletesTheRecordOnlyAfterACompletePdf_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("unwritable") << u"no-such-folder/sheets.pdf"_s << false;
        QTest::newRow("saved") << u"sheets.pdf"_s << true;
    }

    void clearingDeletesTheRecordOnlyAfterACompletePdf()
    {
        QFETCH(QString, chosen);
        QFETCH(bool, deleted);
        h->start();
        h->fill(1, u"30"_s, u"170"_s, u"60"_s, u"20"_s);
        h->click("PictureButton3");
        const QByteArray bytes = h->recordBytes();
        h->answer = true;
        h->chosenPdf = h->folder.filePath(chosen);
        h->click("PictureButton10");
        h->click("Button18"); // 消去する
        h->click("Button18"); // 印刷して終了
        QCOMPARE(QFile::exists(h->recordPath()), !deleted);
        QCOMPARE(h->window->isVisible(), !deleted);
        QCOMPARE(QFile::exists(h->chosenPdf), deleted);
        if (!deleted) {
            // The failure says where and why, and leaves no partial file behind.
            QCOMPARE(h->messages.size(), 1);
            QVERIFY(h->messages.first().contains(u"no-such-folder"_s));
            QCOMPARE(h->recordBytes(), bytes);
            QCOMPARE(h->label("Label18"), u"消去前にグラフ印刷しますか？"_s);
            QCOMPARE(QDir(h->folder.path()).entryList(QDir::Files),
                (QStringList {u"settemp-history.csv"_s, u"settemp.dat"_s}));
            return;
        }
        QCOMPARE(h->messages, QStringList());
        QProcess info;
        info.start(u"pdfinfo"_s, {h->chosenPdf});
        if (!info.waitForFinished(20000))
            QSKIP("pdfinfo (poppler-utils) is not available");
        QVERIFY(QString::fromUtf8(info.readAllStandardOutput())
                    .contains(QRegularExpression(u"Pages:\\s+2\\n"_s)));
    }

    void emptyFirstColumnIsReportedBeforeAnythingIsPrinted()
    {
        // A damaged record whose first column lost its values: the scale has no base.
        h->start();
        h->fill(1, u"30"_s, u"170"_s, u"60"_s, u"20"_s);
        h->click("PictureButton3");
        QByteArray bytes = h->recordBytes();
        QList<QByteArray> lines = bytes.split('\n');
        for (int row = 3; row <= 12; ++row)
            lines[row] = lines[row].mid(lines[row].indexOf(','));
        bytes = lines.join('\n');
        QFile file(h->recordPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        h->start();
        h->click("PictureButton6");
        h->click("PictureButton7");
        QCOMPARE(h->messages.size(), 1);
        QVERIFY(!h->messages.first().contains(u"プリンター"_s));
        QCOMPARE(h->button("PictureButton7")->caption(), u"印刷開始"_s);
        QVERIFY(h->find<QWidget>("Panel7")->isEnabled());
        QCOMPARE(h->recordBytes(), bytes);
    }

    void windowPdfAndExportCarryTheRecordsAdvice()
    {
        // Measured in an earlier run; this run prints before calculating anything, so the
        // diet captions still hold the layout's sample figures.
        h->start();
        h->fill(2, u"41"_s, u"158"_s, u"71"_s, u"34"_s);
        h->click("PictureButton3");
        h->start();
        QVERIFY(h->label("Label21").contains(u"88.8"_s));
        h->answer = true;
        h->chosenPdf = h->folder.filePath(u"window.pdf"_s);
        h->click("PictureButton6");
        h->click("PictureButton7");
        QCOMPARE(h->messages, QStringList());
        const QString exported = h->folder.filePath(u"export.pdf"_s);
        SheetPdf::exportRecord(h->recordPath(), exported);

        const QString window = pdfText(h->chosenPdf);
        if (window.isNull())
            QSKIP("pdftotext (poppler-utils) is not available");
        const Assessment a = assess({2, 41, 158, 71, 34});
        QVERIFY2(window.contains(QString(a.advice1 + a.advice2).remove(u' ')), qPrintable(window));
        QVERIFY(!window.contains(u"88.8"_s));
        QCOMPARE(pdfText(exported), window);
    }

    void printAndClearAreUnavailableWhileTheMoodIsAsked()
    {
        h->clock = QDateTime(QDate(2024, 5, 3), QTime(19, 0));
        h->start();
        h->fill(1, u"30"_s, u"170"_s, u"60"_s, u"20"_s);
        h->click("PictureButton3");
        QVERIFY(h->shown("Panel15"));
        QVERIFY(!h->button("PictureButton6")->isEnabled());
        QVERIFY(!h->button("PictureButton10")->isEnabled());
        h->click("PictureButton11");
        QVERIFY(h->button("PictureButton6")->isEnabled());
        QVERIFY(h->button("PictureButton10")->isEnabled());
    }

private:
    // The text of a PDF file with its spaces and line breaks removed; null without pdftotext.
    static QString pdfText(const QString &path)
    {
        QProcess text;
        text.start(u"pdftotext"_s, {path, u"-"_s});
        if (!text.waitForFinished(20000) || text.exitCode() != 0)
            return {};
        return QString::fromUtf8(text.readAllStandardOutput()).remove(QRegularExpression(u"\\s"_s));
    }
};

QTEST_MAIN(TestPrintFlow)
#include "tst_printflow.moc"
