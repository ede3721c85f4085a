// SPDX-License-Identifier: GPL-3.0-or-later
#include "artwork/Artwork.h"
#include "numbers/CellValue.h"
#include "print/Print01.h"
#include "print/SheetPdf.h"
#include "record/GraphPainter.h"
#include "record/TextGrid.h"
#include "report/ReportCanvas.h"
#include "report/ReportImage.h"
#include "report/ReportLabel.h"
#include "report/ReportPrinter.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QRgb red = qRgb(255, 0, 0);
const QRgb white = qRgb(255, 255, 255);
// Distinct colours per mood code so a test can tell which icon landed where.
const std::array<QRgb, 4> moodColours {
    qRgb(0, 200, 0), qRgb(0, 0, 200), qRgb(200, 200, 0), qRgb(0, 200, 200)};

TPrint01::SheetInput sheetInput(int secondMonthColumn = 62, int secondMonth = 8)
{
    TPrint01::SheetInput input;
    input.secondMonthColumn = secondMonthColumn;
    input.secondMonth = secondMonth;
    input.dayAfterTable = u"1"_s;
    for (std::size_t i = 0; i < 4; ++i) {
        QImage icon(16, 16, QImage::Format_RGB32);
        icon.fill(moodColours[i]);
        input.moodIcons[i] = icon;
    }
    return input;
}

// A July table: days 1..31 in the even columns of row 2, month 7 in row 1.
TextGrid julyTable()
{
    TextGrid table(62, 16);
    for (int c = 0; c < 62; c += 2) {
        table.setCell(c, 1, u"7"_s);
        table.setCell(c, 2, QString::number(c / 2 + 1));
    }
    return table;
}

const ReportLabel *label(const TPrint01 &form, const QString &name)
{
    return dynamic_cast<const ReportLabel *>(form.page().element(name));
}

QImage plot(const TPrint01 &form)
{
    auto *element = dynamic_cast<ReportImage *>(form.page().element(u"QRImage4"_s));
    return element && element->hasCanvas() ? element->canvas().image() : QImage();
}

int countPixels(const QImage &image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour;
    }
    return count;
}

QImage renderAtUnitScale(const TPrint01 &form)
{
    QImage page(1055, 723, QImage::Format_RGB32);
    page.setDotsPerMeterX(3780);
    page.setDotsPerMeterY(3780);
    form.renderTo(&page);
    return page;
}

// A month with lines in every direction, gaps, values off the sheet and every kind of mood text.
TextGrid busyTable()
{
    TextGrid table = julyTable();
    table.setCell(0, 3, u"60.0"_s);
    table.setCell(0, 8, u"15.0"_s);
    for (int c = 1; c < 62; ++c) {
        if (c % 7 != 3)
            table.setCell(c, 3, QString::number(60 + ((c * 37) % 97 - 48) / 10.0, 'f', 1));
        table.setCell(c, 8, QString::number(15 - (c % 9) * 0.3, 'f', 1));
        static const char *moods[] = {"0", "1", "2", "3", "4", "x"};
        table.setCell(c, 12, QString::fromLatin1(moods[c % 6]));
    }
    return table;
}

TPrint01::SheetInput markedIcons()
{
    TPrint01::SheetInput input;
    for (std::size_t i = 0; i < 4; ++i) {
        QImage icon(16, 16, QImage::Format_RGB32);
        icon.fill(qRgb(40 * int(i), 200, 100));
        icon.setPixel(3, 5, qRgb(255, 0, 255));
        input.moodIcons[i] = icon;
    }
    return input;
}

QString tool(const char *name)
{
    return QStandardPaths::findExecutable(QString::fromLatin1(name));
}

