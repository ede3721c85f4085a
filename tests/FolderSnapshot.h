// SPDX-License-Identifier: GPL-3.0-or-later
// Test helpers for the record folder: a byte-exact snapshot of everything under it, the record
// file read back as a table, and a guard that makes a path immutable where the system allows it.
#pragma once

#include "record/StrGrdIO.h"
#include "record/TextGrid.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QString>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

// Every file and folder under `root` with the bytes of each file; folders map to "<dir>", pipes
// and other special files to "<special>".
inline QMap<QString, QByteArray> folderSnapshot(const QString &root)
{
    QMap<QString, QByteArray> snapshot;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(root).relativeFilePath(path);
        if (it.fileInfo().isDir()) {
            snapshot.insert(relative, "<dir>");
        } else if (!it.fileInfo().isFile()) {
            snapshot.insert(relative, "<special>"); // opening a pipe would wait for a writer
        } else {
            QFile file(path);
            snapshot.insert(
                relative, file.open(QIODevice::ReadOnly) ? file.readAll() : "<unreadable>");
        }
    }
    return snapshot;
}

// The record file's bytes as the program reads them back.
inline TextGrid recordFromBytes(const QByteArray &bytes)
{
    TextGrid grid(62, 16);
    TStringGridIO::parse(bytes, grid, u","_s, false);
    return grid;
}

// Sets or clears the immutable attribute; false where the file system or the user cannot.
inline bool setImmutable(const QString &path, bool on)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

// Lifts the attribute again when the test ends, passed or failed, so the folder can be removed.
class ImmutableGuard
{
public:
    ImmutableGuard() = default;
    ImmutableGuard(const ImmutableGuard &) = delete;
    ImmutableGuard &operator=(const ImmutableGuard &) = delete;
    ~ImmutableGuard() { lift(); }

    bool set(const QString &path)
    {
        lift();
        if (!setImmutable(path, true))
            return false;
        m_path = path;
        return true;
    }
    void lift()
    {
        if (!m_path.isEmpty())
            setImmutable(m_path, false);
        m_path.clear();
    }

private:
    QString m_path;
};
