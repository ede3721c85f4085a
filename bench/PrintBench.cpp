// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrintBench.h"

#include "FullMonth.h"

#include <QDir>
#include <QWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/ErrorReport.h"
#include "app/QXCALC.h"
#include "controls/PictBtn.h"
#include "report/ReportPrinter.h"

#include <algorithm>
#include <chrono>

using namespace Qt::StringLiterals;

namespace {
QString failure;

std::nullopt_t fail(const QString &why)
{
    failure = why;
    return std::nullopt;
}
} // namespace

std::optional<PrintBench::Figures> PrintBench::run(int runs)
{
    if (!ReportPrinter::hasDefaultPrinter())
        return fail(u"no default printer (tools/printer.sh start)"_s);
    QStringList reported;
    ErrorReport::setHook([&](const QString &text) { reported << text; });
    struct Unhook
    {
        ~Unhook() { ErrorReport::setHook(nullptr); }
    } unhook;

    QTemporaryDir folder;
    const QDateTime start = QDateTime::currentDateTime().addDays(-20);
    if (!FullMonth(start).writeRecord(folder.filePath(u"settemp.dat"_s)))
        return fail(u"cannot write the record"_s);
    TQXCALC::Options options;
    options.appFolder = QDir(folder.path()).absolutePath() + u'/';
    options.clock = [start] { return start.addDays(20); };
    TQXCALC window(options);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return fail(u"the window was not shown"_s);
    auto *open = window.findChild<TPictureButton *>(u"PictureButton6"_s);
    auto *print = window.findChild<TPictureButton *>(u"PictureButton7"_s);
    if (!open || !print || !open->isEnabled())
        return fail(u"the print buttons are missing or disabled"_s);

    QWidget *popup = window.findChild<QWidget *>(u"Panel7"_s);
    std::chrono::steady_clock::time_point clicked;
    std::vector<double> handedOver;
    bool stuck = false;
    Figures figures;
    figures.hold = Timing::of(
        runs,
        [&] {
            clicked = std::chrono::steady_clock::now();
            QTest::mouseClick(open, Qt::LeftButton);
            QTest::mouseClick(print, Qt::LeftButton);
        },
        [&] {
            // The pop-up closes once both jobs are with the print system.
            if (!QTest::qWaitFor([&] { return !popup->isVisible(); }, 20000))
                stuck = true;
            handedOver.push_back(std::chrono::duration<double, std::milli>(
                std::chrono::steady_clock::now() - clicked)
                                     .count());
        });
    if (!reported.isEmpty())
        return fail(u"the window reported: "_s + reported.first());
    if (stuck)
        return fail(u"the print pop-up did not close"_s);
    handedOver.erase(handedOver.begin()); // the untimed first run
    figures.handedOver.runs = int(handedOver.size());
    figures.handedOver.medianMs = Timing::median(handedOver);
    figures.handedOver.minMs = *std::min_element(handedOver.begin(), handedOver.end());
    figures.handedOver.maxMs = *std::max_element(handedOver.begin(), handedOver.end());
    return figures;
}

QString PrintBench::why()
{
    return failure;
}
