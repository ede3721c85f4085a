// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/StrGrdIO.h"
#include "record/TextGrid.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <QTest>

#include <stdexcept>

#if defined(Q_OS_UNIX)
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

using namespace Qt::StringLiterals;

namespace {

QByteArray readAll(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeAll(const QString &fileName, const QByteArray &bytes)
{
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

TextGrid filledGrid(int columns, int rows, const QString &text)
{
    TextGrid grid(columns, rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            grid.setCell(c, r, text);
    return grid;
}

QStringList rowCells(const TextGrid &grid, int row)
{
    QStringList cells;
    for (int c = 0; c < grid.columnCount(); ++c)
        cells << grid.cell(c, row);
    return cells;
}

// Distinct complete record versions of different lengths, so that a torn file matches none.
TextGrid recordVersion(int version)
{
    TextGrid grid(62, 16);
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 62; c += 1 + version)
            grid.setCell(c, r, QString::number(version * 1000 + r + c) + u".5"_s);
    return grid;
}
constexpr int RecordVersions = 4;

// Run in a child process: saves the versions in turn until killed.
int saveForever(const QString &fileName)
{
    QList<TextGrid> versions;
    for (int v = 0; v < RecordVersions; ++v)
        versions << recordVersion(v);
    for (int i = 0;; i = (i + 1) % RecordVersions)
        TStringGridIO(&versions[i]).SaveToFile(fileName, u","_s, false);
}

} // namespace

class TestStrGrdIO : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void emptyRecordIsTheGoldenFile()
    {
        const QByteArray golden = readAll(QStringLiteral(PEMIRA_TEST_DATA "/empty-record.dat"));
        QCOMPARE(golden.size(), 1008);
        QCOMPARE(TStringGridIO::serialize(TextGrid(62, 16), u","_s, false), golden);

        QTemporaryDir dir;
        TextGrid grid(62, 16);
        TStringGridIO io(&grid);
        io.SaveToFile(dir.filePath(u"settemp.dat"_s), u","_s, false);
        QCOMPARE(readAll(dir.filePath(u"settemp.dat"_s)), golden);
    }

    void measurementRowIsWrittenAsIs()
    {
        TextGrid grid(62, 16);
        grid.setCell(0, 0, u"1"_s);
        grid.setCell(1, 0, u"35"_s);
        grid.setCell(2, 0, u"170.0"_s);
        grid.setCell(3, 0, u"22"_s);
        grid.setCell(4, 0, u"5"_s);
        grid.setCell(61, 15, u"-0.5"_s);
        const QByteArray bytes = TStringGridIO::serialize(grid, u","_s, false);
        const QList<QByteArray> lines = bytes.split('\n');
        QCOMPARE(lines.size(), 17);
        QCOMPARE(lines.at(0), "1,35,170.0,22,5" + QByteArray(57, ',') + '\r');
        QCOMPARE(lines.at(15), QByteArray(61, ',') + "-0.5\r");
        QCOMPARE(lines.at(16), QByteArray());
    }

    void saveThenLoadRestoresEveryCell()
    {
        TextGrid grid(62, 16);
        for (int r = 0; r < 16; ++r)
            for (int c = 0; c < 62; c += 3)
                grid.setCell(c, r, QString::number(r * 100 + c) + u".5"_s);
        grid.setCell(61, 0, u"last"_s);
        grid.setCell(0, 15, u"\u00e9 x"_s);

        QTemporaryDir dir;
        const QString fileName = dir.filePath(u"settemp.dat"_s);
        TStringGridIO(&grid).SaveToFile(fileName, u","_s, false);
        TextGrid loaded = filledGrid(62, 16, u"old"_s);
        TStringGridIO(&loaded).LoadFromFile(fileName, u","_s, false);
        QCOMPARE(loaded, grid);

        // Saving again replaces the file whole, never appends.
        grid.setCell(5, 5, u"7"_s);
        TStringGridIO(&grid).SaveToFile(fileName, u","_s, false);
        QCOMPARE(readAll(fileName), TStringGridIO::serialize(grid, u","_s, false));
    }

    void lineIsSplitIntoColumns_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("quote");
        QTest::addColumn<QStringList>("cells");

        QTest::newRow("exact") << QByteArray("a,b,c,d") << false
                               << QStringList {"a", "b", "c", "d"};
        QTest::newRow("short-fills-middle")
            << QByteArray("a,b") << false << QStringList {"a", "", "", "b"};
        QTest::newRow("single-field-goes-last")
            << QByteArray("a") << false << QStringList {"", "", "", "a"};
        QTest::newRow("long-rest-in-last")
            << QByteArray("a,b,c,d,e") << false << QStringList {"a", "b", "c", "d,e"};
        QTest::newRow("empty-line-empties-row")
            << QByteArray("") << false << QStringList {"", "", "", ""};
        QTest::newRow("empty-fields") << QByteArray(",,,") << false << QStringList {"", "", "", ""};
        QTest::newRow("unquote") << QByteArray("\"abc\",12.5,\"\",x") << true
                                 << QStringList {"abc", "12.5", "", "x"};
        QTest::newRow("lone-quote-kept")
            << QByteArray("\",a,\"b,c\"") << true << QStringList {"\"", "a", "\"b", "c\""};
        QTest::newRow("quotes-kept-without-quote")
            << QByteArray("\"abc\",b,c,d") << false << QStringList {"\"abc\"", "b", "c", "d"};
        QTest::newRow("latin1-bytes")
            << QByteArray("\xe9,b,c,d") << false << QStringList {u"\u00e9"_s, "b", "c", "d"};
    }
    void lineIsSplitIntoColumns()
    {
        QFETCH(QByteArray, line);
        QFETCH(bool, quote);
        QFETCH(QStringList, cells);
        TextGrid grid = filledGrid(4, 2, u"old"_s);
        TStringGridIO::parse(line + "\r\n", grid, u","_s, quote);
        QCOMPARE(rowCells(grid, 0), cells);
        QCOMPARE(rowCells(grid, 1), QStringList(4, u"old"_s));
    }

