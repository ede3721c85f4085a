// SPDX-License-Identifier: GPL-3.0-or-later
// Random use of the whole window: clicks, presses of every mouse button and key strokes on the
// named controls, pop-ups included, with the window's promises checked after every single action.
// The run is reproducible from its printed seed; MONKEY_SEED and MONKEY_STEPS override the defaults,
// MONKEY_TRACE prints every action (add -maxwarnings 0 for long runs).
#include "FolderSnapshot.h"
#include "WindowHarness.h"

#include <QApplication>
#include <QClipboard>
#include <QRandomGenerator>
#include <QtTest/qtestspontaneevent.h>

// Printing must fail with the program's own "no printer" message, never reach a real printer.
static const bool noPrinter = [] {
    qputenv("CUPS_SERVER", "127.0.0.1:1");
    return true;
}();

namespace {

const char *const popupNames[] = {"Panel5", "Panel7", "Panel9", "Panel11", "Panel15"};
const char *const keypadKeys[] = {"Button2", "Button4", "Button5", "Button6", "Button7", "Button8",
    "Button9", "Button10", "Button11", "Button12", "Button13", "Button14", "Button15", "Button16"};
const char *const resultNames[]
    = {"Panel2", "Label9", "Label10", "Label12", "Label14", "Label20", "Label21"};

// The information button would load the browser engine; its page has tests of its own.
bool excluded(const QWidget *w)
{
    for (; w; w = w->parentWidget()) {
        const QString name = w->objectName();
        if (name == u"PictureButton8"_s || name == u"WebBrowser1"_s || name == u"Panel17"_s)
            return true;
    }
    return false;
}

// What a disabled control must leave alone: every text, every visibility, the table and file.
struct Observable
{
    QMap<QString, QString> texts;
    QMap<QString, bool> visible;
    QMap<QString, bool> enabled;
    TextGrid table;
    QByteArray file;
    QSize size;
    bool operator==(const Observable &) const = default;
};

QString textOf(const QWidget *w)
{
    if (auto *panel = qobject_cast<const TPanel *>(w))
        return panel->caption();
    if (auto *label = qobject_cast<const QLabel *>(w))
        return label->text();
    if (auto *edit = qobject_cast<const TRightEdit *>(w))
        return edit->text();
    if (auto *push = qobject_cast<const QPushButton *>(w))
        return push->text();
    return {};
}

// Delivered as the window system would, without QTest's warning for every ignored event.
void sendMouse(
    QWidget *w, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPoint local)
{
    QMouseEvent event(type, local, w->mapToGlobal(local), button, held, Qt::NoModifier);
    QSpontaneKeyEvent::setSpontaneous(&event);
    qApp->notify(w, &event);
}

void mouseDown(QWidget *w, Qt::MouseButton button, QPoint local)
{
    sendMouse(w, QEvent::MouseButtonPress, button, button, local);
}

void mouseUp(QWidget *w, Qt::MouseButton button, QPoint local)
{
    sendMouse(w, QEvent::MouseButtonRelease, button, Qt::NoButton, local);
}

void keyStroke(QWidget *w, Qt::Key key, Qt::KeyboardModifiers modifiers, const QString &text)
{
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, key, modifiers, text);
        QSpontaneKeyEvent::setSpontaneous(&event);
        qApp->notify(w, &event);
    }
}

struct Keystroke
{
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char *text;
};
// Digits and the point first: typed plans draw from these twelve.
const Keystroke keys[] = {{Qt::Key_0, {}, "0"}, {Qt::Key_1, {}, "1"}, {Qt::Key_2, {}, "2"},
    {Qt::Key_3, {}, "3"}, {Qt::Key_4, {}, "4"}, {Qt::Key_5, {}, "5"}, {Qt::Key_6, {}, "6"},
    {Qt::Key_7, {}, "7"}, {Qt::Key_8, {}, "8"}, {Qt::Key_9, {}, "9"}, {Qt::Key_Period, {}, "."},
    {Qt::Key_Backspace, {}, "\b"}, {Qt::Key_Space, {}, " "}, {Qt::Key_Return, {}, "\r"},
    {Qt::Key_Tab, {}, "\t"}, {Qt::Key_Delete, {}, "\x7f"}, {Qt::Key_A, {}, "a"},
    {Qt::Key_C, {}, "c"}, {Qt::Key_E, {}, "e"}, {Qt::Key_X, {}, "x"},
    {Qt::Key_V, Qt::ControlModifier, "\x16"}, {Qt::Key_Z, Qt::ControlModifier, "\x1a"}};
