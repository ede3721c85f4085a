// SPDX-License-Identifier: GPL-3.0-or-later
#include "MeasurementBench.h"

#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "app/ErrorReport.h"
#include "app/QXCALC.h"
#include "controls/PictBtn.h"
#include "record/MonthTable.h"
#include "record/StrGrdIO.h"

using namespace Qt::StringLiterals;

namespace {
QString failure;

std::optional<Timing> fail(const QString &why)
{
    failure = why;
    return std::nullopt;
}
} // namespace

std::optional<Timing> MeasurementBench::run(int runs)
{
    QStringList reported;
    ErrorReport::setHook([&](const QString &text) { reported << text; });
    struct Unhook
    {
        ~Unhook() { ErrorReport::setHook(nullptr); }
    } unhook;

    // The record is saved durably on every press, so the folder lies on the machine's own disk.
    QTemporaryDir folder;
    TQXCALC::Options options;
    options.appFolder = QDir(folder.path()).absolutePath() + u'/';
    // A morning: every press is a first-slot measurement, assessed and saved at once.
    options.clock = [] { return QDateTime(QDate(2024, 5, 3), QTime(7, 5)); };
    TQXCALC window(options);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return fail(u"the window was not shown"_s);

    auto *male = window.findChild<TPictureButton *>(u"PictureButton1"_s);
    auto *calculate = window.findChild<TPictureButton *>(u"PictureButton3"_s);
    if (!male || !calculate)
        return fail(u"PictureButton1 or PictureButton3 not found"_s);
    QTest::mouseClick(male, Qt::LeftButton);
    const std::pair<const char *, QString> inputs[] = {{"RightEdit1", u"35"_s},
        {"RightEdit2", u"170.0"_s}, {"RightEdit3", u"72.0"_s}, {"RightEdit4", u"24.0"_s}};
    for (const auto &[name, text] : inputs) {
        auto *edit = window.findChild<QLineEdit *>(QString::fromLatin1(name));
        if (!edit)
            return fail(QString::fromLatin1(name) + u" not found"_s);
        edit->setText(text);
    }
    if (!calculate->isEnabled())
        return fail(u"the calculate button stays disabled"_s);

    const Timing timing = Timing::of(runs, [&] {
        QTest::mouseClick(calculate, Qt::LeftButton);
        // The press is done when its results and graph are on screen, not merely scheduled.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    });
    if (!reported.isEmpty())
        return fail(u"the window reported: "_s + reported.first());

    TextGrid saved(RecordLayout::Columns, RecordLayout::Rows);
    TStringGridIO io(&saved);
    io.LoadFromFile(recordFilePath(options.appFolder), u","_s, false);
    if (!(saved == window.recordTable()) || saved.cell(0, 3).isEmpty())
        return fail(u"the record file does not hold the measurement"_s);
    return timing;
}

QString MeasurementBench::why()
{
    return failure;
}
