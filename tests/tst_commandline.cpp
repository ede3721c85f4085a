// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the built program from the command line: the PDF export without a window, its failures,
// and the options every command-line program answers.
#include "record/MonthTable.h"
#include "record/StrGrdIO.h"
#include "record/TextGrid.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QStringList errLines;
};

Run pemira(const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"DISPLAY"_s);
    environment.remove(u"QT_QPA_PLATFORM"_s);
    // As in a plain root shell: no session folder, which Qt would otherwise remark on.
    environment.remove(u"XDG_RUNTIME_DIR"_s);
    // Under the sanitizers a clean run must stay silent too.
    if (environment.contains(u"LSAN_OPTIONS"_s)) {
        environment.insert(
            u"LSAN_OPTIONS"_s, environment.value(u"LSAN_OPTIONS"_s) + u":print_suppressions=0"_s);
    }
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(PEMIRA_EXECUTABLE), arguments);
    Run run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.errLines
        = QString::fromLocal8Bit(process.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts);
    return run;
}

// A May record with both first values and a few days measured.
QByteArray recordBytes(bool firstValues)
{
    TextGrid table(RecordLayout::Columns, RecordLayout::Rows);
    initMonthTable(table, QDateTime(QDate(2024, 5, 3), QTime(7, 5)));
    writeMeasurementProfile(table, 1, 35, 170.0f);
    for (int column = 0; column < 9; ++column) {
        writeMeasurement(table, column, 64.0f - column * 0.2f, 22.0f);
        table.setCell(column, 8, QString::number(14.0 - column * 0.1, 'f', 1));
    }
    if (!firstValues) {
        for (int row = 3; row <= 12; ++row)
            table.setCell(0, row, QString());
    }
    return TStringGridIO::serialize(table, u","_s, false);
}

} // namespace

class tst_CommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void exportPdf_data();
    void exportPdf();
    void exportLeavesWhatIsNotItsOwn_data();
    void exportLeavesWhatIsNotItsOwn();
    void portableCopyInAFolderNamedInAnotherEncoding();
    void helpAndVersion_data();
    void helpAndVersion();
    void historyCsvOutAndIn();
    void wrongArgumentsAreRefused_data();
    void wrongArgumentsAreRefused();

private:
};

void tst_CommandLine::exportPdf_data()
{
    QTest::addColumn<QString>("record"); // "file", "none", "folder" or "empty"
    QTest::addColumn<bool>("succeeds");
    QTest::newRow("month") << u"file"_s << true;
    QTest::newRow("missing-record") << u"none"_s << false;
    QTest::newRow("unreadable-record") << u"folder"_s << false;
    QTest::newRow("no-first-value") << u"empty"_s << false;
}

void tst_CommandLine::exportPdf()
{
    QFETCH(QString, record);
    QFETCH(bool, succeeds);
    QTemporaryDir folder;
    const QString recordPath = folder.filePath(u"settemp.dat"_s);
    if (record == u"folder"_s) {
        QVERIFY(QDir().mkdir(recordPath));
    } else if (record != u"none"_s) {
        QFile file(recordPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(recordBytes(record == u"file"_s));
    }
    const QString pdf = folder.filePath(u"sheets.pdf"_s);
    const Run run = pemira({u"--record"_s, recordPath, u"--export-pdf"_s, pdf});

    if (succeeds) {
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.errLines, QStringList());
        QVERIFY(QFile::exists(pdf));
        if (QStandardPaths::findExecutable(u"pdfinfo"_s).isEmpty())
            QSKIP("pdfinfo (poppler-utils) is not installed");
        QProcess info;
        info.start(u"pdfinfo"_s, {pdf});
        QVERIFY(info.waitForFinished(20000));
        const QString text = QString::fromUtf8(info.readAllStandardOutput());
        QVERIFY2(text.contains(QRegularExpression(u"Pages:\\s+2\\n"_s)), qPrintable(text));
        QVERIFY2(text.contains(u"842 x 595 pts"_s), qPrintable(text));
        return;
    }
    QVERIFY(run.exitCode > 0);
    QCOMPARE(run.errLines.size(), 1);
    QVERIFY2(run.errLines.first().contains(recordPath), qPrintable(run.errLines.first()));
    // Nothing written, not even a temporary file.
    QStringList left = QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    left.removeAll(u"settemp.dat"_s);
    QCOMPARE(left, QStringList());
}