    void oddDelimitersAndWidths_data()
    {
        QTest::addColumn<int>("columns");
        QTest::addColumn<QString>("delimiter");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QStringList>("cells");

        QTest::newRow("one-column-keeps-line")
            << 1 << u","_s << QByteArray("a,b") << QStringList {"a,b"};
        QTest::newRow("two-char-delimiter")
            << 3 << u"::"_s << QByteArray("a::b:c::d::e") << QStringList {"a", "b:c", "d::e"};
        QTest::newRow("empty-delimiter-never-found")
            << 3 << QString() << QByteArray("abc") << QStringList {"", "", "abc"};
        QTest::newRow("tab") << 2 << u"\t"_s << QByteArray("1\t2") << QStringList {"1", "2"};
    }
    void oddDelimitersAndWidths()
    {
        QFETCH(int, columns);
        QFETCH(QString, delimiter);
        QFETCH(QByteArray, line);
        QFETCH(QStringList, cells);
        TextGrid grid = filledGrid(columns, 1, u"old"_s);
        TStringGridIO::parse(line, grid, delimiter, false);
        QCOMPARE(rowCells(grid, 0), cells);
    }

    void lineEnds_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("column0");

        // The grid is 2 x 5 filled with "x"; each row's line is "<v>,<v>", so column 0 shows it.
        QTest::newRow("crlf") << QByteArray("1,1\r\n2,2\r\n")
                              << QStringList {"1", "2", "x", "x", "x"};
        QTest::newRow("lone-lf") << QByteArray("1,1\n2,2\n")
                                 << QStringList {"1", "2", "x", "x", "x"};
        QTest::newRow("lone-cr") << QByteArray("1,1\r2,2\r")
                                 << QStringList {"1", "2", "x", "x", "x"};
        QTest::newRow("mixed") << QByteArray("1,1\r2,2\n3,3\r\n4,4")
                               << QStringList {"1", "2", "3", "4", "x"};
        QTest::newRow("last-line-without-end")
            << QByteArray("1,1\r\n2,2") << QStringList {"1", "2", "x", "x", "x"};
        QTest::newRow("lf-cr-is-two-ends")
            << QByteArray("1,1\n\r2,2") << QStringList {"1", "", "2", "x", "x"};
        QTest::newRow("blank-lines")
            << QByteArray("\r\n\r\n3,3\r\n") << QStringList {"", "", "3", "x", "x"};
        QTest::newRow("empty-file") << QByteArray() << QStringList {"x", "x", "x", "x", "x"};
        QTest::newRow("more-lines-than-rows") << QByteArray("1,1\n2,2\n3,3\n4,4\n5,5\n6,6\n")
                                              << QStringList {"1", "2", "3", "4", "5"};
    }
    void lineEnds()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, column0);
        TextGrid grid = filledGrid(2, 5, u"x"_s);
        TStringGridIO::parse(bytes, grid, u","_s, false);
        QStringList got;
        for (int r = 0; r < grid.rowCount(); ++r)
            got << grid.cell(0, r);
        QCOMPARE(got, column0);
        QCOMPARE(grid.columnCount(), 2);
        QCOMPARE(grid.rowCount(), 5);
    }

    // Nothing a cell can hold keeps a zero byte, so a save after such a load would drop the rest
    // of its line: the bytes are refused whole instead.
    void zeroByteIsRefusedWithNoCellChanged_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("inside-a-line") << QByteArray("1,1\r\n2,\0\0\09,9\r\n3,3\r\n", 19);
        QTest::newRow("first-byte") << QByteArray("\0"
                                                  "1,1\r\n",
            6);
        QTest::newRow("last-byte") << QByteArray("1,1\r\n\0", 6);
    }
    void zeroByteIsRefusedWithNoCellChanged()
    {
        QFETCH(QByteArray, bytes);
        TextGrid grid = filledGrid(2, 5, u"x"_s);
        QVERIFY_THROWS_EXCEPTION(
            std::runtime_error, TStringGridIO::parse(bytes, grid, u","_s, false));
        QCOMPARE(grid, filledGrid(2, 5, u"x"_s));
    }

