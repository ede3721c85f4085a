// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowHarness.h"

#include <QApplication>
#include <QMouseEvent>

class TestInputFlow : public WindowTest
{
    Q_OBJECT
    void begin() override { h->start(); }

private Q_SLOTS:
    void calculateButtonFollowsSexAndFourTexts()
    {
        TPictureButton *calculate = h->button("PictureButton3");
        h->click("PictureButton2");
        h->enter("RightEdit1", u"30"_s);
        h->enter("RightEdit2", u"160"_s);
        h->enter("RightEdit3", u"50"_s);
        QVERIFY(!calculate->isEnabled());
        QCOMPARE(calculate->color(), describedColour(12020844));
        h->enter("RightEdit4", u"25"_s);
        QVERIFY(calculate->isEnabled());
        QCOMPARE(calculate->color(), describedColour(16744576));
        h->click("PictureButton4");
        QVERIFY(!calculate->isEnabled());
        QCOMPARE(calculate->color(), describedColour(12020844));
    }

    void sexButtonsFadeTheOther()
    {
        h->click("PictureButton1");
        h->click("PictureButton2");
        QCOMPARE(h->button("PictureButton1")->caption(), QString());
        QCOMPARE(h->button("PictureButton1")->color(), describedColour(12615808));
        QCOMPARE(h->button("PictureButton2")->caption(), u"♀"_s);
    }

