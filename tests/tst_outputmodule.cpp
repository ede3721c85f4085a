// SPDX-License-Identifier: GPL-3.0-or-later
// The output plugin: not loaded by a start, loaded by the first picture drawn from vector, and
// a missing or broken plugin file reported in words while the program goes on.
#include <QTest>

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <stdexcept>

#include "FreshProcess.h"
#include "WindowHarness.h"
#include "assessment/Assessment.h"
#include "artwork/Artwork.h"
#include "plugins/OutputModule.h"
#include "record/MonthTable.h"
#include "record/StrGrdIO.h"
#include "report/ReportPrinter.h"

namespace {

QByteArray mappedFiles()
{
    QFile maps(u"/proc/self/maps"_s);
    return maps.open(QIODevice::ReadOnly) ? maps.readAll() : QByteArray();
}

QString requireError()
{
    try {
        OutputModule::require();
    } catch (const std::runtime_error &error) {
        return QString::fromUtf8(error.what());
    }
    return QString();
}

} // namespace

class tst_OutputModule : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startLoadsNeitherSvgNorPrintSupport()
    {
        if (qEnvironmentVariableIsSet("PEMIRA_EXPECT"))
            QSKIP("child run");
        if (!QFile::exists(u"/proc/self/maps"_s))
            QSKIP("needs /proc/self/maps");
        RUN_IN_FRESH_PROCESS();
        // A record with a mood on every evening: the graph that shows them is not on screen in
        // the compact window, so neither are the faces drawn.
        WindowHarness h;
        TextGrid month(RecordLayout::Columns, RecordLayout::Rows);
        initMonthTable(month, h.clock.addDays(-10));
        writeMeasurementProfile(month, 1, 35, 170.0f);
        for (int column = 0; column < 20; ++column) {
            writeMeasurementCells(month, column, {1, 35, 170.0f, 70.0f + column % 3, 20.0f});
            writeMood(month, column, 1 + column % 4);
        }
        QFile record(h.recordPath());
        QVERIFY(record.open(QIODevice::WriteOnly));
        record.write(TStringGridIO::serialize(month, u","_s, false));
        record.close();
        TQXCALC *window = h.start();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QVERIFY(!h.find<QLabel>("Image1")->pixmap().isNull());
        QCOMPARE(h.label("Label22"), u"74"_s);
        for (const char *library : {"libQt6Svg", "libQt6PrintSupport", "libpemira_output"})
            QVERIFY2(!mappedFiles().contains(library), library);

        // Opening the window shows the graph, faces and all.
        h.click("Panel14");
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTRY_VERIFY(mappedFiles().contains("libpemira_output"));

        QVERIFY(!figurePicture(2).isNull());
        QVERIFY(mappedFiles().contains("libQt6Svg"));
        QCOMPARE(requireError(), QString());
    }

    void pluginProblemsAreReported_data()
    {
        QTest::addColumn<QByteArray>("libraryBytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << QByteArray()
                                 << u"描画と印刷の部品（pemira_output）が見つかりません"_s;
        QTest::newRow("not-a-library") << QByteArray("not a library")
                                       << u"描画と印刷の部品（pemira_output）を読み込めません"_s;
    }
    // This program copied to a folder of its own, with no plugin or a broken one beside it,
    // runs the child checks below.
    void pluginProblemsAreReported()
    {
        if (qEnvironmentVariableIsSet("PEMIRA_EXPECT"))
            QSKIP("child run");
        QFETCH(QByteArray, libraryBytes);
        QFETCH(QString, message);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString copy
            = folder.filePath(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), copy));
        if (!libraryBytes.isEmpty()) {
            QFile library(folder.filePath(u"libpemira_output.so"_s));
            QVERIFY(library.open(QIODevice::WriteOnly));
            library.write(libraryBytes);
        }
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"PEMIRA_EXPECT"_s, message);
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(copy, {u"childChecks"_s});
        QVERIFY(child.waitForFinished(60000));
        const QByteArray output = child.readAll();
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, output);
        QVERIFY2(output.contains("PASS   : tst_OutputModule::childChecks()"), output);
    }

    void childChecks()
    {
        const QString expected = qEnvironmentVariable("PEMIRA_EXPECT");
        if (expected.isEmpty())
            QSKIP("run as a child by pluginProblemsAreReported");
        QVERIFY(!OutputModule::find());
        QVERIFY2(requireError().startsWith(expected), qPrintable(requireError()));
        // Pictures from vector are simply absent; the baked start picture still shows.
        QVERIFY(figurePicture(2).isNull());
        QVERIFY(moodFace(1, MoodFaceSet::OnWhite).isNull());
        QVERIFY(!figurePicture(1).isNull());
        QImage page(40, 40, QImage::Format_ARGB32_Premultiplied);
        page.fill(Qt::white);
        QPainter painter(&page);
        paintReportHeading(&painter, QRectF(0, 0, 40, 40));
        painter.end();
        QCOMPARE(page.pixel(20, 20), qRgb(255, 255, 255));
        // Printing says why it cannot start instead of claiming there is no printer.
        try {
            ReportPrinter::hasDefaultPrinter();
            QFAIL("no error");
        } catch (const std::runtime_error &error) {
            QVERIFY(QString::fromUtf8(error.what()).startsWith(expected));
        }
        // The window still starts and takes a measurement; only the figure is missing.
        WindowHarness h;
        TQXCALC *window = h.start();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        h.fill(1, u"40"_s, u"170"_s, u"65"_s, u"20"_s);
        h.click("PictureButton3");
        QVERIFY(h.messages.isEmpty());
        QCOMPARE(h.label("Label9"), u"22.5"_s);
        QVERIFY(!h.recordBytes().isEmpty());
    }
};

QTEST_MAIN(tst_OutputModule)
#include "tst_outputmodule.moc"
