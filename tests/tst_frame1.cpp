// SPDX-License-Identifier: GPL-3.0-or-later
#include <QScrollBar>
#include <QTest>

#include <climits>

#include "app/Frame1.h"
#include "record/DayHeader.h"
#include "record/GraphPainter.h"
#include "record/TextGrid.h"

using namespace Qt::StringLiterals;

namespace {

const QRgb HeaderColour = 0xff8080ff;
const QRgb Silver = 0xffc0c0c0;
// The picture is 868 wide and the frame 425: the rest is the scroll range.
const int LastPosition = 868 - 425;

} // namespace

class TestFrame1 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void scrollsHorizontallyOnly();
    void scrollToXIsLimited_data();
    void scrollToXIsLimited();
    void graphScrollsLatestPointNearRightEdge_data();
    void graphScrollsLatestPointNearRightEdge();
    void drawingWaitsUntilThePictureIsNeeded();
    void showsHeaderAbovePicture();
    void scrolledPictureFollowsBar();
    void headerTexts();
};

void TestFrame1::scrollsHorizontallyOnly()
{
    TFrame1 frame;
    QCOMPARE(frame.size(), QSize(425, 292));
    const auto bars = frame.findChildren<QScrollBar *>();
    QCOMPARE(bars.size(), 1);
    QScrollBar *bar = bars.first();
    QCOMPARE(bar, frame.horizontalScrollBar());
    QCOMPARE(bar->orientation(), Qt::Horizontal);
    QCOMPARE(bar->singleStep(), 2);
    QVERIFY(bar->hasTracking());
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), LastPosition);
    // The bar leaves room below the 273-px content and lies within the frame.
    QVERIFY(bar->geometry().top() >= 273);
    QCOMPARE(bar->geometry().bottom(), 291);

    bar->setValue(bar->value() + bar->singleStep());
    QCOMPARE(frame.scrollPosition(), 2);
}

void TestFrame1::scrollToXIsLimited_data()
{
    QTest::addColumn<int>("requested");
    QTest::addColumn<int>("position");
    QTest::newRow("negative") << -5 << 0;
    QTest::newRow("int-min") << INT_MIN << 0;
    QTest::newRow("zero") << 0 << 0;
    QTest::newRow("inside") << 100 << 100;
    QTest::newRow("last") << LastPosition << LastPosition;
    QTest::newRow("beyond") << 10000 << LastPosition;
    QTest::newRow("int-max") << INT_MAX << LastPosition;
}

void TestFrame1::scrollToXIsLimited()
{
    QFETCH(int, requested);
    QFETCH(int, position);
    TFrame1 frame;
    frame.scrollToX(requested);
    QCOMPARE(frame.scrollPosition(), position);
}

void TestFrame1::graphScrollsLatestPointNearRightEdge_data()
{
    QTest::addColumn<int>("lastColumn"); // -1: empty table
    QTest::addColumn<int>("position");
    QTest::newRow("empty-table") << -1 << 0;
    QTest::newRow("column-4") << 4 << 0;
    QTest::newRow("column-40") << 40 << 14 * 40 + 7 - 400;
    QTest::newRow("column-61") << 61 << LastPosition;
}

void TestFrame1::graphScrollsLatestPointNearRightEdge()
{
    QFETCH(int, lastColumn);
    QFETCH(int, position);
    TextGrid table(62, 16);
    if (lastColumn >= 0) {
        table.setCell(0, 3, u"60.0"_s);
        table.setCell(lastColumn, 3, u"61.0"_s);
    }
    TFrame1 frame;
    frame.scrollToX(300);
    frame.clearPicture();
    static const MoodFaces noFaces;
    const GraphResult result
        = frame.showGraph(table, 3, []() -> const MoodFaces & { return noFaces; });
    QCOMPARE(frame.scrollPosition(), position);
    QCOMPARE(result.hasBase, lastColumn >= 0);

    QImage expected;
    paintGraphBackground(expected);
    plotRow(expected, table, 3, MoodFaces(), frame.palette().color(QPalette::Highlight));
    QCOMPARE(frame.picture(), expected);
}

