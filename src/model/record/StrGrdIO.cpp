// SPDX-License-Identifier: GPL-3.0-or-later
#include "StrGrdIO.h"

#include <stdexcept>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringView>

#include "record/TextGrid.h"

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <io.h>
#include <windows.h>
#endif

using namespace Qt::StringLiterals;

namespace {

[[noreturn]] void fail(const QString &format, const QString &fileName, const QString &reason)
{
    throw std::runtime_error(format.arg(QDir::toNativeSeparators(fileName), reason).toStdString());
}

// An optional sign, digits, an optional "." fraction, an optional exponent.
bool isNumberText(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto digits = [&] {
        const qsizetype start = i;
        while (i < n && text[i] >= u'0' && text[i] <= u'9')
            ++i;
        return i > start;
    };
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    if (!digits())
        return false;
    if (i < n && text[i] == u'.') {
        ++i;
        if (!digits())
            return false;
    }
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < n && (text[i] == u'+' || text[i] == u'-'))
            ++i;
        if (!digits())
            return false;
    }
    return i == n;
}

QString unquoted(QStringView field, bool quote)
{
    if (quote && field.size() >= 2 && field.front() == u'"' && field.back() == u'"')
        return field.sliced(1, field.size() - 2).toString();
    return field.toString();
}

