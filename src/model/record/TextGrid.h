// SPDX-License-Identifier: GPL-3.0-or-later
// A rectangular grid of text cells addressed as (column, row): the record table and any grid
// the record file codec reads or writes. Plain data; no widget behind it.
#pragma once

#include <QList>
#include <QString>

class TextGrid
{
public:
    TextGrid() = default;
    TextGrid(int columns, int rows) { resize(columns, rows); }

    int columnCount() const { return m_columns; }
    int rowCount() const { return m_rows; }

    // Keeps the cells that still fit; new cells are empty.
    void resize(int columns, int rows);
    // Empties every cell, keeping the size.
    void clear();

    bool contains(int column, int row) const
    {
        return column >= 0 && row >= 0 && column < m_columns && row < m_rows;
    }
    // Outside the grid a cell reads as empty and writing it does nothing.
    QString cell(int column, int row) const
    {
        return contains(column, row) ? m_cells.at(row * m_columns + column) : QString();
    }
    void setCell(int column, int row, const QString &text)
    {
        if (contains(column, row))
            m_cells[row * m_columns + column] = text;
    }

    bool operator==(const TextGrid &other) const = default;

private:
    int m_columns = 0;
    int m_rows = 0;
    QList<QString> m_cells;
};
