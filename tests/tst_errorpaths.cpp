// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderSnapshot.h"
#include "WindowHarness.h"

#include <QDir>

#include <atomic>
#include <chrono>
#include <thread>

#include <sys/stat.h>

// No test may reach a real printer: the CUPS client is pointed at a closed port.
static const bool noPrinter = [] {
    qputenv("CUPS_SERVER", "127.0.0.1:1");
    return true;
}();

namespace {

const QString prompt = u"毎日、起床直後のトイレの後＆夕食の直後に計測！"_s;

// What stands in the way of the record file, and how it is put there and taken away again.
enum class Obstacle {
    DirectoryAsRecord, // a folder named settemp.dat, with a file inside
    FolderIsAFile,     // the program's folder is a regular file
    ImmutableRecord,   // the record file cannot be replaced or removed
    ImmutableFolder,   // nothing can be created or removed in the program's folder
};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Opens the pipe for writing if the window is still starting after a few seconds: a start that
// waits on the pipe then goes on, and fired() tells.
class PipeWatchdog
{
public:
    explicit PipeWatchdog(const QString &pipe)
    {
        if (pipe.isEmpty())
            return;
        m_thread = std::thread([this, name = QFile::encodeName(pipe)] {
            for (int i = 0; i < 100 && !m_done; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            if (m_done)
                return;
            m_fired = true;
            const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
        });
    }
    ~PipeWatchdog()
    {
        m_done = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    bool fired() const { return m_fired; }

private:
    std::atomic<bool> m_done = false;
    std::atomic<bool> m_fired = false;
    std::thread m_thread;
};

} // namespace

Q_DECLARE_METATYPE(Obstacle)

class TestErrorPaths : public WindowTest
{
    Q_OBJECT
private Q_SLOTS:
    void unreadableRecordAtStartStartsANewMonth_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("keptAs"); // empty: nothing worth keeping, nothing said
        const QString kept = u"settemp.dat.damaged-20240503-070500"_s;
        QTest::newRow("missing") << 0 << QString();
        QTest::newRow("folder-in-its-place") << 1 << QString();
        QTest::newRow("empty-file") << 2 << QString();
        QTest::newRow("zero-bytes-and-garbage") << 3 << kept;
        QTest::newRow("profile-not-numeric") << 4 << kept;
        QTest::newRow("named-pipe") << 5 << u"<left-in-place>"_s;
        QTest::newRow("earlier-copy-not-overwritten") << 6 << kept + u"-2"_s;
        QTest::newRow("no-read-permission") << 7 << kept;
    }
    void unreadableRecordAtStartStartsANewMonth()
    {
        QFETCH(int, kind);
        QFETCH(QString, keptAs);
        const QString path = h->recordPath();
        const QByteArray garbage = QByteArray("1,\0,\xff\xfe\r\r\n,,", 11).repeated(50);
        switch (kind) {
        case 1:
            QVERIFY(QDir(h->folder.path()).mkpath(u"settemp.dat/inside"_s));
            writeFile(path + u"/inside/note.txt"_s, "kept");
            break;
        case 2:
            writeFile(path, {});
            break;
        case 3:
            writeFile(path, garbage);
            break;
        case 4:
            writeFile(path, QByteArray("1,x,170.0,,\r\n").repeated(16));
            break;
        case 5:
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
            break;
        case 6:
            writeFile(path, garbage);
            writeFile(h->folder.filePath(u"settemp.dat.damaged-20240503-070500"_s), "earlier");
            break;
        case 7:
            if (::geteuid() == 0)
                QSKIP("permissions are not enforced for this user (root)");
            writeFile(path, garbage);
            QVERIFY(QFile::setPermissions(path, QFile::WriteOwner));
            break;
        }
        auto before = folderSnapshot(h->folder.path());
        {
            // Opening a pipe must not wait for a writer: were it to, this writer ends the wait
            // and the test fails instead of hanging.
            PipeWatchdog watchdog(kind == 5 ? path : QString());
            h->start();
            QVERIFY(!watchdog.fired());
        }
        QCoreApplication::processEvents(); // the notice waits for the window
        QVERIFY(h->window->windowTitle().startsWith(prompt + u"2024/5/3"_s));
        // A new month from today.
        QCOMPARE(h->window->recordTable().cell(0, 1), u"5"_s);
        QCOMPARE(h->window->recordTable().cell(0, 2), u"3"_s);
        QVERIFY(!h->button("PictureButton10")->isEnabled());
        QVERIFY(!h->button("PictureButton6")->isEnabled());
        if (kind == 5) {
            // Not the program's to move: said once, left where it is.
            QCOMPARE(h->messages.size(), 1);
            QCOMPARE(folderSnapshot(h->folder.path()), before);
            return;
        }
        if (keptAs.isEmpty()) {
            QVERIFY2(h->messages.isEmpty(), qPrintable(h->messages.join(u'\n')));
            // The start does not write, so whatever was there is kept.
            QCOMPARE(folderSnapshot(h->folder.path()), before);
            return;
        }
        // Said once, naming where the old record now is; kept there byte for byte.
        QCOMPARE(h->messages.size(), 1);
        QVERIFY2(h->messages.first().contains(QDir::toNativeSeparators(h->folder.filePath(keptAs))),
            qPrintable(h->messages.first()));
        QVERIFY(!QFileInfo::exists(path));
        before.insert(keptAs, before.take(u"settemp.dat"_s));
        h->fill(1, u"30"_s, u"170"_s, u"60"_s, u"20"_s);
        h->click("PictureButton3");
        QCOMPARE(h->messages.size(), 1);
        before.insert(u"settemp.dat"_s, h->recordBytes());
        // The measurement's history line beside it is the only other change.
        before.insert(u"settemp-history.csv"_s,
            folderSnapshot(h->folder.path()).value(u"settemp-history.csv"_s));
        QCOMPARE(folderSnapshot(h->folder.path()), before);
        QCOMPARE(recordFromBytes(h->recordBytes()).cell(0, 3), u"60.0"_s);
    }