const int keyCount = int(std::size(keys));
const int typedKeyCount = 12;
// What a paste offers: a line break, a second point, letters and far too many digits.
const QString clipboardText = u"12.3.4ab\n99"_s + QString(40, u'9');

bool nonFinite(const QString &text)
{
    return text.contains(u"inf"_s, Qt::CaseInsensitive)
        || text.contains(u"nan"_s, Qt::CaseInsensitive);
}

const QString heightMessage = u"身長を入力してください"_s;
const QString absurdMessage = u"測定値が大きすぎるか正しくありません。入力を確かめてください"_s;
const QString noPrinterMessage = u"プリンターが見つかりません"_s;
const QString nothingToPrint = u"印刷するデータがありません"_s;
const QString printQuestion = u"消去前にグラフ印刷しますか？"_s;

// The offscreen platform warns at every change of the fixed window height.
QtMessageHandler testLogHandler = nullptr;
void quietHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!message.contains(u"propagateSizeHints"_s))
        testLogHandler(type, context, message);
}

} // namespace

class TestMonkey : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { testLogHandler = qInstallMessageHandler(quietHandler); }
    void cleanupTestCase() { qInstallMessageHandler(testLogHandler); }

    void randomUseKeepsEveryPromise_data()
    {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<quint32>("seedOffset");
        QTest::addColumn<bool>("usedUp");
        QTest::newRow("morning") << QTime(7, 5) << 0u << false;
        QTest::newRow("evening-mood-asked") << QTime(19, 30) << 1u << false;
        // A table started in April has no column for 3 May until the person clears it.
        QTest::newRow("evening-record-used-up") << QTime(20, 0) << 2u << true;
    }
    void randomUseKeepsEveryPromise()
    {
        QFETCH(QTime, time);
        QFETCH(quint32, seedOffset);
        QFETCH(bool, usedUp);
        bool ok = false;
        quint32 seed = qEnvironmentVariable("MONKEY_SEED").toUInt(&ok);
        if (!ok)
            seed = 20240503;
        seed += seedOffset;
        int steps = qEnvironmentVariableIntValue("MONKEY_STEPS", &ok);
        if (!ok || steps <= 0)
            steps = 4000;
        qInfo("seed %u, %d actions (MONKEY_SEED=%u reproduces this row)", seed, steps,
            seed - seedOffset);

        WindowHarness h;
        if (usedUp) {
            h.clock = QDateTime(QDate(2024, 4, 1), QTime(8, 0));
            h.start();
            h.fill(2, u"35"_s, u"160"_s, u"55"_s, u"25"_s);
            h.click("PictureButton3");
            QVERIFY(!h.recordBytes().isEmpty());
        }
        h.clock = QDateTime(QDate(2024, 5, 3), time);
        m_h = &h;
        m_rng.seed(seed);
        m_log.clear();
        m_plan.clear();
        m_fileSeen = false;
        QGuiApplication::clipboard()->setText(clipboardText);
        restart();

        int measurements = 0, moods = 0, closes = 0, prints = 0;
        QByteArray lastBytes;
        for (int step = 0; step < steps; ++step) {
            const int before = h.messages.size();
            const bool moodOpen = h.shown("Panel15");
            const QString fault = act(step);
            if (!fault.isEmpty())
                QFAIL(qPrintable(report(seed, step, fault)));
            if (h.messages.size() > before && h.messages.last().contains(u"プリンター"_s))
                ++prints;
            if (!h.window->isVisible()) {
                // Only the clearing dialogue closes the window; the record is gone with it.
                if (QFile::exists(h.recordPath()))
                    QFAIL(qPrintable(report(seed, step, u"closed, but the record file is kept"_s)));
                ++closes;
                restart();
                continue;
            }
            if (moodOpen && !h.shown("Panel15"))
                ++moods;
            const QString broken = invariants();
            if (!broken.isEmpty())
                QFAIL(qPrintable(report(seed, step, broken)));
            const QByteArray bytes = h.recordBytes();
            if (bytes != lastBytes && !bytes.isEmpty())
                ++measurements;
            lastBytes = bytes;
            // Now and then the program is ended and started again on the same folder.
            if (m_rng.bounded(400) == 0) {
                restart();
                QString afterStart = invariants();
                // The profile comes back from the file: sex, age and height.
                const TextGrid &table = h.window->recordTable();
                if (afterStart.isEmpty() && !h.recordBytes().isEmpty()
                    && (h.edit("RightEdit1")->text() != table.cell(1, 0)
                        || h.edit("RightEdit2")->text() != table.cell(2, 0)))
                    afterStart = u"the profile was not restored at start"_s;
                if (!afterStart.isEmpty())
                    QFAIL(qPrintable(report(seed, step, afterStart)));
            }
        }
        qInfo("%d saved measurements, %d moods, %d closes by clearing, %d refused prints",
            measurements, moods, closes, prints);
        m_h = nullptr;
    }

    // The buttons that open a pop-up are out of reach while another one is open, so the random
    // use above can only ever meet one pop-up at a time.
    void openersWaitForTheOpenPopup_data()
    {
        QTest::addColumn<QString>("popup");
        for (const char *row :
            {"keypad", "question", "under-15 notice", "diet", "print", "mood", "clearing"})
            QTest::newRow(row) << QString::fromLatin1(row);
    }
    void openersWaitForTheOpenPopup()
    {
        QFETCH(QString, popup);
        WindowHarness h;
        if (popup == u"mood"_s)
            h.clock = QDateTime(QDate(2024, 5, 3), QTime(19, 30));
        h.start();
        h.fill(1, u"30"_s, u"170"_s, u"60"_s, u"20"_s);
        h.click("PictureButton3");
        if (popup == u"mood"_s) {
            QVERIFY(h.shown("Panel15"));
        } else if (popup == u"keypad"_s) {
            h.click("RightEdit3");
        } else if (popup == u"question"_s) {
            h.click("RightEdit3");
            h.typeOnKeypad(u"150"_s);
            h.click("Button16");
        } else if (popup == u"under-15 notice"_s) {
            h.click("RightEdit1");
            h.typeOnKeypad(u"12"_s);
            h.click("Button16");
        } else if (popup == u"diet"_s) {
            h.click("PictureButton5");
        } else if (popup == u"print"_s) {
            h.click("PictureButton6");
        } else {
            h.click("PictureButton10");
        }
        for (const char *opener : {"PictureButton6", "PictureButton10"})
            QVERIFY2(!h.button(opener)->isEnabled(), opener);
        QVERIFY(!h.button("PictureButton5")->isEnabled());
    }

    // A button whose pop-up has closed may still hold the keyboard focus; it must not act.
    void hiddenButtonsIgnoreKeys_data()
    {
        QTest::addColumn<bool>("mood");
        QTest::addColumn<int>("key");
        QTest::newRow("print-start-Enter") << false << int(Qt::Key_Return);
        QTest::newRow("print-start-Space") << false << int(Qt::Key_Space);
        QTest::newRow("mood-Enter") << true << int(Qt::Key_Return);
        QTest::newRow("mood-Space") << true << int(Qt::Key_Space);
    }
    void hiddenButtonsIgnoreKeys()
    {
        QFETCH(bool, mood);
        QFETCH(int, key);
        WindowHarness h;
        h.clock = QDateTime(QDate(2024, 5, 3), QTime(mood ? 19 : 7, 30));
        h.start();
        h.fill(1, u"30"_s, u"170"_s, u"60"_s, u"20"_s);
        h.click("PictureButton3");
        if (mood) {
            h.click("PictureButton13");
        } else {
            h.click("PictureButton6");
            h.press("PictureButton7", Qt::RightButton); // takes the focus, does not print
            h.click("Button3");
        }
        QVERIFY(h.messages.isEmpty());
        QVERIFY(QFile::remove(h.recordPath()));
        // The focus goes back to the button that opened the pop-up; keys reaching the hidden
        // button all the same change nothing.
        QWidget *hidden = h.find<QWidget>(mood ? "PictureButton13" : "PictureButton7");
        QVERIFY(!hidden->isVisible());
        keyStroke(hidden, Qt::Key(key), Qt::NoModifier, key == Qt::Key_Space ? u" "_s : u"\r"_s);
        QVERIFY(!QFile::exists(h.recordPath()) && h.messages.isEmpty());
    }

