// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/DayHeader.h"

#include "record/TextGrid.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int MonthRow = 1;
constexpr int DayRow = 2;

bool inHeader(int column, int row)
{
    return column >= 0 && row >= 0 && column < DayHeaderTexts::Columns
        && row < DayHeaderTexts::Rows;
}

} // namespace

QString DayHeaderTexts::text(int column, int row) const
{
    return inHeader(column, row) ? cells[row * Columns + column] : QString();
}

void DayHeaderTexts::setText(int column, int row, const QString &text)
{
    if (inHeader(column, row))
        cells[row * Columns + column] = text;
}

DayHeaderTexts dayHeaderTexts(const TextGrid &table, int secondMonthColumn, int secondMonth)
{
    DayHeaderTexts header;
    header.setText(1, 0, table.cell(0, MonthRow) + u"/"_s);
    header.setText(secondMonthColumn / 2 + 1, 0, QString::number(secondMonth) + u"/"_s);
    for (int column = 1; column < DayHeaderTexts::Columns; ++column)
        header.setText(column, 1, table.cell(2 * (column - 1), DayRow));
    return header;
}