void tst_CommandLine::exportLeavesWhatIsNotItsOwn_data()
{
    QTest::addColumn<QString>("target"); // relative to the folder holding settemp.dat
    QTest::addColumn<QString>("made"); // what stands there first: "", "hard-link", "pipe", "device"
    QTest::newRow("the-record-itself") << u"settemp.dat"_s << QString();
    QTest::newRow("the-record-through-a-linked-folder") << u"link/settemp.dat"_s << QString();
    QTest::newRow("a-hard-link-of-the-record") << u"other.pdf"_s << u"hard-link"_s;
    QTest::newRow("a-named-pipe") << u"pipe.pdf"_s << u"pipe"_s;
    QTest::newRow("a-device-node") << u"device.pdf"_s << u"device"_s;
}

void tst_CommandLine::exportLeavesWhatIsNotItsOwn()
{
    QFETCH(QString, target);
    QFETCH(QString, made);
    QTemporaryDir folder;
    const QString recordPath = folder.filePath(u"settemp.dat"_s);
    const QByteArray record = recordBytes(true);
    QFile file(recordPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(record);
    file.close();
    QVERIFY(QFile::link(folder.path(), folder.filePath(u"link"_s)));
    const QString pdf = folder.filePath(target);
    const QByteArray pdfBytes = QFile::encodeName(pdf);
    if (made == u"hard-link"_s)
        QCOMPARE(::link(QFile::encodeName(recordPath).constData(), pdfBytes.constData()), 0);
    if (made == u"pipe"_s)
        QCOMPARE(::mkfifo(pdfBytes.constData(), 0600), 0);
    if (made == u"device"_s && ::mknod(pdfBytes.constData(), S_IFCHR | 0600, makedev(1, 3)) != 0)
        QSKIP("device nodes can be made by root only");
    struct stat before = {};
    QCOMPARE(::stat(pdfBytes.constData(), &before), 0);

    const Run run = pemira({u"--record"_s, recordPath, u"--export-pdf"_s, pdf});
    QVERIFY(run.exitCode > 0);
    QCOMPARE(run.errLines.size(), 1);
    struct stat after = {};
    QCOMPARE(::stat(pdfBytes.constData(), &after), 0);
    QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(after.st_mode, before.st_mode);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), record);
}

// An archive unpacked with Japanese names from another system leaves folder names that are not
// UTF-8; a portable copy there still finds its record and its plugin, and takes paths relative
// to such a folder. The dynamic loader's log shows the plugin loaded.
void tst_CommandLine::portableCopyInAFolderNamedInAnotherEncoding()
{
    QTemporaryDir folder;
    QFile file(folder.filePath(u"settemp.dat"_s));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(recordBytes(true));
    file.close();
    const QString program = QStringLiteral(PEMIRA_EXECUTABLE);
    const QString plugin = QFileInfo(program).dir().filePath(u"libpemira_output.so"_s);
    QVERIFY(QFile::exists(plugin));
    // "ペミラ" in Shift-JIS, made and entered by the shell: no Qt text can name it.
    const QString script = uR"sh(d="$(printf '%s/\203\171\203\176\203\211' "$1")"
trap 'rm -rf "$d"' EXIT
mkdir "$d" && cp "$2" "$3" "$1/settemp.dat" "$d/" && cd "$d" && LD_DEBUG=files ./pemira --export-pdf out.pdf 2>ld.log &&
test -s out.pdf && grep -q 'libpemira_output.so .*generating link map' ld.log)sh"_s;
    QProcess shell;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"DISPLAY"_s);
    environment.insert(u"LANG"_s, u"C.UTF-8"_s);
    // Were the record beside the program missed, the one in this empty home would be asked for.
    environment.insert(u"HOME"_s, folder.path());
    environment.remove(u"XDG_DATA_HOME"_s);
    shell.setProcessEnvironment(environment);
    shell.start(u"/bin/sh"_s, {u"-c"_s, script, u"sh"_s, folder.path(), program, plugin});
    QVERIFY(shell.waitForFinished(60000));
    QVERIFY2(shell.exitCode() == 0, shell.readAllStandardError().constData());
}

