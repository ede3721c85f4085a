// SPDX-License-Identifier: GPL-3.0-or-later
#include "info/BrowserEngine.h"
#include "info/InfoBrowserHost.h"
#include "info/InfoPage.h"

#include "FreshProcess.h"
#include "PageServer.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <stdexcept>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

bool webEngineMapped()
{
    QFile maps(u"/proc/self/maps"_s);
    if (!maps.open(QIODevice::ReadOnly))
        return false;
    return maps.readAll().contains("libQt6WebEngine");
}

QString navigateError(InfoBrowserHost &host, const QString &address)
{
    try {
        host.navigate(address);
    } catch (const std::runtime_error &error) {
        return QString::fromUtf8(error.what());
    }
    return QString();
}

int countColour(const QImage &image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour;
    return count;
}

constexpr int LoadTimeout = 30000;

// Every request the engine makes goes to a proxy on a closed port, so only what the program
// answers itself can show. Set around the start of a child process, whose engine reads them.
class NetworkRefused
{
public:
    NetworkRefused()
    {
        for (const char *name : Names) {
            m_saved.append(qgetenv(name));
            qputenv(name, "http://127.0.0.1:9");
        }
        qunsetenv("no_proxy");
        qunsetenv("NO_PROXY");
    }
    ~NetworkRefused()
    {
        for (qsizetype i = 0; i < qsizetype(std::size(Names)); ++i)
            m_saved.at(i).isNull() ? qunsetenv(Names[i]) : qputenv(Names[i], m_saved.at(i));
    }

private:
    static constexpr const char *Names[]
        = {"http_proxy", "https_proxy", "all_proxy", "HTTP_PROXY", "HTTPS_PROXY", "ALL_PROXY"};
    QByteArrayList m_saved;
};

} // namespace

