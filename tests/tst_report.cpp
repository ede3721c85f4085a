// SPDX-License-Identifier: GPL-3.0-or-later
#include "fonts/Fonts.h"
#include "report/ReportCanvas.h"
#include "report/ReportFont.h"
#include "report/ReportImage.h"
#include "report/ReportLabel.h"
#include "report/ReportPage.h"
#include "report/ReportPicture.h"

#include <QFontMetricsF>
#include <QPageSize>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QPageLayout a4()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF());
}

QImage canvasImage(int dpi, QSize units)
{
    QImage image(units * dpi / 96, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::black);
    return image;
}

bool hasDarkPixel(const QImage &image, const QRect &area)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 128)
                return true;
        }
    }
    return false;
}

} // namespace

class tst_Report : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cellHeightIncludesLeading_data();
    void cellHeightIncludesLeading();
    void carriageReturnsStartLines_data();
    void carriageReturnsStartLines();
    void wordWrapKeepsLinesInsideWidth();
    void autoSizeWidthFollowsText();
    void labelAlignmentAndBackground_data();
    void labelAlignmentAndBackground();
    void canvasIsMadeOnceAndKept();
    void lineLeavesOutEndPixel();
    void copyRectReplacesPixels();
    void renderScalesToDeviceResolution_data();
    void renderScalesToDeviceResolution();
    void laterElementsPaintOver();
};

void tst_Report::cellHeightIncludesLeading_data()
{
    QTest::addColumn<int>("units");
    QTest::newRow("cell-16") << 16;
    QTest::newRow("cell-18") << 18;
    QTest::newRow("cell-40") << 40;
}

void tst_Report::cellHeightIncludesLeading()
{
    QFETCH(int, units);
    const ReportFont cell = ReportFont::cellHeight(gothicFont(units), units);
    QCOMPARE(cell.lineHeight, units);
    QVERIFY(qAbs(QFontMetricsF(cell.font).height() - units) <= 1.0);

    // The same number as a character height gives a larger face: the leading comes on top.
    const ReportFont character = ReportFont::characterHeight(gothicFont(units), units);
    QCOMPARE(character.font.pixelSize(), units);
    QVERIFY(character.font.pixelSize() > cell.font.pixelSize());
    QVERIFY(character.lineHeight > units);
}

void tst_Report::carriageReturnsStartLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("one-line") << u"67kg"_s << QStringList {u"67kg"_s};
    QTest::newRow("cr") << u"a\rb"_s << QStringList {u"a"_s, u"b"_s};
    QTest::newRow("four-cr") << u"67kg\r\r\r\r66kg"_s
                             << QStringList {u"67kg"_s, {}, {}, {}, u"66kg"_s};
    QTest::newRow("crlf-is-one-break") << u"a\r\nb"_s << QStringList {u"a"_s, u"b"_s};
    QTest::newRow("trailing-cr") << u"a\r"_s << QStringList {u"a"_s, {}};
}

void tst_Report::carriageReturnsStartLines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    for (bool wrap : {false, true}) {
        ReportLabel label(
            u"L"_s, QRect(0, 0, 200, 100), ReportFont::cellHeight(gothicFont(18), 18));
        label.setWordWrap(wrap);
        label.setText(text);
        QCOMPARE(label.lines(), lines);
    }
}

void tst_Report::wordWrapKeepsLinesInsideWidth()
{
    const ReportFont font = ReportFont::characterHeight(gothicFont(12), 12);
    ReportLabel label(u"L"_s, QRect(0, 0, 60, 200), font);
    label.setText(u"きれいなジグザグを描いて少しずつ下がって"_s);
    QCOMPARE(label.lines().size(), 1);
    label.setWordWrap(true);
    QVERIFY(label.lines().size() >= 4);
    QCOMPARE(label.lines().join(QString()), label.text());
    const QFontMetricsF metrics(font.font);
    for (const QString &line : label.lines())
        QVERIFY2(metrics.horizontalAdvance(line) <= 60.5, qPrintable(line));
}

void tst_Report::autoSizeWidthFollowsText()
{
    ReportLabel label(
        u"L"_s, QRect(43, 42, 0, 17), ReportFont::characterHeight(gothicFont(15), 15));
    label.setAutoSize(true);
    label.setText(u"短い"_s);
    const int shortWidth = label.rect().width();
    label.setText(u"ずっと長い説明の文章"_s);
    QVERIFY(shortWidth > 0);
    QVERIFY(label.rect().width() > shortWidth);
    QCOMPARE(label.rect().topLeft(), QPoint(43, 42));
    QCOMPARE(label.rect().height(), 17);
}

void tst_Report::labelAlignmentAndBackground_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<bool>("transparent");
    QTest::addColumn<QRect>("inked");
    QTest::addColumn<QRect>("blank");
    // The label stands at (10, 10), 100 x 20, over a grey band; "88" is about 20 units wide.
    QTest::newRow("left") << int(Qt::AlignLeft) << true << QRect(10, 10, 25, 20)
                          << QRect(60, 10, 50, 20);
    QTest::newRow("right") << int(Qt::AlignRight) << true << QRect(85, 10, 25, 20)
                           << QRect(10, 10, 50, 20);
    QTest::newRow("centre") << int(Qt::AlignHCenter) << true << QRect(48, 10, 14, 20)
                            << QRect(10, 10, 25, 20);
    QTest::newRow("left-opaque") << int(Qt::AlignLeft) << false << QRect(10, 10, 25, 20)
                                 << QRect(60, 10, 50, 20);
}

