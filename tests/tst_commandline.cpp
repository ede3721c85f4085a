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
    void helpAndVersion_data();
    void helpAndVersion();
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