#if defined(Q_OS_UNIX)
    // The rename is durable only once the folder is synced, after it.
    void saveSyncsTheFolderAfterTheRename()
    {
        QTemporaryDir dir;
        const QString fileName = dir.filePath(u"settemp.dat"_s);
        writeAll(fileName, "old record");
        static QByteArray atSync;
        static int syncs;
        atSync.clear();
        syncs = 0;
        const auto saved = TStringGridIO::syncFolder;
        TStringGridIO::syncFolder = [](int fd) {
            ++syncs;
            atSync = readAll(
                QFile::decodeName("/proc/self/fd/" + QByteArray::number(fd)) + u"/settemp.dat"_s);
            return ::fsync(fd);
        };
        auto restore = qScopeGuard([&] { TStringGridIO::syncFolder = saved; });
        TextGrid grid = filledGrid(62, 16, u"1"_s);
        TStringGridIO(&grid).SaveToFile(fileName, u","_s, false);
        QCOMPARE(syncs, 1);
        QCOMPARE(atSync, TStringGridIO::serialize(grid, u","_s, false));
    }
#endif

    void tenLineFileChangesTenRows()
    {
        QByteArray bytes;
        for (int i = 0; i < 10; ++i)
            bytes += QByteArray::number(i) + QByteArray(61, ',') + "\r\n";
        TextGrid grid = filledGrid(62, 16, u"old"_s);
        TStringGridIO::parse(bytes, grid, u","_s, false);
        for (int r = 0; r < 16; ++r) {
            QCOMPARE(grid.cell(0, r), r < 10 ? QString::number(r) : u"old"_s);
            QCOMPARE(grid.cell(61, r), r < 10 ? QString() : u"old"_s);
        }
    }

    void quotedSaving_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QByteArray>("field");

        QTest::newRow("text") << u"abc"_s << QByteArray("\"abc\"");
        QTest::newRow("decimal") << u"12.5"_s << QByteArray("12.5");
        QTest::newRow("signed-exponent") << u"-1.5e+3"_s << QByteArray("-1.5e+3");
        QTest::newRow("whole") << u"+7"_s << QByteArray("+7");
        QTest::newRow("dot-without-digits") << u"1."_s << QByteArray("\"1.\"");
        QTest::newRow("bare-exponent") << u"1e"_s << QByteArray("\"1e\"");
        QTest::newRow("sign-only") << u"-"_s << QByteArray("\"-\"");
        QTest::newRow("inner-quote-and-delimiter") << u"a\"b,c"_s << QByteArray("\"a\"b,c\"");
        QTest::newRow("empty") << QString() << QByteArray();
    }
    void quotedSaving()
    {
        QFETCH(QString, cell);
        QFETCH(QByteArray, field);
        TextGrid grid(2, 1);
        grid.setCell(0, 0, cell);
        QCOMPARE(TStringGridIO::serialize(grid, u","_s, true), field + ",\r\n");
    }

    void stretchSizesGridToFile()
    {
        QTemporaryDir dir;
        const QString fileName = dir.filePath(u"grid.csv"_s);
        writeAll(fileName, "a,b\r\nc,d,e,f\r\n\r\ng");
        TextGrid grid = filledGrid(62, 16, u"old"_s);
        TStringGridIO io(&grid);
        io.setStretch(true);
        io.LoadFromFile(fileName, u","_s, false);
        QCOMPARE(grid.columnCount(), 4);
        QCOMPARE(grid.rowCount(), 4);
        QCOMPARE(rowCells(grid, 0), (QStringList {"a", "", "", "b"}));
        QCOMPARE(rowCells(grid, 1), (QStringList {"c", "d", "e", "f"}));
        QCOMPARE(rowCells(grid, 2), QStringList(4, QString()));
        QCOMPARE(rowCells(grid, 3), (QStringList {"", "", "", "g"}));
    }

    void stretchRefusesAbsurdGridUnchanged()
    {
        // One line of a million commas and a few thousand empty lines would be billions of cells.
        QByteArray bytes(1'000'000, ',');
        bytes += QByteArray(5000, '\n');
        TextGrid grid = filledGrid(3, 2, u"old"_s);
        QVERIFY_THROWS_EXCEPTION(
            std::runtime_error, TStringGridIO::parse(bytes, grid, u","_s, false, true));
        QCOMPARE(grid, filledGrid(3, 2, u"old"_s));
    }

    void hugeLineLoadsQuickly()
    {
        QByteArray bytes = "1," + QByteArray(10 * 1024 * 1024, '9') + "\r\n";
        TextGrid grid(62, 16);
        TStringGridIO::parse(bytes, grid, u","_s, false);
        QCOMPARE(grid.cell(0, 0), u"1"_s);
        QCOMPARE(grid.cell(61, 0).size(), 10 * 1024 * 1024);
        QCOMPARE(grid.cell(1, 0), QString());
    }

    void withoutGridNothingHappens()
    {
        QTemporaryDir dir;
        const QString fileName = dir.filePath(u"settemp.dat"_s);
        TStringGridIO io;
        io.SaveToFile(fileName, u","_s, false);
        QVERIFY(!QFile::exists(fileName));
        io.LoadFromFile(fileName, u","_s, false); // a missing file is not even opened
    }

    void failedLoadChangesNoCell_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing-file") << u"missing.dat"_s;
        QTest::newRow("missing-folder") << u"nowhere/settemp.dat"_s;
        QTest::newRow("a-folder") << u"folder"_s;
    }
    void failedLoadChangesNoCell()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(u"folder"_s));
        TextGrid grid = filledGrid(62, 16, u"old"_s);
        try {
            TStringGridIO(&grid).LoadFromFile(dir.filePath(name), u","_s, false);
            QFAIL("the load did not fail");
        } catch (const std::runtime_error &error) {
            // The message names the file so the person can find it.
            QVERIFY2(
                QString::fromUtf8(error.what()).contains(name.section(u'/', -1)), error.what());
        }
        QCOMPARE(grid, filledGrid(62, 16, u"old"_s));
    }

    void failedSaveKeepsOldFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing-folder") << u"nowhere/settemp.dat"_s;
        QTest::newRow("target-is-folder") << u"folder"_s;
        QTest::newRow("target-is-a-pipe") << u"pipe"_s;
    }
    void failedSaveKeepsOldFile()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(u"folder"_s));
        // Renamed over, a pipe would be replaced by a regular file.
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(u"pipe"_s)).constData(), 0600), 0);
        const QString old = dir.filePath(u"folder/keep.dat"_s);
        writeAll(old, "old record");
        TextGrid grid(62, 16);
        QVERIFY_THROWS_EXCEPTION(
            std::runtime_error, TStringGridIO(&grid).SaveToFile(dir.filePath(name), u","_s, false));
        QCOMPARE(readAll(old), QByteArray("old record"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    }

    void saveIntoReadOnlyFolderThrows()
    {
        QTemporaryDir dir;
        const QString fileName = dir.filePath(u"settemp.dat"_s);
        writeAll(fileName, "old record");
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        auto restore = qScopeGuard([&] {
            QFile::setPermissions(
                dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });
        if (QFile probe(dir.filePath(u"probe"_s)); probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QSKIP("permissions are not enforced for this user (root)");
        }
        TextGrid grid(62, 16);
        QVERIFY_THROWS_EXCEPTION(
            std::runtime_error, TStringGridIO(&grid).SaveToFile(fileName, u","_s, false));
        QCOMPARE(readAll(fileName), QByteArray("old record"));
    }

#if defined(Q_OS_UNIX)
    void writeFailureKeepsOldFile()
    {
        // A file-size limit makes the write fail halfway, as a full disk would.
        QTemporaryDir dir;
        const QString fileName = dir.filePath(u"settemp.dat"_s);
        writeAll(fileName, "old record");
        rlimit saved {};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 500;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        auto restore = qScopeGuard([&] {
            setrlimit(RLIMIT_FSIZE, &saved);
            std::signal(SIGXFSZ, oldHandler);
        });
        TextGrid grid(62, 16);
        QVERIFY_THROWS_EXCEPTION(
            std::runtime_error, TStringGridIO(&grid).SaveToFile(fileName, u","_s, false));
        QCOMPARE(readAll(fileName), QByteArray("old record"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList {u"settemp.dat"_s});
    }

    void killedSaveLeavesACompleteFile()
    {
        QTemporaryDir dir;
        const QString fileName = dir.filePath(u"settemp.dat"_s);
        TextGrid first = recordVersion(0);
        TStringGridIO(&first).SaveToFile(fileName, u","_s, false);
        QList<QByteArray> complete;
        for (int v = 0; v < RecordVersions; ++v)
            complete << TStringGridIO::serialize(recordVersion(v), u","_s, false);

        QElapsedTimer clock;
        clock.start();
        int rounds = 0;
        QSet<QByteArray> seen;
        while (rounds < 50 && clock.elapsed() < 15'000) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(), {u"--save-forever"_s, fileName});
            QVERIFY(child.waitForStarted());
            QThread::usleep(QRandomGenerator::global()->bounded(20'000, 250'000));
            child.kill(); // SIGKILL: no chance to clean up
            QVERIFY(child.waitForFinished());
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);
            const QByteArray bytes = readAll(fileName);
            QVERIFY2(complete.contains(bytes),
                qPrintable(u"round %1: torn file of %2 bytes"_s.arg(rounds).arg(bytes.size())));
            seen.insert(bytes);
            ++rounds;
        }
        QVERIFY(rounds >= 10);
        // The child did get to replace the file, so the kills hit a working save loop.
        QVERIFY(seen.size() > 1);
    }
#endif
};

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--save-forever") == 0)
        return saveForever(QString::fromLocal8Bit(argv[2]));
    QCoreApplication app(argc, argv);
    TestStrGrdIO test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_strgrdio.moc"
