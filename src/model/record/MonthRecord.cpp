// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/MonthRecord.h"

MonthRecord::MonthRecord(QString path, QString folderToMake, Clock clock)
    : m_keeper(std::move(path), std::move(folderToMake))
    , m_clock(clock ? std::move(clock) : Clock([] { return QDateTime::currentDateTime(); }))
{ }

std::optional<Profile> MonthRecord::load()
{
    try {
        m_keeper.load(m_table);
        const Profile profile = restoreProfile(m_table);
        m_markers = {profile.secondMonthColumn, profile.secondMonth, {}};
        locate();
        return profile;
    } catch (...) {
        // No record, or one that cannot be read: a new month. Whatever a failed read left in the
        // table goes, or the old rows would reappear under the new month's dates.
        beginNewMonth();
        return std::nullopt;
    }
}

void MonthRecord::beginNewMonth()
{
    m_table = TextGrid(RecordLayout::Columns, RecordLayout::Rows);
    layOutMonth();
    m_newMonth = true;
    m_pending.reset();
    locate();
}

void MonthRecord::layOutMonth()
{
    m_markers = initMonthTable(m_table, m_clock());
}

void MonthRecord::locate()
{
    m_today = locateToday(m_table, m_clock());
    if (!m_today.usedUp)
        m_todayColumn = m_today.todayColumn;
}

MonthRecord::Relocated MonthRecord::relocate()
{
    if (recordSlot(m_clock()) == m_today.slot)
        return Relocated::Same;
    // Still only in memory: a start now would lay the month out from today.
    const bool again = m_newMonth;
    if (again)
        layOutMonth();
    locate();
    return again ? Relocated::LaidOutAgain : Relocated::Moved;
}

void MonthRecord::recordMeasurement(const Measurements &m)
{
    const Assessment a = assess(m);
    // A used-up record keeps its 31 days as they are.
    if (usedUp())
        return;
    writeMeasurementCells(m_table, m_todayColumn, m);
    writeAssessmentCells(m_table, m_todayColumn, a);
    m_newMonth = false;
    m_pending = RecordedMeasurement {m_todayColumn, m_today.slot, m_clock(), m, a, 0};
}

void MonthRecord::setMood(int code)
{
    if (usedUp())
        return;
    writeMood(m_table, m_todayColumn, code);
    if (m_pending)
        m_pending->mood = code;
}

RecordKeeper::Reconciled MonthRecord::reconcile()
{
    const RecordKeeper::Reconciled result = m_keeper.reconcile(m_table, m_todayColumn);
    if (result == RecordKeeper::Reconciled::Replaced) {
        // The record now in place is the one the person chose: later measurements go into it.
        const Profile profile = restoreProfile(m_table);
        m_markers = {profile.secondMonthColumn, profile.secondMonth, {}};
        m_newMonth = false;
        m_pending.reset();
        locate();
        return result;
    }
    completeFirstColumn(m_table);
    return result;
}

void MonthRecord::save()
{
    m_keeper.save(m_table);
    if (!m_pending)
        return;
    const RecordedMeasurement done = *m_pending;
    m_pending.reset();
    for (const Listener &listener : m_listeners)
        listener(done);
}
