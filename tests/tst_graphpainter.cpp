// SPDX-License-Identifier: GPL-3.0-or-later
#include <QPainter>
#include <QTest>

#include <algorithm>

#include "record/DayHeader.h"
#include "record/GraphPainter.h"
#include "record/TextGrid.h"

using namespace Qt::StringLiterals;

namespace {

const QRgb Fill = 0xffd9d9ff;
const QRgb FineLine = 0xffececff;
const QRgb KgLine = 0xffffffff;
const QRgb FirstSlot = 0xff9ee0a7;
const QRgb SecondSlot = 0xffc7cef1;
const QRgb Red = 0xffff0000;
const QColor Reference(0x12, 0x34, 0x56);
const QRgb FaceColour = 0xff3366cc;

TextGrid recordTable()
{
    return TextGrid(62, 16);
}

QImage background()
{
    QImage picture;
    paintGraphBackground(picture);
    return picture;
}

// A disc of FaceColour on black and its mask, like the real artwork but easy to check.
MoodFaces syntheticFaces()
{
    MoodFaces faces;
    for (int i = 0; i < 4; ++i) {
        QImage face(16, 16, QImage::Format_RGB32);
        face.fill(Qt::black);
        QImage mask(16, 16, QImage::Format_RGB32);
        mask.fill(Qt::white);
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                if ((x - 8) * (x - 8) + (y - 8) * (y - 8) <= 25) {
                    face.setPixel(x, y, FaceColour);
                    mask.setPixel(x, y, 0xff000000);
                }
            }
        }
        faces.faces[i] = face;
        faces.masks[i] = mask;
    }
    return faces;
}

GraphResult draw(QImage &picture, const TextGrid &table, int row = 3)
{
    paintGraphBackground(picture);
    return plotRow(picture, table, row, syntheticFaces(), Reference);
}

// Pixels that differ from the plain background, as a list of points.
QList<QPoint> changedPixels(const QImage &picture)
{
    const QImage plain = background();
    QList<QPoint> changed;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            if (picture.pixel(x, y) != plain.pixel(x, y))
                changed.append(QPoint(x, y));
    return changed;
}

int countColour(const QImage &picture, const QRect &area, QRgb colour)
{
    int count = 0;
    const QRect clipped = area & picture.rect();
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            count += picture.pixel(x, y) == colour;
    return count;
}

// Lays out consecutive days from the given start, as a new table would be.
TextGrid calendar(int month, int day, int daysInMonth, int nextMonthDays)
{
    TextGrid table = recordTable();
    for (int column = 0; column < 62; column += 2) {
        table.setCell(column, 1, QString::number(month));
        table.setCell(column, 2, QString::number(day));
        if (++day > daysInMonth) {
            day = 1;
            month = month % 12 + 1;
            daysInMonth = nextMonthDays;
        }
    }
    return table;
}

} // namespace

Q_DECLARE_METATYPE(TextGrid)

class TestGraphPainter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void backgroundColours_data();
    void backgroundColours();
    void backgroundReplacesOtherPictures();
    void plottedYRounding_data();
    void plottedYRounding();
    void firstValueSetsBaseAndReferenceLine_data();
    void firstValueSetsBaseAndReferenceLine();
    void valueAboveScaleRunsOffTheTop();
    void lineJoinsRecordedColumnsOnly();
    void emptyTableDrawsOnlyTheMarker_data();
    void emptyTableDrawsOnlyTheMarker();
    void damagedCellsCountAsEmpty();
    void absurdNumbersClip_data();
    void absurdNumbersClip();
    void moodFaceWithoutItsBlack();
    void moodFacePlacement_data();
    void moodFacePlacement();
    void fullMonthEndsAtTheLastColumn();
    void dayHeader_data();
    void dayHeader();
};

