// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/PictBtn.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

// Distinct system colours, so every pixel tells which role painted it.
const QColor kFace(0xd0, 0xd0, 0xd0);
const QColor kShadow(0x80, 0x80, 0x80);    // button shadow
const QColor kHighlight(0xff, 0xff, 0xfe); // button highlight
const QColor kLight3D(0xe0, 0xe0, 0xe0);
const QColor kDarkShadow(0x40, 0x40, 0x40);
const QColor kRest(0x00, 0x80, 0xc0);
const QColor kHover(0x00, 0x9e, 0xea);

QPalette testPalette()
{
    QPalette pal;
    pal.setColor(QPalette::Button, kFace);
    pal.setColor(QPalette::Dark, kShadow);
    pal.setColor(QPalette::Light, kHighlight);
    pal.setColor(QPalette::Midlight, kLight3D);
    pal.setColor(QPalette::Shadow, kDarkShadow);
    return pal;
}

// A shown window holding one 22 x 22 button at 10, 10.
struct Fixture
{
    QWidget window;
    TPictureButton *button;
    Fixture(int w = 22, int h = 22)
    {
        window.setPalette(testPalette());
        window.resize(120, 80);
        button = new TPictureButton(&window);
        button->setGeometry(10, 10, w, h);
        button->setColor(kRest);
        button->setInColor(kHover);
    }
    void show()
    {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
};

void sendKey(QWidget *w, QEvent::Type type, int key, bool autoRepeat = false)
{
    QKeyEvent event(
        type, key, Qt::NoModifier, key == Qt::Key_Space ? u" "_s : QString(), autoRepeat);
    QApplication::sendEvent(w, &event);
}

// Hands an event straight to the widget, bypassing the application's event delivery, so that an
// exception thrown by a slot unwinds through the button's own code only.
void deliverDirectly(QWidget *w, QEvent *event)
{
    static_cast<QObject *>(w)->event(event);
}

QColor pixel(const TPictureButton *b, int x, int y)
{
    return b->render().pixelColor(x, y);
}

} // namespace

