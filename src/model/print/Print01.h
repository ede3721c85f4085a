// SPDX-License-Identifier: GPL-3.0-or-later
// The print form: the fixed report page of the graph sheets (weight, fat weight), filled from
// the record table and printed one sheet per job. Holds the values of its last fill.
#pragma once

#include "report/ReportPage.h"

#include <QImage>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

class QPainter;
class ReportCanvas;
class ReportImage;
class ReportLabel;
class ReportPicture;
class ReportRichText;
class TextGrid;

class TPrint01
{
public:
    enum class Sheet { Weight, FatWeight };

    // What the main window knows beside the table itself.
    struct SheetInput
    {
        int secondMonthColumn = 62;
        int secondMonth = 1;
        QString dayAfterTable; // empty when the table came from the record file
        std::array<QImage, 4> moodIcons = printMoodIcons(); // mood codes "1".."4", 16 x 16
    };

    // Hands one filled page to a printer; the default sends it to the system's default printer.
    using PagePrinter = std::function<void(const ReportPage &page, const QString &documentName)>;

    TPrint01();
    ~TPrint01();
    TPrint01(const TPrint01 &) = delete;
    TPrint01 &operator=(const TPrint01 &) = delete;

    // The program's faces on white, for codes "1".."4".
    static std::array<QImage, 4> printMoodIcons();
    static int sheetRow(Sheet sheet);
    static QString sheetTitle(Sheet sheet);
    static QString instruction();
    static QStringList tips();
    // The 962 x 602 grid drawn over the plot: transparent but for its lines. Built once.
    static QImage gridPicture();
    // y of a value for scale base b, 75.25 units per kilogram, an exact half to even. Values far
    // off the scale are held 65536 units away so no integer can overflow.
    static int plotY(double value, int base);
    // Integer part of column 0's value on the sheet's row, held within +-100000; throws when the
    // cell is empty or holds no finite number.
    static int scaleBase(const TextGrid &table, Sheet sheet);
    // Both sheets have their first value: checkPrintable throws scaleBase's error when not.
    static bool isPrintable(const TextGrid &table);
    static void checkPrintable(const TextGrid &table);
    // The grid drawn as lines, scaled to target: sharp on paper, and on a bitmap of one pixel
    // per unit exactly gridPicture().
    static void paintGrid(QPainter *painter, const QRectF &target);

    // The heading and the illustration are the program's own artwork unless replaced here.
    void setArtwork(const QImage &heading, const QImage &illustration);
    // The advice line is both texts joined without a separator.
    void setAdviceLine(const QString &label20, const QString &label21);
    // Throws before changing anything when column 0 of the sheet's row holds no number.
    void fillSheet(const TextGrid &table, Sheet sheet, const SheetInput &input);
    void fillWeightSheet(const TextGrid &table, const SheetInput &input);
    void fillFatWeightSheet(const TextGrid &table, const SheetInput &input);

    void renderTo(QPaintDevice *device) const;
    // One job of one page to the default printer; throws on any failure.
    void print() const;
    // Advice line, weight sheet, print, fat-weight sheet, print. Everything that can be known
    // to fail (no first value on either sheet, no default printer) throws before the first job.
    void printBothSheets(const TextGrid &table, const SheetInput &input, const QString &label20,
        const QString &label21, const PagePrinter &printPage = {});

    const ReportPage &page() const { return QuickRep1; }

private:
    QString documentName() const;

    ReportPage QuickRep1;
    ReportBand *DetailBand1 = nullptr;
    std::array<ReportLabel *, 32> D {};
    ReportLabel *M1 = nullptr;
    ReportPicture *QRImage3 = nullptr;
    ReportLabel *QRLabel2 = nullptr;
    ReportLabel *QRLabel3 = nullptr;
    ReportLabel *QRLabel4 = nullptr;
    ReportRichText *QRRichText1 = nullptr;
    ReportPicture *QRImage2 = nullptr;
    ReportLabel *M2 = nullptr;
    ReportLabel *QRLabel1 = nullptr;
    ReportImage *QRImage4 = nullptr;
    ReportPicture *QRImage1 = nullptr;
    ReportLabel *PlotP = nullptr;
};
