// SPDX-License-Identifier: GPL-3.0-or-later
// The two graph sheets as one PDF file, the weight sheet first, the same drawing as on paper:
// for a person without a printer and for the command line. Written completely or not at all.
#pragma once

#include "Print01.h"

#include <QDate>
#include <QString>

#include <stdexcept>

class TextGrid;

namespace SheetPdf {

// A failure to write the file: what() for the person (Japanese), reason for the command line.
class WriteError : public std::runtime_error
{
public:
    WriteError(const QString &message, QString reason)
        : std::runtime_error(message.toStdString())
        , reason(std::move(reason))
    { }
    QString reason;
};

// The question the window asks when there is no printer.
QString offerQuestion();
// "ペミラ-YYYY-MM.pdf" in folder, for the record's month (row 1 of column 0) in the year that
// month last began by today.
QString proposedPath(const QString &folder, const TextGrid &table, const QDate &today);

// Fills and draws both sheets into path through a temporary file that replaces it only when
// complete. Throws std::runtime_error before writing anything when a sheet has no first value,
// WriteError when the file cannot be written; an existing file at path is then untouched.
void write(TPrint01 &form, const TextGrid &table, const TPrint01::SheetInput &input,
    const QString &label20, const QString &label21, const QString &path);

// The record file at recordPath as the two sheets in pdfPath, the advice line that of its latest
// measurement. Throws std::runtime_error with one line in English when the record is missing,
// unreadable or has no first value, or the file cannot be written.
void exportRecord(const QString &recordPath, const QString &pdfPath);

} // namespace SheetPdf