QString runTool(const char *name, const QStringList &arguments)
{
    QProcess process;
    process.start(tool(name), arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class tst_Print : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void plotYRoundsHalvesToEven_data();
    void plotYRoundsHalvesToEven();
    void scaleFollowsFirstValue_data();
    void scaleFollowsFirstValue();
    void screenAndPaperReadACellAlike_data();
    void screenAndPaperReadACellAlike();
    void missingFirstValueThrowsAndKeepsForm_data();
    void missingFirstValueThrowsAndKeepsForm();
    void onlyFirstValueSetsMarkWithoutLine();
    void lineJoinsValuesSkippingGaps();
    void moodIconsByCode_data();
    void moodIconsByCode();
    void noIconForOtherMoodTexts_data();
    void noIconForOtherMoodTexts();
    void dayAndMonthLabels_data();
    void dayAndMonthLabels();
    void fillClearsEarlierSheet();
    void adviceLineJoinsBothTexts();
    void gridPictureLines();
    void renderedPageShowsPlotThroughGrid();
    void printBothSheetsInOrder();
    void printBothSheetsChecksBothRowsFirst();
    void noPrinterIsAnError();
    void fillAndRenderAt600Dpi();
    void replayAtReportResolutionIsTheBitmap_data();
    void replayAtReportResolutionIsTheBitmap();
    void pdfIsVectorWithExactColours();
    void scaleLabelsMeetTheirKilogramLines();
    void illustrationLeavesTheMonthLabelBandClear();
};

void tst_Print::initTestCase()
{
    // An unreachable print server: no printer for this whole program, whatever the machine has.
    qputenv("CUPS_SERVER", "127.0.0.1:1");
}

void tst_Print::plotYRoundsHalvesToEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("base");
    QTest::addColumn<int>("y");
    QTest::newRow("62.0-half-down") << 62.0 << 60 << 150; // 150.5
    QTest::newRow("58.0-half-up") << 58.0 << 60 << 452;   // 451.5
    QTest::newRow("63.8") << 63.8 << 63 << 241;           // 240.8
    QTest::newRow("top-edge") << 64.0 << 60 << 0;
    QTest::newRow("bottom-edge") << 56.0 << 60 << 602;
    QTest::newRow("middle") << 60.0 << 60 << 301;
    QTest::newRow("above-scale") << 70.0 << 60 << -452; // -451.5
    QTest::newRow("huge") << 1e300 << 60 << -(1 << 16);
    QTest::newRow("huge-negative") << -1e300 << 60 << (1 << 16);
}

void tst_Print::plotYRoundsHalvesToEven()
{
    QFETCH(double, value);
    QFETCH(int, base);
    QFETCH(int, y);
    QCOMPARE(TPrint01::plotY(value, base), y);
}

void tst_Print::scaleFollowsFirstValue_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("scale");
    QTest::addColumn<int>("firstY");
    const QString gap(4, QChar(13));
    QTest::newRow("63.8") << u"63.8"_s
                          << QStringList {u"67kg"_s, u"66kg"_s, u"65kg"_s, u"64kg"_s, u"63kg"_s,
                                 u"62kg"_s, u"61kg"_s, u"60kg"_s, u"59kg"_s}
                                 .join(gap)
                          << 241;
    QTest::newRow("fat-3.2") << u"3.2"_s
                             << QStringList {u"7kg"_s, u"6kg"_s, u"5kg"_s, u"4kg"_s, u"3kg"_s,
                                    u"2kg"_s, u"1kg"_s, u"0kg"_s, u"-1kg"_s}
                                    .join(gap)
                             << 286; // 602 - 4.2 * 75.25 = 285.95
    QTest::newRow("largest-value")
        << u"9999.9"_s
        << QStringList {u"10003kg"_s, u"10002kg"_s, u"10001kg"_s, u"10000kg"_s, u"9999kg"_s,
               u"9998kg"_s, u"9997kg"_s, u"9996kg"_s, u"9995kg"_s}
               .join(gap)
        << 233; // 602 - 4.9 * 75.25 = 233.275
}

