// SPDX-License-Identifier: GPL-3.0-or-later
#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QThread>
#include <QWidget>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

// A holder still starting has this long to begin listening.
constexpr int holderStartMs = 3000;

// Resolves "." and ".." of a path part that does not exist yet (so holds no link) onto base.
QByteArray appendClean(QByteArray base, const QByteArray &tail)
{
    for (const QByteArray &part : tail.split('/')) {
        if (part.isEmpty() || part == ".")
            continue;
        if (part == "..") {
            base.truncate(qMax<qsizetype>(base.lastIndexOf('/'), 0));
            continue;
        }
        base += '/' + part;
    }
    return base.isEmpty() ? QByteArray("/") : base;
}

#if defined(Q_OS_UNIX)

QByteArray hostName()
{
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return {};
    return QByteArray(name);
}

QByteArray userName(uid_t uid)
{
    if (const passwd *entry = ::getpwuid(uid))
        return QByteArray(entry->pw_name);
    return QByteArray::number(uid);
}

// Whole-file locks that belong to the open file, not the process: two guards in one process
// exclude each other too, the kernel drops them when the holder dies, and they work over NFS.
bool lockWhole(int fd, short type)
{
#if defined(F_OFD_SETLK)
    struct flock region = {};
    region.l_type = type;
    region.l_whence = SEEK_SET;
    if (::fcntl(fd, F_OFD_SETLK, &region) == 0)
        return true;
    if (errno != EINVAL)
        return false;
#endif
    return ::flock(fd, (type == F_WRLCK ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0;
}

bool heldElsewhere(int error)
{
    return error == EAGAIN || error == EWOULDBLOCK || error == EACCES;
}

// A folder only this user can enter.
bool isPrivateFolder(const QByteArray &path)
{
    struct stat info = {};
    return ::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode)
        && info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

QByteArray socketFolder()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && isPrivateFolder(runtime))
        return runtime;
    const QByteArray temp
        = QFile::encodeName(QDir::tempPath()) + "/pemira-" + QByteArray::number(::getuid());
    ::mkdir(temp.constData(), 0700);
    return isPrivateFolder(temp) ? temp : QByteArray();
}

