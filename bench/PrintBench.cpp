// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrintBench.h"

#include "FullMonth.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "app/ErrorReport.h"
#include "app/QXCALC.h"
#include "controls/PictBtn.h"
#include "record/StrGrdIO.h"
#include "report/ReportPrinter.h"

using namespace Qt::StringLiterals;

namespace {
QString failure;

std::optional<Timing> fail(const QString &why)
{
    failure = why;
    return std::nullopt;
}
} // namespace

std::optional<Timing> PrintBench::run(int runs)
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
    {
        const FullMonth month(start);
        QFile record(folder.filePath(u"settemp.dat"_s));
        if (!record.open(QIODevice::WriteOnly)
            || !record.write(TStringGridIO::serialize(month.table, u","_s, false)))
            return fail(u"cannot write the record"_s);
    }
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

    std::optional<Timing> timing = Timing::of(runs, [&] {
        QTest::mouseClick(open, Qt::LeftButton);
        QTest::mouseClick(print, Qt::LeftButton);
    });
    if (!reported.isEmpty())
        return fail(u"the window reported: "_s + reported.first());
    return timing;
}

QString PrintBench::why()
{
    return failure;
}
