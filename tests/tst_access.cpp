// SPDX-License-Identifier: GPL-3.0-or-later
// The window without a mouse and through assistive technology: what each control reports, and
// whole measurements made with keys alone.
#include "WindowHarness.h"
#include "app/Frame1.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>

namespace {

QAccessibleInterface *accessible(QObject *object)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
    if (!iface)
        qFatal("no accessible interface");
    return iface;
}

bool relatedAs(QAccessibleInterface *iface, QObject *other, QAccessible::Relation relation)
{
    const auto relations = iface->relations(relation);
    return std::any_of(relations.cbegin(), relations.cend(),
        [other](const auto &pair) { return pair.first->object() == other; });
}

} // namespace

class TestAccess : public WindowTest
{
    Q_OBJECT
    void begin() override { start(*h); }

private Q_SLOTS:
    void controlsSpeak_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("text");
        QTest::newRow("calculate") << u"PictureButton3"_s << int(QAccessible::Button) << u"計算"_s;
        QTest::newRow("male") << u"PictureButton1"_s << int(QAccessible::RadioButton) << u"♂"_s;
        QTest::newRow("diet") << u"PictureButton5"_s << int(QAccessible::Button)
                              << u"ダイエット！"_s;
        QTest::newRow("age") << u"RightEdit1"_s << int(QAccessible::EditableText) << u"年齢"_s;
        QTest::newRow("fat") << u"RightEdit4"_s << int(QAccessible::EditableText) << u"体脂肪"_s;
        QTest::newRow("toggle") << u"Panel14"_s << int(QAccessible::Button) << u"▼"_s;
        QTest::newRow("keypad") << u"Panel9"_s << int(QAccessible::Dialog) << u"テンキー"_s;
        QTest::newRow("point-key") << u"Button14"_s << int(QAccessible::Button) << u"小数点"_s;
        QTest::newRow("digit-key") << u"Button10"_s << int(QAccessible::Button) << u"7"_s;
        QTest::newRow("mood") << u"Panel15"_s << int(QAccessible::Dialog)
                              << u"今日の気分とコンディションは？"_s;
        QTest::newRow("bmi") << u"Label9"_s << int(QAccessible::StaticText) << u"--.-"_s;
        QTest::newRow("start-figure")
            << u"Image1"_s << int(QAccessible::Graphic) << u"指さす女性と驚く女性"_s;
    }
    void controlsSpeak()
    {
        QFETCH(QString, name);
        QFETCH(int, role);
        QFETCH(QString, text);
        QAccessibleInterface *iface = accessible(h->find<QWidget>(qPrintable(name)));
        QCOMPARE(int(iface->role()), role);
        QCOMPARE(iface->text(QAccessible::Name), text);
    }

    void buttonsPressAndReportTheirChoice()
    {
        QAccessibleInterface *male = accessible(h->button("PictureButton1"));
        QAccessibleInterface *female = accessible(h->button("PictureButton2"));
        QVERIFY(male->state().checkable && !male->state().checked);
        const QStringList actions = female->actionInterface()->actionNames();
        QVERIFY(actions.contains(QAccessibleActionInterface::pressAction()));
        QVERIFY(actions.contains(QAccessibleActionInterface::setFocusAction()));
        female->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(female->state().checked && !male->state().checked);
        // The faded button keeps its name without its caption.
        QCOMPARE(h->button("PictureButton1")->caption(), QString());
        QCOMPARE(male->text(QAccessible::Name), u"♂"_s);
        QCOMPARE(accessible(h->button("PictureButton3"))->text(QAccessible::Description),
            u"判定を計算します"_s);
    }

    void digitKeysAnswerThePressAction()
    {
        h->click("RightEdit2");
        for (const char *key : {"Button4", "Button10", "Button14", "Button13"})
            accessible(h->find<QWidget>(key))
                ->actionInterface()
                ->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(h->edit("RightEdit2")->text(), u"17.0"_s);
    }

    void valuesAreTiedToTheirCaptions()
    {
        QVERIFY(relatedAs(
            accessible(h->edit("RightEdit1")), h->find<QWidget>("Label3"), QAccessible::Label));
        QVERIFY(relatedAs(accessible(h->find<QWidget>("Label9")), h->find<QWidget>("Label7"),
            QAccessible::Label));
        QVERIFY(relatedAs(accessible(h->find<QWidget>("Label10")), h->find<QWidget>("Label8"),
            QAccessible::Label));
    }

    void dayHeaderReadsAsATable()
    {
        auto *frame = h->find<TFrame1>("Frame11");
        QAccessibleInterface *header = accessible(frame->headerView());
        QCOMPARE(header->role(), QAccessible::Table);
        QAccessibleTableInterface *table = header->tableInterface();
        QVERIFY(table);
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(table->columnCount(), 32);
        // The record starts on 3 May: its month over the first day, then the day numbers.
        QCOMPARE(table->cellAt(0, 1)->text(QAccessible::Name), u"5/"_s);
        QCOMPARE(table->cellAt(1, 1)->text(QAccessible::Name), u"3"_s);
        QCOMPARE(table->cellAt(1, 2)->text(QAccessible::Name), u"4"_s);
        QAccessibleInterface *cell = header->child(32 + 2);
        QCOMPARE(cell->tableCellInterface()->rowIndex(), 1);
        QCOMPARE(cell->tableCellInterface()->columnIndex(), 2);
        QCOMPARE(header->indexOfChild(cell), 34);
    }

    void onlyWhatCanBeSeenIsShowing()
    {
        const auto offscreen = [this](const char *name) {
            return accessible(h->find<QWidget>(name))->state().offscreen;
        };
        QVERIFY(!offscreen("PictureButton3"));
        QVERIFY(offscreen("PictureButton9")); // below the compact window
        QVERIFY(offscreen("Label31"));
        QVERIFY(accessible(h->find<QWidget>("Panel9"))->state().invisible);
        h->find<QWidget>("Panel14")->setFocus();
        key(Qt::Key_Space); // the window toggle answers the keyboard too
        QCOMPARE(h->window->height(), 477);
        QVERIFY(!offscreen("PictureButton9"));
        QVERIFY(!offscreen("Label31"));
    }

    void resultsAreDescribed()
    {
        h->fill(1, u"20"_s, u"175"_s, u"70"_s, u"18"_s);
        h->click("PictureButton3");
        QAccessibleInterface *figure = accessible(h->find<QWidget>("Image2"));
        QCOMPARE(figure->text(QAccessible::Description), u"健康標準"_s);
        QCOMPARE(accessible(h->find<QWidget>("Panel2"))->text(QAccessible::Name), u"健康標準"_s);
        auto *frame = h->find<TFrame1>("Frame11");
        QAccessibleInterface *graph = accessible(frame->pictureView());
        QCOMPARE(graph->role(), QAccessible::Graphic);
        QCOMPARE(graph->text(QAccessible::Name), u"体重グラフ"_s);
        QCOMPARE(graph->text(QAccessible::Description), u"最新の値 70.0kg"_s);
        h->click("PictureButton9");
        QCOMPARE(graph->text(QAccessible::Name), u"脂肪重量グラフ"_s);
        QCOMPARE(graph->text(QAccessible::Description), u"最新の値 12.6kg"_s);
    }

    // The same measurement with the mouse and with keys alone ends in the same record.
    void keyboardMeasurementMatchesMouse_data()
    {
        QTest::addColumn<QTime>("time");
        QTest::newRow("morning") << QTime(7, 5);
        QTest::newRow("evening-mood") << QTime(19, 30);
    }
    void keyboardMeasurementMatchesMouse()
    {
        QFETCH(QTime, time);
        WindowHarness mouse;
        mouse.clock = QDateTime(QDate(2024, 5, 3), time);
        start(mouse);
        mouse.fill(2, u"45"_s, u"155"_s, u"60"_s, u"35.5"_s);
        mouse.click("PictureButton3");
        if (time.hour() >= 16)
            mouse.click("PictureButton13");

        h->clock = mouse.clock;
        start(*h);
        tab(2); // ♂, ♀
        QCOMPARE(focused(), h->button("PictureButton2"));
        key(Qt::Key_Space);
        tab(1);
        for (const QString &value : {u"45"_s, u"155"_s, u"60"_s, u"35.5"_s}) {
            type(value);
            key(Qt::Key_Return);
            QVERIFY(!h->shown("Panel9"));
            tab(1);
        }
        QCOMPARE(focused(), h->button("PictureButton3"));
        key(Qt::Key_Backtab); // a field entered by the keyboard keeps its text unselected
        QCOMPARE(focused(), h->edit("RightEdit4"));
        QVERIFY(!h->edit("RightEdit4")->hasSelectedText());
        tab(1);
        key(Qt::Key_Return);
        if (time.hour() >= 16) {
            QCOMPARE(focused(), h->button("PictureButton11"));
            tab(2);
            key(Qt::Key_Space);
            QTRY_COMPARE(focused(), h->button("PictureButton3"));
        }
        QVERIFY(mouse.messages.isEmpty()); // the latest harness hears both windows
        QCOMPARE(h->window->recordTable(), mouse.window->recordTable());
        QCOMPARE(h->recordBytes(), mouse.recordBytes());
    }

    void escapeCancelsEachPopup_data()
    {
        QTest::addColumn<QString>("popup");
        QTest::addColumn<QString>("panel");
        QTest::addColumn<bool>("closes");
        QTest::newRow("keypad") << u"keypad"_s << u"Panel9"_s << true;
        QTest::newRow("question") << u"question"_s << u"Panel11"_s << true;
        QTest::newRow("under-15") << u"under-15"_s << u"Panel11"_s << true;
        QTest::newRow("diet") << u"diet"_s << u"Panel5"_s << true;
        QTest::newRow("print") << u"print"_s << u"Panel7"_s << true;
        QTest::newRow("clearing") << u"clearing"_s << u"Panel11"_s << true;
        QTest::newRow("clearing-print") << u"clearing-print"_s << u"Panel11"_s << false;
        QTest::newRow("mood") << u"mood"_s << u"Panel15"_s << false;
    }
    void escapeCancelsEachPopup()
    {
        QFETCH(QString, popup);
        QFETCH(QString, panel);
        QFETCH(bool, closes);
        if (popup == u"mood"_s) {
            h->clock = QDateTime(QDate(2024, 5, 3), QTime(19, 30));
            start(*h);
        }
        h->fill(1, u"30"_s, u"170"_s, u"60"_s, u"20"_s);
        h->click("PictureButton3");
        const QByteArray record = h->recordBytes();
        QWidget *opener = nullptr;
        if (popup == u"keypad"_s || popup == u"question"_s || popup == u"under-15"_s) {
            opener = h->edit("RightEdit1");
            opener->setFocus();
            key(Qt::Key_Space);
            if (popup != u"keypad"_s) {
                type(popup == u"question"_s ? u"120"_s : u"12"_s);
                key(Qt::Key_Return);
            }
        } else if (popup == u"diet"_s) {
            opener = h->button("PictureButton5");
        } else if (popup == u"print"_s) {
            h->click("Panel14");
            opener = h->button("PictureButton6");
        } else if (popup.startsWith(u"clearing"_s)) {
            h->click("Panel14");
            opener = h->button("PictureButton10");
        }
        if (opener && !qobject_cast<TRightEdit *>(opener)) {
            opener->setFocus();
            key(Qt::Key_Return);
        }
        if (popup == u"clearing-print"_s)
            h->click("Button18");
        QVERIFY(h->shown(qPrintable(panel)));
        QVERIFY(h->find<QWidget>(qPrintable(panel))->isAncestorOf(focused()));

        key(Qt::Key_Escape);
        QCOMPARE(!h->shown(qPrintable(panel)), closes);
        QVERIFY(h->window->isVisible());
        QCOMPARE(h->recordBytes(), record);
        if (popup == u"keypad"_s)
            QCOMPARE(h->edit("RightEdit1")->text(), u"30"_s); // the old text comes back
        if (popup == u"question"_s) {
            // " 間違った！": typed again on the keypad, which keeps the focus.
            QVERIFY(h->shown("Panel9"));
            QCOMPARE(h->edit("RightEdit1")->text(), QString());
            QVERIFY(h->find<QWidget>("Panel9")->isAncestorOf(focused()));
        }
        if (popup == u"under-15"_s)
            QCOMPARE(h->edit("RightEdit2")->text(), QString()); // "了 解" clears the inputs
        if (closes && popup != u"question"_s)
            QTRY_COMPARE(focused(), opener);
    }

    // Tab cycles through the open pop-up's keys only; closing it gives the focus back.
    void popupKeepsTheFocusUntilItCloses()
    {
        QWidget *keypad = h->find<QWidget>("Panel9");
        QWidget *age = h->edit("RightEdit1");
        age->setFocus();
        key(Qt::Key_Space);
        QCOMPARE(accessible(keypad)->text(QAccessible::Description), u"年齢"_s);
        for (int i = 0; i < 15; ++i) {
            key(Qt::Key_Tab);
            QVERIFY(keypad->isAncestorOf(focused()));
        }
        type(u"9"_s);
        key(Qt::Key_Return); // 9 years: the notice
        QWidget *notice = h->find<QWidget>("Panel11");
        QCOMPARE(accessible(notice)->role(), QAccessible::AlertMessage);
        QCOMPARE(accessible(notice)->text(QAccessible::Name), u"１５歳未満には対応してません"_s);
        key(Qt::Key_Backtab);
        QCOMPARE(focused(), h->push("Button18")); // its one answer
        key(Qt::Key_Return);
        QCOMPARE(focused(), age);
    }

    void under15NoticeThroughTheKeyboard()
    {
        h->click("PictureButton1");
        h->edit("RightEdit1")->setFocus();
        type(u"9"_s);
        key(Qt::Key_Backspace); // the keypad's "ｃ": the 9 goes
        type(u"14"_s);
        key(Qt::Key_Return);
        QVERIFY(h->shown("Panel11"));
        QCOMPARE(h->label("Label18"), u"１５歳未満には対応してません"_s);
        QCOMPARE(focused(), h->push("Button18"));
        // The keypad under the notice takes no keys.
        type(u"9"_s);
        key(Qt::Key_Backspace);
        QCOMPARE(h->edit("RightEdit1")->text(), u"14"_s);
        key(Qt::Key_Return); // "了 解"
        QVERIFY(!h->shown("Panel11") && !h->shown("Panel9"));
        QCOMPARE(h->edit("RightEdit1")->text(), QString());
        QCOMPARE(h->button("PictureButton1")->caption(), u"♂"_s);
    }

    // Keys that would change a field's text go through the keypad, never straight in.
    void typingNeverBypassesTheKeypad_data()
    {
        QTest::addColumn<int>("keyCode");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("expected"); // field text afterwards
        QTest::addColumn<bool>("keypadOpen");
        QTest::newRow("digit") << int(Qt::Key_5) << 0 << u"5"_s << true;
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << 0 << QString() << true;
        QTest::newRow("delete") << int(Qt::Key_Delete) << 0 << QString() << true;
        QTest::newRow("letter") << int(Qt::Key_A) << 0 << u"170"_s << false;
        QTest::newRow("paste") << int(Qt::Key_V) << int(Qt::ControlModifier) << u"170"_s << false;
        QTest::newRow("cut") << int(Qt::Key_X) << int(Qt::ControlModifier) << u"170"_s << false;
    }
    void typingNeverBypassesTheKeypad()
    {
        QFETCH(int, keyCode);
        QFETCH(int, modifiers);
        QFETCH(QString, expected);
        QFETCH(bool, keypadOpen);
        h->enter("RightEdit2", u"170"_s);
        QGuiApplication::clipboard()->setText(u"250"_s);
        TRightEdit *height = h->edit("RightEdit2");
        height->setFocus();
        height->selectAll();
        key(Qt::Key(keyCode), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(height->text(), expected);
        QCOMPARE(h->shown("Panel9"), keypadOpen);
        if (keypadOpen) {
            key(Qt::Key_Escape); // "×" brings the old text back
            QCOMPARE(height->text(), u"170"_s);
        }
    }

private:
    void start(WindowHarness &harness)
    {
        harness.start();
        QApplication::setActiveWindow(harness.window.get());
        QVERIFY(QTest::qWaitForWindowActive(harness.window.get()));
    }
    QWidget *focused() const { return h->window->focusWidget(); }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget *target = focused() ? focused() : h->window.get();
        QTest::keyClick(target, k, modifiers);
    }
    void type(const QString &text)
    {
        for (QChar c : text)
            QTest::keyClick(focused() ? focused() : h->window.get(), c.toLatin1());
    }
    void tab(int times)
    {
        for (int i = 0; i < times; ++i)
            key(Qt::Key_Tab);
    }
};

QTEST_MAIN(TestAccess)
#include "tst_access.moc"