private:
    void restart()
    {
        m_h->start();
        m_fileSeen = QFile::exists(m_h->recordPath());
        m_log << u"(window started)"_s;
    }

    // Named controls the person can reach: shown, and at least partly inside the window.
    QList<QWidget *> reachable(bool enabled) const
    {
        QList<QWidget *> list;
        TQXCALC *window = m_h->window.get();
        for (QWidget *w : window->findChildren<QWidget *>()) {
            if (w->objectName().isEmpty() || excluded(w) || !w->isVisible()
                || w->isEnabled() != enabled)
                continue;
            const QRect area(w->mapTo(window, QPoint(0, 0)), w->size());
            if (area.intersects(window->rect()))
                list << w;
        }
        return list;
    }

    QWidget *pick(const QList<QWidget *> &list)
    {
        // Controls that do something are chosen more often than labels and pictures.
        QList<QWidget *> weighted;
        for (QWidget *w : list) {
            const bool active = qobject_cast<TPanel *>(w) && !qobject_cast<TPictureButton *>(w)
                ? w->objectName() == u"Panel14"_s
                : qobject_cast<TPictureButton *>(w) || qobject_cast<QPushButton *>(w)
                    || qobject_cast<TRightEdit *>(w);
            for (int i = 0; i < (active ? 6 : 1); ++i)
                weighted << w;
        }
        return weighted.isEmpty() ? nullptr : weighted.at(m_rng.bounded(int(weighted.size())));
    }

    // A person who knows what to do now and then: a sex, the four fields on the keypad with
    // mostly believable values, and the calculate button. Random actions may cut it short.
    void makePlan()
    {
        static const char *const digitKeys[] = {"Button13", "Button4", "Button5", "Button6",
            "Button7", "Button8", "Button9", "Button10", "Button11", "Button12"};
        const struct
        {
            const char *field;
            int low, high; // tenths
            bool decimal;
        } fields[] = {{"RightEdit1", 100, 900, false}, {"RightEdit2", 1300, 1950, true},
            {"RightEdit3", 350, 1100, true}, {"RightEdit4", 60, 450, true}};
        m_plan << (m_rng.bounded(2) ? u"PictureButton1"_s : u"PictureButton2"_s);
        for (const auto &f : fields) {
            if (!m_h->edit(f.field)->text().isEmpty() && m_rng.bounded(2))
                continue;
            const int tenths = f.low + int(m_rng.bounded(f.high - f.low));
            QString text = QString::number(tenths / 10);
            if (f.decimal && m_rng.bounded(2))
                text += u'.' + QString::number(tenths % 10);
            m_plan << QString::fromLatin1(f.field);
            for (QChar c : text)
                m_plan << (c == u'.' ? u"Button14"_s
                                     : QString::fromLatin1(digitKeys[c.digitValue()]));
            m_plan << u"Button16"_s;
        }
        m_plan << u"PictureButton3"_s;
    }

    // Typing into a field from the keyboard, mostly digits and points, sometimes a paste.
    void makeTypingPlan()
    {
        static const char *const fields[]
            = {"RightEdit1", "RightEdit2", "RightEdit3", "RightEdit4"};
        m_plan << u"focus:"_s + QString::fromLatin1(fields[m_rng.bounded(4)]);
        const int count = 1 + int(m_rng.bounded(6));
        for (int i = 0; i < count; ++i) {
            const int index = m_rng.bounded(8) == 0 ? int(m_rng.bounded(keyCount))
                                                    : int(m_rng.bounded(typedKeyCount));
            m_plan << u"key:"_s + QString::number(index);
        }
    }

    Observable observe() const
    {
        Observable o;
        for (QWidget *w : m_h->window->findChildren<QWidget *>()) {
            if (w->objectName().isEmpty())
                continue;
            // The graph frame reuses two names of the window inside it.
            const QString key = w->parentWidget()->objectName() + u'/' + w->objectName();
            o.texts.insert(key, textOf(w));
            o.visible.insert(key, w->isVisible());
            o.enabled.insert(key, w->isEnabled());
        }
        o.table = m_h->window->recordTable();
        o.file = m_h->recordBytes();
        o.size = m_h->window->size();
        return o;
    }

    // One random action; returns a fault found in its immediate effect.
    QString act(int step)
    {
        TQXCALC *window = m_h->window.get();
        QWidget *target = nullptr;
        QPoint at;
        bool planned = false;
        if (m_plan.isEmpty() && m_rng.bounded(12) == 0
            && m_h->find<QWidget>("Panel1")->isEnabled()) {
            if (m_rng.bounded(3) == 0)
                makeTypingPlan();
            else
                makePlan();
        }
        int keyIndex = -1;
        Qt::MouseButton plannedButton = Qt::LeftButton;
        while (!m_plan.isEmpty() && !target) {
            // The next step of a plan is taken only while the window still allows it.
            QString step = m_plan.takeFirst();
            if (step.startsWith(u"key:"_s)) {
                keyIndex = step.mid(4).toInt();
                target = window;
                planned = true;
                break;
            }
            if (step.startsWith(u"focus:"_s)) {
                // A right click gives a field the focus without opening the keypad.
                plannedButton = Qt::RightButton;
                step = step.mid(6);
            }
            QWidget *next = m_h->find<QWidget>(step.toLatin1().constData());
            const QPoint centre = next->mapTo(window, next->rect().center());
            if (next->isVisible() && next->isEnabled() && window->childAt(centre) == next) {
                target = next;
                at = centre;
                planned = true;
            } else {
                m_plan.clear();
                plannedButton = Qt::LeftButton;
            }
        }
        if (!target) {
            const bool onDisabled = m_rng.bounded(10) == 0;
            target = pick(reachable(!onDisabled));
            if (!target)
                target = pick(reachable(onDisabled));
            if (!target)
                return u"nothing left to use"_s;
            // The event goes where a real pointer would land: the topmost control at that point.
            const QRect area
                = QRect(target->mapTo(window, QPoint(0, 0)), target->size()) & window->rect();
            if (area.isEmpty())
                return {};
            at = QPoint(area.left() + int(m_rng.bounded(area.width())),
                area.top() + int(m_rng.bounded(area.height())));
        }
        QWidget *receiver = window->childAt(at);
        if (!receiver)
            receiver = window;
        if (excluded(receiver))
            return {};
        const int kind = keyIndex >= 0 ? 99 : planned ? 0 : int(m_rng.bounded(100));
        const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
        QString what;
        QWidget *acting = receiver;
        std::function<void()> action;
        if (kind < 70) {
            // Mostly plain left clicks; the keypad digits also answer the other two buttons.
            const Qt::MouseButton button = planned ? plannedButton
                : kind < 45                        ? Qt::LeftButton
                                                   : buttons[m_rng.bounded(3)];
            const QPoint local = receiver->mapFrom(window, at);
            what = u"click %1"_s.arg(int(button));
            action = [receiver, local, button] {
                mouseDown(receiver, button, local);
                mouseUp(receiver, button, local);
            };
        } else if (kind < 75) {
            const Qt::MouseButton button = buttons[m_rng.bounded(3)];
            const QPoint local = receiver->mapFrom(window, at);
            const QPoint away = local + QPoint(int(m_rng.bounded(200)) - 100, 40);
            what = u"press, release away %1"_s.arg(int(button));
            action = [receiver, local, away, button] {
                mouseDown(receiver, button, local);
                sendMouse(receiver, QEvent::MouseMove, Qt::NoButton, button, away);
                mouseUp(receiver, button, away);
            };
        } else {
            if (keyIndex < 0)
                keyIndex = int(m_rng.bounded(keyCount));
            const Keystroke &key = keys[keyIndex];
            // Keys go where the keyboard focus is, as they would in the active window; a click
            // gives a control the focus first.
            acting = window->focusWidget() ? window->focusWidget() : window;
            if (excluded(acting))
                return {};
            what = u"key %1"_s.arg(QKeySequence(key.modifiers | key.key).toString());
            action = [acting, key] {
                keyStroke(acting, key.key, key.modifiers, QString::fromLatin1(key.text));
            };
        }
        const QString name = acting->objectName().isEmpty()
            ? u"<%1 in %2>"_s.arg(QString::fromLatin1(acting->metaObject()->className()),
                acting->parentWidget() ? acting->parentWidget()->objectName() : QString())
            : acting->objectName();
        m_log << u"%1: %2 on %3 at %4,%5%6%7"_s.arg(step)
                     .arg(what, name)
                     .arg(at.x())
                     .arg(at.y())
                     .arg(acting->isEnabled() ? QString() : u" (disabled)"_s)
                     .arg(acting->isVisible() ? QString() : u" (hidden)"_s);
        if (m_trace)
            qInfo("%s", qPrintable(m_log.last()));
        if (m_log.size() > 40)
            m_log.removeFirst();

        // A disabled control, or a hidden one still holding the focus, must not act.
        const bool wasEnabled = acting->isEnabled() && acting->isVisible();
        // Which of the program's own messages this action may bring.
        QStringList allowed;
        const bool clearingPrint = m_h->label("Label18") == printQuestion;
        if (wasEnabled && name == u"PictureButton3"_s)
            allowed << heightMessage << absurdMessage;
        if (wasEnabled && (name == u"PictureButton7"_s || (name == u"Button18"_s && clearingPrint)))
            allowed << noPrinterMessage << nothingToPrint;

        const Observable before = wasEnabled ? Observable() : observe();
        const int messagesBefore = m_h->messages.size();
        action();
        QCoreApplication::processEvents();

        for (int i = messagesBefore; i < m_h->messages.size(); ++i) {
            const QString &message = m_h->messages.at(i);
            const bool expected = std::any_of(allowed.cbegin(), allowed.cend(),
                [&](const QString &start) { return message.startsWith(start); });
            if (!expected)
                return u"unexpected message: "_s + message;
        }
        if (!wasEnabled && window->isVisible() && observe() != before)
            return u"a disabled or hidden control changed the window"_s;
        return {};
    }

    // The window's promises, checked between actions.
    QString invariants()
    {
        WindowHarness &h = *m_h;
        int interactive = 0;
        for (const char *name : popupNames) {
            QWidget *popup = h.find<QWidget>(name);
            if (popup->isVisible() && popup->isEnabled())
                ++interactive;
        }
        if (interactive > 1)
            return u"%1 pop-ups can be used at once"_s.arg(interactive);

        const bool sexChosen = h.button("PictureButton1")->caption().isEmpty()
            || h.button("PictureButton2")->caption().isEmpty();
        bool filled = true;
        for (const char *name : {"RightEdit1", "RightEdit2", "RightEdit3", "RightEdit4"})
            filled = filled && !h.edit(name)->text().isEmpty();
        QWidget *panel1 = h.find<QWidget>("Panel1");
        if (h.button("PictureButton3")->isEnabledTo(panel1) != (sexChosen && filled))
            return u"the calculate button does not follow the sex and the four fields"_s;

        QWidget *keypad = h.find<QWidget>("Panel9");
        const bool question = h.shown("Panel11");
        if (!question && !keypad->isEnabledTo(h.window.get()))
            return u"the keypad stays disabled with no question open"_s;
        if (keypad->isVisible()) {
            if (panel1->isEnabled())
                return u"the inputs are usable under the open keypad"_s;
            if (!question) {
                for (const char *name : keypadKeys) {
                    if (!h.find<QWidget>(name)->isEnabled())
                        return u"keypad key %1 is disabled"_s.arg(QString::fromLatin1(name));
                }
            }
        }

        for (const char *name : resultNames) {
            if (nonFinite(textOf(h.find<QWidget>(name))))
                return u"%1 shows %2"_s.arg(
                    QString::fromLatin1(name), textOf(h.find<QWidget>(name)));
        }
        const TextGrid &table = h.window->recordTable();
        for (int row = 0; row < table.rowCount(); ++row) {
            for (int column = 0; column < table.columnCount(); ++column) {
                if (nonFinite(table.cell(column, row)))
                    return u"cell %1,%2 holds %3"_s.arg(column).arg(row).arg(
                        table.cell(column, row));
            }
        }

        const QByteArray bytes = h.recordBytes();
        if (bytes.isEmpty()) {
            if (m_fileSeen)
                return u"the record file is gone"_s;
            return {};
        }
        m_fileSeen = true;
        if (bytes.count("\r\n") != 16 || bytes.count(',') != 16 * 61)
            return u"the record file is not 16 lines of 62 fields"_s;
        // While the mood is asked the measurement exists only in memory.
        if (!h.shown("Panel15") && recordFromBytes(bytes) != table)
            return u"the record file differs from the table"_s;
        return {};
    }

    // The recent actions go to the log line by line; the failure itself stays short.
    QString report(quint32 seed, int step, const QString &fault) const
    {
        for (const QString &line : m_log)
            qInfo("  %s", qPrintable(line));
        return u"%1 (seed %2, action %3, recent actions above)"_s.arg(fault).arg(seed).arg(step);
    }

    WindowHarness *m_h = nullptr;
    QRandomGenerator m_rng;
    QStringList m_log;
    QStringList m_plan;
    const bool m_trace = qEnvironmentVariableIsSet("MONKEY_TRACE");
    bool m_fileSeen = false;
};

QTEST_MAIN(TestMonkey)
#include "tst_monkey.moc"