bool socketAddress(const QByteArray &path, sockaddr_un &address)
{
    address = {};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || size_t(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    return true;
}

bool answers(const QByteArray &path)
{
    sockaddr_un address;
    if (!socketAddress(path, address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    const int result = ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address);
    // A full backlog still means somebody listens.
    const bool listening = result == 0 || errno == EAGAIN || errno == EINPROGRESS;
    ::close(fd);
    return listening;
}

enum class Outcome { Taken, Busy, Impossible };

// Creates or opens path and locks it for writing. The lock belongs to the file still named path,
// so a holder may remove the file as it lets go. Busy leaves the open file in *fd to read from.
Outcome lockFile(const QByteArray &path, mode_t mode, int *fd)
{
    for (int attempt = 0; attempt < 8; ++attempt) {
        // Never follow a link nor wait on a pipe someone put in its place.
        *fd = ::open(
            path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, mode);
        if (*fd < 0) {
            struct stat existing = {};
            if (errno != EACCES || ::lstat(path.constData(), &existing) != 0
                || !S_ISREG(existing.st_mode))
                return Outcome::Impossible;
            // Another user's lock file: held, or left behind and replaceable when the folder
            // lets us.
            *fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
            if (*fd >= 0) {
                if (!lockWhole(*fd, F_RDLCK) && heldElsewhere(errno))
                    return Outcome::Busy;
                ::close(*fd);
                *fd = -1;
            }
            if (::unlink(path.constData()) != 0)
                return Outcome::Impossible;
            continue;
        }
        struct stat opened = {};
        if (::fstat(*fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
            ::close(*fd);
            *fd = -1;
            return Outcome::Impossible;
        }
        if (!lockWhole(*fd, F_WRLCK)) {
            if (heldElsewhere(errno))
                return Outcome::Busy;
            ::close(*fd);
            *fd = -1;
            return Outcome::Impossible;
        }
        struct stat named = {};
        if (::stat(path.constData(), &named) == 0 && named.st_dev == opened.st_dev
            && named.st_ino == opened.st_ino)
            return Outcome::Taken;
        // The holder removed it as we opened it: lock the file now at that name.
        ::close(*fd);
        *fd = -1;
    }
    return Outcome::Impossible;
}

void releaseFile(int &fd, const QByteArray &path)
{
    if (fd < 0)
        return;
    // Removed while still locked, so no start can take the removed file for the lock.
    ::unlink(path.constData());
    ::close(fd);
    fd = -1;
}

#endif

} // namespace

SingleInstance::SingleInstance(const QString &recordFile, QObject *parent)
    : QObject(parent)
    , m_canonical(canonicalRecordPath(recordFile))
    , m_lockPath(m_canonical + ".lock")
    , m_socketPath(QFile::encodeName(socketPath(recordFile)))
{ }

SingleInstance::~SingleInstance()
{
#if defined(Q_OS_UNIX)
    m_notifier.reset();
    if (m_listenFd >= 0) {
        ::close(m_listenFd);
        ::unlink(m_socketPath.constData());
    }
    releaseFile(m_socketLockFd, m_socketPath + ".lock");
    releaseFile(m_lockFd, m_lockPath);
#endif
}

QByteArray SingleInstance::canonicalRecordPath(const QString &recordFile)
{
    QByteArray path = QFile::encodeName(QFileInfo(recordFile).absoluteFilePath());
    QByteArray tail;
    for (;;) {
#if defined(Q_OS_UNIX)
        if (char *real = ::realpath(path.constData(), nullptr)) {
            const QByteArray resolved(real);
            std::free(real);
            return tail.isEmpty() ? resolved : appendClean(resolved == "/" ? "" : resolved, tail);
        }
#endif
        const qsizetype slash = path.lastIndexOf('/');
        if (slash <= 0)
            return appendClean({}, path + tail);
        tail.prepend(path.mid(slash));
        path.truncate(slash);
    }
}

QString SingleInstance::lockFileName(const QString &recordFile)
{
    return QFile::decodeName(canonicalRecordPath(recordFile) + ".lock");
}

QString SingleInstance::socketPath(const QString &recordFile)
{
#if defined(Q_OS_UNIX)
    const QByteArray folder = socketFolder();
    if (folder.isEmpty())
        return {};
    const QByteArray key
        = QCryptographicHash::hash(canonicalRecordPath(recordFile), QCryptographicHash::Sha256)
              .toHex()
              .left(32);
    return QFile::decodeName(folder + "/pemira-" + key);
#else
    Q_UNUSED(recordFile);
    return {};
#endif
}

bool SingleInstance::askToShow(const QString &recordFile)
{
#if defined(Q_OS_UNIX)
    return answers(QFile::encodeName(socketPath(recordFile)));
#else
    Q_UNUSED(recordFile);
    return false;
#endif
}

SingleInstance::Claim SingleInstance::claim()
{
#if defined(Q_OS_UNIX)
    // Whatever the lock says (a first window that started before the record's folder existed has
    // none), a program that answers is the one on this record.
    if (answers(m_socketPath))
        return Claim::Elsewhere;
    switch (takeLock()) {
    case Lock::Taken:
        return listenOr(Claim::Owner);
    case Lock::Impossible:
        return listenOr(Claim::Unguarded);
    case Lock::Busy:
        break;
    }
    // The holder may still be starting; one of another user or computer never answers here.
    if (m_holderNotice.isEmpty() && waitForAnswer(holderStartMs))
        return Claim::Elsewhere;
    if (m_holderNotice.isEmpty())
        m_holderNotice
            = u"記録ファイル %1 は、このコンピューターで動いている別のペミラが使用中ですが、応答がありません。そのペミラを終了してから、もう一度起動してください。"_s
                  .arg(QDir::toNativeSeparators(QFile::decodeName(m_canonical)));
    return Claim::HeldByOther;
#else
    return Claim::Owner;
#endif
}

SingleInstance::Lock SingleInstance::takeLock()
{
#if defined(Q_OS_UNIX)
    int fd = -1;
    switch (lockFile(m_lockPath, 0644, &fd)) {
    case Outcome::Impossible:
        return Lock::Impossible;
    case Outcome::Busy:
        describeHolder(fd);
        ::close(fd);
        return Lock::Busy;
    case Outcome::Taken:
        break;
    }
    char left[256] = {};
    const ssize_t leftSize = ::pread(fd, left, sizeof left - 1, 0);
    const QByteArray leftHost = QByteArray(left, qMax<ssize_t>(leftSize, 0)).split('\n').value(1);
    if (!leftHost.trimmed().isEmpty() && leftHost.trimmed() != hostName())
        m_takeOverNotice
            = u"記録ファイル %1 のロックファイルは、コンピューター「%2」で動いていたペミラが残したままでした。そのペミラはもう動いていないため、引き継ぎました。"_s
                  .arg(QDir::toNativeSeparators(QFile::decodeName(m_canonical)),
                      QString::fromUtf8(leftHost.trimmed()));
    // Only for the words of a start that finds it held: the lock itself is the kernel's.
    const QByteArray holder
        = QByteArray::number(::getpid()) + '\n' + hostName() + '\n' + userName(::getuid()) + '\n';
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, holder.constData(), size_t(holder.size()), 0) < 0)
        qWarning("pemira: cannot note the holder in %s", m_lockPath.constData());
    m_lockFd = fd;
    return Lock::Taken;
#else
    return Lock::Impossible;
#endif
}

