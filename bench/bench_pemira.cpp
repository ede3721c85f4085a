// SPDX-License-Identifier: GPL-3.0-or-later
// Prints the program's speed and size figures: a measurement, a graph, a report sheet, and the
// start-up time and peak memory against a minimal Qt Widgets program shown the same way.
#include "ChildRun.h"
#include "FullMonth.h"
#include "HistoryBench.h"
#include "InfoBench.h"
#include "MeasurementBench.h"
#include "PrintBench.h"
#include "Timing.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPdfWriter>
#include <QTemporaryDir>

#include "artwork/Artwork.h"
#include "info/BrowserEngine.h"
#include "print/Print01.h"
#include "print/SheetPdf.h"
#include "record/GraphPainter.h"
#include "record/StrGrdIO.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

struct Options
{
    int startupRuns = 15;
    int repeats = 1;
    QString display; // X display for the second set of start-up runs; none: offscreen only
    bool startup = true;
    bool inProcess = true;
    int infoRuns = 5;
};

void printRow(const char *name, const Timing &t, double targetMs)
{
    std::printf("%-44s %9.3f ms %9.3f ms %9.3f ms %6d   < %g ms  %s\n", name, t.medianMs, t.minMs,
        t.cpuMedianMs, t.runs, targetMs, t.medianMs < targetMs ? "met" : "MISSED");
}

MoodFaces moodFaces()
{
    MoodFaces faces;
    for (int code = 1; code <= 4; ++code) {
        faces.faces[std::size_t(code - 1)] = moodFace(code, MoodFaceSet::OnBlack);
        faces.masks[std::size_t(code - 1)] = moodFace(code, MoodFaceSet::Mask);
    }
    return faces;
}

TPrint01::SheetInput sheetInput(const FullMonth &month)
{
    TPrint01::SheetInput input;
    input.secondMonthColumn = month.markers.secondMonthColumn;
    input.secondMonth = month.markers.secondMonth;
    input.dayAfterTable = month.markers.dayAfterTable;
    for (int code = 1; code <= 4; ++code)
        input.moodIcons[std::size_t(code - 1)] = moodFace(code, MoodFaceSet::OnWhite);
    return input;
}

void runInProcess()
{
    const FullMonth month(QDateTime::currentDateTime().addDays(-20));
    std::printf("%-44s %12s %12s %12s %6s   %s\n", "benchmark", "median", "min", "median CPU",
        "runs", "target");

    if (const std::optional<Timing> t = MeasurementBench::run(500))
        printRow("measurement (calculate -> shown, saved)", *t, 5);
    else
        std::printf(
            "%-44s not available: %s\n", "measurement", qPrintable(MeasurementBench::why()));

    {
        // The durable save alone, to tell the disk's share of a measurement from the program's.
        QTemporaryDir folder;
        TextGrid table = month.table;
        TStringGridIO io(&table);
        const QString file = recordFilePath(QDir(folder.path()).absolutePath() + u'/');
        printRow("  of which: record save (flushed to disk)",
            Timing::of(200, [&] { io.SaveToFile(file, u","_s, false); }), 5);
    }

    HistoryBench::run([](const char *name, double median, double minimum, int runs, double target) {
        Timing t;
        t.medianMs = median;
        t.minMs = minimum;
        t.runs = runs;
        printRow(name, t, target);
    });

    const MoodFaces faces = moodFaces();
    QImage picture(GraphGeometry::Width, GraphGeometry::Height, QImage::Format_RGB32);
    const QColor reference(0, 0, 128);
    printRow("graph: background + weight month, moods",
        Timing::of(2000,
            [&] {
                paintGraphBackground(picture);
                plotRow(picture, month.table, RecordLayout::WeightRow, faces, reference);
            }),
        1);
    printRow("graph: background + fat-weight month, moods",
        Timing::of(2000,
            [&] {
                paintGraphBackground(picture);
                plotRow(picture, month.table, RecordLayout::FatWeightRow, faces, reference);
            }),
        1);

    TPrint01 print;
    print.setArtwork(reportHeading(), reportIllustration());
    print.setAdviceLine(u"まずは体脂肪を減らしましょう。"_s, u"毎日続けることが大切です。"_s);
    const TPrint01::SheetInput input = sheetInput(month);
    constexpr int dpi = 600;
    const QSize units = print.page().size();
    QImage sheet(units * dpi / 96, QImage::Format_RGB32);
    sheet.setDotsPerMeterX(qRound(dpi / 0.0254));
    sheet.setDotsPerMeterY(qRound(dpi / 0.0254));
    printRow("report sheet: fill + render 600 dpi image",
        Timing::of(15,
            [&] {
                print.fillWeightSheet(month.table, input);
                sheet.fill(Qt::white);
                print.renderTo(&sheet);
            }),
        150);
    printRow("report sheet: fill + render 600 dpi PDF",
        Timing::of(15,
            [&] {
                print.fillFatWeightSheet(month.table, input);
                QBuffer pdf;
                pdf.open(QIODevice::WriteOnly);
                QPdfWriter writer(&pdf);
                writer.setResolution(dpi);
                writer.setPageLayout(print.page().pageLayout());
                print.renderTo(&writer);
            }),
        150);

    {
        // Both sheets into one PDF file, as the window without a printer and --export-pdf do.
        QTemporaryDir folder;
        const QString file = folder.filePath(u"sheets.pdf"_s);
        printRow("report: both sheets exported as one PDF file",
            Timing::of(15,
                [&] {
                    SheetPdf::write(print, month.table, input, u"まずは体脂肪を減らしましょう。"_s,
                        u"毎日続けることが大切です。"_s, file);
                }),
            60);
    }

    // Both jobs go to the real default printer: the click as the person makes it.
    if (const auto figures = PrintBench::run(10)) {
        printRow("print: clicks on the pop-up and start (hold)", figures->hold, 100);
        printRow("  both jobs handed over after the click", figures->handedOver, 1000);
    } else
        std::printf("%-44s not available: %s\n", "print click", qPrintable(PrintBench::why()));
}

