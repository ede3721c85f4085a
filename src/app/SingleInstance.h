// SPDX-License-Identifier: GPL-3.0-or-later
// One running program per record file: the first start holds a kernel lock on a file beside the
// record and listens on a local socket named after the record's canonical path; a later start on
// the same record asks that program to come to the front and ends without touching anything.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

class QSocketNotifier;
class QWidget;

class SingleInstance : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SingleInstance)
public:
    enum class Claim {
        Owner,      // this program holds the record
        Elsewhere,  // another running program holds it and was asked to come to the front
        Unguarded,  // no lock could be made (folder not writable or missing): run, still listening
        HeldByOther // a live program that does not answer here holds it: holderNotice() says who
    };

    explicit SingleInstance(const QString &recordFile, QObject *parent = nullptr);
    // Releases the lock and removes the socket and the lock file.
    ~SingleInstance() override;

    Claim claim();
    // With HeldByOther: who holds the record, in the window's words.
    QString holderNotice() const { return m_holderNotice; }
    // With Owner: when the lock taken over was left by a program on another computer (a stick
    // pulled out while it ran), the words saying so; else empty.
    QString takeOverNotice() const { return m_takeOverNotice; }
    // Shows, raises and activates window whenever a later start asks for it.
    void raiseOnRequest(QWidget *window);

    // The record's path as the system's bytes, symbolic links and "." / ".." resolved as far as
    // the path exists: every spelling of one record gives the same bytes.
    static QByteArray canonicalRecordPath(const QString &recordFile);
    static QString lockFileName(const QString &recordFile);
    // The socket's path: in XDG_RUNTIME_DIR, else in a private folder of this user's under the
    // temporary folder. Empty when neither is usable.
    static QString socketPath(const QString &recordFile);
    // Asks a program listening for recordFile to come to the front; false when none answers.
    static bool askToShow(const QString &recordFile);

Q_SIGNALS:
    void activationRequested();

private:
    enum class Lock { Taken, Busy, Impossible };
    Lock takeLock();
    Claim listenOr(Claim claim);
    bool waitForAnswer(int milliseconds) const;
    void describeHolder(int fd);

    QByteArray m_canonical;
    QByteArray m_lockPath;
    QByteArray m_socketPath;
    int m_lockFd = -1;
    int m_socketLockFd = -1;
    int m_listenFd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QString m_holderNotice;
    QString m_takeOverNotice;
};
