// SPDX-License-Identifier: GPL-3.0-or-later
// The record file as this run knows it: read once at start, a damaged one kept aside, another copy
// put in place meanwhile noticed before a save could overwrite it, and saves whose failures reach
// the person in the record module's words. The file side of MonthRecord, which owns the table.
#pragma once

#include "record/RecordFile.h"

#include <QString>

#include <optional>

class QDateTime;
class TextGrid;

class RecordKeeper
{
public:
    // folderToMake is made by the first save; empty: the record's folder must exist.
    RecordKeeper(QString path, QString folderToMake);

    QString path() const { return m_path; }

    // The record as it is at start; throws when its table cannot be read into table.
    void load(TextGrid &table);
    // After a failed load: whether a record that held something is to be kept aside before the
    // first measurement could replace it. It is never overwritten unread meanwhile.
    bool damagedAtStart();
    // Moves the damaged record aside; the notice to show.
    QString keepAside(const QDateTime &now);

    enum class Reconciled {
        Unchanged, // the file is as this run left it, or gone
        Merged,    // another copy of the same month: it took today's measurement
        Replaced,  // another month: table now holds it and the caller adopts it
    };
    // Reads the record before a save. Throws when another copy cannot be read.
    Reconciled reconcile(TextGrid &table, int todayColumn);
    // Throws with the notice to show; the old file is then untouched.
    void save(TextGrid &table);
    // False when there was a record and it could not be removed.
    bool remove();

private:
    QString m_path;
    QString m_folderToMake;
    RecordOnDisk m_atStart;
    // The file as this run last read or wrote it; empty: unknown, so a save reads it first.
    std::optional<RecordOnDisk> m_known;
};
