// SPDX-License-Identifier: GPL-3.0-or-later
// Measurements read from a CSV file: this program's own export, or a tracker's (a header naming a
// date or date-time column and a weight column, optionally body fat, any order). All or nothing:
// the first row that cannot be taken refuses the whole file.
#pragma once

#include "history/HistoryTable.h"

#include <QDateTime>

#include <stdexcept>

namespace HistoryImport {

// Largest file read; ten years of two measurements a day take well under a megabyte.
constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

// Why a file was refused: line 0 for the whole file. english for the command line, japanese for
// the window.
class Refused : public std::runtime_error
{
public:
    Refused(int line, const QString &english, QString japanese);
    int line;
    QString english;
    QString japanese;
};

struct Outcome
{
    HistoryRows rows; // the history with the new rows
    int added = 0;
    int skipped = 0; // a day and slot already kept
};

// Merges the file's rows into existing. now: no row may lie after its record day. Throws Refused.
Outcome merge(const QByteArray &bytes, const HistoryRows &existing, const QDateTime &now);
// Reads the file (a regular file up to MaxFileSize) and merges it; throws Refused.
Outcome mergeFile(const QString &path, const HistoryRows &existing, const QDateTime &now);

// "Added N rows, skipped M." in both languages.
QString summaryJapanese(const Outcome &outcome);
QString summaryEnglish(const Outcome &outcome);

} // namespace HistoryImport
