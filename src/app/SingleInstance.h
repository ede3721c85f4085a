// SPDX-License-Identifier: GPL-3.0-or-later
// One running program per record file: the first start holds a lock beside the record and
// listens on a local socket named after it; a later start on the same record asks that program to
// come to the front and ends without touching anything.
#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <future>
#include <memory>

class QLocalServer;
class QWidget;

class SingleInstance : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SingleInstance)
public:
    enum class Claim {
        Owner,     // this program holds the record
        Elsewhere, // another running program holds it and was asked to come to the front
        Unguarded, // no lock could be made (folder not writable or missing): run without one
    };

    explicit SingleInstance(const QString &recordFile, QObject *parent = nullptr);
    ~SingleInstance() override;

    // Taking the lock waits for the lock file to reach the disk: startClaim does it on a worker
    // thread so the window can be built meanwhile, finishClaim waits for it and, when another
    // program holds the record, asks that one to come to the front.
    void startClaim();
    Claim finishClaim();
    Claim claim();
    // Shows, raises and activates window whenever a later start asks for it.
    void raiseOnRequest(QWidget *window);

    // The local socket's name: the same for every spelling of the record's path.
    static QString serverName(const QString &recordFile);
    static QString lockFileName(const QString &recordFile);

Q_SIGNALS:
    void activationRequested();

private:
    void listen();
    bool askOwnerToShow() const;

    QString m_name;
    QLockFile m_lock;
    QString m_folder;
    std::future<bool> m_locking;
    std::unique_ptr<QLocalServer> m_server;
};
