// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: arbitrary bytes as the record file, through everything that reads the table:
// the codec, the profile, today's column, the day header, both graphs, both report sheets and the
// information page address. Failures the program reports (exceptions) are fine; crashes are not.
#include <QApplication>
#include <QByteArray>
#include <QDateTime>
#include <QImage>

#include "info/InfoPage.h"
#include "print/Print01.h"
#include "record/DayHeader.h"
#include "record/GraphPainter.h"
#include "record/MonthTable.h"
#include "record/StrGrdIO.h"
#include "record/TextGrid.h"

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

QImage solid(QRgb colour, QRgb centre)
{
    QImage image(GraphGeometry::FaceSize, GraphGeometry::FaceSize, QImage::Format_RGB32);
    image.fill(colour);
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x)
            image.setPixel(x, y, centre);
    return image;
}

struct Fixture
{
    MoodFaces faces;
    TPrint01::SheetInput sheetInput;
    // The program keeps one print form for its whole run, each fill over the last one's values.
    TPrint01 print;
    // Kept across runs as the window keeps its graph picture.
    QImage picture {GraphGeometry::Width, GraphGeometry::Height, QImage::Format_RGB32};
    QImage sheet;

    Fixture()
    {
        for (int i = 0; i < 4; ++i) {
            faces.faces[std::size_t(i)] = solid(qRgb(0, 0, 0), qRgb(60 * i, 200, 255 - 60 * i));
            faces.masks[std::size_t(i)] = solid(qRgb(255, 255, 255), qRgb(0, 0, 0));
            sheetInput.moodIcons[std::size_t(i)] = solid(qRgb(255, 255, 255), qRgb(200, 60 * i, 0));
        }
        // A null face must simply stay undrawn.
        faces.faces[3] = QImage();
        print.setArtwork(
            QImage(459, 35, QImage::Format_ARGB32), QImage(167, 95, QImage::Format_ARGB32));
        print.setAdviceLine(u"助言"_s, u"もう一行"_s);
        // A quarter of the report's own resolution keeps each run cheap but paints every element.
        sheet = QImage(print.page().size() / 4, QImage::Format_RGB32);
        sheet.setDotsPerMeterX(qRound(24 / 0.0254));
        sheet.setDotsPerMeterY(qRound(24 / 0.0254));
    }
};

Fixture *fixture = nullptr;

template<typename F> void allowingReportedFailure(F work)
{
    try {
        work();
    } catch (const std::exception &) { }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // libFuzzer's own options stay away from Qt's argument parsing.
    static int argc = 1;
    static char name[] = "fuzz_record";
    static char *argv[] = {name, nullptr};
    new QApplication(argc, argv);
    fixture = new Fixture;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));

    // The program's own load: a fixed 62 x 16 table, "," and no quotes. Refused bytes (a zero
    // byte) leave it empty, as the program's new month does.
    TextGrid table(RecordLayout::Columns, RecordLayout::Rows);
    allowingReportedFailure([&] { TStringGridIO::parse(bytes, table, u","_s, false); });
    // The codec's other modes, which the program never uses but the component offers.
    allowingReportedFailure([&] {
        TextGrid stretched(3, 3);
        TStringGridIO::parse(bytes, stretched, u","_s, true, true);
        TStringGridIO::serialize(stretched, u","_s, true);
    });

    std::optional<Profile> profile;
    allowingReportedFailure([&] { profile = restoreProfile(table); });
    const int secondMonthColumn = profile ? profile->secondMonthColumn : RecordLayout::Columns;
    const int secondMonth = profile ? profile->secondMonth : 1;

    const QDateTime now(QDate(2024, 5, 3), QTime(7, 5));
    const TodayLocation today = locateToday(table, now);
    dayHeaderTexts(table, secondMonthColumn, secondMonth);

    for (const int row : {RecordLayout::WeightRow, RecordLayout::FatWeightRow}) {
        paintGraphBackground(fixture->picture);
        plotRow(fixture->picture, table, row, fixture->faces, QColor(0, 0, 128));
    }

    TPrint01::SheetInput input = fixture->sheetInput;
    input.secondMonthColumn = secondMonthColumn;
    input.secondMonth = secondMonth;
    for (const auto sheet : {TPrint01::Sheet::Weight, TPrint01::Sheet::FatWeight}) {
        allowingReportedFailure([&] {
            fixture->print.fillSheet(table, sheet, input);
            fixture->sheet.fill(Qt::white);
            fixture->print.renderTo(&fixture->sheet);
        });
    }

    const int column = today.usedUp ? RecordLayout::Columns - 1 : today.todayColumn;
    InfoPage::pageAddress(InfoPage::defaultInfoBase(), InfoPage::bodyTypeText(table, column));
    return 0;
}
