// SPDX-License-Identifier: GPL-3.0-or-later
#include "info/BrowserEngine.h"
#include "info/InfoPage.h"
#include "record/TextGrid.h"

#include <QTest>

using namespace Qt::StringLiterals;

using Variables = QList<BrowserEngineVariable>;

class TestInfoPage : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void bodyTypeIsLatestUpToToday_data()
    {
        // Cells of row 5 as "column=text" pairs, today's column, expected text.
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<int>("today");
        QTest::addColumn<QString>("expected");
        QTest::newRow("today-wins") << QStringList {u"10=7"_s, u"8=3"_s} << 10 << u"7"_s;
        QTest::newRow("nearest-earlier") << QStringList {u"8=3"_s, u"6=9"_s} << 10 << u"3"_s;
        QTest::newRow("column-0") << QStringList {u"0=12"_s} << 10 << u"12"_s;
        QTest::newRow("zero-is-a-body-type") << QStringList {u"9=0"_s, u"4=5"_s} << 10 << u"0"_s;
        QTest::newRow("later-ignored") << QStringList {u"11=4"_s, u"61=2"_s} << 10 << QString();
        QTest::newRow("empty-table") << QStringList {} << 10 << QString();
        QTest::newRow("today-0") << QStringList {u"0=6"_s, u"1=8"_s} << 0 << u"6"_s;
        QTest::newRow("today-last") << QStringList {u"61=11"_s} << 61 << u"11"_s;
        QTest::newRow("today-beyond-table") << QStringList {u"61=11"_s} << 200 << u"11"_s;
        QTest::newRow("today-negative") << QStringList {u"0=6"_s} << -1 << QString();
    }
    void bodyTypeIsLatestUpToToday()
    {
        QFETCH(QStringList, cells);
        QFETCH(int, today);
        QFETCH(QString, expected);
        TextGrid record(62, 16);
        for (const QString &cell : cells) {
            const QStringList parts = cell.split(u'=');
            record.setCell(parts[0].toInt(), 5, parts[1]);
        }
        // Other rows of earlier columns must not count as a body type.
        record.setCell(2, 4, u"21.5"_s);
        record.setCell(2, 6, u"1500"_s);
        QCOMPARE(InfoPage::bodyTypeText(record, today), expected);
    }

    void pageAddressJoinsWithoutSeparators_data()
    {
        QTest::addColumn<QString>("bodyType");
        QTest::addColumn<QString>("expected");
        QTest::newRow("seven") << u"7"_s << u"http://127.0.0.1:8080/pemmira/res/body7.htm"_s;
        QTest::newRow("twelve") << u"12"_s << u"http://127.0.0.1:8080/pemmira/res/body12.htm"_s;
        QTest::newRow("none") << QString() << u"http://127.0.0.1:8080/pemmira/res/body.htm"_s;
    }
    void pageAddressJoinsWithoutSeparators()
    {
        QFETCH(QString, bodyType);
        QFETCH(QString, expected);
        QCOMPARE(InfoPage::pageAddress(u"http://127.0.0.1:8080"_s, bodyType), expected);
    }

    void defaultBaseIsHttpHostOnly()
    {
        const QString base = InfoPage::defaultInfoBase();
        QVERIFY(base.startsWith(u"http://"_s));
        const QString host = base.mid(7);
        QVERIFY(!host.isEmpty());
        QVERIFY2(!host.contains(u'/'), qPrintable(base));
    }

    void engineVariablesKeepUserSettings_data()
    {
        QTest::addColumn<QStringList>("set");
        QTest::addColumn<bool>("root");
        QTest::addColumn<Variables>("expected");
        const Variables noGl {{"QT_XCB_GL_INTEGRATION", "none"}, {"QT_QUICK_BACKEND", "software"}};
        const Variables noZygote {{"QTWEBENGINE_CHROMIUM_FLAGS", "--no-zygote"}};
        const Variables sandbox = Variables {{"QTWEBENGINE_DISABLE_SANDBOX", "1"}} + noZygote;
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
        QTest::newRow("user-x11") << QStringList {} << false << noGl;
        QTest::newRow("root-x11") << QStringList {} << true << sandbox + noGl;
        QTest::newRow("root-xcb-named")
            << QStringList {u"QT_QPA_PLATFORM=xcb"_s} << true << sandbox + noGl;
        QTest::newRow("user-gl-choice-kept")
            << QStringList {u"QT_XCB_GL_INTEGRATION=xcb_egl"_s} << false << Variables {};
        QTest::newRow("user-quick-choice-kept")
            << QStringList {u"QT_QUICK_BACKEND=opengl"_s} << true << sandbox;
#endif
        QTest::newRow("offscreen-user")
            << QStringList {u"QT_QPA_PLATFORM=offscreen"_s} << false << Variables {};
        QTest::newRow("offscreen-root")
            << QStringList {u"QT_QPA_PLATFORM=offscreen"_s} << true << sandbox;
        QTest::newRow("root-sandbox-choice-kept")
            << QStringList {u"QT_QPA_PLATFORM=offscreen"_s, u"QTWEBENGINE_DISABLE_SANDBOX=0"_s}
            << true << Variables {};
        QTest::newRow("user-sandbox-off")
            << QStringList {u"QT_QPA_PLATFORM=offscreen"_s, u"QTWEBENGINE_DISABLE_SANDBOX=1"_s}
            << false << noZygote;
        QTest::newRow("root-flags-choice-kept")
            << QStringList {u"QT_QPA_PLATFORM=offscreen"_s, u"QTWEBENGINE_CHROMIUM_FLAGS=--foo"_s}
            << true << Variables {{"QTWEBENGINE_DISABLE_SANDBOX", "1"}};
    }
    void engineVariablesKeepUserSettings()
    {
        QFETCH(QStringList, set);
        QFETCH(bool, root);
        QFETCH(Variables, expected);
        QProcessEnvironment environment;
        for (const QString &entry : set)
            environment.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
        QCOMPARE(browserEngineVariables(environment, root), expected);
    }

    // Only the notes the program's own choices cause are kept off the console.
    void onlyExpectedEngineNotesAreDropped_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("glOff");
        QTest::addColumn<bool>("sandboxOff");
        QTest::addColumn<bool>("dropped");
        const QString noBackend = u"No suitable graphics backend found\n"_s;
        const QString sandbox = u"Sandboxing disabled by user."_s;
        QTest::newRow("gl-off-backend") << int(QtWarningMsg) << noBackend << true << false << true;
        QTest::newRow("gl-chosen-backend")
            << int(QtWarningMsg) << noBackend << false << false << false;
        QTest::newRow("gl-off-critical")
            << int(QtCriticalMsg) << noBackend << true << false << false;
        QTest::newRow("sandbox-ours") << int(QtInfoMsg) << sandbox << false << true << true;
        QTest::newRow("sandbox-users") << int(QtInfoMsg) << sandbox << true << false << false;
        QTest::newRow("other-warning")
            << int(QtWarningMsg) << u"QPainter::begin: Paint device returned engine == 0"_s << true
            << true << false;
    }
    void onlyExpectedEngineNotesAreDropped()
    {
        QFETCH(int, type);
        QFETCH(QString, message);
        QFETCH(bool, glOff);
        QFETCH(bool, sandboxOff);
        QFETCH(bool, dropped);
        QCOMPARE(isExpectedEngineNote(QtMsgType(type), message, glOff, sandboxOff), dropped);
    }
};

QTEST_GUILESS_MAIN(TestInfoPage)
#include "tst_infopage.moc"
