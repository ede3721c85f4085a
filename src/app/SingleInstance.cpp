// SPDX-License-Identifier: GPL-3.0-or-later
#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

// Symbolic links and relative spellings of the folder lead to the same record.
QString absoluteRecordPath(const QString &recordFile)
{
    const QFileInfo info(recordFile);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : folder + u'/' + info.fileName();
}

} // namespace

SingleInstance::SingleInstance(const QString &recordFile, QObject *parent)
    : QObject(parent)
    , m_name(serverName(recordFile))
    , m_lock(lockFileName(recordFile))
    , m_folder(QFileInfo(recordFile).absolutePath())
{
    // The lock file is never refreshed, so age must not make it stale: only a holder that is no
    // longer running does.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverName(const QString &recordFile)
{
    const QByteArray path = absoluteRecordPath(recordFile).toUtf8();
    QString name = u"pemira-"_s
        + QString::fromLatin1(
            QCryptographicHash::hash(path, QCryptographicHash::Sha256).toHex().left(32));
#if defined(Q_OS_UNIX)
    // Each user's programs find their own socket in the shared temporary folder.
    name += u'-' + QString::number(::getuid());
#endif
    return name;
}

QString SingleInstance::lockFileName(const QString &recordFile)
{
    return absoluteRecordPath(recordFile) + u".lock"_s;
}

void SingleInstance::startClaim()
{
    m_locking = std::async(std::launch::async, [this] { return m_lock.tryLock(0); });
}

SingleInstance::Claim SingleInstance::finishClaim()
{
    if (!m_locking.valid())
        startClaim();
    if (m_locking.get()) {
        listen();
        return Claim::Owner;
    }
    // No lock can be made where the record lives (a read-only folder, or the user's data folder
    // before its first save): the socket alone then keeps a second start on this record from
    // opening another window.
    if (m_lock.error() != QLockFile::LockFailedError || !QFileInfo(m_folder).isDir()) {
        if (askOwnerToShow())
            return Claim::Elsewhere;
        listen();
        return Claim::Unguarded;
    }
    // The holder may still be starting: give it a moment to listen.
    QDeadlineTimer deadline(3000);
    while (!askOwnerToShow() && !deadline.hasExpired())
        QThread::msleep(100);
    return Claim::Elsewhere;
}

SingleInstance::Claim SingleInstance::claim()
{
    startClaim();
    return finishClaim();
}

void SingleInstance::listen()
{
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Holding the lock (or having found nobody answering), any socket of that name was left by a
    // program that crashed.
    QLocalServer::removeServer(m_name);
    if (!m_server->listen(m_name)) {
        m_server.reset();
        return;
    }
    connect(m_server.get(), &QLocalServer::newConnection, this, [this] {
        // Every connection is a request to come to the front; nothing it sends is read.
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            socket->disconnectFromServer();
            Q_EMIT activationRequested();
        }
    });
}

bool SingleInstance::askOwnerToShow() const
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(500))
        return false;
    socket.disconnectFromServer();
    return true;
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