void TestGraphPainter::backgroundColours_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<QRgb>("colour");
    QTest::newRow("fill-top-left") << QPoint(0, 0) << Fill;
    QTest::newRow("fill-bottom-right") << QPoint(867, 239) << Fill;
    QTest::newRow("fine-y6") << QPoint(0, 6) << FineLine;
    QTest::newRow("fine-y234") << QPoint(867, 234) << FineLine;
    QTest::newRow("kg-y30") << QPoint(0, 30) << KgLine;
    QTest::newRow("kg-y210") << QPoint(500, 210) << KgLine;
    QTest::newRow("no-line-y240-edge") << QPoint(100, 239) << Fill;
    QTest::newRow("first-slot-x7") << QPoint(7, 0) << FirstSlot;
    QTest::newRow("first-slot-over-kg") << QPoint(35, 30) << FirstSlot;
    QTest::newRow("first-slot-x847-bottom") << QPoint(847, 239) << FirstSlot;
    QTest::newRow("second-slot-x21") << QPoint(21, 6) << SecondSlot;
    QTest::newRow("second-slot-x861-bottom") << QPoint(861, 239) << SecondSlot;
    QTest::newRow("between-slots") << QPoint(14, 100) << Fill;
}

void TestGraphPainter::backgroundColours()
{
    QFETCH(QPoint, point);
    QFETCH(QRgb, colour);
    const QImage picture = background();
    QCOMPARE(picture.size(), QSize(868, 240));
    QCOMPARE(picture.pixel(point), colour);
}

void TestGraphPainter::backgroundReplacesOtherPictures()
{
    QImage picture(10, 10, QImage::Format_Indexed8);
    paintGraphBackground(picture);
    QCOMPARE(picture.size(), QSize(868, 240));
    QCOMPARE(picture.format(), QImage::Format_RGB32);
    QCOMPARE(picture, background());
}

void TestGraphPainter::plottedYRounding_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("base");
    QTest::addColumn<int>("y");
    QTest::newRow("60.9-base60") << 60.9 << 60 << 93;
    QTest::newRow("top-edge") << 64.0 << 60 << 0;
    QTest::newRow("bottom-edge") << 56.0 << 60 << 240;
    QTest::newRow("above-scale") << 65.0 << 60 << -30;
    QTest::newRow("fat-9.5-base9") << 9.5 << 9 << 105;
    QTest::newRow("half-to-even-down") << 60.05 << 60 << 118;
    QTest::newRow("half-to-even-up") << 60.15 << 60 << 116;
    QTest::newRow("half-to-even-112") << 60.25 << 60 << 112;
    QTest::newRow("below-half") << 60.04 << 60 << 119;
    QTest::newRow("negative-base") << -1.5 << -1 << 135;
    QTest::newRow("huge-clamped-top") << 1e300 << 60 << -1000000;
    QTest::newRow("huge-clamped-bottom") << -1e300 << 60 << 1000000;
}

void TestGraphPainter::plottedYRounding()
{
    QFETCH(double, value);
    QFETCH(int, base);
    QFETCH(int, y);
    QCOMPARE(plottedY(value, base), y);
}

void TestGraphPainter::firstValueSetsBaseAndReferenceLine_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("first");
    QTest::addColumn<int>("base");
    QTest::addColumn<int>("y");
    QTest::newRow("weight-60.9") << 3 << u"60.9"_s << 60 << 93;
    QTest::newRow("fat-9.5") << 8 << u"9.5"_s << 9 << 105;
    QTest::newRow("integer-part-not-rounded") << 3 << u"59.99"_s << 59 << 90;
    QTest::newRow("negative-toward-zero") << 3 << u"-0.5"_s << 0 << 135;
}

void TestGraphPainter::firstValueSetsBaseAndReferenceLine()
{
    QFETCH(int, row);
    QFETCH(QString, first);
    QFETCH(int, base);
    QFETCH(int, y);
    TextGrid table = recordTable();
    table.setCell(0, row, first);
    QImage picture;
    const GraphResult result = draw(picture, table, row);
    QVERIFY(result.hasBase);
    QCOMPARE(result.base, base);
    QCOMPARE(result.endX, 7);
    QCOMPARE(result.endY, y);
    // The reference line spans the picture; the marker takes its colour when nothing follows.
    QCOMPARE(countColour(picture, QRect(0, y, 868, 1), Reference.rgb()), 868);
    QCOMPARE(countColour(picture, QRect(5, y - 2, 5, 5), Reference.rgb()), 25);
    QCOMPARE(changedPixels(picture).size(), 868 + 20);
}

