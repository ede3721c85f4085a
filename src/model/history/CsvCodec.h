// SPDX-License-Identifier: GPL-3.0-or-later
// Comma-separated values as spreadsheets and trackers write them: fields quoted when they must be,
// an optional byte-order mark, LF or CR LF lines. Pure functions on bytes.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <stdexcept>

namespace CsvCodec {

// Which of the two common forms a file is written in: the plain one (no mark, LF) that tools read
// best, or the one spreadsheet programs in Japan open without garbling (UTF-8 mark, CR LF).
enum class Form { Plain, Spreadsheet };

// One line of fields; a field holding the delimiter, a quote, a line break or outer spaces is
// quoted, its quotes doubled.
QByteArray encodeLine(const QStringList &fields, Form form);
QByteArray byteOrderMark();

struct Record
{
    int line = 0; // where the record begins, counted from 1
    QStringList fields;
};

// A file that is not text in the expected shape: line counted from 1, 0 for the whole file.
class Error : public std::runtime_error
{
public:
    Error(int line, QString reason)
        : std::runtime_error(reason.toStdString())
        , line(line)
        , reason(std::move(reason))
    { }
    int line;
    QString reason; // English, one sentence
};

// The records of UTF-8 bytes (a leading mark is skipped, LF and CR LF both end a line, quoted
// fields may hold line breaks). The delimiter is the first of ',', ';' or a tab found in the first
// line outside quotes (',' when none). Blank lines are skipped. Throws Error for bytes that are
// not UTF-8 text (a NUL, an invalid sequence) or a quote left open.
QList<Record> decode(const QByteArray &bytes);

} // namespace CsvCodec