void tst_Print::scaleFollowsFirstValue()
{
    QFETCH(QString, first);
    QFETCH(QString, scale);
    QFETCH(int, firstY);
    TPrint01 form;
    TextGrid table = julyTable();
    table.setCell(0, 3, first);
    table.setCell(4, 3, first);
    form.fillWeightSheet(table, sheetInput());
    QCOMPARE(label(form, u"QRLabel1"_s)->text(), scale);
    QCOMPARE(label(form, u"QRLabel2"_s)->text(), u"【 体 重 】"_s);
    QCOMPARE(label(form, u"PlotP"_s)->top(), firstY + 103);
    if (firstY >= 0 && firstY < 602)
        QCOMPARE(plot(form).pixel(30, firstY), red);
}

void tst_Print::screenAndPaperReadACellAlike_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isValue");
    QTest::newRow("decimal") << u"63.8"_s << true;
    QTest::newRow("spaced-signed") << u" -2.5 "_s << true;
    QTest::newRow("largest") << u"9999.9"_s << true;
    QTest::newRow("bound") << u"10000"_s << false;
    QTest::newRow("negative-bound") << u"-10000.0"_s << false;
    QTest::newRow("exponent") << u"1e300"_s << false;
    QTest::newRow("small-exponent") << u"6e1"_s << false;
    QTest::newRow("infinity") << u"inf"_s << false;
    QTest::newRow("text") << u"abc"_s << false;
}

// The screen graph, the printed sheets and the cell rule itself take the same texts as values.
void tst_Print::screenAndPaperReadACellAlike()
{
    QFETCH(QString, text);
    QFETCH(bool, isValue);
    TextGrid table = julyTable();
    table.setCell(0, 3, text);
    table.setCell(0, 8, text);
    QCOMPARE(readCellValue(text).has_value(), isValue);
    QImage picture;
    QCOMPARE(plotRow(picture, table, 3, MoodFaces(), Qt::blue).hasBase, isValue);
    QCOMPARE(TPrint01::isPrintable(table), isValue);
}

void tst_Print::missingFirstValueThrowsAndKeepsForm_data()
{
    QTest::addColumn<QString>("first");
    QTest::newRow("empty") << QString();
    QTest::newRow("text") << u"abc"_s;
    QTest::newRow("nan") << u"nan"_s;
    QTest::newRow("inf") << u"inf"_s;
}

void tst_Print::missingFirstValueThrowsAndKeepsForm()
{
    QFETCH(QString, first);
    TPrint01 form;
    TextGrid table = julyTable();
    table.setCell(0, 3, u"60.0"_s);
    table.setCell(0, 8, first);
    form.fillWeightSheet(table, sheetInput());
    const QImage before = renderAtUnitScale(form);
    try {
        form.fillFatWeightSheet(table, sheetInput());
        QFAIL("no exception");
    } catch (const std::runtime_error &error) {
        QCOMPARE(QString::fromUtf8(error.what()),
            u"印刷するデータがありません（最初の脂肪重量の値がありません）"_s);
    }
    QCOMPARE(label(form, u"QRLabel2"_s)->text(), u"【 体 重 】"_s);
    QCOMPARE(renderAtUnitScale(form), before);
}

void tst_Print::onlyFirstValueSetsMarkWithoutLine()
{
    TPrint01 form;
    TextGrid table = julyTable();
    table.setCell(0, 3, u"63.8"_s);
    table.setCell(5, 3, u"x"_s); // not a number: as if empty
    form.fillWeightSheet(table, sheetInput());
    QCOMPARE(label(form, u"PlotP"_s)->left(), 101);
    QCOMPARE(label(form, u"PlotP"_s)->top(), 241 + 103);
    QCOMPARE(countPixels(plot(form), red), 0);
}