class TestPictureButton : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void creationValues()
    {
        QWidget parent;
        parent.setPalette(testPalette());
        TPictureButton b(&parent);
        QCOMPARE(b.size(), QSize(36, 36));
        QCOMPARE(b.caption(), QString());
        QCOMPARE(b.focusPolicy(), Qt::ClickFocus);
        QCOMPARE(b.buttonStyle(), TPictureButton::bsStdButton);
        QCOMPARE(b.color(), kFace);
        QCOMPARE(b.inColor(), kLight3D);
        QCOMPARE(b.displayedColor(), kFace);
        QVERIFY(b.colorChange());
        QCOMPARE(b.focusStyle(), TPictureButton::bfsStdButton);
        QCOMPARE(b.pictureLeft(), -1);
        QCOMPARE(b.captionTop(), -1);
        QVERIFY(!b.stretch());
        QCOMPARE(b.bevelOuter(), TPanel::bvNone);
        QCOMPARE(b.bevelInner(), TPanel::bvNone);
    }

    void stylesSetBevels_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("restInner");
        QTest::addColumn<int>("restOuter");
        QTest::addColumn<int>("downInner");
        QTest::addColumn<int>("downOuter");
        QTest::addColumn<int>("upInner");
        QTest::addColumn<int>("upOuter");
        using B = TPanel;
        using S = TPictureButton;
        QTest::addRow("none") << int(S::bsNone) << int(B::bvNone) << int(B::bvNone)
                              << int(B::bvNone) << int(B::bvLowered) << int(B::bvNone)
                              << int(B::bvNone);
        QTest::addRow("lowered") << int(S::bsLowered) << int(B::bvNone) << int(B::bvLowered)
                                 << int(B::bvLowered) << int(B::bvLowered) << int(B::bvNone)
                                 << int(B::bvLowered);
        QTest::addRow("raised") << int(S::bsRaised) << int(B::bvNone) << int(B::bvRaised)
                                << int(B::bvNone) << int(B::bvLowered) << int(B::bvNone)
                                << int(B::bvRaised);
        QTest::addRow("frame") << int(S::bsFrame) << int(B::bvLowered) << int(B::bvRaised)
                               << int(B::bvLowered) << int(B::bvNone) << int(B::bvLowered)
                               << int(B::bvRaised);
        QTest::addRow("groove") << int(S::bsGroove) << int(B::bvRaised) << int(B::bvLowered)
                                << int(B::bvNone) << int(B::bvLowered) << int(B::bvRaised)
                                << int(B::bvLowered);
        // Released with the pointer inside.
        QTest::addRow("ie-like") << int(S::bsIELike) << int(B::bvNone) << int(B::bvNone)
                                 << int(B::bvNone) << int(B::bvLowered) << int(B::bvNone)
                                 << int(B::bvRaised);
        // Click and release each apply the release rule: lowered -> raised -> none.
        QTest::addRow("speed-button-like")
            << int(S::bsSpBtnLike) << int(B::bvNone) << int(B::bvNone) << int(B::bvNone)
            << int(B::bvLowered) << int(B::bvNone) << int(B::bvNone);
        QTest::addRow("standard") << int(S::bsStdButton) << int(B::bvNone) << int(B::bvNone)
                                  << int(B::bvNone) << int(B::bvNone) << int(B::bvNone)
                                  << int(B::bvNone);
    }
    void stylesSetBevels()
    {
        QFETCH(int, style);
        QFETCH(int, restInner);
        QFETCH(int, restOuter);
        QFETCH(int, downInner);
        QFETCH(int, downOuter);
        QFETCH(int, upInner);
        QFETCH(int, upOuter);
        Fixture f;
        TPictureButton &b = *f.button;
        b.setButtonStyle(TPictureButton::bsGroove);
        b.setButtonStyle(TPictureButton::ButtonStyle(style));
        QCOMPARE(int(b.bevelInner()), restInner);
        QCOMPARE(int(b.bevelOuter()), restOuter);
        QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(int(b.bevelInner()), downInner);
        QCOMPARE(int(b.bevelOuter()), downOuter);
        QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(int(b.bevelInner()), upInner);
        QCOMPARE(int(b.bevelOuter()), upOuter);
    }

    void pictureCentredHalfToEven_data()
    {
        QTest::addColumn<QSize>("buttonSize");
        QTest::addColumn<QSize>("pictureSize");
        QTest::addColumn<int>("pictureLeft");
        QTest::addColumn<QPoint>("expected");
        QTest::addRow("16-on-22") << QSize(22, 22) << QSize(16, 16) << -1 << QPoint(3, 3);
        QTest::addRow("16-on-195-half-up-to-even")
            << QSize(195, 22) << QSize(16, 16) << -1 << QPoint(90, 3);
        QTest::addRow("16-on-197-half-down-to-even")
            << QSize(197, 21) << QSize(16, 16) << -1 << QPoint(90, 2);
        QTest::addRow("fixed-left-14") << QSize(195, 22) << QSize(16, 16) << 14 << QPoint(14, 3);
        QTest::addRow("wider-than-button") << QSize(10, 10) << QSize(13, 11) << -1 << QPoint(-2, 0);
    }
    void pictureCentredHalfToEven()
    {
        QFETCH(QSize, buttonSize);
        QFETCH(QSize, pictureSize);
        QFETCH(int, pictureLeft);
        QFETCH(QPoint, expected);
        TPictureButton b;
        b.resize(buttonSize);
        QImage picture(pictureSize, QImage::Format_ARGB32);
        picture.fill(Qt::red);
        b.setPicture(picture);
        b.setPictureLeft(pictureLeft);
        QCOMPARE(b.pictureRect(), QRect(expected, pictureSize));
    }

    void pictureDrawnTransparently()
    {
        Fixture f;
        QImage opaque(16, 16, QImage::Format_RGB32);
        opaque.fill(Qt::green); // the bottom-left colour is the transparent one
        opaque.setPixelColor(8, 8, Qt::red);
        f.button->setPicture(opaque);
        QCOMPARE(pixel(f.button, 3 + 8, 3 + 8), QColor(Qt::red));
        QCOMPARE(pixel(f.button, 3, 3), kRest);

        QImage alpha(16, 16, QImage::Format_ARGB32);
        alpha.fill(Qt::transparent);
        alpha.setPixelColor(0, 0, Qt::blue);
        f.button->setPicture(alpha);
        QCOMPARE(pixel(f.button, 3, 3), QColor(Qt::blue));
        QCOMPARE(pixel(f.button, 4, 3), kRest);
    }

    void captionPlacement_data()
    {
        QTest::addColumn<int>("extraWidth"); // button width minus text width
        QTest::addColumn<int>("extraHeight");
        QTest::addColumn<int>("captionLeft");
        QTest::addColumn<int>("captionTop");
        QTest::addColumn<QPoint>("expected");
        QTest::addRow("centred-even") << 10 << 10 << -1 << -1 << QPoint(5, 5);
        QTest::addRow("centred-odd-truncates") << 11 << 11 << -1 << -1 << QPoint(5, 5);
        QTest::addRow("wider-than-button-toward-zero") << -13 << 10 << -1 << -1 << QPoint(-6, 5);
        QTest::addRow("fixed-left-centred-top") << 40 << 3 << 40 << -1 << QPoint(40, 1);
    }
    void captionPlacement()
    {
        QFETCH(int, extraWidth);
        QFETCH(int, extraHeight);
        QFETCH(int, captionLeft);
        QFETCH(int, captionTop);
        QFETCH(QPoint, expected);
        TPictureButton b;
        b.setCaption(u"リセット"_s);
        const QSize text = b.captionRect().size();
        QVERIFY(text.width() > 0 && text.height() > 0);
        b.resize(text.width() + extraWidth, text.height() + extraHeight);
        b.setCaptionLeft(captionLeft);
        b.setCaptionTop(captionTop);
        QCOMPARE(b.captionRect(), QRect(expected, text));
    }

    void ampersandIsMeasuredAsDrawn()
    {
        TPictureButton marked, plain, doubled, single;
        marked.setCaption(u"A&B"_s);
        plain.setCaption(u"AB"_s);
        doubled.setCaption(u"&&"_s);
        single.setCaption(u"&"_s);
        QCOMPARE(marked.captionRect().size(), plain.captionRect().size());
        QVERIFY(doubled.captionRect().width() > 0);
        const QImage drawn = doubled.render();
        doubled.setCaption(u"x"_s);
        QVERIFY(doubled.render() != drawn);
    }

    void fixedCaptionMovesWhilePressed()
    {
        Fixture f;
        TPictureButton &b = *f.button;
        b.setCaption(u"C"_s);
        b.setCaptionLeft(7);
        b.setCaptionTop(6);
        QCOMPARE(b.captionRect().topLeft(), QPoint(7, 6));
        QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(b.captionRect().topLeft(), QPoint(8, 7));
        QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(b.captionRect().topLeft(), QPoint(7, 6));
    }

    void standardFramePixels()
    {
        Fixture f;
        TPictureButton &b = *f.button;
        // Raised: 3D light / dark shadow outside, highlight / shadow inside.
        QCOMPARE(pixel(&b, 0, 0), kLight3D);
        QCOMPARE(pixel(&b, 21, 0), kDarkShadow);
        QCOMPARE(pixel(&b, 0, 21), kLight3D);
        QCOMPARE(pixel(&b, 21, 21), kDarkShadow);
        QCOMPARE(pixel(&b, 1, 1), kHighlight);
        QCOMPARE(pixel(&b, 20, 20), kShadow);
        QCOMPARE(pixel(&b, 2, 2), kRest);
        QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(5, 5));
        // Sunken: shadow outside, face inside, the held colour within.
        QCOMPARE(pixel(&b, 0, 0), kShadow);
        QCOMPARE(pixel(&b, 21, 21), kShadow);
        QCOMPARE(pixel(&b, 1, 1), kFace);
        QCOMPARE(pixel(&b, 20, 20), kFace);
        QCOMPARE(pixel(&b, 2, 2), kHover);
        QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(5, 5));
    }

    void pressLeaveReturnRelease_data()
    {
        QTest::addColumn<bool>("comeBack");
        QTest::addColumn<QPoint>("releaseAt");
        QTest::addColumn<int>("clicks");
        QTest::addRow("release-inside") << false << QPoint(5, 5) << 1;
        QTest::addRow("release-outside") << false << QPoint(40, 5) << 0;
        QTest::addRow("leave-return-release-inside") << true << QPoint(6, 6) << 1;
        QTest::addRow("leave-return-release-outside") << true << QPoint(5, -3) << 0;
    }
    void pressLeaveReturnRelease()
    {
        QFETCH(bool, comeBack);
        QFETCH(QPoint, releaseAt);
        QFETCH(int, clicks);
        Fixture f;
        TPictureButton &b = *f.button;
        QSignalSpy clicked(&b, &TPictureButton::clicked);
        QSignalSpy left(&b, &TPictureButton::mouseLeave);
        QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(b.isPressed());
        QCOMPARE(b.pressCancel(), 0);

        QTest::mouseMove(&b, QPoint(30, 5));
        QCOMPARE(left.count(), 1);
        QCOMPARE(left.at(0).at(2).toPoint(), QPoint(30, 5));
        QCOMPARE(b.pressCancel(), -1);
        QCOMPARE(pixel(&b, 0, 0), kLight3D); // raised again
        QCOMPARE(pixel(&b, 2, 2), kRest);
        QCOMPARE(b.captionRect(), QRect());
        if (comeBack) {
            QTest::mouseMove(&b, QPoint(6, 6));
            QCOMPARE(b.pressCancel(), 0);
            QCOMPARE(pixel(&b, 0, 0), kShadow); // sunken again
            QCOMPARE(pixel(&b, 2, 2), kHover);
        }
        QTest::mouseRelease(&b, Qt::LeftButton, {}, releaseAt);
        QCOMPARE(clicked.count(), clicks);
        QVERIFY(!b.isPressed());
        QCOMPARE(b.pressCancel(), 0);
        QCOMPARE(pixel(&b, 0, 0), kLight3D);
    }

    void keys_data()
    {
        QTest::addColumn<QList<int>>("events"); // positive: press, negative: release
        QTest::addColumn<int>("clicks");
        QTest::addColumn<bool>("pressedAfter");
        const int space = Qt::Key_Space;
        QTest::addRow("space-down-holds") << QList<int> {space} << 0 << true;
        QTest::addRow("space-click") << QList<int> {space, -space} << 1 << false;
        QTest::addRow("space-repeat-one-click")
            << QList<int> {space, space, space, -space} << 1 << false;
        QTest::addRow("other-key-cancels")
            << QList<int> {space, int(Qt::Key_A), -space} << 0 << false;
        QTest::addRow("shift-cancels")
            << QList<int> {space, int(Qt::Key_Shift), -space} << 0 << false;
        QTest::addRow("enter-clicks") << QList<int> {int(Qt::Key_Return)} << 1 << false;
        QTest::addRow("keypad-enter-clicks") << QList<int> {int(Qt::Key_Enter)} << 1 << false;
        QTest::addRow("release-alone-nothing") << QList<int> {-space} << 0 << false;
    }
    void keys()
    {
        QFETCH(QList<int>, events);
        QFETCH(int, clicks);
        QFETCH(bool, pressedAfter);
        Fixture f;
        TPictureButton &b = *f.button;
        QSignalSpy clicked(&b, &TPictureButton::clicked);
        for (int e : events)
            sendKey(&b, e > 0 ? QEvent::KeyPress : QEvent::KeyRelease, e > 0 ? e : -e);
        QCOMPARE(clicked.count(), clicks);
        QCOMPARE(b.isPressed(), pressedAfter);
    }

    void spaceHeldShowsPress()
    {
        Fixture f;
        sendKey(f.button, QEvent::KeyPress, Qt::Key_Space);
        QCOMPARE(pixel(f.button, 0, 0), kShadow);
        sendKey(f.button, QEvent::KeyRelease, Qt::Key_Space, true); // X11 auto-repeat
        QVERIFY(f.button->isPressed());
    }

    void disabledIgnoresInputAndLooksTheSame()
    {
        Fixture f;
        TPictureButton &b = *f.button;
        b.setCaption(u"計算"_s);
        f.show();
        // The pointer an earlier test left over the button must not change the look here.
        b.setColorChange(false);
        const QImage enabled = b.grab().toImage();
        b.setEnabled(false);
        QCOMPARE(b.grab().toImage(), enabled);
        QSignalSpy clicked(&b, &TPictureButton::clicked);
        QSignalSpy down(&b, &TPictureButton::mouseDown);
        QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::keyClick(&b, Qt::Key_Return);
        QTest::keyClick(&b, Qt::Key_Space);
        QCOMPARE(clicked.count(), 0);
        QCOMPARE(down.count(), 0);
        QVERIFY(!b.isPressed());
    }

    void disablingWhileHeldReleasesThePress()
    {
        Fixture f;
        TPictureButton &b = *f.button;
        QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(5, 5));
        f.window.setEnabled(false);
        QVERIFY(!b.isPressed());
        f.window.setEnabled(true);
        QSignalSpy clicked(&b, &TPictureButton::clicked);
        QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(clicked.count(), 0);
    }

    void hoverColour()
    {
        Fixture f;
        TPictureButton &b = *f.button;
        f.show();
        QSignalSpy entered(&b, &TPictureButton::mouseEnter);
        QSignalSpy left(&b, &TPictureButton::mouseLeave);
        QTest::mouseMove(&f.window, QPoint(100, 70));
        QTest::mouseMove(&f.window, QPoint(15, 16));
        QTRY_COMPARE(entered.count(), 1);
        QCOMPARE(entered.at(0).at(2).toPoint(), QPoint(5, 6));
        QCOMPARE(b.displayedColor(), kHover);
        QCOMPARE(b.color(), kRest);

        // A new resting colour shows at once, also under the pointer.
        const QColor disabledLook(0x6c, 0x6c, 0xb7);
        b.setColor(disabledLook);
        QCOMPARE(b.displayedColor(), disabledLook);
        QCOMPARE(pixel(&b, 5, 5), disabledLook);

        QTest::mouseMove(&f.window, QPoint(100, 70));
        QTRY_COMPARE(left.count(), 1);
        QCOMPARE(b.displayedColor(), disabledLook);
        // Through the panel interface too (the window builds panels and buttons in one loop).
        static_cast<TPanel &>(b).setColor(kFace);
        QCOMPARE(b.color(), kFace);
        b.setProperty("color", disabledLook);
        QCOMPARE(b.color(), disabledLook);
        b.setColorChange(false);
        QTest::mouseMove(&f.window, QPoint(15, 16));
        QTRY_COMPARE(entered.count(), 2);
        QCOMPARE(b.displayedColor(), disabledLook);
    }

    void mouseDownForEveryButton_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("presses");
        QTest::addRow("left") << Qt::LeftButton << true;
        QTest::addRow("right") << Qt::RightButton << false;
        QTest::addRow("middle") << Qt::MiddleButton << false;
    }
    void mouseDownForEveryButton()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, presses);
        Fixture f;
        TPictureButton &b = *f.button;
        QSignalSpy down(&b, &TPictureButton::mouseDown);
        QSignalSpy up(&b, &TPictureButton::mouseUp);
        QSignalSpy clicked(&b, &TPictureButton::clicked);
        bool pressedAtDown = false;
        connect(&b, &TPictureButton::mouseDown, &b, [&] { pressedAtDown = b.isPressed(); });
        QTest::mousePress(&b, button, Qt::ShiftModifier, QPoint(4, 7));
        QCOMPARE(down.count(), 1);
        QCOMPARE(down.at(0).at(0).value<Qt::MouseButton>(), button);
        QCOMPARE(down.at(0).at(1).value<Qt::KeyboardModifiers>(),
            Qt::KeyboardModifiers(Qt::ShiftModifier));
        QCOMPARE(down.at(0).at(2).toPoint(), QPoint(4, 7));
        QCOMPARE(pressedAtDown, presses);
        QTest::mouseRelease(&b, button, {}, QPoint(4, 7));
        QCOMPARE(up.count(), 1);
        QCOMPARE(clicked.count(), presses ? 1 : 0);
    }

    void releaseClicksBeforeMouseUp()
    {
        Fixture f;
        QStringList order;
        connect(f.button, &TPictureButton::clicked, f.button, [&] { order << u"click"_s; });
        connect(f.button, &TPictureButton::mouseUp, f.button, [&] { order << u"up"_s; });
        QTest::mouseClick(f.button, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(order, QStringList({u"click"_s, u"up"_s}));
    }

    void doubleClickReplacesSecondClick()
    {
        Fixture f;
        TPictureButton &b = *f.button;
        QSignalSpy clicked(&b, &TPictureButton::clicked);
        QSignalSpy doubled(&b, &TPictureButton::doubleClicked);
        QSignalSpy down(&b, &TPictureButton::mouseDown);
        QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseDClick(&b, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(b.isPressed());
        QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(doubled.count(), 1);
        QCOMPARE(down.count(), 2);
        QVERIFY(!b.isPressed());
    }

    void failingClickStillReleases_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addRow("mouse") << u"mouse"_s;
        QTest::addRow("space") << u"space"_s;
        QTest::addRow("enter") << u"enter"_s;
    }
    void failingClickStillReleases()
    {
        QFETCH(QString, path);
        Fixture f;
        TPictureButton &b = *f.button;
        connect(&b, &TPictureButton::clicked, &b, [] { throw std::runtime_error("boom"); });
        bool thrown = false;
        try {
            if (path == u"mouse"_s) {
                QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5),
                    b.mapToGlobal(QPointF(5, 5)), Qt::LeftButton, Qt::LeftButton, {});
                deliverDirectly(&b, &press);
                QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5),
                    b.mapToGlobal(QPointF(5, 5)), Qt::LeftButton, Qt::NoButton, {});
                deliverDirectly(&b, &release);
            } else if (path == u"space"_s) {
                QKeyEvent down(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, u" "_s);
                deliverDirectly(&b, &down);
                QKeyEvent up(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, u" "_s);
                deliverDirectly(&b, &up);
            } else {
                QKeyEvent down(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
                deliverDirectly(&b, &down);
            }
        } catch (const std::runtime_error &) {
            thrown = true;
        }
        QVERIFY(thrown);
        QVERIFY(!b.isPressed());
        QCOMPARE(pixel(&b, 0, 0), kLight3D);
        QCOMPARE(b.captionRect(), QRect());
    }

    void focusShownInsideFrame()
    {
        Fixture f;
        TPictureButton &b = *f.button;
        f.show();
        f.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        QSignalSpy entered(&b, &TPictureButton::entered);
        QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(5, 5));
        QTRY_VERIFY(b.hasFocus());
        QCOMPARE(entered.count(), 1);
        const QImage img = b.render();
        // The pointer may rest on the button (hover colour) or not.
        const QColor bg = b.displayedColor();
        // Every other pixel of the rectangle 4 px inside is inverted.
        const QColor inverted(255 - bg.red(), 255 - bg.green(), 255 - bg.blue());
        QCOMPARE(img.pixelColor(4, 4), inverted);
        QCOMPARE(img.pixelColor(5, 4), bg);
        QCOMPARE(img.pixelColor(17, 17), inverted);
        QCOMPARE(img.pixelColor(3, 3), bg);
        QCOMPARE(img.pixelColor(6, 6), bg);

        b.setFocusStyle(TPictureButton::bfsInColor);
        b.setColorChange(false);
        b.setColor(Qt::black);
        QCOMPARE(b.render().pixelColor(4, 4), kHover);
        QCOMPARE(b.render().pixelColor(10, 10), kHover);
        b.setFocusStyle(TPictureButton::bfsNone);
        QCOMPARE(b.render().pixelColor(4, 4), QColor(Qt::black));
    }

    void acceleratorClicks_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("withAlt");
        QTest::addColumn<bool>("focusInEdit");
        QTest::addColumn<int>("clicks");
        QTest::addRow("alt-k") << u"&K"_s << true << false << 1;
        QTest::addRow("alt-k-from-edit") << u"&K"_s << true << true << 1;
        QTest::addRow("k-alone-on-button") << u"&K"_s << false << false << 1;
        QTest::addRow("k-alone-typed-in-edit") << u"&K"_s << false << true << 0;
        QTest::addRow("double-ampersand-marks-nothing") << u"&&K"_s << true << false << 0;
        QTest::addRow("other-character") << u"&J"_s << true << false << 0;
    }
    void acceleratorClicks()
    {
        QFETCH(QString, caption);
        QFETCH(bool, withAlt);
        QFETCH(bool, focusInEdit);
        QFETCH(int, clicks);
        Fixture f;
        TPictureButton &b = *f.button;
        b.setCaption(u"&X"_s);
        b.setCaption(caption);
        auto *other = new TPictureButton(&f.window);
        other->move(50, 10);
        auto *edit = new QLineEdit(&f.window);
        edit->setGeometry(10, 50, 60, 20);
        f.show();
        f.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        QWidget *focus = focusInEdit ? static_cast<QWidget *>(edit) : other;
        focus->setFocus();
        QTRY_VERIFY(focus->hasFocus());
        QSignalSpy clicked(&b, &TPictureButton::clicked);
        QTest::keyClick(focus, Qt::Key_K, withAlt ? Qt::AltModifier : Qt::NoModifier);
        QCOMPARE(clicked.count(), clicks);
        if (focusInEdit && !withAlt)
            QCOMPARE(edit->text(), u"k"_s);
        b.setEnabled(false);
        QTest::keyClick(focus, Qt::Key_K, Qt::AltModifier);
        QCOMPARE(clicked.count(), clicks);
    }
};

QTEST_MAIN(TestPictureButton)
#include "tst_pictbtn.moc"
