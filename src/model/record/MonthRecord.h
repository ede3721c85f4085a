// SPDX-License-Identifier: GPL-3.0-or-later
// This run's month: the record table and its markers, the slot the next measurement goes into,
// and the way a measurement reaches the file. The window asks it and redraws; it knows no widget.
// Every measurement that reaches the file is told to the listeners, so a longer memory can keep
// it too.
#pragma once

#include "assessment/Assessment.h"
#include "record/MonthTable.h"
#include "record/RecordKeeper.h"
#include "record/RecordLayout.h"
#include "record/TextGrid.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// One measurement as the record received it, complete with its mood, once it is in the file.
struct RecordedMeasurement
{
    int column = 0;       // the table column it is in
    RecordSlot slot;      // record day and morning (0) or evening (1)
    QDateTime measuredAt; // the local time of the calculation
    Measurements measurements;
    Assessment assessment;
    int mood = 0; // 0: none chosen, 1..4
};

class MonthRecord
{
public:
    using Clock = std::function<QDateTime()>;
    using Listener = std::function<void(const RecordedMeasurement &)>;

    // folderToMake is made by the first save; empty: the record's folder must exist.
    MonthRecord(QString path, QString folderToMake, Clock clock);

    QString path() const { return m_keeper.path(); }
    const TextGrid &table() const { return m_table; }

    // Reads the record at start and locates today. Returns its profile, or nothing when there was
    // no record or it could not be read: the table then holds a new, empty month from today.
    std::optional<Profile> load();
    // After a load that found nothing: whether a record that held something is to be kept aside
    // before the first measurement could replace it.
    bool damagedAtStart() { return m_keeper.damagedAtStart(); }
    // Moves that record aside; the notice to show.
    QString keepAside() { return m_keeper.keepAside(m_clock()); }

    // The caption for the window, the slot and column of this run's measurement.
    const TodayLocation &today() const { return m_today; }
    int todayColumn() const { return m_todayColumn; }
    int eveningSlot() const { return m_today.eveningSlot; }
    bool usedUp() const { return m_today.usedUp; }
    int secondMonthColumn() const { return m_markers.secondMonthColumn; }
    int secondMonth() const { return m_markers.secondMonth; }
    QString dayAfterTable() const { return m_markers.dayAfterTable; }

    enum class Relocated { Same, Moved, LaidOutAgain };
    // Follows the clock before a measurement: a window left open across 04:00 or 16:00 writes
    // into the slot of now. LaidOutAgain: the days changed too (a month not yet saved).
    Relocated relocate();

    // Writes the measurement and its assessment into today's column (nothing when used up).
    // Throws, writing nothing, when the measurement cannot be assessed.
    void recordMeasurement(const Measurements &m);
    // The evening's mood, 1..4 (nothing when used up).
    void setMood(int code);

    // Before saving: another copy put in place meanwhile. Merged or Unchanged: the measurement
    // stands in the table, ready to save. Replaced: the table now holds another month, adopted
    // here; the measurement was not recorded (replacedNotice() says so).
    RecordKeeper::Reconciled reconcile();
    QString replacedNotice() const { return recordReplacedNotice(path()); }
    // Writes the table; throws with the notice to show, the old file then untouched. Tells the
    // listeners of the measurement it completed.
    void save();
    // Gives up the table for a new, empty month from today (a used-up record the person chose to
    // follow with a new month); nothing is written until its first measurement.
    void beginNewMonth();
    // False when there was a record and it could not be removed.
    bool remove() { return m_keeper.remove(); }

    void addListener(Listener listener) { m_listeners.push_back(std::move(listener)); }

private:
    void layOutMonth();
    void locate();

    RecordKeeper m_keeper;
    Clock m_clock;
    TextGrid m_table {RecordLayout::Columns, RecordLayout::Rows};
    MonthMarkers m_markers;
    TodayLocation m_today;
    // Kept from the last location that was not used up, as the table's column to write.
    int m_todayColumn = 0;
    // Laid out by this run and no measurement written into it yet.
    bool m_newMonth = false;
    std::optional<RecordedMeasurement> m_pending;
    std::vector<Listener> m_listeners;
};