void tst_Print::lineJoinsValuesSkippingGaps()
{
    TPrint01 form;
    TextGrid table = julyTable();
    table.setCell(0, 3, u"60.0"_s); // (30, 301)
    table.setCell(4, 3, u"62.0"_s); // (90, 150)
    table.setCell(8, 3, u"58.0"_s); // (150, 452)
    form.fillWeightSheet(table, sheetInput());
    const QImage image = plot(form);
    QCOMPARE(image.pixel(30, 301), red);
    QCOMPARE(image.pixel(60, 226), red); // half-way, across the empty columns 1 to 3
    QCOMPARE(image.pixel(90, 150), red);
    QCOMPARE(image.pixel(120, 301), red);
    QCOMPARE(image.pixel(151, 452), white);
    QCOMPARE(image.pixel(60, 301), white);
    QCOMPARE(label(form, u"PlotP"_s)->left(), 150 + 71);
    QCOMPARE(label(form, u"PlotP"_s)->top(), 452 + 103);
}

void tst_Print::moodIconsByCode_data()
{
    QTest::addColumn<QString>("mood");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QPoint>("topLeft");
    QTest::addColumn<int>("icon");
    // Base 60; 63.4 lies at y 45, 60.0 at 301, 56.0 at 602.
    QTest::newRow("mood2-col10-held-at-top") << u"2"_s << 10 << u"63.4"_s << QPoint(172, 0) << 1;
    QTest::newRow("mood1-col1") << u"1"_s << 1 << u"60.0"_s << QPoint(37, 221) << 0;
    QTest::newRow("mood3-col61") << u"3"_s << 61 << u"60.0"_s << QPoint(937, 221) << 2;
    QTest::newRow("mood4-no-value-uses-last") << u"4"_s << 7 << QString() << QPoint(127, 221) << 3;
    QTest::newRow("mood4-bottom") << u"4"_s << 20 << u"56.0"_s << QPoint(322, 522) << 3;
}

void tst_Print::moodIconsByCode()
{
    QFETCH(QString, mood);
    QFETCH(int, column);
    QFETCH(QString, value);
    QFETCH(QPoint, topLeft);
    QFETCH(int, icon);
    TPrint01 form;
    TextGrid table = julyTable();
    table.setCell(0, 3, u"60.0"_s);
    table.setCell(column, 3, value);
    table.setCell(column, 12, mood);
    form.fillWeightSheet(table, sheetInput());
    const QImage image = plot(form);
    const QRgb colour = moodColours[std::size_t(icon)];
    QCOMPARE(countPixels(image, colour), 16 * 16);
    QCOMPARE(image.pixel(topLeft), colour);
    QCOMPARE(image.pixel(topLeft + QPoint(15, 15)), colour);
}

void tst_Print::noIconForOtherMoodTexts_data()
{
    QTest::addColumn<QString>("mood");
    QTest::addColumn<int>("column");
    QTest::newRow("zero") << u"0"_s << 10;
    QTest::newRow("empty") << QString() << 10;
    QTest::newRow("seven") << u"7"_s << 10;
    QTest::newRow("spaced") << u" 2"_s << 10;
    QTest::newRow("column-0-never") << u"2"_s << 0;
}

void tst_Print::noIconForOtherMoodTexts()
{
    QFETCH(QString, mood);
    QFETCH(int, column);
    TPrint01 form;
    TextGrid table = julyTable();
    table.setCell(0, 3, u"60.0"_s);
    table.setCell(column, 12, mood);
    form.fillWeightSheet(table, sheetInput());
    const QImage image = plot(form);
    for (QRgb colour : moodColours)
        QCOMPARE(countPixels(image, colour), 0);
}

void tst_Print::dayAndMonthLabels_data()
{
    QTest::addColumn<int>("secondMonthColumn");
    QTest::addColumn<int>("m2Left");
    QTest::newRow("one-whole-month") << 62 << 1018;
    QTest::newRow("second-month-at-22") << 22 << 418;
    QTest::newRow("second-month-at-2") << 2 << 118;
}

