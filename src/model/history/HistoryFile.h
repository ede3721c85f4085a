// SPDX-License-Identifier: GPL-3.0-or-later
// The history file beside a record ("settemp.dat" keeps "settemp-history.csv"): a journal in the
// export's own CSV form. A measurement appends one line, flushed to disk, so it costs the same for
// ten years as for one day and a kill can at most cut the line being written, which a later read
// or append drops; a later line for the same day and slot wins. Rewrites (import, forgetting,
// tidying) replace the file in one step as the record's saves do.
#pragma once

#include "history/HistoryTable.h"

#include <QDateTime>
#include <QString>

#include <stdexcept>

class HistoryFile
{
public:
    explicit HistoryFile(QString path);
    QString path() const { return m_path; }
    // "<folder>/<record name without suffix>-history.csv"
    static QString pathFor(const QString &recordPath);
    bool exists() const;

    // Adds rows after what the file holds (made with its header when missing). Throws
    // std::runtime_error with the notice to show; rows already kept stay as they are.
    void append(const HistoryRows &rows);
    void append(const HistoryEntry &entry);
    // The rows kept, a later line for a day and slot replacing an earlier one; a missing file
    // holds none. Throws Damaged when the file cannot be read as a history.
    HistoryRows read() const;
    // Replaces the file with exactly these rows. Throws std::runtime_error with the notice.
    void write(const HistoryRows &rows);

    class Damaged : public std::runtime_error
    {
    public:
        explicit Damaged(const QString &reason)
            : std::runtime_error(reason.toStdString())
        { }
    };
    // Reads the file; one that cannot be read is renamed aside as an unreadable record is and
    // noticeOut says so (the history then begins empty).
    HistoryRows readOrKeepAside(const QDateTime &now, QString *noticeOut);

    // Largest history read; ten years take well under a megabyte.
    static constexpr qint64 MaxFileSize = 32 * 1024 * 1024;

private:
    QString m_path;
};

// Parses a history in its own form (any row order; a later row for the same day and slot wins).
// Throws CsvCodec::Error with the line and reason.
HistoryRows parseHistory(const QByteArray &bytes);
// One row of the own form, fields in header order; throws CsvCodec::Error.
HistoryEntry parseHistoryFields(const QStringList &fields, int line);
