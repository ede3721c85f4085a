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
        QVERIFY(host.isBrowserLoaded());
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
