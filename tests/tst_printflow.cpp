#include "WindowHarness.h"

// These tests must not reach a real printer: the CUPS client is pointed at a closed port.
static const bool noPrinter = [] {
    qputenv("CUPS_SERVER", "127.0.0.1:1");
    return true;
}();

class TestPrintFlow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { h = std::make_unique<WindowHarness>(); }
    void cleanup() { h.reset(); }

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

    void noPrinterIsReportedAndThePopupRestored()
    {
        h->start();
        h->fill(1, u"30"_s, u"170"_s, u"60"_s, u"20"_s);
        h->click("PictureButton3");
        h->click("PictureButton6");
        h->click("PictureButton7");
        QCOMPARE(h->messages.size(), 1);
        QVERIFY(h->messages.first().contains(u"プリンター"_s));
        QVERIFY(h->shown("Panel7"));
        QVERIFY(h->find<QWidget>("Panel7")->isEnabled());
        QCOMPARE(h->button("PictureButton7")->caption(), u"印刷開始"_s);
    }

    void printBeforeClearingKeepsTheRecordWhenPrintingFails()
    {
        h->start();
        h->fill(1, u"30"_s, u"170"_s, u"60"_s, u"20"_s);
        h->click("PictureButton3");
        const QByteArray bytes = h->recordBytes();
        h->click("PictureButton10");
        h->click("Button18"); // 消去する
        h->click("Button18"); // 印刷して終了
        QCOMPARE(h->messages.size(), 1);
        QCOMPARE(h->recordBytes(), bytes);
        QVERIFY(h->window->isVisible());
        QCOMPARE(h->label("Label18"), u"消去前にグラフ印刷しますか？"_s);
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
    std::unique_ptr<WindowHarness> h;
};

QTEST_MAIN(TestPrintFlow)
#include "tst_printflow.moc"