void SingleInstance::describeHolder(int fd)
{
#if defined(Q_OS_UNIX)
    char buffer[1024] = {};
    const ssize_t size = ::pread(fd, buffer, sizeof buffer - 1, 0);
    const QList<QByteArray> lines = QByteArray(buffer, qMax<ssize_t>(size, 0)).split('\n');
    QByteArray host = lines.value(1).trimmed();
    QByteArray user = lines.value(2).trimmed();
    struct stat info = {};
    if (user.isEmpty() && ::fstat(fd, &info) == 0)
        user = userName(info.st_uid);
    const bool otherUser = !user.isEmpty() && user != userName(::getuid());
    const bool otherHost = !host.isEmpty() && host != hostName();
    if (!otherUser && !otherHost)
        return; // ours: it may still be starting and answer soon
    const QString record = QDir::toNativeSeparators(QFile::decodeName(m_canonical));
    const QString where = otherHost ? u"コンピューター「%1」"_s.arg(QString::fromUtf8(host))
                                    : u"このコンピューター"_s;
    const QString who = otherUser ? u"ユーザー「%1」が"_s.arg(QString::fromUtf8(user)) : QString();
    m_holderNotice
        = u"記録ファイル %1 は、%2%3で起動したペミラが使用中のため開けません。そのペミラを終了してから、もう一度起動してください。"_s
              .arg(record, who, where);
#else
    Q_UNUSED(fd);
#endif
}

SingleInstance::Claim SingleInstance::listenOr(Claim claim)
{
#if defined(Q_OS_UNIX)
    sockaddr_un address;
    if (!socketAddress(m_socketPath, address))
        return claim;
    // Only one start of this user at a time binds the socket, so the one it removes first is a
    // leftover. A start that finds that lock held is racing the program it should raise.
    int fd = -1;
    switch (lockFile(m_socketPath + ".lock", 0600, &fd)) {
    case Outcome::Impossible:
        return claim;
    case Outcome::Busy:
        ::close(fd);
        return waitForAnswer(holderStartMs) ? Claim::Elsewhere : claim;
    case Outcome::Taken:
        m_socketLockFd = fd;
        break;
    }
    ::unlink(m_socketPath.constData());
    m_listenFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_listenFd < 0)
        return claim;
    if (::bind(m_listenFd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0
        || ::listen(m_listenFd, 16) != 0) {
        ::close(m_listenFd);
        m_listenFd = -1;
        return claim;
    }
    m_notifier = std::make_unique<QSocketNotifier>(m_listenFd, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] {
        // Every connection is a request to come to the front; nothing it sends is read.
        bool asked = false;
        for (int peer; (peer = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
            ::close(peer);
            asked = true;
        }
        if (asked)
            Q_EMIT activationRequested();
    });
#endif
    return claim;
}

bool SingleInstance::waitForAnswer(int milliseconds) const
{
#if defined(Q_OS_UNIX)
    const QDeadlineTimer deadline(milliseconds);
    do {
        if (answers(m_socketPath))
            return true;
        QThread::msleep(50);
    } while (!deadline.hasExpired());
#else
    Q_UNUSED(milliseconds);
#endif
    return false;
}

void SingleInstance::raiseOnRequest(QWidget *window)
{
    connect(this, &SingleInstance::activationRequested, window, [window] {
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->show();
        window->raise();
        window->activateWindow();
    });
}
