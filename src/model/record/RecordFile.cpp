// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecordFile.h"

#include <stdexcept>

#include <QCryptographicHash>
#include <QFile>
#include <QDir>
#include <QFileInfo>

#include "record/MonthTable.h"
#include "record/StrGrdIO.h"
#include "record/TextGrid.h"

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// A rename that never replaces an entry appearing meanwhile and never falls back to copying,
// which would block on a pipe.
bool renameWithoutReplacing(const QString &from, const QString &to)
{
#if defined(Q_OS_UNIX)
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
#if defined(Q_OS_LINUX)
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE)
        == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
#endif
    // File systems without that rename still refuse a link over an existing entry.
    if (::link(source.constData(), target.constData()) != 0)
        return false;
    ::unlink(source.constData());
    return true;
#else
    return QFile::rename(from, to);
#endif
}

} // namespace

bool RecordOnDisk::sameFile(const RecordOnDisk &other) const
{
    return kind == other.kind && size == other.size && modified == other.modified
        && hash == other.hash;
}

bool RecordOnDisk::worthKeeping() const
{
    return kind == Kind::Unreadable || (kind == Kind::Readable && !bytes.isEmpty());
}

RecordOnDisk readRecordOnDisk(const QString &path)
{
    RecordOnDisk disk;
    const QFileInfo info(path);
    // A dangling link counts as nothing: there is no record to lose behind it.
    if (!info.exists())
        return disk;
    disk.size = info.size();
    disk.modified = info.lastModified();
    if (info.isDir()) {
        disk.kind = RecordOnDisk::Kind::Folder;
        return disk;
    }
    try {
        disk.bytes = TStringGridIO::readFile(path);
        disk.kind = RecordOnDisk::Kind::Readable;
        disk.hash = QCryptographicHash::hash(disk.bytes, QCryptographicHash::Sha256);
    } catch (const std::exception &e) {
        disk.kind = RecordOnDisk::Kind::Unreadable;
        disk.error = QString::fromUtf8(e.what());
    }
    return disk;
}

std::optional<TextGrid> recordTable(const RecordOnDisk &disk)
{
    if (disk.kind != RecordOnDisk::Kind::Readable)
        return std::nullopt;
    TextGrid table(RecordLayout::Columns, RecordLayout::Rows);
    try {
        TStringGridIO::parse(disk.bytes, table, u","_s, false);
        restoreProfile(table);
    } catch (const std::exception &) {
        return std::nullopt;
    }
    return table;
}

QString keepAside(const QString &path, const QDateTime &now)
{
    if (!TStringGridIO::isReplaceable(path))
        return {};
    const QString base = path + u".damaged-"_s + now.toString(u"yyyyMMdd-HHmmss"_s);
    for (int attempt = 1; attempt <= 100; ++attempt) {
        const QString target = attempt == 1 ? base : base + u'-' + QString::number(attempt);
        const QFileInfo taken(target);
        if (taken.exists() || taken.isSymLink())
            continue;
        if (renameWithoutReplacing(path, target))
            return target;
        if (!QFileInfo::exists(target))
            return {};
    }
    return {};
}

QString recordKeptAsideNotice(const QString &path, const QString &keptAs)
{
    return u"記録ファイル %1 を読み込めなかったため、新しい記録を始めます。元のファイルは %2 として残してあります。"_s
        .arg(native(path), native(keptAs));
}

void makeRecordFolder(const QString &folder)
{
    if (QFileInfo(folder).isDir() || QDir().mkpath(folder))
        return;
    const QString named = native(folder);
    // The first part of the path that is in the way says why.
    QString existing = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    while (!QFileInfo::exists(existing) && existing != QDir::rootPath())
        existing = QFileInfo(existing).absolutePath();
    const QFileInfo blocker(existing);
    QString why;
    if (!blocker.isDir()) {
        why = u"%1 がフォルダではなくファイルだからです"_s.arg(native(existing));
    } else {
#if defined(Q_OS_UNIX)
        const QByteArray bytes = QFile::encodeName(existing);
        struct statvfs fs
        {
        };
        if (::statvfs(bytes.constData(), &fs) == 0 && (fs.f_flag & ST_RDONLY))
            why = u"%1 が読み取り専用だからです"_s.arg(native(existing));
        else if (::access(bytes.constData(), W_OK | X_OK) != 0)
            why = u"%1 に書き込む権限がないからです"_s.arg(native(existing));
#endif
        if (why.isEmpty())
            why = u"%1 の中にフォルダを作れなかったからです"_s.arg(native(existing));
    }
    throw std::runtime_error(
        u"記録用のフォルダ %1 を作れません。%2。"_s.arg(named, why).toStdString());
}

QString recordNotMovedNotice(const QString &path)
{
    if (!TStringGridIO::isReplaceable(path))
        return u"記録ファイル %1 "
               u"はデバイスやパイプなど通常のファイルではないため、読み込みも移動もせず、そのまま残"
               u"してあります。"
               u"このファイルを直すか移すまで、計測は記録されません。"_s.arg(native(path));
    return u"記録ファイル %1 "
           u"を読み込めませんでした。別の名前に移すこともできなかったため、そのまま残してあります。"
           u"このファイルを直すか移すまで、計測は記録されません。"_s.arg(native(path));
}

QString notRecordedNotice(const QString &reason)
{
    return u"この計測は記録されていません。"_s + reason;
}

QString recordUnreadableNotice(const QString &path)
{
    return notRecordedNotice(
        u"記録ファイル %1 を読み込めないため、上書きしませんでした。"_s.arg(native(path)));
}

QString recordReplacedNotice(const QString &path)
{
    return notRecordedNotice(
        u"記録ファイル %1 が別の期間の記録に置き換えられていたためです。置き換えられた記録を読み込みましたので、もう一度計算してください。"_s
            .arg(native(path)));
}
