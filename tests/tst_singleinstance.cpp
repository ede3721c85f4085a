// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderSnapshot.h"
#include "app/SingleInstance.h"

#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace Qt::StringLiterals;

class TestSingleInstance : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void secondStartOnTheSameRecordRaisesTheFirstAndWritesNothing()
    {
        QTemporaryDir dir;
        const QString record = dir.filePath(u"settemp.dat"_s);
        SingleInstance first(record);
        QCOMPARE(first.claim(), SingleInstance::Claim::Owner);
        QWidget window; // hidden, as a window left behind others
        first.raiseOnRequest(&window);
        const auto before = folderSnapshot(dir.path());

        QProcess second;
        second.start(QStringLiteral(PEMIRA_EXECUTABLE), {u"--record"_s, record});
        QVERIFY(second.waitForFinished(20'000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QTRY_VERIFY(window.isVisible());
        QCOMPARE(folderSnapshot(dir.path()), before);

        // Another record beside it is another program's to hold.
        SingleInstance other(dir.filePath(u"other.dat"_s));
        QCOMPARE(other.claim(), SingleInstance::Claim::Owner);
    }

    void lockLeftByACrashDoesNotBlock()
    {
        QTemporaryDir dir;
        const QString record = dir.filePath(u"settemp.dat"_s);
        QProcess crashed;
        crashed.start(QStringLiteral(PEMIRA_EXECUTABLE), {u"--record"_s, record});
        QVERIFY(crashed.waitForStarted());
        // Running once it answers on its socket.
        QTRY_VERIFY_WITH_TIMEOUT(answers(record), 20'000);
        crashed.kill();
        QVERIFY(crashed.waitForFinished());
        QVERIFY(QFile::exists(SingleInstance::lockFileName(record)));

        SingleInstance next(record);
        QCOMPARE(next.claim(), SingleInstance::Claim::Owner);
        QVERIFY(answers(record));
    }

    void recordWhereNoLockCanBeMadeStillStarts_data()
    {
        QTest::addColumn<bool>("folderExists");
        QTest::newRow("read-only-folder") << true;
        QTest::newRow("folder-not-made-yet") << false;
    }
    void recordWhereNoLockCanBeMadeStillStarts()
    {
        QFETCH(bool, folderExists);
        QTemporaryDir dir;
        const QString folder = folderExists ? dir.path() : dir.filePath(u"not-yet"_s);
        ImmutableGuard guard;
        if (folderExists
            && (geteuid() == 0
                    ? !guard.set(dir.path())
                    : !QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner)))
            QSKIP("no read-only folder can be made here");
        // Nobody can hold a lock there: start unguarded, not wait and give up as if another
        // start held the record; a second start still finds the first through its socket.
        const QString record = folder + u"/settemp.dat"_s;
        SingleInstance instance(record);
        const SingleInstance::Claim claim = instance.claim();
        SingleInstance second(record);
        const SingleInstance::Claim secondClaim = second.claim();
        guard.lift();
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(claim, SingleInstance::Claim::Unguarded);
        QCOMPARE(secondClaim, SingleInstance::Claim::Elsewhere);
        QVERIFY(!QFileInfo::exists(folder + u"/settemp.dat.lock"_s));
    }

private:
    static bool answers(const QString &record)
    {
        QLocalSocket socket;
        socket.connectToServer(SingleInstance::serverName(record));
        return socket.waitForConnected(200);
    }
};

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
