// SPDX-License-Identifier: GPL-3.0-or-later
// Shared harness for the tests that drive the main window through its named components.
#pragma once

#include "app/ErrorReport.h"
#include "app/QXCALC.h"
#include "controls/Label.h"
#include "controls/Panel.h"
#include "controls/PictBtn.h"
#include "controls/RightEdit.h"

#include <QColor>
#include <QDateTime>
#include <QFile>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

// A colour number as the window description writes it (0xBBGGRR), read here without the
// program's own conversion so that a channel mix-up there shows.
inline QColor describedColour(quint32 bgr)
{
    return QColor(int(bgr & 0xff), int((bgr >> 8) & 0xff), int((bgr >> 16) & 0xff));
}

struct WindowHarness
{
    QTemporaryDir folder;
    QDateTime clock = QDateTime(QDate(2024, 5, 3), QTime(7, 5));
    QStringList messages;
    // The save-as-PDF offer: questions asked, the answer, the path proposed and the one chosen
    // (empty: the dialog is cancelled).
    QStringList questions;
    bool answer = false;
    QString proposedPdf;
    QString chosenPdf;
    // Set: stands for a printer, called with each page on the print worker.
    ReportOutput::PageSender printer;
    std::unique_ptr<TQXCALC> window;

    WindowHarness()
    {
        ErrorReport::setHook([this](const QString &text) { messages << text; });
    }
    ~WindowHarness() { ErrorReport::setHook(nullptr); }

    TQXCALC *start(const QString &infoBase = {}) { return startIn(folder.path(), infoBase); }
    // The same with the program's folder elsewhere (one made unusable, for example).
    TQXCALC *startIn(const QString &appFolder, const QString &infoBase = {})
    {
        window.reset();
        TQXCALC::Options options;
        options.appFolder = appFolder;
        options.clock = [this] { return clock; };
        options.infoBase = infoBase;
        options.ask = [this](const QString &question) {
            questions << question;
            return answer;
        };
        options.chooseSaveFile = [this](const QString &proposed) {
            proposedPdf = proposed;
            return chosenPdf;
        };
        options.sendPage = printer;
        window = std::make_unique<TQXCALC>(options);
        window->show();
        return window.get();
    }

    QString recordPath() const { return folder.filePath(u"settemp.dat"_s); }
    QByteArray recordBytes() const
    {
        QFile file(recordPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    template<typename T> T *find(const char *name) const
    {
        T *widget = window->findChild<T *>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no component %s", name);
        return widget;
    }
    TPictureButton *button(const char *name) const { return find<TPictureButton>(name); }
    QPushButton *push(const char *name) const { return find<QPushButton>(name); }
    TRightEdit *edit(const char *name) const { return find<TRightEdit>(name); }
    QString label(const char *name) const { return find<QLabel>(name)->text(); }
    bool shown(const char *name) const { return find<QWidget>(name)->isVisible(); }

    void click(const char *name) { QTest::mouseClick(find<QWidget>(name), Qt::LeftButton); }
    // Keypad digits and the point act on the mouse going down.
    void press(const char *name, Qt::MouseButton which = Qt::LeftButton)
    {
        QWidget *key = find<QWidget>(name);
        QTest::mousePress(key, which);
        QTest::mouseRelease(key, which);
    }
    void typeOnKeypad(const QString &keys)
    {
        static const char *const names[] = {"Button13", "Button4", "Button5", "Button6", "Button7",
            "Button8", "Button9", "Button10", "Button11", "Button12"};
        for (QChar c : keys)
            press(c == u'.' ? "Button14" : names[c.digitValue()]);
    }
    // Opens the keypad on a field, types and presses Enter.
    void enter(const char *field, const QString &keys)
    {
        click(field);
        typeOnKeypad(keys);
        click("Button16");
    }
    void fill(int sex, const QString &age, const QString &height, const QString &weight,
        const QString &fat)
    {
        click(sex == 1 ? "PictureButton1" : "PictureButton2");
        enter("RightEdit1", age);
        enter("RightEdit2", height);
        enter("RightEdit3", weight);
        enter("RightEdit4", fat);
    }
};

// The fixture the window test programs share: a fresh harness (own folder, clock and message
// hook) before each test function, gone after it. begin() adds what every function of a program
// starts from.
class WindowTest : public QObject
{
    Q_OBJECT
protected:
    virtual void begin() { }
    std::unique_ptr<WindowHarness> h;

private Q_SLOTS:
    void init()
    {
        h = std::make_unique<WindowHarness>();
        begin();
    }
    void cleanup() { h.reset(); }
};
