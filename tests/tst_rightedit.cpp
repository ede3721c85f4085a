// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/RightEdit.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

bool digitOrPoint(QChar c)
{
    return (c >= u'0' && c <= u'9') || c == u'.';
}

} // namespace

class TestRightEdit : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void textStandsAtTheRightEdge()
    {
        TRightEdit edit;
        edit.setFrame(false);
        edit.resize(46, 16);
        QPalette pal = edit.palette();
        pal.setColor(QPalette::Base, Qt::white);
        pal.setColor(QPalette::Text, Qt::black);
        edit.setPalette(pal);
        QTest::keyClicks(&edit, u"1"_s);
        const auto inkColumns = [&edit] {
            edit.clearFocus(); // no cursor in the picture
            const QImage img = edit.grab().toImage();
            int first = -1, last = -1;
            for (int x = 0; x < img.width(); ++x) {
                for (int y = 0; y < img.height(); ++y) {
                    if (qGray(img.pixel(x, y)) < 128) {
                        if (first < 0)
                            first = x;
                        last = x;
                        break;
                    }
                }
            }
            return std::pair(first, last);
        };
        const auto [oneLeft, oneRight] = inkColumns();
        QVERIFY2(oneLeft > 23, qPrintable(QString::number(oneLeft)));
        QVERIFY(oneRight > 46 - 8);
        QTest::keyClicks(&edit, u"68"_s);
        QCOMPARE(edit.text(), u"168"_s);
        const auto [threeLeft, threeRight] = inkColumns();
        QVERIFY(threeLeft < oneLeft);
        QVERIFY(threeRight > 46 - 8);
    }

    void typingLimitBindsTypingOnly_data()
    {
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("preset"); // set by the program
        QTest::addColumn<bool>("selectAll");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::addRow("age-3-of-4") << 3 << QString() << false << u"1234"_s << u"123"_s;
        QTest::addRow("height-5") << 5 << QString() << false << u"170.55"_s << u"170.5"_s;
        QTest::addRow("no-limit") << 0 << QString() << false << u"1234567"_s << u"1234567"_s;
        QTest::addRow("preset-longer-kept") << 3 << u"12345"_s << false << u"6"_s << u"12345"_s;
        QTest::addRow("replace-selection") << 3 << u"12345"_s << true << u"98"_s << u"98"_s;
    }
    void typingLimitBindsTypingOnly()
    {
        QFETCH(int, limit);
        QFETCH(QString, preset);
        QFETCH(bool, selectAll);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        TRightEdit edit;
        edit.setTypingLimit(limit);
        edit.setText(preset);
        QCOMPARE(edit.text(), preset);
        if (selectAll)
            edit.selectAll();
        QTest::keyClicks(&edit, typed);
        QCOMPARE(edit.text(), expected);
    }

    void backspaceAndDeleteWorkPastTheLimit()
    {
        TRightEdit edit;
        edit.setTypingLimit(3);
        edit.setKeyFilter(digitOrPoint);
        edit.setText(u"12345"_s);
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QCOMPARE(edit.text(), u"1234"_s);
        QTest::keyClick(&edit, Qt::Key_Home);
        QTest::keyClick(&edit, Qt::Key_Delete);
        QCOMPARE(edit.text(), u"234"_s);
    }

    void keyFilterDiscardsCharacters_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::addRow("digits-pass") << u"65.5"_s << u"65.5"_s;
        QTest::addRow("letters-dropped") << u"6a5-"_s << u"65"_s;
        QTest::addRow("space-dropped") << u"1 2"_s << u"12"_s;
    }
    void keyFilterDiscardsCharacters()
    {
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        TRightEdit edit;
        edit.setKeyFilter(digitOrPoint);
        QTest::keyClicks(&edit, typed);
        QCOMPARE(edit.text(), expected);
    }

    void pasteIsCutToTheLimit()
    {
        TRightEdit edit;
        edit.setTypingLimit(4);
        QGuiApplication::clipboard()->setText(u"98765\r\n1"_s);
        if (QGuiApplication::clipboard()->text() != u"98765\r\n1"_s)
            QSKIP("no clipboard on this platform");
        QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit.text(), u"9876"_s);
        edit.setText(u"12"_s);
        edit.end(false);
        edit.pasteWithinLimit();
        QCOMPARE(edit.text(), u"1298"_s);
    }

    void contextMenuPasteIsCutToTheLimit()
    {
        TRightEdit edit;
        edit.setTypingLimit(3);
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        QGuiApplication::clipboard()->setText(u"98765"_s);
        if (QGuiApplication::clipboard()->text() != u"98765"_s)
            QSKIP("no clipboard on this platform");
        bool triggered = false;
        QTimer::singleShot(0, &edit, [&triggered] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (!menu)
                return;
            for (QAction *action : menu->actions()) {
                if (action->text().startsWith(u"&Paste"_s)) {
                    action->trigger();
                    triggered = true;
                }
            }
            menu->close();
        });
        QContextMenuEvent event(
            QContextMenuEvent::Mouse, QPoint(5, 5), edit.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&edit, &event);
        QVERIFY(triggered);
        QCOMPARE(edit.text(), u"987"_s);
    }

    void inputMethodCommitIsFilteredAndLimited()
    {
        TRightEdit edit;
        edit.setTypingLimit(3);
        edit.setKeyFilter(digitOrPoint);
        QInputMethodEvent commit;
        commit.setCommitString(u"1x234"_s);
        QApplication::sendEvent(&edit, &commit);
        QCOMPARE(edit.text(), u"123"_s);
    }

    void leftClickSignals_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QPoint>("releaseAt");
        QTest::addColumn<int>("clicks");
        QTest::addRow("left-inside") << Qt::LeftButton << QPoint(20, 8) << 1;
        QTest::addRow("left-released-outside") << Qt::LeftButton << QPoint(80, 8) << 0;
        QTest::addRow("right") << Qt::RightButton << QPoint(20, 8) << 0;
    }
    void leftClickSignals()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(QPoint, releaseAt);
        QFETCH(int, clicks);
        TRightEdit edit;
        edit.resize(46, 16);
        QSignalSpy clicked(&edit, &TRightEdit::clicked);
        QTest::mousePress(&edit, button, {}, QPoint(20, 8));
        QTest::mouseRelease(&edit, button, {}, releaseAt);
        QCOMPARE(clicked.count(), clicks);
    }
};

QTEST_MAIN(TestRightEdit)
#include "tst_rightedit.moc"
