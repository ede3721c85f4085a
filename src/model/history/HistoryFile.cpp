// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryFile.h"

#include "record/RecordFile.h"
#include "record/StrGrdIO.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

QString cannotWrite(const QString &path, const QString &reason)
{
    return u"計測の履歴ファイル %1 に書き込めませんでした。%2"_s.arg(
        QDir::toNativeSeparators(path), reason);
}

float readDecimal(const QString &text, int line, const char16_t *name)
{
    if (text.isEmpty())
        return HistoryEntry::Unknown;
    bool ok = false;
    const float v = text.toFloat(&ok);
    if (!ok || !std::isfinite(v))
        throw CsvCodec::Error(line, u"%1 is not a number."_s.arg(QStringView(name)));
    return v;
}

int readWhole(const QString &text, int line, const char16_t *name, int low, int high)
{
    if (text.isEmpty())
        return 0;
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < low || v > high)
        throw CsvCodec::Error(line, u"%1 is out of range."_s.arg(QStringView(name)));
    return v;
}

#if defined(Q_OS_UNIX)
[[noreturn]] void failWrite(const QString &path, int error)
{
    throw std::runtime_error(cannotWrite(path,
        TStringGridIO::failureReason(path, error, QString::fromLocal8Bit(std::strerror(error))))
                                 .toStdString());
}

bool writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// A line a kill cut short was never kept: it goes before the next one is added, so the two
// cannot run together.
bool dropCutLine(int fd, off_t size)
{
    char last = '\n';
    if (size == 0)
        return true;
    if (::pread(fd, &last, 1, size - 1) != 1)
        return false;
    if (last == '\n')
        return true;
    const off_t chunk = std::min<off_t>(size, 64 * 1024);
    QByteArray tail(qsizetype(chunk), '\0');
    if (::pread(fd, tail.data(), size_t(chunk), size - chunk) != chunk)
        return false;
    const qsizetype newline = tail.lastIndexOf('\n');
    if (newline < 0 && chunk < size)
        return false; // a line longer than any this program writes: leave it for the reader
    return ::ftruncate(fd, size - chunk + (newline + 1)) == 0;
}
#endif

} // namespace

HistoryFile::HistoryFile(QString path)
    : m_path(std::move(path))
{ }

QString HistoryFile::pathFor(const QString &recordPath)
{
    const QFileInfo info(recordPath);
    return info.dir().filePath(info.completeBaseName() + u"-history.csv"_s);
}

bool HistoryFile::exists() const
{
    return QFileInfo::exists(m_path);
}

void HistoryFile::append(const HistoryEntry &entry)
{
    append(HistoryRows {{keyOf(entry), entry}});
}

void HistoryFile::append(const HistoryRows &rows)
{
    QByteArray lines;
    for (const auto &[key, entry] : rows)
        lines += HistoryCsv::encodeLine(entry);
#if defined(Q_OS_UNIX)
    const QByteArray name = QFile::encodeName(m_path);
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0)
        failWrite(m_path, errno);
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int error = errno;
        ::close(fd);
        failWrite(m_path, error ? error : EINVAL);
    }
    const bool created = info.st_size == 0;
    if (created)
        lines.prepend(CsvCodec::encodeLine(HistoryCsv::header(), CsvCodec::Form::Plain));
    errno = 0;
    if (!dropCutLine(fd, info.st_size) || !writeAll(fd, lines) || ::fsync(fd) != 0) {
        const int error = errno;
        // A line this write left unfinished is dropped by the next append or read.
        ::close(fd);
        failWrite(m_path, error ? error : EIO);
    }
    ::close(fd);
    if (created) {
        const int folder = ::open(QFile::encodeName(QFileInfo(m_path).absolutePath()).constData(),
            O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            ::fsync(folder);
            ::close(folder);
        }
    }
#else
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        throw std::runtime_error(cannotWrite(m_path, file.errorString()).toStdString());
    if (file.size() == 0)
        lines.prepend(CsvCodec::encodeLine(HistoryCsv::header(), CsvCodec::Form::Plain));
    if (file.write(lines) != lines.size() || !file.flush())
        throw std::runtime_error(cannotWrite(m_path, file.errorString()).toStdString());
#endif
}

HistoryRows HistoryFile::read() const
{
    if (!QFileInfo(m_path).exists())
        return {};
    QByteArray bytes;
    try {
        bytes = TStringGridIO::readFile(m_path);
    } catch (const std::exception &e) {
        throw Damaged(QString::fromUtf8(e.what()));
    }
    // A line cut short by a kill was never kept.
    if (!bytes.isEmpty() && !bytes.endsWith('\n'))
        bytes.truncate(bytes.lastIndexOf('\n') + 1);
    try {
        return parseHistory(bytes);
    } catch (const CsvCodec::Error &e) {
        throw Damaged(u"line %1: %2"_s.arg(e.line).arg(e.reason));
    }
}