void tst_Print::dayAndMonthLabels()
{
    QFETCH(int, secondMonthColumn);
    QFETCH(int, m2Left);
    TPrint01 form;
    TextGrid table = julyTable();
    table.setCell(0, 3, u"60.0"_s);
    form.fillWeightSheet(table, sheetInput(secondMonthColumn, 8));
    QCOMPARE(label(form, u"M1"_s)->text(), u"7/"_s);
    QCOMPARE(label(form, u"M2"_s)->text(), u"8/"_s);
    QCOMPARE(label(form, u"M2"_s)->left(), m2Left);
    QCOMPARE(label(form, u"M2"_s)->top(), 81);
    QCOMPARE(label(form, u"D01"_s)->text(), u"1"_s);
    QCOMPARE(label(form, u"D16"_s)->text(), u"16"_s);
    QCOMPARE(label(form, u"D31"_s)->text(), u"31"_s);
    QCOMPARE(label(form, u"D32"_s)->text(), u"1"_s);
    QCOMPARE(label(form, u"D15"_s)->left(), 522);
    QCOMPARE(label(form, u"D16"_s)->left(), 551);
    QCOMPARE(label(form, u"D32"_s)->left(), 1031);
}

void tst_Print::fillClearsEarlierSheet()
{
    TPrint01 form;
    TextGrid table = julyTable();
    table.setCell(0, 3, u"60.0"_s);
    table.setCell(10, 3, u"62.0"_s);
    table.setCell(10, 12, u"1"_s);
    table.setCell(0, 8, u"15.0"_s);
    TPrint01::SheetInput input = sheetInput();
    form.fillWeightSheet(table, input);
    input.dayAfterTable.clear();
    form.fillFatWeightSheet(table, input);
    const QImage image = plot(form);
    QCOMPARE(countPixels(image, red), 0);
    QCOMPARE(countPixels(image, moodColours[0]), 16 * 16); // the mood row is shared
    QCOMPARE(label(form, u"QRLabel2"_s)->text(), u"【脂肪重量】"_s);
    QCOMPARE(label(form, u"D32"_s)->text(), QString());
    QCOMPARE(label(form, u"PlotP"_s)->left(), 101);
}

void tst_Print::adviceLineJoinsBothTexts()
{
    TPrint01 form;
    form.setAdviceLine(u"体重を落とす必要は"_s, u"ありません。"_s);
    const ReportLabel *advice = label(form, u"QRLabel3"_s);
    QCOMPARE(advice->text(), u"体重を落とす必要はありません。"_s);
    QVERIFY(advice->rect().width() > 100);
    QVERIFY(!advice->isTransparent());
    form.setAdviceLine(QString(), QString());
    QCOMPARE(advice->text(), QString());
}

void tst_Print::gridPictureLines()
{
    const QImage grid = TPrint01::gridPicture();
    QCOMPARE(grid.size(), QSize(962, 602));
    const QRgb thick = qRgb(19, 0, 124);
    const QRgb tenth = qRgb(10, 80, 161);
    const QRgb black = qRgb(0, 0, 0);

    // Column 500 crosses no vertical line: count what each row holds there.
    int thickRows = 0, tenthRows = 0, clearRows = 0;
    for (int y = 0; y < 601; ++y) {
        const QRgb pixel = grid.pixel(500, y);
        thickRows += pixel == thick;
        tenthRows += pixel == tenth;
        clearRows += qAlpha(pixel) == 0;
    }
    QCOMPARE(thickRows, 8 * 3 + 1); // the last line's lowest unit is under the dotted bottom
    QCOMPARE(tenthRows, 72);
    QCOMPARE(clearRows, 601 - thickRows - tenthRows);
    for (int y : {0, 1, 2, 75, 76, 77, 300, 301, 302, 600})
        QCOMPARE(grid.pixel(500, y), thick);
    for (int y : {3, 299, 303, 599})
        QCOMPARE(qAlpha(grid.pixel(500, y)), 0);
    for (int y : {8, 16, 24, 31, 38, 46, 54, 61, 68}) // 1 + 7.5j, halves to even
        QCOMPARE(grid.pixel(500, y), tenth);

    // Row 5 crosses no horizontal line: 33 solid verticals, and dotted ones on even rows.
    int solid = 0;
    for (int x = 0; x < 962; ++x) {
        const bool onSolid = x % 30 == 1;
        const bool onDotted = x >= 46 && x <= 946 && x % 30 == 16;
        solid += grid.pixel(x, 5) == black;
        QCOMPARE(grid.pixel(x, 5) == black, onSolid);
        QCOMPARE(grid.pixel(x, 4) == black, onSolid || onDotted);
    }
    QCOMPARE(solid, 33);
    QCOMPARE(grid.pixel(960, 300), thick);
    QCOMPARE(grid.pixel(961, 300), black); // verticals lie over the horizontals
    QCOMPARE(grid.pixel(961, 305), black);
    QCOMPARE(grid.pixel(500, 601), black);
    QCOMPARE(grid.pixel(501, 601), thick);
    QCOMPARE(qAlpha(grid.pixel(10, 5)), 0);
}

