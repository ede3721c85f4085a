// SPDX-License-Identifier: GPL-3.0-or-later
#include "FreshProcess.h"
#include "PageServer.h"
#include "WindowHarness.h"

#include "info/BrowserEngine.h"
#include "info/InfoBrowserHost.h"

#include <QApplication>

namespace {
bool webEngineMapped()
{
    QFile maps(u"/proc/self/maps"_s);
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6WebEngine");
}
} // namespace

class TestInfoFlow : public WindowTest
{
    Q_OBJECT
    void begin() override
    {
        h->start(server.base());
        h->click("Panel14");
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(server.listen(QHostAddress::LocalHost)); }

    // Nothing of the web engine before the page is asked for.
    void aStartLoadsNoWebEngine()
    {
#ifdef Q_OS_LINUX
        RUN_IN_FRESH_PROCESS();
        QVERIFY(!webEngineMapped());
#else
        QSKIP("reads the process's mapped libraries on Linux only");
#endif
    }

    void switchesToTheBodyTypePageAndBack()
    {
        h->fill(1, u"20"_s, u"175"_s, u"70"_s, u"18"_s); // body type 7
        h->click("PictureButton3");
        TPictureButton *info = h->button("PictureButton8");
        h->click("PictureButton8");
        QCOMPARE(info->geometry(), QRect(8, 149, 457, 22));
        QCOMPARE(info->caption(), u"グラフ表示"_s);
        QCOMPARE(info->toolTip(), u"グラフを表示します"_s);
        QCOMPARE(info->color(), describedColour(14386212));
        QCOMPARE(info->inColor(), describedColour(15183213));
        QVERIFY(!h->shown("Frame11"));
        QVERIFY(!h->shown("Panel13"));
        QVERIFY(h->shown("Panel17")); // connecting, until the page has loaded
        // The click returned before the engine started: the window draws the panel meanwhile.
        QVERIFY(!h->find<InfoBrowserHost>("WebBrowser1")->isBrowserLoaded());
        QTRY_VERIFY_WITH_TIMEOUT(!h->shown("Panel17"), 20000);
        QVERIFY(server.requests.contains(u"/pemmira/res/body7.htm"_s));
#ifdef Q_OS_LINUX
        QVERIFY(webEngineMapped());
#endif

        h->click("PictureButton8");
        QCOMPARE(info->geometry(), QRect(237, 149, 229, 22));
        QCOMPARE(info->caption(), u"インフォメーション表示"_s);
        QCOMPARE(info->toolTip(), u"インフォメーションサイトへ接続します"_s);
        QCOMPARE(info->color(), describedColour(8421440));
        QVERIFY(h->shown("Frame11") && h->shown("Panel13"));
        QVERIFY(!h->find<QWidget>("Panel17")->isHidden()); // shown again, under the graph

        // Every switch navigates anew, with the connecting panel until it completes.
        const qsizetype before = server.requests.count(u"/pemmira/res/body7.htm"_s);
        h->click("PictureButton8");
        QVERIFY(h->shown("Panel17"));
        QTRY_VERIFY_WITH_TIMEOUT(!h->shown("Panel17"), 20000);
        QCOMPARE(server.requests.count(u"/pemmira/res/body7.htm"_s), before + 1);
    }

    // Without the browser part beside the program the click is refused, and the button keeps its
    // graph look so that the next click asks again.
    void aMissingBrowserPartKeepsTheGraph()
    {
        if (!qEnvironmentVariableIsSet("PEMIRA_FRESH_PROCESS")) {
            QTemporaryDir elsewhere;
            const QString copy = elsewhere.filePath(u"tst_infoflow"_s);
            QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), copy));
            const QByteArray output = rerunAlone(QTest::currentTestFunction(), copy);
            QVERIFY2(output.startsWith("ok"), output.constData());
            return;
        }
        TPictureButton *info = h->button("PictureButton8");
        for (int attempt = 1; attempt <= 2; ++attempt) {
            h->click("PictureButton8");
            QCOMPARE(h->messages.size(), attempt);
            QCOMPARE(info->caption(), u"インフォメーション表示"_s);
            QCOMPARE(info->geometry(), QRect(237, 149, 229, 22));
            QVERIFY(h->shown("Frame11") && h->shown("Panel13"));
        }
    }

    void aNotificationUnderTheGraphHidesTheCoveredPanel()
    {
        auto *browser = h->find<InfoBrowserHost>("WebBrowser1");
        Q_EMIT browser->navigateComplete(u"http://127.0.0.1/"_s);
        QVERIFY(h->find<QWidget>("Panel17")->isHidden());
        QVERIFY(h->shown("Frame11"));
    }

    void noBodyTypeAsksForThePlainPage()
    {
        h->click("PictureButton8");
        QTRY_VERIFY_WITH_TIMEOUT(server.requests.contains(u"/pemmira/res/body.htm"_s), 20000);
    }

private:
    PageServer server;
};

int main(int argc, char *argv[])
{
    prepareBrowserEngine(); // before the application object, as the program does
    QApplication app(argc, argv);
    TestInfoFlow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_infoflow.moc"