void TestFrame1::drawingWaitsUntilThePictureIsNeeded()
{
    TextGrid table(62, 16);
    table.setCell(0, 3, u"60.0"_s);
    table.setCell(1, 3, u"60.4"_s);
    table.setCell(1, 12, u"2"_s);
    table.setCell(3, 3, u"61.0"_s);
    MoodFaces faces;
    faces.faces[1] = QImage(16, 16, QImage::Format_RGB32);
    faces.faces[1].fill(Qt::red);
    faces.masks[1] = QImage(16, 16, QImage::Format_RGB32);
    faces.masks[1].fill(Qt::black);
    int asked = 0;
    const auto source = [&]() -> const MoodFaces & {
        ++asked;
        return faces;
    };
    const QColor reference(0, 0, 128);

    TFrame1 frame;
    QPalette palette = frame.palette();
    palette.setColor(QPalette::Active, QPalette::Highlight, reference);
    frame.setPalette(palette);
    // A plot made before a background, then replaced by one: only the last pair is drawn.
    frame.showGraph(table, 8, source);
    frame.clearPicture();
    const GraphResult result = frame.showGraph(table, 3, source);
    QCOMPARE(asked, 0);
    QVERIFY(result.hasBase);
    QCOMPARE(result.base, 60);
    QCOMPARE(result.endX, 14 * 3 + 7);
    QCOMPARE(result.endY, 90); // 61 kg: 5 kg above the bottom line of base 60

    QImage expected;
    paintGraphBackground(expected);
    plotRow(expected, table, 3, faces, reference);
    QCOMPARE(frame.picture(), expected);
    QCOMPARE(asked, 1);

    // Once made, the picture is drawn on at once.
    frame.showGraph(table, 8, source);
    QCOMPARE(asked, 2);
    plotRow(expected, table, 8, faces, reference);
    QCOMPARE(frame.picture(), expected);
}

void TestFrame1::showsHeaderAbovePicture()
{
    TFrame1 frame;
    frame.picture().fill(QColor(0x20, 0x40, 0x60));
    frame.picture().setPixel(10, 7, 0xff00ff00);
    frame.updatePicture();
    DayHeaderTexts texts;
    texts.setText(1, 1, u"88"_s);
    frame.setDayHeader(texts);

    const QImage shot = frame.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shot.pixel(10, 33 + 7), 0xff00ff00u);
    QCOMPARE(shot.pixel(11, 33 + 7), 0xff204060u);
    // Header column 0 is hidden: the frame starts with its grid line, then column 1.
    QCOMPARE(shot.pixel(0, 5), Silver);
    QCOMPARE(shot.pixel(5, 5), HeaderColour);
    QCOMPARE(shot.pixel(28, 5), Silver);
    QCOMPARE(shot.pixel(30, 5), HeaderColour);
    QCOMPARE(shot.pixel(5, 16), Silver);
    QCOMPARE(shot.pixel(30, 20), HeaderColour);
    QCOMPARE(shot.pixel(10, 273), Silver); // frame colour below the picture

    // Text is smoothed: count the near-white pixels.
    const auto light = [&shot](int left) {
        int count = 0;
        for (int y = 17; y < 33; ++y)
            for (int x = left; x < left + 27; ++x)
                count += qRed(shot.pixel(x, y)) > 0xd0 && qGreen(shot.pixel(x, y)) > 0xd0;
        return count;
    };
    QVERIFY(light(1) > 10);
    QCOMPARE(light(29), 0);
}

void TestFrame1::scrolledPictureFollowsBar()
{
    TFrame1 frame;
    frame.picture().fill(Qt::black);
    frame.picture().setPixel(110, 7, 0xffff0000);
    frame.updatePicture();
    frame.horizontalScrollBar()->setValue(100);
    const QImage shot = frame.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shot.pixel(10, 33 + 7), 0xffff0000u);
    QCOMPARE(shot.pixel(110, 33 + 7), 0xff000000u);
}

void TestFrame1::headerTexts()
{
    DayHeaderTexts texts;
    texts.setText(1, 0, u"4/"_s);
    texts.setText(31, 1, u"20"_s);
    TFrame1 frame;
    frame.setDayHeader(texts);
    QCOMPARE(frame.headerText(1, 0), u"4/"_s);
    QCOMPARE(frame.headerText(31, 1), u"20"_s);
    QCOMPARE(frame.headerText(2, 0), QString());
    QCOMPARE(frame.headerText(32, 1), QString());
}

QTEST_MAIN(TestFrame1)
#include "tst_frame1.moc"
