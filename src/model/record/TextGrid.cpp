// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextGrid.h"

void TextGrid::resize(int columns, int rows)
{
    columns = qMax(columns, 0);
    rows = qMax(rows, 0);
    QList<QString> cells(qsizetype(columns) * rows);
    for (int r = 0; r < qMin(rows, m_rows); ++r)
        for (int c = 0; c < qMin(columns, m_columns); ++c)
            cells[r * columns + c] = m_cells.at(r * m_columns + c);
    m_cells = std::move(cells);
    m_columns = columns;
    m_rows = rows;
}

void TextGrid::clear()
{
    for (QString &text : m_cells)
        text.clear();
}
