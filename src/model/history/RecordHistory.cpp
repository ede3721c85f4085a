// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecordHistory.h"

#include "record/MonthTable.h"

using namespace Qt::StringLiterals;

RecordHistory::RecordHistory(const QString &recordPath)
    : m_file(HistoryFile::pathFor(recordPath))
{ }

void RecordHistory::record(const HistoryEntry &entry, const TextGrid &table, const QDate &today)
{
    HistoryRows rows;
    if (!m_file.exists())
        rows = historyFromRecord(table, today);
    rows[keyOf(entry)] = entry;
    m_file.append(rows);
    m_last = entry;
}

void RecordHistory::keepRecord(const TextGrid &table, const QDate &today)
{
    if (!m_file.exists())
        m_file.append(historyFromRecord(table, today));
}

void RecordHistory::setMood(const QDate &day, int eveningSlot, int mood)
{
    HistoryEntry entry;
    if (m_last && m_last->day == day && m_last->eveningSlot == eveningSlot) {
        entry = *m_last;
    } else {
        const HistoryRows kept = m_file.read();
        const auto found = kept.find({day, eveningSlot});
        if (found == kept.end())
            return;
        entry = found->second;
    }
    entry.mood = mood;
    m_file.append(entry);
    m_last = entry;
}

HistoryRows RecordHistory::rows(
    const TextGrid *table, const QDateTime &now, QString *notice, bool write)
{
    const bool existed = m_file.exists();
    HistoryRows kept = m_file.readOrKeepAside(now, notice);
    const bool begun = !existed || (notice && !notice->isEmpty());
    if (!begun)
        return kept;
    if (table)
        kept = historyFromRecord(*table, now.date());
    if (write)
        m_file.write(kept);
    return kept;
}

void RecordHistory::replace(const HistoryRows &rows)
{
    m_file.write(rows);
    m_last.reset();
}

QString newMonthQuestion()
{
    return u"この記録の31日間は終わっています。これまでの計測は履歴に残っています。\n"
           u"新しい月の記録を始めますか？"_s;
}