void runInfo(int runs)
{
    // The first press of the information button in a run, each in a fresh process.
    const auto figures = InfoBench::run(QCoreApplication::applicationFilePath(), runs);
    if (!figures) {
        std::printf("%-44s not available: %s\n", "info click", qPrintable(InfoBench::why()));
        return;
    }
    auto row = [&](const char *name, double InfoBench::Figures::*field, double target) {
        std::vector<double> values;
        for (const InfoBench::Figures &f : *figures)
            values.push_back(f.*field);
        const double median = Timing::median(values);
        std::printf("%-44s %9.3f ms %9.3f ms %9.3f ms %6zu   < %g ms  %s\n", name, median,
            *std::min_element(values.begin(), values.end()),
            *std::max_element(values.begin(), values.end()), values.size(), target,
            median < target ? "met" : "MISSED");
    };
    std::printf("%-44s %12s %12s %12s %6s   %s\n", "first information page (fresh process)",
        "median", "min", "max", "runs", "target");
    row("info: click handler", &InfoBench::Figures::clickMs, 100);
    row("info: longest hold of the window", &InfoBench::Figures::longestHoldMs, 100);
    row("  of which the window's thread ran (CPU)", &InfoBench::Figures::longestHoldCpuMs, 100);
    row("info: page drawn after the click", &InfoBench::Figures::drawnMs, 600);
}

struct StartupFigures
{
    std::vector<double> ms;
    std::vector<double> mb;
    std::vector<double> cpuMs;
    int failures = 0;
    QString lastError;
};