void tst_Print::renderedPageShowsPlotThroughGrid()
{
    TPrint01 form;
    QImage heading(459, 35, QImage::Format_RGB32);
    heading.fill(qRgb(10, 80, 161));
    form.setArtwork(heading, QImage());
    TextGrid table = julyTable();
    table.setCell(0, 3, u"60.0"_s);
    table.setCell(10, 3, u"63.4"_s);
    table.setCell(10, 12, u"2"_s);
    form.fillWeightSheet(table, sheetInput());
    const QImage page = renderAtUnitScale(form);
    // The icon at (172, 0) of the plot, seen through the grid's clear parts.
    QCOMPARE(page.pixel(81 + 177, 110 + 5), moodColours[1]);
    QCOMPARE(page.pixel(81 + 500, 110 + 1), qRgb(19, 0, 124));
    QCOMPARE(page.pixel(40, 0), qRgb(10, 80, 161));
    QCOMPARE(page.pixel(1054, 722), white);
    // The red "×" stands on the last value (180, 45).
    const QRect mark(180 + 71, 45 + 103, 22, 17);
    int redInk = 0;
    for (int y = mark.top(); y <= mark.bottom(); ++y) {
        for (int x = mark.left(); x <= mark.right(); ++x)
            redInk += qRed(page.pixel(x, y)) > 200 && qGreen(page.pixel(x, y)) < 100;
    }
    QVERIFY(redInk > 10);
}

void tst_Print::printBothSheetsInOrder()
{
    TPrint01 form;
    TextGrid table = julyTable();
    table.setCell(0, 3, u"60.0"_s);
    table.setCell(0, 8, u"15.0"_s);
    QStringList titles;
    QStringList documents;
    form.printBothSheets(table, sheetInput(), u"前半"_s, u"後半"_s,
        [&](const ReportPage &page, const QString &document) {
            titles.append(dynamic_cast<ReportLabel *>(page.element(u"QRLabel2"_s))->text());
            documents.append(document);
            QCOMPARE(
                dynamic_cast<ReportLabel *>(page.element(u"QRLabel3"_s))->text(), u"前半後半"_s);
        });
    QCOMPARE(titles, QStringList({u"【 体 重 】"_s, u"【脂肪重量】"_s}));
    QCOMPARE(documents.size(), 2);
    QVERIFY(documents[0] != documents[1]);
}

void tst_Print::printBothSheetsChecksBothRowsFirst()
{
    TPrint01 form;
    TextGrid table = julyTable();
    table.setCell(0, 3, u"60.0"_s);
    int jobs = 0;
    QVERIFY_THROWS_EXCEPTION(std::runtime_error,
        form.printBothSheets(
            table, sheetInput(), {}, {}, [&](const ReportPage &, const QString &) { ++jobs; }));
    QCOMPARE(jobs, 0);
}

