// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderSnapshot.h"
#include "WindowHarness.h"
#include "record/MonthTable.h"

#include "record/RecordKeeper.h"

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>

namespace {

QDateTime may(int day, int hour, int minute)
{
    return QDateTime(QDate(2024, 5, day), QTime(hour, minute));
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

const QString notRecorded = u"この計測は記録されていません。"_s;

enum class Change { SameMonthBackup, OtherMonth, Deleted, Damaged };

} // namespace

Q_DECLARE_METATYPE(Change)

class TestRecordKeeping : public WindowTest
{
    Q_OBJECT
private Q_SLOTS:
    void measurementLandsInTheSlotItWasTakenIn_data()
    {
        QTest::addColumn<QDateTime>("started");
        QTest::addColumn<bool>("measuredAtStart");
        QTest::addColumn<QDateTime>("measured");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("caption");
        QTest::newRow("across-1600")
            << may(3, 15, 50) << true << may(3, 16, 5) << 1 << u"2024/5/3 16:5"_s;
        QTest::newRow("across-0400")
            << may(3, 22, 0) << true << may(4, 7, 0) << 2 << u"2024/5/4 7:0"_s;
        // Nothing saved yet: the month is laid out from the day of the first measurement.
        QTest::newRow("unsaved-month-from-the-later-day")
            << may(2, 23, 0) << false << may(3, 7, 0) << 0 << u"2024/5/3 7:0"_s;
    }
    void measurementLandsInTheSlotItWasTakenIn()
    {
        QFETCH(QDateTime, started);
        QFETCH(bool, measuredAtStart);
        QFETCH(QDateTime, measured);
        QFETCH(int, column);
        QFETCH(QString, caption);
        h->clock = started;
        h->start();
        const int startColumn = h->window->todayColumn();
        h->fill(1, u"30"_s, u"170"_s, u"60"_s, u"20"_s);
        if (measuredAtStart)
            calculate();
        h->clock = measured;
        h->enter("RightEdit3", u"61"_s);
        calculate();
        QVERIFY(h->messages.isEmpty());
        QVERIFY2(h->window->windowTitle().endsWith(caption), qPrintable(h->window->windowTitle()));
        QCOMPARE(h->window->todayColumn(), column);
        const TextGrid saved = recordFromBytes(h->recordBytes());
        QCOMPARE(saved.cell(column, 3), u"61.0"_s);
        if (measuredAtStart)
            QCOMPARE(saved.cell(startColumn, 3), u"60.0"_s);
        else
            QCOMPARE(saved.cell(0, 2), u"3"_s);
    }

    void recordChangedOnDiskLosesNothing_data()
    {
        QTest::addColumn<Change>("change");
        QTest::newRow("same-month-backup") << Change::SameMonthBackup;
        QTest::newRow("other-month") << Change::OtherMonth;
        QTest::newRow("deleted") << Change::Deleted;
        QTest::newRow("damaged") << Change::Damaged;
    }
    void recordChangedOnDiskLosesNothing()
    {
        QFETCH(Change, change);
        h->start();
        h->fill(1, u"30"_s, u"170"_s, u"60"_s, u"20"_s);
        calculate();
        QCOMPARE(recordFromBytes(h->recordBytes()).cell(0, 3), u"60.0"_s);

        // Put in place by hand while the window stays open.
        TextGrid other = h->window->recordTable();
        if (change == Change::OtherMonth) {
            other = TextGrid(62, 16);
            initMonthTable(other, QDateTime(QDate(2024, 4, 20), QTime(8, 0)));
            writeMeasurementProfile(other, 2, 41, 158.0f);
        }
        other.setCell(0, 3, u"58.0"_s);
        if (change == Change::Deleted)
            QVERIFY(QFile::remove(h->recordPath()));
        else
            writeFile(h->recordPath(),
                change == Change::Damaged ? QByteArray("not a record\r\n")
                                          : TStringGridIO::serialize(other, u","_s, false));
        const QByteArray placed = h->recordBytes();

        h->clock = may(3, 19, 0);
        h->enter("RightEdit3", u"61"_s);
        calculate();
        const TextGrid saved = recordFromBytes(h->recordBytes());
        switch (change) {
        case Change::SameMonthBackup:
            QVERIFY(h->messages.isEmpty());
            QCOMPARE(saved.cell(0, 3), u"58.0"_s); // the backup's own values stay
            QCOMPARE(saved.cell(1, 3), u"61.0"_s);
            QCOMPARE(saved, h->window->recordTable());
            break;
        case Change::Deleted:
            QVERIFY(h->messages.isEmpty());
            QCOMPARE(saved.cell(0, 3), u"60.0"_s);
            QCOMPARE(saved.cell(1, 3), u"61.0"_s);
            break;
        case Change::Damaged:
        case Change::OtherMonth:
            QCOMPARE(h->messages.size(), 1);
            QVERIFY2(h->messages.first().startsWith(notRecorded), qPrintable(h->messages.first()));
            QCOMPARE(h->recordBytes(), placed);
            break;
        }
        if (change == Change::OtherMonth) {
            // The record in place is the one now in use: the next measurement goes into it, on
            // its own date (3 May is the 14th day from 20 April).
            QCOMPARE(h->window->recordTable(), other);
            calculate();
            QCOMPARE(h->messages.size(), 1);
            const TextGrid next = recordFromBytes(h->recordBytes());
            QCOMPARE(next.cell(27, 3), u"61.0"_s);
            QCOMPARE(next.cell(0, 3), u"58.0"_s);
        }
    }

