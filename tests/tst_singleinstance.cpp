// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderSnapshot.h"
#include "app/SingleInstance.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

// Holds path's lock the way a running program does, for as long as it lives.
struct HeldLock
{
    explicit HeldLock(const QString &path, const QByteArray &holder)
    {
        fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        struct flock region = {};
        region.l_type = F_WRLCK;
        region.l_whence = SEEK_SET;
        locked = fd >= 0 && ::fcntl(fd, F_OFD_SETLK, &region) == 0
            && ::write(fd, holder.constData(), size_t(holder.size())) == holder.size();
    }
    ~HeldLock()
    {
        if (fd >= 0)
            ::close(fd);
    }
    int fd = -1;
    bool locked = false;
};

QByteArray thisHost()
{
    char name[256] = {};
    ::gethostname(name, sizeof name - 1);
    return name;
}

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        // Sockets go to this private runtime folder, for this program and the ones it starts.
        QVERIFY(runtime.isValid());
        QVERIFY(QFile::setPermissions(
            runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    }

    void secondStartOnTheSameRecordRaisesTheFirstAndWritesNothing_data()
    {
        QTest::addColumn<QString>("spelling"); // how the second start names the record
        QTest::newRow("same-path") << u"settemp.dat"_s;
        QTest::newRow("through-a-linked-folder") << u"link/settemp.dat"_s;
        QTest::newRow("with-dot-dot") << u"sub/../settemp.dat"_s;
    }
    void secondStartOnTheSameRecordRaisesTheFirstAndWritesNothing()
    {
        QFETCH(QString, spelling);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(u"sub"_s));
        QVERIFY(QFile::link(dir.path(), dir.filePath(u"link"_s)));
        const QString record = dir.filePath(u"settemp.dat"_s);
        SingleInstance first(record);
        QCOMPARE(first.claim(), SingleInstance::Claim::Owner);
        QVERIFY(QFileInfo(SingleInstance::socketPath(record)).path() == runtime.path());
        QWidget window; // hidden, as a window left behind others
        first.raiseOnRequest(&window);
        const auto before = folderSnapshot(dir.path());

        QCOMPARE(runSecondStart(dir.path() + u'/' + spelling), 0);
        QTRY_VERIFY(window.isVisible());
        QCOMPARE(folderSnapshot(dir.path()), before);

        // Another record beside it is another program's to hold.
        SingleInstance other(dir.filePath(u"other.dat"_s));
        QCOMPARE(other.claim(), SingleInstance::Claim::Owner);
    }

    // The installed program's data folder appears with the first save: the window that started
    // before it could hold no lock, and a later start must still find it.
    void startAfterTheFirstSaveMadeTheFolderRaisesTheFirst()
    {
        QTemporaryDir dir;
        const QString record = dir.filePath(u"data/pemira/settemp.dat"_s);
        SingleInstance first(record);
        QCOMPARE(first.claim(), SingleInstance::Claim::Unguarded);
        QWidget window;
        first.raiseOnRequest(&window);
        QVERIFY(QDir().mkpath(dir.filePath(u"data/pemira"_s)));

        QCOMPARE(runSecondStart(record), 0);
        QTRY_VERIFY(window.isVisible());
        QVERIFY(!QFileInfo::exists(record));
    }

    void lockNobodyHoldsIsTakenOver_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("mode");
        QTest::newRow("empty") << QByteArray() << 0644;
        QTest::newRow("from-another-computer") << QByteArray("4242\nanother-pc\nsomeone\n") << 0644;
        QTest::newRow("not-readable") << QByteArray("4242\n") << 0;
        QTest::newRow("left-by-a-crash") << QByteArray() << -1;
    }
    void lockNobodyHoldsIsTakenOver()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, mode);
        QTemporaryDir dir;
        const QString record = dir.filePath(u"settemp.dat"_s);
        const QString lock = SingleInstance::lockFileName(record);
        if (mode < 0) {
            QProcess crashed;
            crashed.start(QStringLiteral(PEMIRA_EXECUTABLE), {u"--record"_s, record});
            QVERIFY(crashed.waitForStarted());
            QTRY_VERIFY_WITH_TIMEOUT(SingleInstance::askToShow(record), 20'000);
            crashed.kill();
            QVERIFY(crashed.waitForFinished());
            QVERIFY(QFile::exists(lock));
        } else {
            QFile file(lock);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
            file.close();
            QVERIFY(::chmod(QFile::encodeName(lock).constData(), mode_t(mode)) == 0);
        }
        {
            SingleInstance next(record);
            QCOMPARE(next.claim(), SingleInstance::Claim::Owner);
            QVERIFY(SingleInstance::askToShow(record));
            // Said once, and only of a lock from another computer.
            QCOMPARE(
                next.takeOverNotice().contains(u"another-pc"_s), content.contains("another-pc"));
            if (!content.contains("another-pc"))
                QCOMPARE(next.takeOverNotice(), QString());
        }
        // Let go, it leaves nothing behind.
        QVERIFY(!QFileInfo::exists(lock));
        QVERIFY(!QFileInfo::exists(SingleInstance::socketPath(record)));
    }

    void liveHolderThatDoesNotAnswerIsNamed_data()
    {
        QTest::addColumn<QByteArray>("holder");
        QTest::addColumn<QString>("named");
        QTest::newRow("another-user")
            << QByteArray("4242\n" + thisHost() + "\nhanako\n") << u"ユーザー「hanako」"_s;
        QTest::newRow("another-computer")
            << QByteArray("4242\nanother-pc\n") << u"コンピューター「another-pc」"_s;
    }
    void liveHolderThatDoesNotAnswerIsNamed()
    {
        QFETCH(QByteArray, holder);
        QFETCH(QString, named);
        QTemporaryDir dir;
        const QString record = dir.filePath(u"settemp.dat"_s);
        const HeldLock held(SingleInstance::lockFileName(record), holder);
        QVERIFY(held.locked);
        SingleInstance next(record);
        QCOMPARE(next.claim(), SingleInstance::Claim::HeldByOther);
        QVERIFY2(next.holderNotice().contains(named), qPrintable(next.holderNotice()));
        QVERIFY(next.holderNotice().contains(QDir::toNativeSeparators(record)));
    }

    void signalEndsTheProgramCleanly_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }
    void signalEndsTheProgramCleanly()
    {
        QFETCH(int, signal);
        QTemporaryDir dir;
        const QString record = dir.filePath(u"settemp.dat"_s);
        QProcess program;
        program.start(QStringLiteral(PEMIRA_EXECUTABLE), {u"--record"_s, record});
        QVERIFY(program.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(SingleInstance::askToShow(record), 20'000);
        QVERIFY(QFileInfo::exists(SingleInstance::lockFileName(record)));
        ::kill(pid_t(program.processId()), signal);
        QVERIFY(program.waitForFinished(20'000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QVERIFY(!QFileInfo::exists(SingleInstance::lockFileName(record)));
        QVERIFY(!QFileInfo::exists(SingleInstance::socketPath(record)));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), {});
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
    // A second start of the program on record: its exit code, -1 when it did not end by itself.
    static int runSecondStart(const QString &record)
    {
        QProcess second;
        second.start(QStringLiteral(PEMIRA_EXECUTABLE), {u"--record"_s, record});
        if (!second.waitForFinished(20'000) || second.exitStatus() != QProcess::NormalExit) {
            second.kill();
            second.waitForFinished();
            return -1;
        }
        return second.exitCode();
    }

    QTemporaryDir runtime;
};

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
