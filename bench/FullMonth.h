// SPDX-License-Identifier: GPL-3.0-or-later
// A record table as it stands after a month of use: both slots of all 31 days measured, the
// assessment kept in every column and a mood on every evening.
#pragma once

#include <QDateTime>

#include "record/MonthTable.h"
#include "record/TextGrid.h"

struct FullMonth
{
    TextGrid table {RecordLayout::Columns, RecordLayout::Rows};
    MonthMarkers markers;

    // The table's first day is the record day of start.
    explicit FullMonth(const QDateTime &start);

    // Writes the table as the program saves its record; false when the file cannot be written.
    bool writeRecord(const QString &path) const;
};
