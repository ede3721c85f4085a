// SPDX-License-Identifier: GPL-3.0-or-later
#include "InfoBench.h"

#include "FullMonth.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/ErrorReport.h"
#include "app/QXCALC.h"
#include "controls/PictBtn.h"
#include "info/InfoBrowserHost.h"
#include "info/InfoPage.h"

#include <cstdio>
#include <ctime>

using namespace Qt::StringLiterals;

namespace {

QString failure;

// The rule under the heading of every page the program carries.
bool pageDrawn(QWidget *browser)
{
    const QImage image = browser->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int rule = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            rule += line[x] == qRgb(0x24, 0x84, 0xdb);
    }
    return rule > 200;
}

// Processor time of the calling thread: a gap in which the window's thread got little of it was
// the machine's other work, not ours.
double threadCpuMs()
{
    timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

} // namespace

int InfoBench::runChild()
{
    QStringList reported;
    ErrorReport::setHook([&](const QString &text) { reported << text; });
    QTemporaryDir folder;
    const QDateTime start = QDateTime::currentDateTime().addDays(-20);
    if (!FullMonth(start).writeRecord(folder.filePath(u"settemp.dat"_s)))
        return 3;
    TQXCALC::Options options;
    options.appFolder = QDir(folder.path()).absolutePath() + u'/';
    options.clock = [start] { return start.addDays(20); };
    options.infoBase = InfoPage::bundledInfoBase();
    TQXCALC window(options);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 4;
    auto *expand = window.findChild<QWidget *>(u"Panel14"_s);
    auto *info = window.findChild<TPictureButton *>(u"PictureButton8"_s);
    auto *browser = window.findChild<InfoBrowserHost *>(u"WebBrowser1"_s);
    if (!expand || !info || !browser)
        return 5;
    QTest::mouseClick(expand, Qt::LeftButton);
    QTest::qWait(200);

    bool completed = false;
    QObject::connect(browser, &InfoBrowserHost::navigateComplete, [&] { completed = true; });
    // A timer that should fire every TickMs: any longer gap is time the window was held.
    constexpr double TickMs = 2;
    QElapsedTimer clock;
    QEventLoop loop;
    double lastTick = 0, longestGap = 0, longestGapCpu = 0, lastCpu = 0, drawnMs = -1;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(int(TickMs));
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const double now = clock.nsecsElapsed() / 1e6;
        const double cpu = threadCpuMs();
        if (now - lastTick - TickMs > longestGap) {
            longestGap = now - lastTick - TickMs;
            longestGapCpu = cpu - lastCpu;
        }
        lastTick = now;
        if (completed && drawnMs < 0 && pageDrawn(browser)) {
            drawnMs = now;
            ticker.stop();
            QTimer::singleShot(0, &loop, &QEventLoop::quit);
        }
        // The look at the area is the bench's own work, not the window's.
        lastTick = clock.nsecsElapsed() / 1e6;
        lastCpu = threadCpuMs();
    });

    clock.start();
    QTest::mouseClick(info, Qt::LeftButton);
    const double clickMs = clock.nsecsElapsed() / 1e6;
    lastTick = clickMs;
    lastCpu = threadCpuMs();
    ticker.start();
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    loop.exec();
    ErrorReport::setHook(nullptr);
    if (!reported.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(reported.first()));
        return 6;
    }
    if (drawnMs < 0)
        return 7;
    std::printf("info %.3f %.3f %.3f %.3f\n", clickMs, std::max(clickMs, longestGap), drawnMs,
        longestGapCpu);
    return 0;
}

std::optional<std::vector<InfoBench::Figures>> InfoBench::run(const QString &program, int runs)
{
    std::vector<Figures> figures;
    for (int i = 0; i < runs; ++i) {
        QProcess child;
        child.start(program, {QString::fromLatin1(childArgument())});
        if (!child.waitForFinished(60000) || child.exitCode() != 0) {
            failure = u"child run failed (exit %1): %2"_s.arg(child.exitCode())
                          .arg(QString::fromLocal8Bit(child.readAllStandardError()).trimmed());
            return std::nullopt;
        }
        const QList<QByteArray> fields
            = child.readAllStandardOutput().trimmed().split('\n').last().split(' ');
        if (fields.size() != 5 || fields.at(0) != "info") {
            failure = u"child printed no figures"_s;
            return std::nullopt;
        }
        figures.push_back({fields.at(1).toDouble(), fields.at(2).toDouble(),
            fields.at(3).toDouble(), fields.at(4).toDouble()});
    }
    return figures;
}

QString InfoBench::why()
{
    return failure;
}
