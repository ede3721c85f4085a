// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowHarness.h"

class TestWindow : public WindowTest
{
    Q_OBJECT
    void begin() override { h->start(); }

private Q_SLOTS:
    void startsCompactWithPromptCaption()
    {
        QCOMPARE(h->window->size(), QSize(473, 149));
        QVERIFY(h->window->windowTitle().startsWith(
            u"毎日、起床直後のトイレの後＆夕食の直後に計測！"_s));
        QVERIFY(h->window->windowTitle().endsWith(u"2024/5/3 7:5"_s));
        QCOMPARE(h->find<TPanel>("Panel14")->caption(), u"▼"_s);
    }

    void componentPlaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("place");
        QTest::newRow("Panel1") << u"Panel1"_s << QRect(8, 8, 172, 134);
        QTest::newRow("PictureButton3") << u"PictureButton3"_s << QRect(119, 8, 46, 91);
        QTest::newRow("RightEdit4") << u"RightEdit4"_s << QRect(63, 108, 46, 16);
        QTest::newRow("Panel2") << u"Panel2"_s << QRect(188, 15, 141, 21);
        QTest::newRow("Panel14") << u"Panel14"_s << QRect(438, 120, 27, 22);
        QTest::newRow("PictureButton10") << u"PictureButton10"_s << QRect(8, 149, 22, 22);
        QTest::newRow("PictureButton8") << u"PictureButton8"_s << QRect(237, 149, 229, 22);
        QTest::newRow("Frame11") << u"Frame11"_s << QRect(40, 178, 425, 292);
        QTest::newRow("Panel13") << u"Panel13"_s << QRect(8, 178, 33, 292);
        QTest::newRow("WebBrowser1") << u"WebBrowser1"_s << QRect(8, 178, 457, 292);
        QTest::newRow("diet-popup") << u"Panel5"_s << QRect(37, 23, 405, 93);
        QTest::newRow("diet-shadow") << u"Panel3"_s << QRect(51, 34, 399, 90);
        QTest::newRow("print-popup") << u"Panel7"_s << QRect(69, 31, 309, 81);
        QTest::newRow("keypad") << u"Panel9"_s << QRect(127, 12, 75, 126);
        QTest::newRow("keypad-shadow") << u"Panel10"_s << QRect(139, 22, 72, 125);
        QTest::newRow("confirmation") << u"Panel11"_s << QRect(144, 48, 209, 54);
        QTest::newRow("mood-popup") << u"Panel15"_s << QRect(137, 15, 196, 111);
        QTest::newRow("mood-shadow") << u"Panel16"_s << QRect(147, 25, 195, 109);
        QTest::newRow("key-0") << u"Button13"_s << QRect(8, 81, 41, 17);
        QTest::newRow("key-enter") << u"Button16"_s << QRect(29, 101, 41, 19);
        QTest::newRow("mood-4") << u"PictureButton14"_s << QRect(2, 89, 195, 22);
        QTest::newRow("answer-left") << u"Button18"_s << QRect(21, 28, 81, 19);
        QTest::newRow("record-grid") << u"StringGrid1"_s << QRect(808, 168, 89, 97);
        QTest::newRow("print-face-4") << u"Image13p"_s << QRect(886, 328, 16, 16);
    }
    void componentPlaces()
    {
        QFETCH(QString, name);
        QFETCH(QRect, place);
        auto *widget = h->window->findChild<QWidget *>(name);
        QVERIFY2(widget, qPrintable(name));
        QCOMPARE(widget->geometry(), place);
    }

    void labelsKeepTheirAlignedEdge_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("right");
        QTest::newRow("Label7") << u"Label7"_s << 188 << -1;
        QTest::newRow("Label9") << u"Label9"_s << -1 << 322;
        QTest::newRow("Label10") << u"Label10"_s << -1 << 295;
        QTest::newRow("Label14") << u"Label14"_s << -1 << 363;
        QTest::newRow("Label19") << u"Label19"_s << 8 << -1;
    }
    void labelsKeepTheirAlignedEdge()
    {
        QFETCH(QString, name);
        QFETCH(int, left);
        QFETCH(int, right);
        auto *label = h->window->findChild<TLabel *>(name);
        QVERIFY(label);
        label->parentWidget()->show(); // labels of a pop-up are measured when it shows
        label->setCaption(u"123.4"_s);
        if (left >= 0)
            QCOMPARE(label->x(), left);
        if (right >= 0)
            QCOMPARE(label->x() + label->width(), right);
    }

    void buttonLooks_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<quint32>("colour");
        QTest::addColumn<quint32>("hover");
        QTest::addColumn<QString>("caption");
        QTest::newRow("male") << u"PictureButton1"_s << 12615680u << 15375872u << u"♂"_s;
        QTest::newRow("female") << u"PictureButton2"_s << 12615935u << 14002943u << u"♀"_s;
        QTest::newRow("calculate") << u"PictureButton3"_s << 12020844u << 16754342u << u"計算"_s;
        QTest::newRow("diet") << u"PictureButton5"_s << 8001767u << 13213941u << u" ダイエット！"_s;
        QTest::newRow("clear") << u"PictureButton10"_s << 11842740u << 0xC0C0C0u << u"C"_s;
        QTest::newRow("switch") << u"PictureButton9"_s << 14386212u << 15183213u
                                << u"脂肪重量グラフ表示"_s;
        QTest::newRow("print") << u"PictureButton6"_s << 12020844u << 12615808u << u"グラフ印刷"_s;
        QTest::newRow("info") << u"PictureButton8"_s << 8421440u << 10987348u
                              << u"インフォメーション表示"_s;
        QTest::newRow("print-start")
            << u"PictureButton7"_s << 10000459u << 11908456u << u"印刷開始"_s;
        QTest::newRow("mood-2") << u"PictureButton12"_s << 15456255u << 0xFFFFFFu
                                << u"凹み気味、ふぅ～"_s;
    }
    void buttonLooks()
    {
        QFETCH(QString, name);
        QFETCH(quint32, colour);
        QFETCH(quint32, hover);
        QFETCH(QString, caption);
        auto *button = h->window->findChild<TPictureButton *>(name);
        QVERIFY(button);
        QCOMPARE(button->color(), describedColour(colour));
        QCOMPARE(button->inColor(), describedColour(hover));
        QCOMPARE(button->caption(), caption);
    }

    void labelsDrawInTheirTextColour_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<quint32>("colour");
        QTest::newRow("bmi-value") << u"Label9"_s << 8388863u;
        QTest::newRow("bmr-value") << u"Label10"_s << 8388863u;
    }
    void labelsDrawInTheirTextColour()
    {
        QFETCH(QString, name);
        QFETCH(quint32, colour);
        auto *label = h->window->findChild<TLabel *>(name);
        QVERIFY(label);
        const QImage image = label->grab().toImage();
        int inked = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                inked += image.pixelColor(x, y) == describedColour(colour);
        QVERIFY2(inked > 10, qPrintable(QString::number(inked)));
    }

    void designTexts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("sex") << u"Label2"_s << u"性　 別"_s;
        QTest::newRow("bmi-title") << u"Label7"_s << u"体格指数（BMI）"_s;
        QTest::newRow("bmi") << u"Label9"_s << u"--.-"_s;
        QTest::newRow("bmr") << u"Label10"_s << u"----"_s;
        QTest::newRow("fat-weight") << u"Label12"_s << u"--.-"_s;
        QTest::newRow("advice-1") << u"Label20"_s
                                  << u"さらにシェイプアップした体型を目指すなら、"_s;
        QTest::newRow("advice-2") << u"Label21"_s
                                  << u"体脂肪率 88.8%を目標に 88.8kgの減量（体脂肪）を！"_s;
        QTest::newRow("print-note") << u"Label17"_s << u"カラープリンター推奨 （Ａ４用紙 ２枚）"_s;
        QTest::newRow("mood-question") << u"Label32"_s << u"今日の気分とコンディションは？"_s;
        QTest::newRow("axis-unit") << u"Label31"_s << u"kg"_s;
    }
    void designTexts()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        auto *label = h->window->findChild<QLabel *>(name);
        QVERIFY(label);
        QCOMPARE(label->text(), text);
    }

    void popupsStartHiddenInsideTheCompactWindow()
    {
        for (const char *name : {"Panel3", "Panel5", "Panel7", "Panel8", "Panel9", "Panel10",
                 "Panel11", "Panel12", "Panel15", "Panel16"}) {
            QWidget *popup = h->find<QWidget>(name);
            QVERIFY2(!popup->isVisible(), name);
            QVERIFY2(QRect(0, 0, 473, 149).contains(popup->geometry()), name);
        }
    }

    void shadowsLieBelowTheirPopups()
    {
        const QObjectList children = h->window->children();
        for (auto [shadow, popup] : {std::pair {"Panel3", "Panel5"}, {"Panel8", "Panel7"},
                 {"Panel10", "Panel9"}, {"Panel12", "Panel11"}, {"Panel16", "Panel15"}})
            QVERIFY(children.indexOf(h->find<QWidget>(shadow))
                < children.indexOf(h->find<QWidget>(popup)));
    }

    void toggleSwitchesHeightOnly()
    {
        const QPoint topLeft = h->window->pos();
        h->click("Panel14");
        QCOMPARE(h->window->size(), QSize(473, 477));
        QCOMPARE(h->find<TPanel>("Panel14")->caption(), u"▲"_s);
        h->click("Panel14");
        QCOMPARE(h->window->size(), QSize(473, 149));
        QCOMPARE(h->find<TPanel>("Panel14")->caption(), u"▼"_s);
        QCOMPARE(h->window->pos(), topLeft);
    }

    void enterNeverReachesAField()
    {
        TRightEdit *age = h->edit("RightEdit1");
        age->setFocus();
        QSignalSpy returns(age, &QLineEdit::returnPressed);
        QTest::keyClick(age, Qt::Key_Return);
        QCOMPARE(returns.count(), 0);
        QCOMPARE(age->text(), QString());
    }

    void focusedPictureButtonActsOnEnterFirst()
    {
        h->click("PictureButton1");
        TPictureButton *reset = h->button("PictureButton4");
        reset->setFocus();
        QTest::keyClick(reset, Qt::Key_Return);
        QCOMPARE(h->button("PictureButton1")->caption(), u"♂"_s);
        QCOMPARE(h->button("PictureButton2")->caption(), u"♀"_s);
    }

    void enterMovesTheFocusOnAsTabDoes()
    {
        QApplication::setActiveWindow(h->window.get());
        QVERIFY(QTest::qWaitForWindowActive(h->window.get()));
        TPictureButton *male = h->button("PictureButton1");
        male->setFocus();
        QTest::keyClick(male, Qt::Key_Tab);
        QWidget *next = QApplication::focusWidget();
        QVERIFY(next && next != male);
        male->setFocus();
        QTest::keyClick(male, Qt::Key_Return);
        QCOMPARE(h->button("PictureButton2")->caption(), QString()); // ♂ was chosen
        QCOMPARE(QApplication::focusWidget(), next);
    }

    void enterReachesTheInformationPagesOwnControls()
    {
        // Stands in for a link or form field of the page: Enter acts there, the focus stays.
        auto *pageField = new QLineEdit(h->find<QWidget>("WebBrowser1"));
        pageField->show();
        pageField->setFocus();
        QSignalSpy returns(pageField, &QLineEdit::returnPressed);
        QTest::keyClick(pageField, Qt::Key_Return);
        QCOMPARE(returns.count(), 1);
        QCOMPARE(h->window->focusWidget(), pageField);
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