void HistoryFile::write(const HistoryRows &rows)
{
    try {
        TStringGridIO::writeFileDurably(m_path, HistoryCsv::encode(rows, CsvCodec::Form::Plain));
    } catch (const std::exception &e) {
        throw std::runtime_error(cannotWrite(m_path, QString::fromUtf8(e.what())).toStdString());
    }
}

HistoryRows HistoryFile::readOrKeepAside(const QDateTime &now, QString *noticeOut)
{
    try {
        return read();
    } catch (const Damaged &) {
        const QString keptAs = keepAside(m_path, now);
        if (noticeOut) {
            *noticeOut = keptAs.isEmpty()
                ? u"計測の履歴ファイル %1 を読み込めませんでした。別の名前に移すこともできなかったため、そのまま残してあります。"_s
                      .arg(QDir::toNativeSeparators(m_path))
                : u"計測の履歴ファイル %1 を読み込めなかったため、新しい履歴を始めます。元のファイルは %2 として残してあります。"_s
                      .arg(QDir::toNativeSeparators(m_path), QDir::toNativeSeparators(keptAs));
        }
        if (keptAs.isEmpty())
            throw;
        return {};
    }
}

HistoryEntry parseHistoryFields(const QStringList &f, int line)
{
    static const qsizetype columns = HistoryCsv::header().size();
    if (f.size() != columns)
        throw CsvCodec::Error(line, u"The row has %1 fields, not %2."_s.arg(f.size()).arg(columns));
    HistoryEntry e;
    e.day = QDate::fromString(f[0], Qt::ISODate);
    if (!e.day.isValid())
        throw CsvCodec::Error(line, u"The date is not an ISO date (YYYY-MM-DD)."_s);
    if (f[1] != u"morning"_s && f[1] != u"evening"_s)
        throw CsvCodec::Error(line, u"The slot is neither morning nor evening."_s);
    e.eveningSlot = f[1] == u"evening"_s ? 1 : 0;
    if (!f[2].isEmpty()) {
        // Read by hand: a format string is parsed anew on every call, and there are thousands.
        const QString &t = f[2];
        const bool shaped = t.size() == 5 && t[2] == u':' && t[0].isDigit() && t[1].isDigit()
            && t[3].isDigit() && t[4].isDigit();
        if (shaped)
            e.time = QTime(t[0].digitValue() * 10 + t[1].digitValue(),
                t[3].digitValue() * 10 + t[4].digitValue());
        if (!shaped || !e.time.isValid())
            throw CsvCodec::Error(line, u"The time is not HH:MM."_s);
    }
    if (!f[3].isEmpty() && f[3] != u"male"_s && f[3] != u"female"_s)
        throw CsvCodec::Error(line, u"The sex is neither male nor female."_s);
    e.sexCode = f[3] == u"male"_s ? 1 : f[3] == u"female"_s ? 2 : 0;
    e.age = readWhole(f[4], line, u"The age", 0, 200);
    e.heightCm = readDecimal(f[5], line, u"The height");
    e.weightKg = readDecimal(f[6], line, u"The weight");
    e.bodyFatPercent = readDecimal(f[7], line, u"The body fat");
    e.fatWeightKg = readDecimal(f[8], line, u"The fat weight");
    e.bmi = readDecimal(f[9], line, u"The BMI");
    e.bmrKcal = readDecimal(f[10], line, u"The basal metabolic rate");
    e.bodyType = readWhole(f[11], line, u"The body type", 0, 12);
    e.excessFatKg = readDecimal(f[12], line, u"The excess fat");
    e.mood = readWhole(f[13], line, u"The mood", 0, 4);
    return e;
}

HistoryRows parseHistory(const QByteArray &bytes)
{
    const QList<CsvCodec::Record> records = CsvCodec::decode(bytes);
    HistoryRows rows;
    if (records.isEmpty())
        return rows;
    if (records.first().fields != HistoryCsv::header())
        throw CsvCodec::Error(records.first().line, u"The header is not that of a history."_s);
    for (qsizetype i = 1; i < records.size(); ++i) {
        const HistoryEntry e = parseHistoryFields(records[i].fields, records[i].line);
        rows[keyOf(e)] = e;
    }
    return rows;
}