class TestInfoBrowser : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(m_server.listen(QHostAddress::LocalHost)); }

    void hostWithoutNavigationLoadsNoEngine()
    {
        if (!QFile::exists(u"/proc/self/maps"_s))
            QSKIP("needs /proc/self/maps");
        RUN_IN_FRESH_PROCESS();
        InfoBrowserHost host;
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        QVERIFY(!host.isBrowserLoaded());
        QCOMPARE(host.pageTitle(), QString());
        QVERIFY(!webEngineMapped());
    }

    void brokenPluginIsReportedAndHostStaysUsable_data()
    {
        QTest::addColumn<QByteArray>("libraryBytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing")
            << QByteArray() << u"インフォメーション表示の部品（pemira_browser）が見つかりません"_s;
        QTest::newRow("not-a-library") << QByteArray(
            "not a library") << u"インフォメーション表示の部品（pemira_browser）を読み込めません"_s;
    }
    void brokenPluginIsReportedAndHostStaysUsable()
    {
        QFETCH(QByteArray, libraryBytes);
        QFETCH(QString, message);
        QTemporaryDir folder;
        if (!libraryBytes.isEmpty()) {
#if defined(Q_OS_WIN)
            QFile library(folder.filePath(u"pemira_browser.dll"_s));
#elif defined(Q_OS_DARWIN)
            QFile library(folder.filePath(u"libpemira_browser.dylib"_s));
#else
            QFile library(folder.filePath(u"libpemira_browser.so"_s));
#endif
            QVERIFY(library.open(QIODevice::WriteOnly));
            library.write(libraryBytes);
        }
        InfoBrowserHost host(nullptr, folder.path());
        QSignalSpy completed(&host, &InfoBrowserHost::navigateComplete);
        const QString address = InfoPage::pageAddress(m_server.base(), u"7"_s);
        QVERIFY2(navigateError(host, address).startsWith(message), qPrintable(message));
        // Asking again reports again instead of crashing on a half-made view.
        QVERIFY(navigateError(host, address).startsWith(message));
        QVERIFY(!host.isBrowserLoaded());
        QCOMPARE(completed.count(), 0);
    }

    void engineIsPreparedBeforeTheApplication()
    {
        QVERIFY(QCoreApplication::testAttribute(Qt::AA_ShareOpenGLContexts));
#if defined(Q_OS_UNIX)
        if (geteuid() == 0)
            QVERIFY(qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"));
#endif
    }

    void navigatesToBodyTypePages()
    {
        InfoBrowserHost host;
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        QSignalSpy completed(&host, &InfoBrowserHost::navigateComplete);

        host.navigate(InfoPage::pageAddress(m_server.base(), u"7"_s));
        // The engine starts after the click has returned, so the window can draw meanwhile.
        QVERIFY(!host.isBrowserLoaded());
        QTRY_COMPARE_WITH_TIMEOUT(completed.count(), 1, LoadTimeout);
        QVERIFY(completed.at(0).at(0).toString().endsWith(u"/pemmira/res/body7.htm"_s));
        QTRY_COMPARE_WITH_TIMEOUT(host.pageTitle(), u"体型7"_s, LoadTimeout);
        QVERIFY(m_server.requests.contains(u"/pemmira/res/body7.htm"_s));
        // The page is really drawn into the host, not only loaded.
        QTRY_VERIFY_WITH_TIMEOUT(
            countColour(host.grab().toImage(), qRgb(0, 255, 0)) > 457 * 292 / 2, LoadTimeout);
        if (QFile::exists(u"/proc/self/maps"_s))
            QVERIFY(webEngineMapped());

        host.navigate(InfoPage::pageAddress(m_server.base(), u"3"_s));
        QTRY_COMPARE_WITH_TIMEOUT(completed.count(), 2, LoadTimeout);
        QVERIFY(completed.at(1).at(0).toString().endsWith(u"/pemmira/res/body3.htm"_s));
        QTRY_COMPARE_WITH_TIMEOUT(host.pageTitle(), u"体型3"_s, LoadTimeout);

        // The browser area never takes focus by tabbing, whatever the engine adds inside it.
        QVERIFY(!(host.focusPolicy() & Qt::TabFocus));
        const auto widgets = host.findChildren<QWidget *>();
        QVERIFY(!widgets.isEmpty());
        for (const QWidget *widget : widgets)
            QVERIFY2(!(widget->focusPolicy() & Qt::TabFocus), widget->metaObject()->className());
    }

    // The program's own pages, one per body type and one for none, with the network refused.
    void bundledPagesNeedNoNetwork()
    {
        if (!qEnvironmentVariableIsSet("PEMIRA_FRESH_PROCESS")) {
            NetworkRefused refused;
            const QByteArray output = rerunAlone(QTest::currentTestFunction());
            QVERIFY2(output.startsWith("ok"), output.constData());
            return;
        }
        const std::pair<QString, QString> pages[] = {{QString(), u"体型の説明"_s},
            {u"1"_s, u"体型1「やせ型肥満」"_s}, {u"2"_s, u"体型2「やせ型肥満傾向」"_s},
            {u"3"_s, u"体型3「やせ型スリム」"_s}, {u"4"_s, u"体型4「やせすぎ」"_s},
            {u"5"_s, u"体型5「隠れ肥満」"_s}, {u"6"_s, u"体型6「隠れ肥満傾向」"_s},
            {u"7"_s, u"体型7「健康標準」"_s}, {u"8"_s, u"体型8「健康スポーツマン」"_s},
            {u"9"_s, u"体型9「肥満」"_s}, {u"10"_s, u"体型10「肥満傾向」"_s},
            {u"11"_s, u"体型11「がっちり」"_s}, {u"12"_s, u"体型12「筋肉質スポーツマン」"_s},
            {u"13"_s, u"接続できません"_s}, {u"x"_s, u"接続できません"_s}};
        InfoBrowserHost host;
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        QSignalSpy completed(&host, &InfoBrowserHost::navigateComplete);
        for (const auto &[bodyType, title] : pages) {
            const QString address = InfoPage::pageAddress(InfoPage::bundledInfoBase(), bodyType);
            completed.clear();
            host.navigate(address);
            QTRY_COMPARE_WITH_TIMEOUT(completed.count(), 1, LoadTimeout);
            QCOMPARE(completed.at(0).at(0).toString(), address);
            QTRY_COMPARE_WITH_TIMEOUT(host.pageTitle(), title, LoadTimeout);
        }
        // Drawn, not only loaded: the page's white fills most of the area.
        QTRY_VERIFY_WITH_TIMEOUT(
            countColour(host.grab().toImage(), qRgb(255, 255, 255)) > 457 * 292 / 2, LoadTimeout);
    }

    void failedPagesStillComplete_data()
    {
        QTest::addColumn<bool>("unreachable");
        QTest::newRow("closed-port") << true;
        QTest::newRow("not-found") << false;
    }
    void failedPagesStillComplete()
    {
        QFETCH(bool, unreachable);
        QString address = m_server.base() + u"/elsewhere.htm"_s;
        if (unreachable) {
            QTcpServer closed;
            QVERIFY(closed.listen(QHostAddress::LocalHost));
            address
                = InfoPage::pageAddress(u"http://127.0.0.1:%1"_s.arg(closed.serverPort()), u"7"_s);
        }
        InfoBrowserHost host;
        host.show();
        QSignalSpy completed(&host, &InfoBrowserHost::navigateComplete);
        host.navigate(address);
        QTRY_COMPARE_WITH_TIMEOUT(completed.count(), 1, LoadTimeout);
        // A site that cannot be reached gets the program's own Japanese page, never the engine's
        // English one; a site that answered shows its own answer.
        if (unreachable)
            QTRY_COMPARE_WITH_TIMEOUT(host.pageTitle(), u"接続できません"_s, LoadTimeout);
        else
            QVERIFY(host.pageTitle() != u"接続できません"_s);
        QTest::qWait(300);
        QCOMPARE(completed.count(), 1);
    }

    void closingWhileLoadingIsSafe()
    {
        auto host = std::make_unique<InfoBrowserHost>();
        host->show();
        host->navigate(InfoPage::pageAddress(m_server.base(), u"5"_s));
        host.reset();
        QTest::qWait(200);
    }

private:
    PageServer m_server;
};

int main(int argc, char *argv[])
{
    // Must come before the application object, as in the program's own main().
    prepareBrowserEngine();
    QApplication app(argc, argv);
    TestInfoBrowser test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_infobrowser.moc"
