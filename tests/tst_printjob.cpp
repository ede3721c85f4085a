// SPDX-License-Identifier: GPL-3.0-or-later
// Prints both graph sheets through the system's default printer and reads back what the print
// server received. Needs a CUPS server with a default queue (tools/printer.sh start); skips
// without one.
#include "print/Print01.h"
#include "record/TextGrid.h"
#include "report/ReportPrinter.h"

#include <QFile>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(20000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Job numbers the server knows for a queue, finished or not, oldest first.
QList<int> jobIds(const QString &queue)
{
    QList<int> ids;
    static const QRegularExpression job(
        u"^(\\S+)-(\\d+)\\s"_s, QRegularExpression::MultilineOption);
    for (const QRegularExpressionMatch &match :
        job.globalMatch(run(u"lpstat"_s, {u"-W"_s, u"all"_s, u"-o"_s, queue}))) {
        if (match.captured(1) == queue)
            ids.append(match.captured(2).toInt());
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

} // namespace

class tst_PrintJob : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bothSheetsAreTwoLandscapeJobs();
};

void tst_PrintJob::bothSheetsAreTwoLandscapeJobs()
{
    if (!ReportPrinter::hasDefaultPrinter())
        QSKIP("no default printer reachable: start one with tools/printer.sh start");
    for (const char *tool : {"lpstat", "pdfinfo", "pdftotext", "pdfimages"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            QSKIP(qPrintable(u"%1 is not installed"_s.arg(QString::fromLatin1(tool))));
    }
    const QString queue = QPrinterInfo::defaultPrinter().printerName();
    const QList<int> before = jobIds(queue);

    TextGrid table(62, 16);
    for (int c = 0; c < 62; c += 2) {
        table.setCell(c, 1, u"7"_s);
        table.setCell(c, 2, QString::number(c / 2 + 1));
    }
    for (int c = 0; c < 20; ++c) {
        table.setCell(c, 3, QString::number(62 + (c % 5) * 0.4, 'f', 1));
        table.setCell(c, 8, QString::number(15 - (c % 3) * 0.2, 'f', 1));
        table.setCell(c, 12, QString::number(c % 5));
    }
    TPrint01 form;
    TPrint01::SheetInput input;
    input.dayAfterTable = u"1"_s;
    form.printBothSheets(table, input, u"体重を落とす必要は"_s, u"ありません。"_s);

    QList<int> added;
    QTRY_VERIFY_WITH_TIMEOUT((added = jobIds(queue), added.size() >= before.size() + 2), 10000);
    added.erase(added.begin(), added.begin() + before.size());
    QCOMPARE(added.size(), 2);

    // Text extraction drops the blanks of the title.
    const QStringList titles {u"【体重】"_s, u"【脂肪重量】"_s};
    for (int i = 0; i < 2; ++i) {
        const QString spooled = u"/var/spool/cups/d%1-001"_s.arg(added[i], 5, 10, QLatin1Char('0'));
        if (!QFile(spooled).open(QIODevice::ReadOnly))
            QSKIP(qPrintable(
                u"cannot read the print server's spool (%1): run as root"_s.arg(spooled)));
        const QString info = run(u"pdfinfo"_s, {spooled});
        QVERIFY2(info.contains(QRegularExpression(u"Pages:\\s+1\\n"_s)), qPrintable(info));
        const QRegularExpressionMatch size
            = QRegularExpression(u"Page size:\\s+([\\d.]+) x ([\\d.]+) pts"_s).match(info);
        QVERIFY2(size.hasMatch(), qPrintable(info));
        QCOMPARE(qRound(size.captured(1).toDouble()), 842);
        QCOMPARE(qRound(size.captured(2).toDouble()), 595);
        // Lossless and vector: no JPEG, no picture but the 16 x 16 mood icons, a small job.
        QVERIFY(QFileInfo(spooled).size() < 120 * 1024);
        const QStringList images = run(u"pdfimages"_s, {u"-list"_s, spooled}).split(u'\n').mid(2);
        for (const QString &line : images) {
            const QStringList f = line.simplified().split(u' ');
            if (f.size() < 10)
                continue;
            QVERIFY2(f[8] == u"image"_s, qPrintable(line));
            QVERIFY2(f[3].toInt() <= 16 && f[4].toInt() <= 16, qPrintable(line));
        }
        const QString text = run(u"pdftotext"_s, {spooled, u"-"_s}).remove(u' ');
        QVERIFY2(text.contains(titles[i]), qPrintable(text));
        QVERIFY2(!text.contains(titles[1 - i]), qPrintable(text));
    }
}

QTEST_MAIN(tst_PrintJob)
#include "tst_printjob.moc"