void tst_Report::labelAlignmentAndBackground()
{
    QFETCH(int, alignment);
    QFETCH(bool, transparent);
    QFETCH(QRect, inked);
    QFETCH(QRect, blank);
    const QColor band(200, 200, 200);
    ReportPage page(u"P"_s, a4());
    ReportBand *bandElement = page.addBand(u"B"_s, QSize(120, 40), band);
    ReportLabel *label = bandElement->add<ReportLabel>(
        u"L"_s, QRect(10, 10, 100, 20), ReportFont::cellHeight(gothicFont(18), 18));
    label->setAlignment(Qt::Alignment(alignment));
    label->setTransparent(transparent);
    label->setText(u"88"_s);
    QImage image = canvasImage(96, page.size());
    page.render(&image);
    QVERIFY(hasDarkPixel(image, inked));
    QVERIFY(!hasDarkPixel(image, blank));
    // An opaque label hides the band behind its whole rectangle, not only behind its text.
    QCOMPARE(image.pixelColor(blank.center()), transparent ? band : QColor(Qt::white));
    QCOMPARE(image.pixelColor(5, 5), band);
}

void tst_Report::canvasIsMadeOnceAndKept()
{
    ReportImage element(u"I"_s, QRect(5, 5, 30, 20));
    QVERIFY(!element.hasCanvas());
    ReportCanvas &canvas = element.canvas();
    QCOMPARE(canvas.image().size(), QSize(30, 20));
    canvas.fillRect(QRect(0, 0, 3, 3), Qt::blue);
    QCOMPARE(&element.canvas(), &canvas);
    QCOMPARE(element.canvas().image().pixel(1, 1), qRgb(0, 0, 255));
    QCOMPARE(element.canvas().image().pixel(10, 10), qRgb(255, 255, 255));
}

void tst_Report::lineLeavesOutEndPixel()
{
    ReportCanvas canvas(QSize(40, 40));
    canvas.setPen(1, Qt::red);
    canvas.moveTo(QPoint(5, 10));
    canvas.lineTo(QPoint(20, 10));
    canvas.lineTo(QPoint(20, 30));
    const QImage image = canvas.image();
    const QRgb red = qRgb(255, 0, 0);
    QCOMPARE(image.pixel(5, 10), red);
    QCOMPARE(image.pixel(19, 10), red);
    QCOMPARE(image.pixel(20, 10), red); // start of the second segment
    QCOMPARE(image.pixel(20, 29), red);
    QCOMPARE(image.pixel(20, 30), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(4, 10), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(12, 11), qRgb(255, 255, 255)); // no antialiasing
    QCOMPARE(canvas.penPosition(), QPoint(20, 30));
}

void tst_Report::copyRectReplacesPixels()
{
    QImage icon(16, 16, QImage::Format_RGB32);
    icon.fill(qRgb(0, 128, 0));
    icon.setPixel(15, 15, qRgb(1, 2, 3));
    ReportCanvas canvas(QSize(40, 40));
    canvas.fillRect(QRect(0, 0, 40, 40), Qt::red);
    canvas.copyRect(QRect(10, 4, 16, 16), icon, QRect(0, 0, 16, 16));
    const QImage image = canvas.image();
    QCOMPARE(image.pixel(10, 4), qRgb(0, 128, 0));
    QCOMPARE(image.pixel(25, 19), qRgb(1, 2, 3));
    QCOMPARE(image.pixel(26, 19), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(9, 4), qRgb(255, 0, 0));
}

void tst_Report::renderScalesToDeviceResolution_data()
{
    QTest::addColumn<int>("dpi");
    QTest::newRow("96dpi") << 96;
    QTest::newRow("192dpi") << 192;
    QTest::newRow("288dpi") << 288;
}

void tst_Report::renderScalesToDeviceResolution()
{
    QFETCH(int, dpi);
    QImage square(4, 4, QImage::Format_RGB32);
    square.fill(Qt::blue);
    ReportPage page(u"P"_s, a4());
    ReportBand *band = page.addBand(u"B"_s, QSize(40, 30), Qt::white);
    band->add<ReportPicture>(u"S"_s, QRect(10, 12, 4, 4), square);
    QImage image = canvasImage(dpi, page.size());
    page.render(&image);
    const int f = dpi / 96;
    QCOMPARE(image.size(), QSize(40 * f, 30 * f));
    QCOMPARE(image.pixel(10 * f, 12 * f), qRgb(0, 0, 255));
    QCOMPARE(image.pixel(14 * f - 1, 16 * f - 1), qRgb(0, 0, 255));
    QCOMPARE(image.pixel(14 * f, 16 * f), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(10 * f - 1, 12 * f), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(40 * f - 1, 30 * f - 1), qRgb(255, 255, 255)); // the band's colour
}

void tst_Report::laterElementsPaintOver()
{
    QImage under(10, 10, QImage::Format_RGB32);
    under.fill(Qt::blue);
    QImage over(10, 10, QImage::Format_ARGB32);
    over.fill(Qt::transparent);
    over.setPixel(2, 2, qRgba(255, 0, 0, 255));
    ReportPage page(u"P"_s, a4());
    ReportBand *band = page.addBand(u"B"_s, QSize(20, 20), Qt::white);
    ReportImage *plot = band->add<ReportImage>(u"Plot"_s, QRect(5, 5, 10, 10));
    band->add<ReportPicture>(u"Grid"_s, QRect(5, 5, 10, 10), over);
    plot->canvas().copyRect(QRect(0, 0, 10, 10), under, QRect(0, 0, 10, 10));
    QCOMPARE(page.element(u"Plot"_s), plot);
    QCOMPARE(page.element(u"None"_s), nullptr);
    QImage image = canvasImage(96, page.size());
    page.render(&image);
    QCOMPARE(image.pixel(7, 7), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(8, 8), qRgb(0, 0, 255));
    QCOMPARE(image.pixel(4, 4), qRgb(255, 255, 255));
}

QTEST_MAIN(tst_Report)
#include "tst_report.moc"