    void keypadSequences_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("text");
        const QString age = u"RightEdit1"_s, height = u"RightEdit2"_s;
        QTest::newRow("age-point-ignored") << age << QStringList {"Button4", "Button14"} << "1";
        QTest::newRow("zero-first-ignored")
            << age << QStringList {"Button13", "Button4", "Button13"} << "10";
        QTest::newRow("second-point-dropped")
            << height << QStringList {"Button4", "Button14", "Button14"} << "1.";
        QTest::newRow("point-needs-a-digit") << height << QStringList {"Button14"} << "";
        QTest::newRow("clear-key")
            << height << QStringList {"Button4", "Button15", "Button6"} << "3";
        QTest::newRow("age-past-limit")
            << age << QStringList {"Button4", "Button5", "Button6", "Button7"} << "1234";
    }
    void keypadSequences()
    {
        QFETCH(QString, field);
        QFETCH(QStringList, keys);
        QFETCH(QString, text);
        h->click(qPrintable(field));
        QVERIFY(h->shown("Panel9"));
        for (const QString &key : keys) {
            if (key == u"Button15"_s)
                h->click("Button15");
            else
                h->press(qPrintable(key));
        }
        QCOMPARE(h->edit(qPrintable(field))->text(), text);
    }

    void digitKeysActOnAnyMouseButtonGoingDown()
    {
        h->click("RightEdit2");
        QTest::mousePress(h->find<QWidget>("Button4"), Qt::RightButton);
        QCOMPARE(h->edit("RightEdit2")->text(), u"1"_s);
        QTest::mousePress(h->find<QWidget>("Button5"), Qt::MiddleButton);
        QCOMPARE(h->edit("RightEdit2")->text(), u"12"_s);
    }

    void aQuickSecondPressOfAKeyCounts()
    {
        h->click("RightEdit2");
        // What the window system sends for a quick double press: press, release, double click.
        QWidget *five = h->find<QWidget>("Button8");
        QTest::mouseClick(five, Qt::LeftButton);
        const QPointF centre = QRectF(five->rect()).center();
        QMouseEvent second(QEvent::MouseButtonDblClick, centre, five->mapToGlobal(centre),
            Qt::LeftButton, Qt::LeftButton, {});
        QApplication::sendEvent(five, &second);
        QCOMPARE(h->edit("RightEdit2")->text(), u"55"_s);
    }

    void cancelRestoresTheOldText()
    {
        h->enter("RightEdit2", u"170"_s);
        h->click("RightEdit2");
        QCOMPARE(h->edit("RightEdit2")->text(), QString());
        QVERIFY(!h->find<QWidget>("Panel1")->isEnabled());
        h->press("Button4");
        h->click("Button15");
        h->click("Button2");
        QCOMPARE(h->edit("RightEdit2")->text(), u"170"_s);
        QVERIFY(!h->shown("Panel9"));
        QVERIFY(h->find<QWidget>("Panel1")->isEnabled());
    }

    void unitLabelFollowsTheField_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("unit");
        QTest::newRow("age") << u"RightEdit1"_s << u"歳"_s;
        QTest::newRow("height") << u"RightEdit2"_s << u"cm"_s;
        QTest::newRow("weight") << u"RightEdit3"_s << u"kg"_s;
        QTest::newRow("fat") << u"RightEdit4"_s << u"％"_s;
    }
    void unitLabelFollowsTheField()
    {
        QFETCH(QString, field);
        QFETCH(QString, unit);
        h->click(qPrintable(field));
        QCOMPARE(h->label("Label19"), unit);
    }

    void rangeQuestions_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("question"); // empty: accepted without a question
        QTest::newRow("age-15") << u"RightEdit1"_s << u"15"_s << QString();
        QTest::newRow("age-111") << u"RightEdit1"_s << u"111"_s << u"111歳って、ほんと？"_s;
        QTest::newRow("height-119.96") << u"RightEdit2"_s << u"119.96"_s << QString();
        QTest::newRow("height-119.94")
            << u"RightEdit2"_s << u"119.94"_s << u"119.94cmって、ほんと？"_s;
        QTest::newRow("weight-121") << u"RightEdit3"_s << u"121"_s << u"121kgって、ほんと？"_s;
        QTest::newRow("fat-50.0") << u"RightEdit4"_s << u"50.0"_s << QString();
        QTest::newRow("fat-50.1") << u"RightEdit4"_s << u"50.1"_s << u"50.1%って、ほんと？"_s;
        QTest::newRow("fat-4.9") << u"RightEdit4"_s << u"4.9"_s << u"4.9%って、ほんと？"_s;
    }
    void rangeQuestions()
    {
        QFETCH(QString, field);
        QFETCH(QString, keys);
        QFETCH(QString, question);
        h->enter(qPrintable(field), keys);
        if (question.isEmpty()) {
            QVERIFY(!h->shown("Panel9"));
            QVERIFY(!h->shown("Panel11"));
            return;
        }
        QVERIFY(h->shown("Panel11"));
        QCOMPARE(h->label("Label18"), question);
        QVERIFY(!h->find<QWidget>("Panel9")->isEnabled());
        QCOMPARE(h->push("Button18")->text(), u"本当だってば"_s);
        h->click("Button18"); // insist
        QVERIFY(!h->shown("Panel11"));
        QVERIFY(!h->shown("Panel9"));
        QCOMPARE(h->edit(qPrintable(field))->text(), keys);
    }

    void wrongAnswerEmptiesTheFieldAndKeepsTheKeypad()
    {
        h->enter("RightEdit2", u"250"_s);
        h->click("Button17");
        QCOMPARE(h->edit("RightEdit2")->text(), QString());
        QVERIFY(h->shown("Panel9"));
        QVERIFY(h->find<QWidget>("Panel9")->isEnabled());
        QVERIFY(!h->shown("Panel11"));
    }

    void underFifteenClearsEverything()
    {
        h->click("PictureButton1");
        h->enter("RightEdit2", u"170"_s);
        h->enter("RightEdit1", u"14"_s);
        QCOMPARE(h->label("Label18"), u"１５歳未満には対応してません"_s);
        QVERIFY(!h->push("Button17")->isVisible());
        QCOMPARE(h->push("Button18")->text(), u"了 解"_s);
        h->click("Button18");
        QCOMPARE(h->edit("RightEdit1")->text(), QString());
        QCOMPARE(h->edit("RightEdit2")->text(), QString());
        QCOMPARE(h->button("PictureButton2")->caption(), u"♀"_s);
        QVERIFY(!h->shown("Panel9"));
    }

    void enterOnAnEmptyFieldIsIgnored()
    {
        h->click("RightEdit3");
        h->click("Button16");
        QVERIFY(h->shown("Panel9"));
        QVERIFY(!h->shown("Panel11"));
    }

    void clearButtonIsUnavailableWhileTheKeypadIsOpen()
    {
        h->fill(1, u"20"_s, u"175"_s, u"70"_s, u"18"_s);
        h->click("PictureButton3");
        QVERIFY(h->button("PictureButton10")->isEnabled());
        h->click("RightEdit3");
        QVERIFY(!h->button("PictureButton10")->isEnabled());
        h->click("Button2");
        QVERIFY(h->button("PictureButton10")->isEnabled());
    }
};

QTEST_MAIN(TestInputFlow)
#include "tst_inputflow.moc"