void tst_Print::noPrinterIsAnError()
{
    QVERIFY(!ReportPrinter::hasDefaultPrinter());
    TPrint01 form;
    TextGrid table = julyTable();
    table.setCell(0, 3, u"60.0"_s);
    table.setCell(0, 8, u"15.0"_s);
    const TextGrid before = table;
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            if (attempt == 0)
                form.printBothSheets(table, sheetInput(), {}, {});
            else
                form.print();
            QFAIL("no exception");
        } catch (const std::runtime_error &error) {
            QCOMPARE(QString::fromUtf8(error.what()), ReportPrinter::noPrinterMessage());
            QVERIFY(ReportPrinter::noPrinterMessage().startsWith(u"プリンターが見つかりません"_s));
        }
    }
    QCOMPARE(table, before);
}

void tst_Print::fillAndRenderAt600Dpi()
{
    // How long this takes is measured by the benchmark program, not here.
    TPrint01 form;
    TextGrid table = julyTable();
    for (int c = 0; c < 62; ++c) {
        table.setCell(c, 3, QString::number(60 + (c % 7) * 0.3, 'f', 1));
        table.setCell(c, 12, QString::number(c % 5));
    }
    form.setAdviceLine(u"体重を落とす必要は"_s, u"ありません。"_s);
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QPdfWriter writer(&pdf);
    writer.setResolution(600);
    writer.setPageLayout(form.page().pageLayout());
    form.fillWeightSheet(table, sheetInput());
    form.renderTo(&writer);
    QVERIFY(pdf.size() > 1000);
}

void tst_Print::replayAtReportResolutionIsTheBitmap_data()
{
    QTest::addColumn<QString>("golden");
    QTest::newRow("plot") << u"report-plot.png"_s;
    QTest::newRow("grid") << u"report-grid.png"_s;
}

void tst_Print::replayAtReportResolutionIsTheBitmap()
{
    // The pictures as the bitmaps drew them before they kept their operations.
    QFETCH(QString, golden);
    const QImage expected = QImage(QStringLiteral(PEMIRA_TEST_DATA "/") + golden)
                                .convertToFormat(QImage::Format_ARGB32);
    QVERIFY(!expected.isNull());
    const QRect place(QPoint(81, 110), expected.size());
    QImage page(1055, 723, QImage::Format_ARGB32);
    page.fill(Qt::transparent);
    QPainter painter(&page);
    TPrint01 form;
    if (golden == u"report-plot.png"_s) {
        form.fillWeightSheet(busyTable(), markedIcons());
        auto *plot = dynamic_cast<ReportImage *>(form.page().element(u"QRImage4"_s));
        plot->canvas().replay(painter, place.topLeft());
    } else {
        TPrint01::paintGrid(&painter, QRectF(place));
    }
    painter.end();
    QCOMPARE(page.copy(place), expected);
    QCOMPARE(page.pixel(80, 109), 0u); // nothing outside the surface
    QCOMPARE(page.pixel(place.right() + 1, place.bottom() + 1), 0u);
}

