// SPDX-License-Identifier: GPL-3.0-or-later
#include "Print01.h"

#include "artwork/Artwork.h"
#include "fonts/Fonts.h"
#include "numbers/CellValue.h"
#include "record/GraphLayout.h"
#include "record/RecordLayout.h"
#include "record/TextGrid.h"
#include "report/ReportCanvas.h"
#include "report/ReportImage.h"
#include "report/ReportLabel.h"
#include "report/ReportPicture.h"
#include "report/ReportPrinter.h"
#include "report/ReportRichText.h"

#include <QPageSize>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

const QSize plotSize(962, 602);
constexpr double unitsPerKilogram = 75.25;
// The grid's kilogram lines lie 75 units apart and the scale puts four line breaks between two
// kilograms: each line of the scale takes a quarter of that, so every label meets its line.
constexpr int gridUnitsPerKilogram = 75;
constexpr qreal scaleLineStep = gridUnitsPerKilogram / 4.0;
// About 870 kg off the scale: far beyond the sheet for any real body, yet small enough that no
// sum overflows and an off-sheet line stays short to trace.
constexpr double farOffSheet = 1 << 16;

const QChar carriageReturn(13);

// Values carry one decimal, so a product that should be an exact half may come out a hair
// off in binary; the tolerance lets it still go to the even neighbour.
int roundHalfToEven(double value)
{
    const double floor = std::floor(value);
    if (std::abs(value - floor - 0.5) < 1e-7)
        return int(std::fmod(floor, 2.0) == 0 ? floor : floor + 1);
    return int(std::lround(value));
}

QPageLayout a4Landscape()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 8, 10, 8),
        QPageLayout::Millimeter);
}

} // namespace

TPrint01::TPrint01()
    : QuickRep1(u"QuickRep1"_s, a4Landscape())
{
    DetailBand1 = QuickRep1.addBand(u"DetailBand1"_s, QSize(1055, 723), Qt::white);

    const ReportFont dayFont = ReportFont::cellHeight(gothicFont(16), 16);
    for (int k = 1; k <= 32; ++k) {
        const int left = (k <= 15 ? 102 : 101) + 30 * (k - 1);
        ReportLabel *day = DetailBand1->add<ReportLabel>(
            u"D%1"_s.arg(k, 2, 10, QLatin1Char('0')), QRect(left, 94, 22, 17), dayFont);
        day->setAlignment(Qt::AlignHCenter);
        D[std::size_t(k - 1)] = day;
    }
    M1 = DetailBand1->add<ReportLabel>(u"M1"_s, QRect(85, 81, 25, 17), dayFont);
    M1->setAlignment(Qt::AlignRight);

    QRImage3
        = DetailBand1->add<ReportPicture>(u"QRImage3"_s, QRect(40, 0, 459, 35), reportHeading());
    QRImage3->setVectorPainter(&paintReportHeading);

    QFont titleFace = gothicFont(24, true);
    titleFace.setItalic(true);
    QRLabel2 = DetailBand1->add<ReportLabel>(
        u"QRLabel2"_s, QRect(509, 8, 156, 28), ReportFont::characterHeight(titleFace, 24));

    const ReportFont lineFont = ReportFont::characterHeight(gothicFont(15), 15);
    QRLabel3 = DetailBand1->add<ReportLabel>(u"QRLabel3"_s, QRect(43, 42, 0, 17), lineFont);
    QRLabel4 = DetailBand1->add<ReportLabel>(u"QRLabel4"_s, QRect(43, 60, 0, 17), lineFont);
    for (ReportLabel *line : {QRLabel3, QRLabel4}) {
        line->setAutoSize(true);
        line->setTransparent(false);
    }

    QRRichText1 = DetailBand1->add<ReportRichText>(
        u"QRRichText1"_s, QRect(677, 2, 252, 82), ReportFont::characterHeight(minchoFont(12), 12));
    QRRichText1->setLines(tips());

    QRImage2 = DetailBand1->add<ReportPicture>(
        u"QRImage2"_s, QRect(874, 0, 167, 95), reportIllustration());
    QRImage2->setVectorPainter(&paintReportIllustration);

    M2 = DetailBand1->add<ReportLabel>(u"M2"_s, QRect(1018, 81, 25, 17), dayFont);
    M2->setAlignment(Qt::AlignRight);

    ReportFont scaleFont = ReportFont::cellHeight(gothicFont(18), 18);
    scaleFont.lineHeight = scaleLineStep;
    QRLabel1 = DetailBand1->add<ReportLabel>(u"QRLabel1"_s, QRect(24, 102, 51, 618), scaleFont);
    QRLabel1->setAlignment(Qt::AlignRight);
    QRLabel1->setWordWrap(true);

    QRImage4 = DetailBand1->add<ReportImage>(u"QRImage4"_s, QRect(QPoint(81, 110), plotSize));
    QRImage1 = DetailBand1->add<ReportPicture>(
        u"QRImage1"_s, QRect(QPoint(81, 110), plotSize), gridPicture());
    QRImage1->setVectorPainter(&paintGrid);

    PlotP = DetailBand1->add<ReportLabel>(
        u"PlotP"_s, QRect(101, 110, 22, 17), ReportFont::cellHeight(gothicFont(16, true), 16));
    PlotP->setText(u"×"_s);
    PlotP->setAlignment(Qt::AlignHCenter);
    PlotP->setColor(QColor(255, 0, 0));
}

