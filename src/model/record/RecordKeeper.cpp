// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/RecordKeeper.h"

#include "record/MonthTable.h"
#include "record/StrGrdIO.h"
#include "record/TextGrid.h"

#include <QDir>
#include <QFile>

#include <stdexcept>

using namespace Qt::StringLiterals;

RecordKeeper::RecordKeeper(QString path, QString folderToMake)
    : m_path(std::move(path))
    , m_folderToMake(std::move(folderToMake))
{ }

void RecordKeeper::load(TextGrid &table)
{
    m_atStart = readRecordOnDisk(m_path);
    m_known = m_atStart;
    if (m_atStart.kind != RecordOnDisk::Kind::Readable)
        throw std::runtime_error(m_atStart.error.toStdString());
    TStringGridIO::parse(m_atStart.bytes, table, u","_s, false);
}

bool RecordKeeper::damagedAtStart()
{
    if (!m_atStart.worthKeeping())
        return false;
    m_known.reset();
    return true;
}

QString RecordKeeper::keepAside(const QDateTime &now)
{
    const QString keptAs = ::keepAside(m_path, now);
    if (keptAs.isEmpty()) {
        m_known.reset();
        return recordNotMovedNotice(m_path);
    }
    m_known = readRecordOnDisk(m_path);
    return recordKeptAsideNotice(m_path, keptAs);
}

RecordKeeper::Reconciled RecordKeeper::reconcile(TextGrid &table, int todayColumn)
{
    // Another copy of the record may have been put in place while the window was open (a
    // restored backup): the table in memory must not overwrite it unseen.
    const RecordOnDisk disk = readRecordOnDisk(m_path);
    if (m_known && disk.sameFile(*m_known))
        return Reconciled::Unchanged;
    // Deleted meanwhile: the save writes the table anew.
    if (disk.kind == RecordOnDisk::Kind::Missing)
        return Reconciled::Unchanged;
    std::optional<TextGrid> onDisk = recordTable(disk);
    if (!onDisk) {
        m_known.reset();
        throw std::runtime_error(recordUnreadableNotice(m_path).toStdString());
    }
    if (sameMonth(*onDisk, table)) {
        copyMeasurement(*onDisk, table, todayColumn);
        table = *onDisk;
        return Reconciled::Merged;
    }
    // The record now in place is the one the person chose: later measurements go into it.
    table = *onDisk;
    m_known = disk;
    return Reconciled::Replaced;
}

void RecordKeeper::save(TextGrid &table)
{
    TStringGridIO io;
    io.setTargetGrid(&table);
    try {
        // The user's data folder (or a folder named by --record) is made by the first save, not
        // at start. A portable copy's folder is never re-created: gone, it is reported as gone.
        if (!m_folderToMake.isEmpty())
            makeRecordFolder(m_folderToMake);
        io.SaveToFile(m_path, u","_s, false);
    } catch (const std::exception &e) {
        throw std::runtime_error(notRecordedNotice(QString::fromUtf8(e.what())).toStdString());
    }
    m_known = readRecordOnDisk(m_path);
}

bool RecordKeeper::remove()
{
    return !QFile::exists(m_path) || QFile::remove(m_path);
}
