// SPDX-License-Identifier: GPL-3.0-or-later
// The history that belongs to one record: where the record's measurements go besides the month
// table, and what the history window and the command line read. Nothing is read at start; the
// file is first looked at when a measurement is kept or the history is asked for.
#pragma once

#include "history/HistoryFile.h"

#include <QDateTime>

class TextGrid;

// Asked once per run when the record's 31 days are over.
QString newMonthQuestion();

class RecordHistory
{
public:
    explicit RecordHistory(const QString &recordPath);
    QString path() const { return m_file.path(); }

    // A measurement the record received (a later one for the same day and slot replaces it; an
    // evening's mood comes with its row). table: the record as it now is; the first time a
    // history is made, the measurements it already holds are kept too. Throws std::runtime_error
    // with the notice to show.
    void record(const HistoryEntry &entry, const TextGrid &table, const QDate &today);
    // Before a record's table is given up: a history not begun yet begins with its measurements.
    void keepRecord(const TextGrid &table, const QDate &today);
    // The evening mood of a row already kept.
    void setMood(const QDate &day, int eveningSlot, int mood);

    // Every row kept. Without a history file yet, the record's measurements (table may be null:
    // none). A damaged file is kept aside, notice says so, and the history begins again from the
    // record. write: whether a history made or tidied here is saved.
    HistoryRows rows(const TextGrid *table, const QDateTime &now, QString *notice, bool write);
    // Replaces every row (an import, forgetting everything).
    void replace(const HistoryRows &rows);

private:
    HistoryFile m_file;
    // The row last recorded, so a mood set right after needs no read.
    std::optional<HistoryEntry> m_last;
};