    void failedSaveSaysTheMeasurementIsNotRecorded_data()
    {
        QTest::addColumn<int>("obstacle");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder-removed") << 0 << u"保存先のフォルダがありません"_s;
        QTest::newRow("record-immutable") << 1 << u"保存先に書き込む権限がありません"_s;
    }
    void failedSaveSaysTheMeasurementIsNotRecorded()
    {
        QFETCH(int, obstacle);
        QFETCH(QString, reason);
        ImmutableGuard guard;
        const QString folder = h->folder.filePath(u"data"_s);
        QVERIFY(QDir().mkpath(folder));
        h->startIn(folder);
        h->fill(1, u"30"_s, u"170"_s, u"60"_s, u"20"_s);
        calculate();
        if (obstacle == 0)
            QVERIFY(QDir(folder).removeRecursively());
        else if (!guard.set(folder + u"/settemp.dat"_s))
            QSKIP("the immutable attribute is not available here");
        h->enter("RightEdit3", u"61"_s);
        calculate();
        QCOMPARE(h->messages.size(), 1);
        const QString message = h->messages.first();
        QVERIFY2(message.startsWith(notRecorded) && message.contains(reason), qPrintable(message));
        QVERIFY2(!message.contains(u"denied"_s, Qt::CaseInsensitive), qPrintable(message));
    }

    void failureReasonNamesTheCommonCauses_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("reason");
        // The causes the window cannot be made to meet here.
        QTest::newRow("no-space") << ENOSPC << u"保存先の空き容量が足りません"_s;
        QTest::newRow("read-only") << EROFS << u"保存先が読み取り専用です"_s;
        QTest::newRow("other-in-system-words") << EIO << u"system words"_s;
    }
    void failureReasonNamesTheCommonCauses()
    {
        QFETCH(int, error);
        QFETCH(QString, reason);
        QCOMPARE(TStringGridIO::failureReason(h->recordPath(), error, u"system words"_s), reason);
    }

