// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/TextGrid.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestTextGrid : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void resizeKeepsFittingCells()
    {
        TextGrid grid(3, 2);
        grid.setCell(2, 1, u"a"_s);
        grid.setCell(0, 0, u"b"_s);
        grid.resize(2, 3);
        QCOMPARE(grid.cell(0, 0), u"b"_s);
        QCOMPARE(grid.cell(2, 1), QString());
        grid.resize(4, 4);
        QCOMPARE(grid.cell(0, 0), u"b"_s);
        QCOMPARE(grid.columnCount(), 4);
    }
    void outsideCellsReadEmptyAndIgnoreWrites()
    {
        TextGrid grid(62, 16);
        grid.setCell(62, 0, u"x"_s);
        grid.setCell(-1, 3, u"x"_s);
        QCOMPARE(grid.cell(62, 0), QString());
        QCOMPARE(grid.cell(0, 16), QString());
        QCOMPARE(grid, TextGrid(62, 16));
    }
};

QTEST_GUILESS_MAIN(TestTextGrid)
#include "tst_textgrid.moc"
