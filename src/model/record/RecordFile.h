// SPDX-License-Identifier: GPL-3.0-or-later
// The record file as found on disk: read without ever blocking, recognised again before a save
// (changed, replaced or deleted meanwhile), kept aside when it cannot be read, and the words for
// a measurement that did not reach it.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

class TextGrid;

// What stands at the record file's name. Two reads are the same file when kind, size,
// modification time and content hash agree.
struct RecordOnDisk
{
    enum class Kind {
        Missing,    // nothing at the name
        Readable,   // a regular file, read whole
        Folder,     // a folder: left alone, a save reports the failure
        Unreadable, // no permission, a pipe or device, a read error, too large
    };
    Kind kind = Kind::Missing;
    qint64 size = 0;
    QDateTime modified;
    QByteArray hash;
    QByteArray bytes; // Readable only
    QString error;    // why it could not be read

    bool sameFile(const RecordOnDisk &other) const;
    // A load that fails on it would lose something if the file were replaced: it is kept aside.
    bool worthKeeping() const;
};
RecordOnDisk readRecordOnDisk(const QString &path);

// The record table in a file's bytes, when its profile and month markers load.
std::optional<TextGrid> recordTable(const RecordOnDisk &disk);

// Renames path to "<name>.damaged-YYYYMMDD-HHMMSS" in its folder (with "-2", "-3", … when that
// is taken), never over an existing entry. Returns the new path, or an empty text when it failed.
// Anything but a regular file (a device, a pipe, a socket) is not the program's to move.
QString keepAside(const QString &path, const QDateTime &now);

// Makes folder and its missing parents; throws std::runtime_error naming the folder that could
// not be made and why (a file in the way, no permission, a read-only medium).
void makeRecordFolder(const QString &folder);

// The notices about the record, in the window's words.
QString recordKeptAsideNotice(const QString &path, const QString &keptAs);
QString recordNotMovedNotice(const QString &path);
QString notRecordedNotice(const QString &reason);
QString recordUnreadableNotice(const QString &path);
QString recordReplacedNotice(const QString &path);