void tst_CommandLine::helpAndVersion_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("says");
    QTest::newRow("help") << u"--help"_s << u"--export-pdf"_s;
    QTest::newRow("version") << u"--version"_s << QStringLiteral(PEMIRA_VERSION);
    QTest::newRow("version-licence") << u"--version"_s << u"GPL-3.0-or-later"_s;
}

void tst_CommandLine::helpAndVersion()
{
    QFETCH(QString, option);
    QFETCH(QString, says);
    const Run run = pemira({option});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.contains(says), qPrintable(run.out));
    QCOMPARE(run.errLines, QStringList());
}

void tst_CommandLine::historyCsvOutAndIn()
{
    QTemporaryDir folder;
    const QString recordPath = folder.filePath(u"settemp.dat"_s);
    QFile record(recordPath);
    QVERIFY(record.open(QIODevice::WriteOnly));
    record.write(recordBytes(true));
    record.close();
    const QString history = folder.filePath(u"settemp-history.csv"_s);
    const QString csv = folder.filePath(u"out.csv"_s);

    // The record's measurements, before any history exists, and nothing written beside it.
    Run run = pemira({u"--export-csv"_s, csv, u"--record"_s, recordPath, u"--excel"_s});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.errLines.isEmpty());
    QFile out(csv);
    QVERIFY(out.open(QIODevice::ReadOnly));
    const QByteArray bytes = out.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"
                             "date,slot,time,"));
    QCOMPARE(bytes.count("\r\n"), 9 + 1);
    QVERIFY(!QFile::exists(history));

    const QString bad = folder.filePath(u"bad.csv"_s);
    QFile in(bad);
    QVERIFY(in.open(QIODevice::WriteOnly));
    in.write("date,weight\n2020-01-01,60\n2020-01-02,sixty\n");
    in.close();
    run = pemira({u"--import-csv"_s, bad, u"--record"_s, recordPath});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.errLines.size(), 1);
    QVERIFY2(run.errLines.first().contains(u"line 3"_s), qPrintable(run.errLines.first()));
    QVERIFY(!QFile::exists(history));

    // Already kept (the record's own rows): nothing to add.
    run = pemira({u"--import-csv"_s, csv, u"--record"_s, recordPath});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, u"Added 0 rows, skipped 9 already kept.\n"_s);
    run = pemira({u"--import-csv"_s, csv, u"--record"_s, folder.filePath(u"other.dat"_s)});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, u"Added 9 rows, skipped 0 already kept.\n"_s);
    QVERIFY(QFile::exists(folder.filePath(u"other-history.csv"_s)));

    run = pemira({u"--export-csv"_s, folder.filePath(u"no/such/folder.csv"_s)});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.errLines.size(), 1);
}

void tst_CommandLine::wrongArgumentsAreRefused_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("says");
    QTest::newRow("stray-argument") << u"stray.dat"_s << u"unexpected argument 'stray.dat'"_s;
    QTest::newRow("unknown-option") << u"--colour"_s << u"'colour'"_s;
}

void tst_CommandLine::wrongArgumentsAreRefused()
{
    QFETCH(QString, argument);
    QFETCH(QString, says);
    // A good record and an export asked for: only the refusal keeps the PDF from being written.
    QTemporaryDir folder;
    const QString recordPath = folder.filePath(u"settemp.dat"_s);
    QFile file(recordPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(recordBytes(true));
    file.close();
    const QString pdf = folder.filePath(u"sheets.pdf"_s);
    const Run run = pemira({argument, u"--record"_s, recordPath, u"--export-pdf"_s, pdf});
    QCOMPARE(run.exitCode, 2);
    QVERIFY(!run.errLines.isEmpty());
    QVERIFY2(run.errLines.first().contains(says), qPrintable(run.errLines.first()));
    QVERIFY(!QFile::exists(pdf));
}

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