void TestGraphPainter::valueAboveScaleRunsOffTheTop()
{
    TextGrid table = recordTable();
    table.setCell(0, 3, u"60.0"_s);
    table.setCell(1, 3, u"65.0"_s);
    QImage picture;
    const GraphResult result = draw(picture, table);
    QCOMPARE(result.endX, 21);
    QCOMPARE(result.endY, -30);
    QCOMPARE(picture.pixel(7, 120), Red);
    // One red pixel per row from the start up to the top edge, none below the start.
    for (int y = 0; y <= 120; ++y)
        QCOMPARE(countColour(picture, QRect(7, y, 15, 1), Red), 1);
    QCOMPARE(countColour(picture, QRect(0, 121, 868, 119), Red), 0);
    QCOMPARE(countColour(picture, picture.rect(), Red), 121);
}

void TestGraphPainter::lineJoinsRecordedColumnsOnly()
{
    TextGrid table = recordTable();
    table.setCell(0, 3, u"60.0"_s); // y 120
    table.setCell(1, 3, u"61.0"_s); // y 90
    table.setCell(4, 3, u"59.0"_s); // y 150
    table.setCell(4, 4, u"99.9"_s); // another row is not plotted
    QImage picture;
    const GraphResult result = draw(picture, table);
    QCOMPARE(result.endX, 63);
    QCOMPARE(result.endY, 150);
    QCOMPARE(picture.pixel(7, 120), Red);
    QCOMPARE(picture.pixel(21, 90), Red);
    QCOMPARE(countColour(picture, QRect(61, 148, 5, 5), Red), 25);
    // A line straight from column 1 to column 4: one red pixel on each row between them and no
    // detour through the empty columns' slots.
    for (int y = 91; y <= 120; ++y)
        QCOMPARE(countColour(picture, QRect(7, y, 57, 1), Red), 2);
    for (int y = 121; y < 148; ++y)
        QCOMPARE(countColour(picture, QRect(7, y, 57, 1), Red), 1);
    QCOMPARE(countColour(picture, QRect(66, 0, 802, 240), Red), 0);
    QCOMPARE(countColour(picture, QRect(0, 0, 868, 90), Red), 0);
    QCOMPARE(countColour(picture, QRect(0, 153, 868, 87), Red), 0);
    QCOMPARE(picture.pixel(8, 120), Reference.rgb());
}

void TestGraphPainter::emptyTableDrawsOnlyTheMarker_data()
{
    QTest::addColumn<QString>("firstCell");
    QTest::newRow("empty") << QString();
    QTest::newRow("not-a-number") << u"abc"_s;
    QTest::newRow("exponent") << u"1e300"_s;
    QTest::newRow("nan") << u"nan"_s;
    QTest::newRow("inf") << u"inf"_s;
}

void TestGraphPainter::emptyTableDrawsOnlyTheMarker()
{
    QFETCH(QString, firstCell);
    TextGrid table = recordTable();
    table.setCell(0, 3, firstCell);
    QImage picture;
    const GraphResult result = draw(picture, table);
    QVERIFY(!result.hasBase);
    QCOMPARE(result.base, 0);
    QCOMPARE(result.endX, 7);
    QCOMPARE(result.endY, 0);
    // The marker keeps the background's last pen colour; its upper half is clipped away.
    QCOMPARE(countColour(picture, QRect(5, 0, 5, 3), SecondSlot), 15);
    for (const QPoint &point : changedPixels(picture))
        QVERIFY2(QRect(5, 0, 5, 3).contains(point),
            qPrintable(u"%1,%2"_s.arg(point.x()).arg(point.y())));
}

void TestGraphPainter::damagedCellsCountAsEmpty()
{
    TextGrid damaged = recordTable();
    damaged.setCell(0, 3, u"60.0"_s);
    damaged.setCell(1, 3, u"6O.0"_s);
    damaged.setCell(2, 3, u"61.0"_s);
    damaged.setCell(3, 3, u"61,5"_s);
    damaged.setCell(4, 3, u" "_s);
    TextGrid clean = recordTable();
    clean.setCell(0, 3, u"60.0"_s);
    clean.setCell(2, 3, u"61.0"_s);
    QImage damagedPicture;
    QImage cleanPicture;
    const GraphResult result = draw(damagedPicture, damaged);
    draw(cleanPicture, clean);
    QCOMPARE(result.endX, 35);
    QCOMPARE(damagedPicture, cleanPicture);
}