    void failedSaveKeepsEverythingRecorded_data()
    {
        QTest::addColumn<Obstacle>("obstacle");
        QTest::newRow("folder-named-settemp.dat") << Obstacle::DirectoryAsRecord;
        QTest::newRow("program-folder-is-a-file") << Obstacle::FolderIsAFile;
        QTest::newRow("record-file-immutable") << Obstacle::ImmutableRecord;
        QTest::newRow("program-folder-immutable") << Obstacle::ImmutableFolder;
    }
    void failedSaveKeepsEverythingRecorded()
    {
        QFETCH(Obstacle, obstacle);
        ImmutableGuard guard;
        QString folder = h->folder.path();
        if (obstacle == Obstacle::FolderIsAFile)
            folder += u"/plain"_s;
        const QString record = folder + u"/settemp.dat"_s;
        // Yesterday's measurement is on disk wherever the obstacle leaves room for one.
        const bool earlier
            = obstacle == Obstacle::ImmutableRecord || obstacle == Obstacle::ImmutableFolder;
        if (earlier) {
            h->clock = QDateTime(QDate(2024, 5, 2), QTime(7, 0));
            h->startIn(folder);
            h->fill(1, u"30"_s, u"170"_s, u"60"_s, u"20"_s);
            h->click("PictureButton3");
            h->clock = QDateTime(QDate(2024, 5, 3), QTime(7, 5));
        }
        switch (obstacle) {
        case Obstacle::DirectoryAsRecord:
            QVERIFY(QDir(folder).mkpath(u"settemp.dat/inside"_s));
            break;
        case Obstacle::FolderIsAFile:
            writeFile(folder, "not a folder");
            break;
        case Obstacle::ImmutableRecord:
            if (!guard.set(record))
                QSKIP("the immutable attribute is not available here");
            break;
        case Obstacle::ImmutableFolder:
            if (!guard.set(folder))
                QSKIP("the immutable attribute is not available here");
            break;
        }
        h->startIn(folder);
        QVERIFY(h->messages.isEmpty());
        const auto before = folderSnapshot(h->folder.path());

        h->fill(1, u"30"_s, u"170"_s, u"61"_s, u"21"_s);
        h->click("PictureButton3");
        QCOMPARE(h->messages.size(), 1);
        QVERIFY2(h->messages.first().contains(u"settemp.dat"_s), qPrintable(h->messages.first()));
        QCOMPARE(h->label("Label9"), u"21.1"_s); // the measurement is shown all the same
        const int today = h->window->todayColumn();
        QCOMPARE(h->window->recordTable().cell(today, 3), u"61.0"_s);
        // No half-written file, no stray temporary file, the old record byte for byte.
        QCOMPARE(folderSnapshot(h->folder.path()), before);

        // Once the obstacle is gone the next save writes everything, the failed one included.
        guard.lift();
        if (obstacle == Obstacle::DirectoryAsRecord)
            QVERIFY(QDir(record).removeRecursively());
        if (obstacle == Obstacle::FolderIsAFile) {
            QVERIFY(QFile::remove(folder));
            QVERIFY(QDir().mkpath(folder));
        }
        h->enter("RightEdit4", u"22"_s);
        h->click("PictureButton3");
        QCOMPARE(h->messages.size(), 1);
        QFile file(record);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const TextGrid saved = recordFromBytes(file.readAll());
        QCOMPARE(saved, h->window->recordTable());
        QCOMPARE(saved.cell(today, 3), u"61.0"_s);
        QCOMPARE(saved.cell(today, 4), u"22.0"_s);
        if (earlier)
            QCOMPARE(saved.cell(0, 3), u"60.0"_s);
    }

