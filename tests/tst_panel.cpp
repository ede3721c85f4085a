// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/Panel.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class TestPanel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void bevelsPaintTheirCorners_data()
    {
        QTest::addColumn<int>("outer");
        QTest::addColumn<int>("inner");
        QTest::addColumn<bool>("outerLowered");
        QTest::addRow("raised") << int(TPanel::bvRaised) << int(TPanel::bvNone) << false;
        QTest::addRow("lowered") << int(TPanel::bvLowered) << int(TPanel::bvNone) << true;
        QTest::addRow("lowered-in-raised")
            << int(TPanel::bvLowered) << int(TPanel::bvRaised) << true;
    }
    void bevelsPaintTheirCorners()
    {
        QFETCH(int, outer);
        QFETCH(int, inner);
        QFETCH(bool, outerLowered);
        TPanel panel;
        QPalette pal = panel.palette();
        const QColor shadow(0x80, 0x80, 0x80), highlight(0xff, 0xff, 0xff);
        pal.setColor(QPalette::Dark, shadow);
        pal.setColor(QPalette::Light, highlight);
        panel.setPalette(pal);
        panel.setColor(QColor(0x12, 0x34, 0x56));
        panel.setBevelOuter(TPanel::Bevel(outer));
        panel.setBevelInner(TPanel::Bevel(inner));
        panel.resize(10, 8);
        const QImage img = panel.grab().toImage();
        const QColor tl = outerLowered ? shadow : highlight;
        const QColor br = outerLowered ? highlight : shadow;
        QCOMPARE(img.pixelColor(0, 0), tl);
        QCOMPARE(img.pixelColor(8, 0), tl);
        QCOMPARE(img.pixelColor(9, 0), br); // top-right corner
        QCOMPARE(img.pixelColor(0, 7), tl); // bottom-left corner
        QCOMPARE(img.pixelColor(1, 7), br);
        QCOMPARE(img.pixelColor(9, 7), br);
        const int body = inner == TPanel::bvNone ? 1 : 2;
        QCOMPARE(img.pixelColor(body, body), QColor(0x12, 0x34, 0x56));
        if (inner == TPanel::bvRaised) {
            QCOMPARE(img.pixelColor(1, 1), highlight);
            QCOMPARE(img.pixelColor(8, 6), shadow);
        }
    }
    void disabledPanelPaintsAsEnabled()
    {
        TPanel panel;
        panel.resize(40, 20);
        panel.setCaption(u"▼"_s);
        panel.setTextColor(Qt::white);
        const QImage enabled = panel.grab().toImage();
        panel.setEnabled(false);
        QCOMPARE(panel.grab().toImage(), enabled);
    }
    void colourSetterNotifiesOnlyOnChange()
    {
        TPanel panel;
        QSignalSpy spy(&panel, &TPanel::colorChanged);
        panel.setColor(QColor(10, 20, 30));
        panel.setColor(QColor(10, 20, 30));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).value<QColor>(), QColor(10, 20, 30));
        QCOMPARE(panel.color(), QColor(10, 20, 30));
    }

    void clickNeedsReleaseInside()
    {
        TPanel panel;
        panel.resize(27, 22);
        QSignalSpy clicks(&panel, &TPanel::clicked);
        QTest::mouseClick(&panel, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(clicks.count(), 1);
        QTest::mousePress(&panel, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(&panel, Qt::LeftButton, {}, QPoint(40, 5));
        QTest::mouseClick(&panel, Qt::RightButton, {}, QPoint(5, 5));
        QCOMPARE(clicks.count(), 1);
    }
};

QTEST_MAIN(TestPanel)
#include "tst_panel.moc"
