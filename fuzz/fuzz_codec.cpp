// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target of the record codec alone: arbitrary bytes are parsed as the program loads
// them, written back and parsed again, and the two tables must be equal. Nothing is drawn, so it
// runs many times faster than the target of the whole record and reaches deeper into the codec.
#include <QByteArray>

#include "record/RecordLayout.h"
#include "record/StrGrdIO.h"
#include "record/TextGrid.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>

using namespace Qt::StringLiterals;

namespace {

[[noreturn]] void mismatch(const char *mode, const TextGrid &first, const TextGrid &second)
{
    for (int row = 0; row < first.rowCount(); ++row)
        for (int column = 0; column < first.columnCount(); ++column)
            if (first.cell(column, row) != second.cell(column, row)) {
                std::fprintf(stderr, "%s: cell (%d, %d) read \"%s\", read back \"%s\"\n", mode,
                    column, row, qPrintable(first.cell(column, row)),
                    qPrintable(second.cell(column, row)));
                std::abort();
            }
    std::fprintf(stderr, "%s: tables of %d x %d and %d x %d\n", mode, first.columnCount(),
        first.rowCount(), second.columnCount(), second.rowCount());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));

    // The program's own load and save: a fixed 62 x 16 table, "," and no quotes.
    // Bytes the codec refuses (a zero byte) leave nothing to write back.
    TextGrid table(RecordLayout::Columns, RecordLayout::Rows);
    try {
        TStringGridIO::parse(bytes, table, u","_s, false);
    } catch (const std::exception &) {
        return 0;
    }
    const QByteArray saved = TStringGridIO::serialize(table, u","_s, false);
    TextGrid again(RecordLayout::Columns, RecordLayout::Rows);
    TStringGridIO::parse(saved, again, u","_s, false);
    if (again != table)
        mismatch("record", table, again);
    // Saving what was read back gives the same bytes: a record never drifts from save to save.
    if (TStringGridIO::serialize(again, u","_s, false) != saved)
        std::abort();

    return 0;
}