void runStartup(const Options &options, const QString &binFolder)
{
    // The program keeps its record beside itself: give it a private folder with a month in it.
    QTemporaryDir folder;
    const QString pemira = folder.filePath(u"bench_startup"_s);
    if (!QFile::copy(binFolder + u"/bench_startup"_s, pemira)) {
        std::printf("start-up: cannot copy bench_startup\n");
        return;
    }
    QFile::setPermissions(pemira, QFile::permissions(pemira) | QFile::ExeOwner);
    // Its plugins beside it as in a real installation, so a start that loaded one would show.
    for (const QString &plugin : {u"libpemira_output.so"_s, u"libpemira_browser.so"_s}) {
        if (QFile::exists(binFolder + u'/' + plugin))
            QFile::copy(binFolder + u'/' + plugin, folder.filePath(plugin));
    }
    if (!FullMonth(QDateTime::currentDateTime().addDays(-20))
             .writeRecord(folder.filePath(u"settemp.dat"_s))) {
        std::printf("start-up: cannot write the record\n");
        return;
    }
    const QString floor = binFolder + u"/bench_floor"_s;
    const QString runtimeDir = folder.filePath(u"xdg"_s);
    QDir().mkpath(runtimeDir);
    QFile::setPermissions(runtimeDir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    struct Platform
    {
        const char *name;
        QStringList environment;
        QStringList unset;
    };
    std::vector<Platform> platforms {
        {"offscreen", {u"QT_QPA_PLATFORM=offscreen"_s}, {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s}},
    };
    if (!options.display.isEmpty())
        platforms.push_back({"Xvfb", {u"QT_QPA_PLATFORM=xcb"_s, u"DISPLAY="_s + options.display},
            {u"WAYLAND_DISPLAY"_s}});

    std::printf("\n%-10s %-8s %10s %10s %10s %10s %5s  %s\n", "start-up", "program", "median",
        "min", "CPU", "peak RSS", "runs", "ratio to floor (target <= 1.05)");
    for (Platform &platform : platforms) {
        platform.environment << u"XDG_RUNTIME_DIR="_s + runtimeDir << u"LANG=C.UTF-8"_s;
        StartupFigures figures[2];
        const QString programs[2] = {floor, pemira};
        for (int round = 0; round < options.startupRuns; ++round) {
            // Alternate which program goes first so drift and cache warmth fall on both alike.
            for (int k = 0; k < 2; ++k) {
                const int which = (round + k) % 2;
                const ChildRun run
                    = ChildRun::start(programs[which], platform.environment, platform.unset, 20000);
                if (!run.ok) {
                    ++figures[which].failures;
                    figures[which].lastError = run.error;
                    continue;
                }
                figures[which].ms.push_back(run.firstPaintMs);
                figures[which].mb.push_back(run.peakKb / 1024.0);
                figures[which].cpuMs.push_back(run.cpuMs);
            }
        }
        const char *names[2] = {"floor", "pemira"};
        double medianMs[2], medianMb[2], medianCpu[2];
        for (int which = 0; which < 2; ++which) {
            const StartupFigures &f = figures[which];
            medianMs[which] = Timing::median(f.ms);
            medianMb[which] = Timing::median(f.mb);
            medianCpu[which] = Timing::median(f.cpuMs);
            const double minMs = f.ms.empty() ? 0 : *std::min_element(f.ms.begin(), f.ms.end());
            std::printf("%-10s %-8s %7.1f ms %7.1f ms %7.1f ms %7.1f MB %5zu", platform.name,
                names[which], medianMs[which], minMs, medianCpu[which], medianMb[which],
                f.ms.size());
            if (f.failures)
                std::printf("  (%d failed: %s)", f.failures, qPrintable(f.lastError));
            if (which == 1 && (figures[0].ms.empty() || figures[1].ms.empty())) {
                std::printf("  FAILED");
            } else if (which == 1 && medianMs[0] > 0 && medianMb[0] > 0) {
                const double time = medianMs[1] / medianMs[0];
                const double memory = medianMb[1] / medianMb[0];
                std::printf("  time %.2f x, memory %.2f x  %s  (CPU %.2f x)", time, memory,
                    time <= 1.05 && memory <= 1.05 ? "met" : "MISSED",
                    medianCpu[0] > 0 ? medianCpu[1] / medianCpu[0] : 0.0);
            }
            std::printf("\n");
        }
    }
}

Options parse(const QStringList &arguments)
{
    Options options;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        const QString next = i + 1 < arguments.size() ? arguments.at(i + 1) : QString();
        if (a == u"--startup-runs"_s) {
            options.startupRuns = qMax(1, next.toInt());
            ++i;
        } else if (a == u"--display"_s) {
            options.display = next;
            ++i;
        } else if (a == u"--info-runs"_s) {
            options.infoRuns = qMax(0, next.toInt());
            ++i;
        } else if (a == u"--no-startup"_s) {
            options.startup = false;
        } else if (a == u"--startup-only"_s) {
            options.inProcess = false;
        } else {
            std::fprintf(stderr,
                "usage: bench_pemira [--startup-runs N] [--info-runs N] [--display :N] "
                "[--no-startup | --startup-only]\n"
                "  --display: also time start-up on that X server (e.g. Xvfb)\n");
            std::exit(2);
        }
    }
    return options;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 2 && qstrcmp(argv[1], InfoBench::childArgument()) == 0) {
        // As the program does: the engine, loaded late from its plugin, needs this first.
        prepareBrowserEngine();
        QApplication app(argc, argv);
        return InfoBench::runChild();
    }
    QApplication app(argc, argv);
    const Options options = parse(QCoreApplication::arguments());
    if (options.inProcess) {
        runInProcess();
        if (options.infoRuns > 0)
            runInfo(options.infoRuns);
    }
    if (options.startup)
        runStartup(options, QCoreApplication::applicationDirPath());
    return 0;
}