void tst_Print::pdfIsVectorWithExactColours()
{
    for (const char *name : {"pdfinfo", "pdfimages", "pdftoppm"}) {
        if (tool(name).isEmpty())
            QSKIP(qPrintable(u"%1 (poppler-utils) is not installed"_s.arg(QLatin1String(name))));
    }
    TextGrid table = busyTable();
    // A steep red line from (30, 301) to (45, 226), crossing row 260 between two tenth lines.
    table.setCell(1, 3, u"61.0"_s);
    QTemporaryDir folder;
    const QString pdf = folder.filePath(u"sheets.pdf"_s);
    TPrint01 form;
    SheetPdf::write(form, table, sheetInput(), u"前半"_s, u"後半"_s, pdf);

    const QString info = runTool("pdfinfo", {pdf});
    QVERIFY2(info.contains(QRegularExpression(u"Pages:\\s+2\\n"_s)), qPrintable(info));
    QVERIFY2(info.contains(u"842 x 595 pts"_s), qPrintable(info));
    QVERIFY(QFileInfo(pdf).size() < 2 * 120 * 1024);

    // Only the mood icons remain pictures, stored losslessly; grid and plot are vector drawing.
    const QStringList images = runTool("pdfimages", {u"-list"_s, pdf}).split(u'\n').mid(2);
    int icons = 0;
    for (const QString &line : images) {
        const QStringList f = line.simplified().split(u' ');
        if (f.size() < 10)
            continue;
        QVERIFY2(f[8] == u"image"_s, qPrintable(line)); // flate, not jpeg / jpx / ccitt
        QVERIFY2(f[3].toInt() <= 16 && f[4].toInt() <= 16, qPrintable(line));
        ++icons;
    }
    QVERIFY(icons > 0);

    // Page 1 at 600 dpi: the band starts at the margins (10 mm, 8 mm), 6.25 pixels a unit.
    const auto device
        = [](qreal units, qreal marginMm) { return qRound(marginMm / 25.4 * 600 + units * 6.25); };
    const QPoint red(device(81 + 38.7, 10), device(110 + 260.5, 8));
    const QPoint tenth(device(81 + 500.5, 10), device(110 + 256.5, 8));
    const QRect crop = QRect(red, tenth).normalized().adjusted(-2, -2, 2, 2);
    const QString prefix = folder.filePath(u"page"_s);
    runTool("pdftoppm",
        {u"-r"_s, u"600"_s, u"-f"_s, u"1"_s, u"-l"_s, u"1"_s, u"-singlefile"_s, u"-png"_s, u"-x"_s,
            QString::number(crop.x()), u"-y"_s, QString::number(crop.y()), u"-W"_s,
            QString::number(crop.width()), u"-H"_s, QString::number(crop.height()), pdf, prefix});
    const QImage page(prefix + u".png"_s);
    QVERIFY(!page.isNull());
    QCOMPARE(QColor(page.pixel(red - crop.topLeft())), QColor(255, 0, 0));
    QCOMPARE(QColor(page.pixel(tenth - crop.topLeft())), QColor(10, 80, 161));
}

void tst_Print::scaleLabelsMeetTheirKilogramLines()
{
    TPrint01 form;
    TextGrid table = julyTable();
    table.setCell(0, 3, u"63.8"_s);
    form.fillWeightSheet(table, sheetInput());
    constexpr int scale = 4;
    QImage page(1055 * scale, 723 * scale, QImage::Format_RGB32);
    page.setDotsPerMeterX(3780 * scale);
    page.setDotsPerMeterY(3780 * scale);
    page.fill(Qt::white);
    form.renderTo(&page);
    // Between the scale's box edges (24 .. 75) nothing but the labels has ink.
    const auto inked = [&](int y) {
        for (int x = 24 * scale; x < 75 * scale; ++x) {
            if (qGray(page.pixel(x, y)) < 128)
                return true;
        }
        return false;
    };
    for (int k = 0; k <= 8; ++k) {
        const qreal line = 110 + 1.5 + 75 * k; // middle of the 3-unit kilogram line
        int top = -1, bottom = -1;
        for (int y = int((line - 30) * scale); y < int((line + 30) * scale); ++y) {
            if (y >= page.height() || !inked(y))
                continue;
            if (top < 0)
                top = y;
            bottom = y;
        }
        QVERIFY2(top >= 0, qPrintable(u"no label near line %1"_s.arg(k)));
        const qreal middle = (top + bottom + 1) / 2.0 / scale;
        QVERIFY2(qAbs(middle - line) < 2.5,
            qPrintable(u"label %1 centred at %2, its line at %3"_s.arg(k).arg(middle).arg(line)));
    }
}

void tst_Print::illustrationLeavesTheMonthLabelBandClear()
{
    // The second month's label stands at left 898 .. 1018, top 81: in the illustration (874, 0)
    // that is x from 24 and y from 81 to its lower edge.
    const QImage art = reportIllustration();
    QCOMPARE(art.size(), QSize(167, 95));
    int inked = 0;
    for (int y = 81; y < art.height(); ++y) {
        for (int x = 24; x < art.width(); ++x)
            inked += qAlpha(art.pixel(x, y)) != 0;
    }
    QCOMPARE(inked, 0);
}

QTEST_MAIN(tst_Print)
#include "tst_print.moc"