    void failedDeleteIsReportedAndKeepsTheRecord_data()
    {
        QTest::addColumn<Obstacle>("obstacle");
        QTest::newRow("record-file-immutable") << Obstacle::ImmutableRecord;
        QTest::newRow("program-folder-immutable") << Obstacle::ImmutableFolder;
        QTest::newRow("folder-with-content-in-its-place") << Obstacle::DirectoryAsRecord;
    }
    void failedDeleteIsReportedAndKeepsTheRecord()
    {
        QFETCH(Obstacle, obstacle);
        ImmutableGuard guard;
        h->start();
        h->fill(2, u"40"_s, u"160"_s, u"55"_s, u"28"_s);
        h->click("PictureButton3");
        const QByteArray bytes = h->recordBytes();
        QVERIFY(!bytes.isEmpty());
        switch (obstacle) {
        case Obstacle::ImmutableRecord:
            if (!guard.set(h->recordPath()))
                QSKIP("the immutable attribute is not available here");
            break;
        case Obstacle::ImmutableFolder:
            if (!guard.set(h->folder.path()))
                QSKIP("the immutable attribute is not available here");
            break;
        case Obstacle::DirectoryAsRecord:
            // Taken over after the start, as another program holding the name would.
            QVERIFY(QFile::remove(h->recordPath()));
            QVERIFY(QDir(h->folder.path()).mkpath(u"settemp.dat/inside"_s));
            break;
        case Obstacle::FolderIsAFile:
            QFAIL("not a deletion obstacle");
        }
        const auto before = folderSnapshot(h->folder.path());
        h->click("PictureButton10");
        h->click("Button18"); // 消去する
        h->click("Button17"); // 直ちに終了
        QCOMPARE(h->messages, QStringList {u"消去に失敗しました"_s});
        QVERIFY(!h->window->isVisible());
        QCOMPARE(folderSnapshot(h->folder.path()), before);

        if (obstacle != Obstacle::DirectoryAsRecord) {
            // The next start finds the month as it was.
            guard.lift();
            h->start();
            QCOMPARE(h->window->recordTable(), recordFromBytes(bytes));
            QCOMPARE(h->edit("RightEdit1")->text(), u"40"_s);
        }
    }

    // Without a printer the sheets are offered as a PDF file; declining keeps everything.
    void noPrinterOfferDeclinedKeepsTheRecord_data()
    {
        QTest::addColumn<bool>("beforeClearing");
        QTest::newRow("print-pop-up") << false;
        QTest::newRow("print-before-clearing") << true;
    }
    void noPrinterOfferDeclinedKeepsTheRecord()
    {
        QFETCH(bool, beforeClearing);
        h->start();
        h->fill(1, u"30"_s, u"170"_s, u"60"_s, u"20"_s);
        h->click("PictureButton3");
        const QByteArray bytes = h->recordBytes();
        const TextGrid table = h->window->recordTable();
        if (beforeClearing) {
            h->click("PictureButton10");
            h->click("Button18"); // 消去する
            h->click("Button18"); // 印刷して終了
        } else {
            h->click("PictureButton6");
            h->click("PictureButton7");
        }
        QCOMPARE(h->messages, QStringList());
        QCOMPARE(h->questions.size(), 1);
        QVERIFY(h->questions.first().contains(u"プリンター"_s));
        QVERIFY(h->questions.first().contains(u"PDF"_s));
        QCOMPARE(h->recordBytes(), bytes);
        QCOMPARE(h->window->recordTable(), table);
        QVERIFY(h->window->isVisible());
        if (beforeClearing) {
            // The question stays, so the person can still end without printing.
            QVERIFY(h->shown("Panel11"));
            QCOMPARE(h->label("Label18"), u"消去前にグラフ印刷しますか？"_s);
            QVERIFY(h->push("Button17")->isEnabled());
        } else {
            QVERIFY(h->shown("Panel7"));
            QVERIFY(h->find<QWidget>("Panel7")->isEnabled());
            QCOMPARE(h->button("PictureButton7")->caption(), u"印刷開始"_s);
            h->click("Button3");
            QVERIFY(h->find<QWidget>("Panel1")->isEnabled());
        }
    }
};

QTEST_MAIN(TestErrorPaths)
#include "tst_errorpaths.moc"
