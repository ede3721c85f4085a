// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryBench.h"

#include "Timing.h"
#include "app/HistoryWindow.h"
#include "history/HistoryFile.h"
#include "record/TextGrid.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace HistoryBench {

void run(void (*printRow)(const char *, double, double, int, double))
{
    QTemporaryDir folder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    const QString record = QDir(folder.path()).filePath(u"settemp.dat"_s);
    HistoryRows rows;
    const QDate first = QDate::currentDate().addDays(-3649);
    for (int i = 0; i < 7300; ++i) {
        HistoryEntry e;
        e.day = first.addDays(i / 2);
        e.eveningSlot = i % 2;
        e.time = QTime(e.eveningSlot ? 20 : 7, 15);
        e.sexCode = 2;
        e.age = 40;
        e.heightCm = 160;
        e.weightKg = float(58 + 4 * std::sin(i / 300.0) + (i % 7) * 0.1);
        e.bodyFatPercent = 27.5f;
        e.fatWeightKg = e.weightKg * 0.275f;
        e.bmi = 22.1f;
        e.bmrKcal = 1200;
        e.bodyType = 5;
        e.excessFatKg = 0.5f;
        e.mood = e.eveningSlot ? 1 + i % 4 : 0;
        rows[keyOf(e)] = e;
    }
    HistoryFile file(HistoryFile::pathFor(record));
    file.write(rows);

    HistoryEntry today = rows.rbegin()->second;
    const Timing append = Timing::of(200, [&] { file.append(today); });
    printRow("history: one measurement's line (7,300 kept)", append.medianMs, append.minMs,
        append.runs, 2);
    file.write(rows);

    const QString csv = QDir(folder.path()).filePath(u"out.csv"_s);
    const QDateTime now = QDateTime::currentDateTime();
    const Timing exported = Timing::of(20, [&] { exportHistoryCsv(record, csv, true, now); });
    printRow(
        "history: CSV export of 7,300 rows", exported.medianMs, exported.minMs, exported.runs, 100);

    const Timing shown = Timing::of(10, [&] {
        HistoryWindow::Options options;
        options.recordFile = record;
        HistoryWindow window(options);
        window.show();
        window.repaint();
        QApplication::processEvents();
    });
    printRow("history: window shown with 7,300 rows", shown.medianMs, shown.minMs, shown.runs, 200);
}

} // namespace HistoryBench
