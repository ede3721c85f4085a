// SPDX-License-Identifier: GPL-3.0-or-later
#include "FullMonth.h"

#include "assessment/Assessment.h"
#include "record/StrGrdIO.h"

#include <QFile>

#include <cmath>

FullMonth::FullMonth(const QDateTime &start)
{
    markers = initMonthTable(table, start);
    writeMeasurementProfile(table, 1, 35, 170.0f);
    for (int column = 0; column < RecordLayout::Columns; ++column) {
        // A slow decline with a daily swing, so the lines cross many pixels and both scales.
        const float weight = std::round((72.0f - column * 0.05f + (column % 2) * 0.6f) * 10) / 10;
        const float fat = std::round((24.0f - column * 0.04f) * 10) / 10;
        const Measurements m {1, 35, 170.0f, weight, fat};
        writeMeasurementCells(table, column, m);
        writeAssessmentCells(table, column, assess(m));
        if (column % 2)
            writeMood(table, column, 1 + (column / 2) % 4);
    }
}

bool FullMonth::writeRecord(const QString &path) const
{
    QFile record(path);
    return record.open(QIODevice::WriteOnly)
        && record.write(TStringGridIO::serialize(table, QStringLiteral(","), false)) >= 0
        && record.flush();
}