void TestGraphPainter::absurdNumbersClip_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("later");
    QTest::addColumn<bool>("hasBase");
    const QString hugeText = u"1"_s + QString(300, u'0') + u".5"_s;
    QTest::newRow("huge-first") << hugeText << u"60.0"_s << false;
    QTest::newRow("huge-negative-first") << u"-"_s + hugeText << u"60.0"_s << false;
    QTest::newRow("huge-later") << u"60.0"_s << hugeText << true;
    QTest::newRow("huge-negative-later") << u"60.0"_s << u"-"_s + hugeText << true;
    QTest::newRow("beyond-int") << u"99999999999.9"_s << u"-99999999999.9"_s << false;
    QTest::newRow("nan-later") << u"60.0"_s << u"NaN"_s << true;
    QTest::newRow("inf-first") << u"-INF"_s << u"60.0"_s << false;
}

void TestGraphPainter::absurdNumbersClip()
{
    QFETCH(QString, first);
    QFETCH(QString, later);
    QFETCH(bool, hasBase);
    TextGrid table = recordTable();
    table.setCell(0, 3, first);
    for (int column = 1; column < 62; column += 3) {
        table.setCell(column, 3, column % 2 ? later : u"60.0"_s);
        table.setCell(column, 12, u"2"_s);
    }
    QImage picture;
    const GraphResult result = draw(picture, table);
    QCOMPARE(result.hasBase, hasBase);
    QVERIFY(result.endY >= -1000000 && result.endY <= 1000000);
}

void TestGraphPainter::moodFaceWithoutItsBlack()
{
    TextGrid table = recordTable();
    table.setCell(0, 3, u"60.0"_s);
    table.setCell(5, 3, u"63.0"_s); // y 30
    table.setCell(5, 12, u"3"_s);
    QImage withFace;
    draw(withFace, table);
    table.setCell(5, 12, u"0"_s);
    QImage without;
    draw(without, table);

    const MoodFaces faces = syntheticFaces();
    const QRect square(70, 0, 16, 16);
    for (const QPoint &point : changedPixels(withFace)) {
        if (!square.contains(point))
            QVERIFY(withFace.pixel(point) == without.pixel(point));
    }
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool inFace = faces.masks[2].pixel(x, y) == 0xff000000;
            const QRgb expected = inFace ? FaceColour : without.pixel(70 + x, y);
            QCOMPARE(withFace.pixel(70 + x, y), expected);
        }
    }
}

void TestGraphPainter::moodFacePlacement_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("weight");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QPoint>("topLeft"); // (-1, -1): no face
    QTest::newRow("code-1-y120") << 3 << u"60.0"_s << u"1"_s << QPoint(42, 80);
    QTest::newRow("code-4-y120") << 3 << u"60.0"_s << u"4"_s << QPoint(42, 80);
    QTest::newRow("y41-top1") << 3 << u"62.63"_s << u"2"_s << QPoint(42, 1);
    QTest::newRow("y40-top0") << 3 << u"62.67"_s << u"2"_s << QPoint(42, 0);
    QTest::newRow("over-bottom-edge") << 3 << u"55.67"_s << u"2"_s << QPoint(42, 210);
    QTest::newRow("off-picture") << 3 << u"50.0"_s << u"2"_s << QPoint(-1, -1);
    QTest::newRow("last-column-clipped") << 61 << u"60.0"_s << u"2"_s << QPoint(854, 80);
    QTest::newRow("earlier-y-when-no-value") << 3 << QString() << u"2"_s << QPoint(42, 80);
    QTest::newRow("code-0") << 3 << u"60.0"_s << u"0"_s << QPoint(-1, -1);
    QTest::newRow("code-5") << 3 << u"60.0"_s << u"5"_s << QPoint(-1, -1);
    QTest::newRow("code-text") << 3 << u"60.0"_s << u"x"_s << QPoint(-1, -1);
    QTest::newRow("code-11") << 3 << u"60.0"_s << u"11"_s << QPoint(-1, -1);
    QTest::newRow("column-0-never") << 0 << u"60.0"_s << u"1"_s << QPoint(-1, -1);
}