TPrint01::~TPrint01() = default;

std::array<QImage, 4> TPrint01::printMoodIcons()
{
    return {moodFace(1, MoodFaceSet::OnWhite), moodFace(2, MoodFaceSet::OnWhite),
        moodFace(3, MoodFaceSet::OnWhite), moodFace(4, MoodFaceSet::OnWhite)};
}

int TPrint01::sheetRow(Sheet sheet)
{
    return sheet == Sheet::Weight ? RecordLayout::WeightRow : RecordLayout::FatWeightRow;
}

QString TPrint01::sheetTitle(Sheet sheet)
{
    return sheet == Sheet::Weight ? u"【 体 重 】"_s : u"【脂肪重量】"_s;
}

QString TPrint01::instruction()
{
    return u"楽しみながら計るのが成功の秘訣。グラフを見ながら分析してみましょう。"_s;
}

QStringList TPrint01::tips()
{
    return {u"きれいなジグザグを描いて少しずつ下がって"_s, u"いくのがダイエットには理想的。"_s,
        u"「努力してるのに、グラフが横ばい！」"_s, u"でもご心配なく。結果は階段状に変化して"_s,
        u"ゆくものです。"_s};
}

QImage TPrint01::gridPicture()
{
    static const QImage grid = [] {
        QImage image(plotSize, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        paintGrid(&painter, QRectF(QPointF(0, 0), QSizeF(plotSize)));
        return image;
    }();
    return grid;
}

void TPrint01::paintGrid(QPainter *painter, const QRectF &target)
{
    const int width = plotSize.width();
    const int height = plotSize.height();
    painter->save();
    painter->translate(target.topLeft());
    painter->scale(target.width() / width, target.height() / height);
    const QColor tenth(10, 80, 161);
    const QColor kilogram(19, 0, 124);
    for (int k = 0; k < 8; ++k) {
        for (int j = 1; j <= 9; ++j)
            painter->fillRect(0, roundHalfToEven(1 + 75 * k + 7.5 * j), width, 1, tenth);
    }
    for (int k = 0; k <= 8; ++k)
        painter->fillRect(0, 75 * k, width, 3, kilogram); // 3 units centred on 1 + 75k
    for (int k = 0; k <= 32; ++k)
        painter->fillRect(1 + 30 * k, 0, 1, height, Qt::black);

    // Dots every other unit, starting on the first: single units where a unit is a pixel,
    // otherwise dashed lines, which a printer draws as vectors.
    if (ReportCanvas::mapsUnitsToPixels(*painter)) {
        for (int k = 0; k <= 30; ++k) {
            for (int y = 0; y < height; y += 2)
                painter->fillRect(46 + 30 * k, y, 1, 1, Qt::black);
        }
        for (int x = 0; x < width; x += 2)
            painter->fillRect(x, height - 1, 1, 1, Qt::black);
    } else {
        QPen dots(Qt::black, 1, Qt::CustomDashLine, Qt::FlatCap);
        dots.setDashPattern({1, 1});
        painter->setPen(dots);
        painter->setRenderHint(QPainter::Antialiasing, true);
        for (int k = 0; k <= 30; ++k)
            painter->drawLine(QPointF(46.5 + 30 * k, 0), QPointF(46.5 + 30 * k, height));
        painter->drawLine(QPointF(0, height - 0.5), QPointF(width, height - 0.5));
    }
    painter->restore();
}

int TPrint01::plotY(double value, int base)
{
    const double y = plotSize.height() - (value - (base - 4)) * unitsPerKilogram;
    return roundHalfToEven(std::clamp(y, -farOffSheet, farOffSheet));
}

int TPrint01::scaleBase(const TextGrid &table, Sheet sheet)
{
    const std::optional<double> first = readCellValue(table.cell(0, sheetRow(sheet)));
    if (!first) {
        const QString what = sheet == Sheet::Weight ? u"体重"_s : u"脂肪重量"_s;
        throw std::runtime_error(
            u"印刷するデータがありません（最初の%1の値がありません）"_s.arg(what).toStdString());
    }
    return graphLayout(table, sheetRow(sheet)).base;
}

bool TPrint01::isPrintable(const TextGrid &table)
{
    for (const Sheet sheet : {Sheet::Weight, Sheet::FatWeight}) {
        if (!readCellValue(table.cell(0, sheetRow(sheet))))
            return false;
    }
    return true;
}

void TPrint01::checkPrintable(const TextGrid &table)
{
    scaleBase(table, Sheet::Weight);
    scaleBase(table, Sheet::FatWeight);
}

void TPrint01::setArtwork(const QImage &heading, const QImage &illustration)
{
    QRImage3->setImage(heading);
    QRImage2->setImage(illustration);
}

void TPrint01::setAdviceLine(const QString &label20, const QString &label21)
{
    QRLabel3->setText(label20 + label21);
}

void TPrint01::fillSheet(const TextGrid &table, Sheet sheet, const SheetInput &input)
{
    const int row = sheetRow(sheet);
    const int base = scaleBase(table, sheet);

    QRLabel2->setText(sheetTitle(sheet));
    QRLabel4->setText(instruction());
    for (int k = 1; k <= 31; ++k)
        D[std::size_t(k - 1)]->setText(table.cell(2 * (k - 1), RecordLayout::DayRow));
    D[31]->setText(input.dayAfterTable);
    M1->setText(table.cell(0, RecordLayout::MonthRow) + u'/');
    M2->setText(QString::number(input.secondMonth) + u'/');
    M2->setLeft(88 + 30 * (input.secondMonthColumn / 2));

    QStringList scale;
    for (const int kg : axisKilograms(base))
        scale.append(QString::number(kg) + u"kg"_s);
    QRLabel1->setText(scale.join(QString(4, carriageReturn)));

    ReportCanvas &plot = QRImage4->canvas();
    plot.fillRect(QRect(QPoint(0, 0), plotSize), QColor(255, 255, 255));
    // scaleBase has checked that column 0 holds a value: the first point always exists.
    const GraphLayout layout = graphLayout(table, row);
    int lastX = 30;
    int lastY = plotY(*layout.first, base);
    plot.moveTo(QPoint(30, lastY));

    for (const GraphLayout::Step &step : layout.steps) {
        if (step.value) {
            const QPoint point(30 + 15 * step.column, plotY(*step.value, base));
            plot.setPen(1, QColor(255, 0, 0));
            plot.lineTo(point);
            lastX = point.x();
            lastY = point.y();
        }
        if (step.mood >= 0) {
            plot.copyRect(QRect(22 + 15 * step.column, std::max(lastY - 80, 0), 16, 16),
                input.moodIcons[std::size_t(step.mood)], QRect(0, 0, 16, 16));
        }
    }

    PlotP->setLeft(lastX + 71);
    PlotP->setTop(lastY + 103);
}

void TPrint01::fillWeightSheet(const TextGrid &table, const SheetInput &input)
{
    fillSheet(table, Sheet::Weight, input);
}

void TPrint01::fillFatWeightSheet(const TextGrid &table, const SheetInput &input)
{
    fillSheet(table, Sheet::FatWeight, input);
}

void TPrint01::renderTo(QPaintDevice *device) const
{
    QuickRep1.render(device);
}

QString TPrint01::documentName() const
{
    return u"ペミラ "_s + QRLabel2->text();
}

void TPrint01::print() const
{
    ReportPrinter::printToDefaultPrinter(QuickRep1, documentName());
}

void TPrint01::printBothSheets(const TextGrid &table, const SheetInput &input,
    const QString &label20, const QString &label21, const PagePrinter &printPage)
{
    checkPrintable(table);
    const PagePrinter send = printPage ? printPage : ReportPrinter::defaultPrinterSender();
    if (!send)
        throw std::runtime_error(ReportPrinter::noPrinterMessage().toStdString());

    setAdviceLine(label20, label21);
    for (const Sheet sheet : {Sheet::Weight, Sheet::FatWeight}) {
        fillSheet(table, sheet, input);
        send(QuickRep1, documentName());
    }
}