    // A device, pipe or socket at the record's name is not the program's: never renamed aside,
    // never replaced by a save, and said so.
    void recordThatIsNoFileIsLeftAlone_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("unix-socket") << u"socket"_s;
        QTest::newRow("char-device") << u"device"_s;
    }
    void recordThatIsNoFileIsLeftAlone()
    {
        QFETCH(QString, kind);
        const QByteArray path = QFile::encodeName(h->recordPath());
        int listener = -1;
        auto closeListener = qScopeGuard([&] {
            if (listener >= 0)
                ::close(listener);
        });
        if (kind == u"socket"_s) {
            listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address = {};
            address.sun_family = AF_UNIX;
            if (size_t(path.size()) >= sizeof address.sun_path)
                QSKIP("the temporary folder's name is too long for a socket");
            std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
            QCOMPARE(::bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        } else if (::mknod(path.constData(), S_IFCHR | 0600, makedev(1, 3)) != 0) {
            QSKIP("device nodes can be made by root only");
        }
        struct stat before = {};
        QCOMPARE(::lstat(path.constData(), &before), 0);
        h->start();
        QCoreApplication::processEvents(); // the notice waits for the window
        QCOMPARE(h->messages.size(), 1);
        QVERIFY2(h->messages.first().contains(u"通常のファイルではない"_s),
            qPrintable(h->messages.first()));
        h->fill(1, u"30"_s, u"170"_s, u"60"_s, u"20"_s);
        calculate();
        QCOMPARE(h->messages.size(), 2);
        QVERIFY2(h->messages.last().startsWith(notRecorded), qPrintable(h->messages.last()));
        struct stat after = {};
        QCOMPARE(::lstat(path.constData(), &after), 0);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(QDir(h->folder.path())
                     .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
            QStringList {u"settemp.dat"_s});
    }

    // A zero byte no cell can hold: the next save would drop the rest of its line, so the record
    // counts as damaged and is kept aside whole.
    void recordWithAZeroByteIsKeptAsideWhole()
    {
        h->start();
        h->fill(1, u"30"_s, u"170"_s, u"60"_s, u"20"_s);
        calculate();
        QByteArray bytes = h->recordBytes();
        const qsizetype weight = bytes.indexOf("60.0");
        QVERIFY(weight > 0);
        bytes.insert(weight + 2, QByteArray(3, '\0'));
        h->window.reset();
        writeFile(h->recordPath(), bytes);
        h->start();
        QCoreApplication::processEvents();
        QCOMPARE(h->messages.size(), 1);
        const QStringList kept
            = QDir(h->folder.path()).entryList({u"settemp.dat.damaged-*"_s}, QDir::Files);
        QCOMPARE(kept.size(), 1);
        QFile keptFile(h->folder.filePath(kept.first()));
        QVERIFY(keptFile.open(QIODevice::ReadOnly));
        QCOMPARE(keptFile.readAll(), bytes);
    }

    // The data folder made by the first save: when it cannot be, the notice names it and why.
    void folderThatCannotBeMadeIsNamedWithItsReason_data()
    {
        QTest::addColumn<bool>("fileInTheWay");
        QTest::newRow("data-home-is-a-file") << true;
        QTest::newRow("read-only-parent") << false;
    }
    void folderThatCannotBeMadeIsNamedWithItsReason()
    {
        QFETCH(bool, fileInTheWay);
        const QString parent = h->folder.filePath(u"share"_s);
        ImmutableGuard guard;
        if (fileInTheWay) {
            writeFile(parent, "not a folder");
        } else {
            QVERIFY(QDir().mkdir(parent));
            if (::geteuid() == 0
                    ? !guard.set(parent)
                    : !QFile::setPermissions(parent, QFile::ReadOwner | QFile::ExeOwner))
                QSKIP("no read-only folder can be made here");
        }
        const QString folder = parent + u"/pemira"_s;
        RecordKeeper keeper(folder + u"/settemp.dat"_s, folder);
        TextGrid table(62, 16);
        QString message;
        try {
            keeper.save(table);
        } catch (const std::exception &error) {
            message = QString::fromUtf8(error.what());
        }
        guard.lift();
        QVERIFY2(message.startsWith(notRecorded), qPrintable(message));
        QVERIFY2(message.contains(folder), qPrintable(message));
        const QString why = fileInTheWay ? u"%1 がフォルダではなくファイル"_s.arg(parent)
                                         : u"%1 に書き込む権限がない"_s.arg(parent);
        QVERIFY2(message.contains(why), qPrintable(message));
    }

private:
    // 計算, and in the evening the mood too.
    void calculate()
    {
        h->click("PictureButton3");
        if (h->shown("Panel15"))
            h->click("PictureButton12");
    }
};

QTEST_MAIN(TestRecordKeeping)
#include "tst_recordkeeping.moc"