void TestGraphPainter::moodFacePlacement()
{
    QFETCH(int, column);
    QFETCH(QString, weight);
    QFETCH(QString, code);
    QFETCH(QPoint, topLeft);
    TextGrid table = recordTable();
    table.setCell(0, 3, u"60.0"_s);
    if (!weight.isEmpty())
        table.setCell(column, 3, weight);
    table.setCell(column, 12, code);
    QImage picture;
    draw(picture, table);

    const QRect face = QRect(topLeft + QPoint(3, 3), QSize(11, 11)) & picture.rect();
    const int facePixels = countColour(picture, picture.rect(), FaceColour);
    if (topLeft.x() < 0) {
        QCOMPARE(facePixels, 0);
    } else {
        QVERIFY(facePixels > 0);
        QCOMPARE(countColour(picture, face, FaceColour), facePixels);
    }
}

void TestGraphPainter::fullMonthEndsAtTheLastColumn()
{
    // How long this takes is measured by the benchmark program, not here.
    TextGrid table = recordTable();
    for (int column = 0; column < 62; ++column) {
        table.setCell(column, 3, QString::number(60.0 + (column % 7) * 0.3, 'f', 1));
        table.setCell(column, 12, column % 2 ? QString::number(column % 4 + 1) : u"0"_s);
    }
    QImage picture;
    paintGraphBackground(picture);
    const GraphResult result = plotRow(picture, table, 3, syntheticFaces(), Reference);
    QCOMPARE(result.endX, 14 * 61 + 7);
    QCOMPARE(result.endY, 75); // 61.5 kg: 5.5 kg above the bottom line of base 60
    QCOMPARE(picture.pixel(result.endX, result.endY), qRgb(255, 0, 0));
}

void TestGraphPainter::dayHeader_data()
{
    QTest::addColumn<TextGrid>("table");
    QTest::addColumn<int>("secondMonthColumn");
    QTest::addColumn<int>("secondMonth");
    QTest::addColumn<QStringList>("monthRow"); // header columns 0..31
    QTest::addColumn<QStringList>("days");     // header columns 1..31

    const auto days = [](int from, int last, int nextLast, int nextNextLast = 31) {
        QStringList list;
        int day = from;
        int limit = last;
        for (int i = 0; i < 31; ++i) {
            list << QString::number(day);
            if (++day > limit) {
                day = 1;
                limit = limit == last ? nextLast : nextNextLast;
            }
        }
        return list;
    };
    const auto markers = [](QList<std::pair<int, QString>> marks) {
        QStringList row(32);
        for (const auto &[column, text] : marks)
            row[column] = text;
        return row;
    };

    QTest::newRow("two-months-from-20-april")
        << calendar(4, 20, 30, 31) << 22 << 5 << markers({{1, u"4/"_s}, {12, u"5/"_s}})
        << days(20, 30, 31);
    QTest::newRow("one-month-from-1-july")
        << calendar(7, 1, 31, 31) << 62 << 8 << markers({{1, u"7/"_s}}) << days(1, 31, 31);
    QTest::newRow("third-month-unmarked")
        << calendar(1, 31, 31, 28) << 2 << 2 << markers({{1, u"1/"_s}, {2, u"2/"_s}})
        << days(31, 31, 28, 31);
    QTest::newRow("december-to-january")
        << calendar(12, 10, 31, 31) << 44 << 1 << markers({{1, u"12/"_s}, {23, u"1/"_s}})
        << days(10, 31, 31);
    QTest::newRow("damaged-marker-outside")
        << calendar(4, 20, 30, 31) << -100 << 5 << markers({{1, u"4/"_s}}) << days(20, 30, 31);
}

void TestGraphPainter::dayHeader()
{
    QFETCH(TextGrid, table);
    QFETCH(int, secondMonthColumn);
    QFETCH(int, secondMonth);
    QFETCH(QStringList, monthRow);
    QFETCH(QStringList, days);
    const DayHeaderTexts header = dayHeaderTexts(table, secondMonthColumn, secondMonth);
    for (int column = 0; column < 32; ++column)
        QCOMPARE(header.text(column, 0), monthRow.at(column));
    QCOMPARE(header.text(0, 1), QString());
    for (int column = 1; column < 32; ++column)
        QCOMPARE(header.text(column, 1), days.at(column - 1));
    QCOMPARE(header.text(32, 0), QString());
}

QTEST_GUILESS_MAIN(TestGraphPainter)
#include "tst_graphpainter.moc"