// Calls visit(line) for every line until it returns false. A line ends at CR LF, a lone CR or a
// lone LF; a last line without an end counts too.
template<typename Visit> void forEachLine(QStringView text, Visit visit)
{
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start < n) {
        qsizetype end = start;
        while (end < n && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        if (!visit(text.sliced(start, end - start)))
            return;
        if (end < n && text[end] == u'\r' && end + 1 < n && text[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
}

qsizetype countDelimiters(QStringView line, QStringView delimiter)
{
    if (delimiter.isEmpty())
        return 0;
    qsizetype count = 0;
    for (qsizetype at = line.indexOf(delimiter); at >= 0;
         at = line.indexOf(delimiter, at + delimiter.size()))
        ++count;
    return count;
}

// Every column but the last takes the text up to the next delimiter, or nothing once the
// delimiters have run out; the last column takes whatever is left, delimiters included.
void applyLine(QStringView line, TextGrid &grid, int row, QStringView delimiter, bool quote)
{
    const int columns = grid.columnCount();
    if (columns <= 0)
        return;
    // An empty delimiter is never found, so the whole line lands in the last column.
    auto find = [&](qsizetype from) {
        return delimiter.isEmpty() ? qsizetype(-1) : line.indexOf(delimiter, from);
    };
    qsizetype rest = 0;
    qsizetype next = find(rest);
    // A single column would otherwise keep only the text before a delimiter and lose the line.
    QStringView field = columns == 1 ? line : (next < 0 ? QStringView() : line.first(next));
    for (int column = 0; column <= columns - 2; ++column) {
        grid.setCell(column, row, unquoted(field, quote));
        if (next >= 0) {
            rest = next + delimiter.size();
            next = find(rest);
        }
        if (column < columns - 2)
            field = next < 0 ? QStringView() : line.sliced(rest, next - rest);
        else
            field = line.sliced(rest);
    }
    grid.setCell(columns - 1, row, unquoted(field, quote));
}

void syncFileToDisk(QSaveFile &file)
{
#if defined(Q_OS_UNIX)
    if (::fsync(file.handle()) != 0) {
        const int error = errno;
        file.cancelWriting();
        fail(u"ファイル %1 を書き込めません。%2"_s, file.fileName(),
            TStringGridIO::failureReason(
                file.fileName(), error, QString::fromLocal8Bit(std::strerror(error))));
    }
#elif defined(Q_OS_WIN)
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(file.handle()));
    if (handle == INVALID_HANDLE_VALUE || !::FlushFileBuffers(handle)) {
        file.cancelWriting();
        fail(u"ファイル %1 を書き込めません。%2"_s, file.fileName(), u"FlushFileBuffers"_s);
    }
#else
    Q_UNUSED(file);
#endif
}

// Makes the rename itself survive a power cut. Best effort: some file systems refuse it, and the
// new file is already complete in place.
void syncFolderToDisk(const QString &fileName)
{
#if defined(Q_OS_UNIX)
    const QByteArray folder = QFile::encodeName(QFileInfo(fileName).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        TStringGridIO::syncFolder(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(fileName);
#endif
}

#if defined(Q_OS_UNIX)
bool isCommonCause(int error)
{
    return error == ENOSPC || error == EDQUOT || error == EACCES || error == EPERM || error == EROFS
        || error == ENOENT;
}

// The likely cause of a failure whose errno the file classes do not pass on, read from the
// folder and the file themselves; 0 when nothing common stands out.
int probeCause(const QString &fileName)
{
    const QFileInfo info(fileName);
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    const QByteArray file = QFile::encodeName(info.absoluteFilePath());
    struct stat folderStat
    {
    };
    if (::stat(folder.constData(), &folderStat) != 0)
        return errno == ENOENT ? ENOENT : 0;
    if (!S_ISDIR(folderStat.st_mode))
        return 0;
    struct statvfs fs
    {
    };
    const bool haveFs = ::statvfs(folder.constData(), &fs) == 0;
    if (haveFs && (fs.f_flag & ST_RDONLY))
        return EROFS;
    if (::access(folder.constData(), W_OK) != 0)
        return isCommonCause(errno) ? errno : 0;
    struct stat fileStat
    {
    };
    if (::lstat(file.constData(), &fileStat) == 0 && S_ISREG(fileStat.st_mode)
        && ::access(file.constData(), W_OK) != 0)
        return isCommonCause(errno) ? errno : 0;
    // Blocks kept for the administrator do not count for others.
    if (haveFs && (::geteuid() == 0 ? fs.f_bfree : fs.f_bavail) == 0)
        return ENOSPC;
    return 0;
}
#endif

} // namespace

#if defined(Q_OS_UNIX)
int (*TStringGridIO::syncFolder)(int) = &::fsync;
#else
int (*TStringGridIO::syncFolder)(int) = [](int) { return 0; };
#endif

bool TStringGridIO::isReplaceable(const QString &fileName)
{
#if defined(Q_OS_UNIX)
    struct stat info
    {
    };
    if (::stat(QFile::encodeName(fileName).constData(), &info) != 0)
        return errno == ENOENT;
    return S_ISREG(info.st_mode);
#else
    const QFileInfo info(fileName);
    return !info.exists() || info.isFile();
#endif
}

QString TStringGridIO::failureReason(
    const QString &fileName, int errorNumber, const QString &systemText)
{
#if defined(Q_OS_UNIX)
    const int cause = errorNumber != 0 ? errorNumber : probeCause(fileName);
    switch (cause) {
    case ENOSPC:
    case EDQUOT:
        return u"保存先の空き容量が足りません"_s;
    case EACCES:
    case EPERM:
        return u"保存先に書き込む権限がありません"_s;
    case EROFS:
        return u"保存先が読み取り専用です"_s;
    case ENOENT:
        return u"保存先のフォルダがありません"_s;
    }
#else
    Q_UNUSED(fileName);
    Q_UNUSED(errorNumber);
#endif
    return systemText;
}

QByteArray TStringGridIO::serialize(const TextGrid &grid, const QString &delimiter, bool quote)
{
    const QByteArray separator = delimiter.toLatin1();
    QByteArray bytes;
    for (int row = 0; row < grid.rowCount(); ++row) {
        for (int column = 0; column < grid.columnCount(); ++column) {
            if (column > 0)
                bytes += separator;
            const QString text = grid.cell(column, row);
            // Empty cells stay empty fields: loading "" would give the same empty cell anyway.
            const bool quoted = quote && !text.isEmpty() && !isNumberText(text);
            if (quoted)
                bytes += '"';
            bytes += text.toLatin1();
            if (quoted)
                bytes += '"';
        }
        bytes += "\r\n";
    }
    return bytes;
}

void TStringGridIO::parse(
    const QByteArray &bytes, TextGrid &grid, const QString &delimiter, bool quote, bool stretch)
{
    const qsizetype zero = bytes.indexOf('\0');
    if (zero >= 0)
        throw std::runtime_error(
            u"読み込むデータの %1 バイト目にゼロのバイトがあります"_s.arg(zero + 1).toStdString());
    const QString text = QString::fromLatin1(bytes);

    if (stretch) {
        qint64 lines = 0;
        qsizetype mostDelimiters = 0;
        forEachLine(text, [&](QStringView line) {
            ++lines;
            mostDelimiters = qMax(mostDelimiters, countDelimiters(line, delimiter));
            return true;
        });
        const qint64 columns = qint64(mostDelimiters) + 1;
        if (lines > MaxStretchCells || columns > MaxStretchCells
            || lines * columns > MaxStretchCells)
            throw std::runtime_error(u"読み込むデータが大きすぎます（%1 行 × %2 列）"_s.arg(lines)
                                         .arg(columns)
                                         .toStdString());
        grid.clear();
        grid.resize(int(columns), int(lines));
    }

    int row = 0;
    forEachLine(text, [&](QStringView line) {
        if (row >= grid.rowCount())
            return false;
        applyLine(line, grid, row, delimiter, quote);
        ++row;
        return true;
    });
}

void TStringGridIO::SaveToFile(const QString &fileName, const QString &delimiter, bool quote) const
{
    if (!m_targetGrid)
        return;
    writeFileDurably(fileName, serialize(*m_targetGrid, delimiter, quote));
}

void TStringGridIO::writeFileDurably(const QString &fileName, const QByteArray &bytes)
{
    // The save renames a new file over the name, which would replace a device or a pipe.
    if (!isReplaceable(fileName))
        fail(u"ファイル %1 を書き込めません。%2"_s, fileName, u"通常のファイルではありません"_s);
    // The old file is replaced only by a rename once the new one is complete on disk, so a crash,
    // a kill or a full disk never leaves a truncated record behind. Only the write calls leave a
    // trustworthy errno behind; for the others the folder is examined.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        fail(u"ファイル %1 を作成できません。%2"_s, fileName,
            failureReason(fileName, 0, file.errorString()));
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const int error = errno;
        const QString reason = failureReason(fileName, error, file.errorString());
        file.cancelWriting();
        fail(u"ファイル %1 を書き込めません。%2"_s, fileName, reason);
    }
    syncFileToDisk(file);
    if (!file.commit())
        fail(u"ファイル %1 を書き込めません。%2"_s, fileName,
            failureReason(fileName, 0, file.errorString()));
    syncFolderToDisk(fileName);
}

QByteArray TStringGridIO::readFile(const QString &fileName)
{
    QFile file;
#if defined(Q_OS_UNIX)
    // Without O_NONBLOCK, opening a named pipe waits for a writer that never comes.
    const int fd
        = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        fail(u"ファイル %1 を開けません。%2"_s, fileName,
            QString::fromLocal8Bit(std::strerror(errno)));
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        fail(u"ファイル %1 を開けません。%2"_s, fileName, u"通常のファイルではありません"_s);
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        fail(u"ファイル %1 を開けません。%2"_s, fileName, file.errorString());
    }
#else
    file.setFileName(fileName);
    if (QFileInfo::exists(fileName) && !QFileInfo(fileName).isFile())
        fail(u"ファイル %1 を開けません。%2"_s, fileName, u"通常のファイルではありません"_s);
    if (!file.open(QIODevice::ReadOnly))
        fail(u"ファイル %1 を開けません。%2"_s, fileName, file.errorString());
#endif
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        fail(u"ファイル %1 を読み込めません。%2"_s, fileName, file.errorString());
    if (bytes.size() > MaxFileSize)
        fail(u"ファイル %1 を読み込めません。%2"_s, fileName, u"ファイルが大きすぎます"_s);
    return bytes;
}

void TStringGridIO::LoadFromFile(
    const QString &fileName, const QString &delimiter, bool quote) const
{
    if (!m_targetGrid)
        return;
    parse(readFile(fileName), *m_targetGrid, delimiter, quote, m_stretch);
}
