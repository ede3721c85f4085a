// SPDX-License-Identifier: GPL-3.0-or-later
#include "InfoBrowserHost.h"

#include "BrowserEngine.h"

#include "InfoBrowserPlugin.h"
#include "plugins/PluginFile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <stdexcept>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

const QString PartName = u"インフォメーション表示の部品"_s;

std::runtime_error browserError(const QString &text)
{
    return std::runtime_error(text.toStdString());
}

// Long enough for the window to draw what the click changed before the next step holds it: a
// zero timer would run ahead of the (low-priority) repaint.
constexpr int StepDelayMs = 1;

} // namespace

InfoBrowserHost::InfoBrowserHost(QWidget *parent, const QString &pluginFolder)
    : QWidget(parent)
    , m_pluginFolder(pluginFolder)
{
    setFocusPolicy(Qt::NoFocus);
    resize(457, 292);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

InfoBrowserHost::~InfoBrowserHost()
{
    // The view may still be loading: it must not call back into a half-destroyed host.
    if (m_view) {
        m_view->setNavigateCompleteHandler({});
        delete m_view->widget();
    }
}

QString InfoBrowserHost::pluginName()
{
    return u"pemira_browser"_s;
}

void InfoBrowserHost::navigate(const QString &address)
{
    if (m_view) {
        m_view->navigate(address);
        return;
    }
    if (!m_starting)
        findPlugin();
    m_pendingAddress = address;
    if (m_starting)
        return;
    m_starting = true;
    if (m_plugin) {
        QTimer::singleShot(StepDelayMs, Qt::PreciseTimer, this, &InfoBrowserHost::nextStartStep);
        return;
    }
    // Mapping and relocating the engine's libraries takes longer than a click may hold the
    // window, and the dynamic loader is thread-safe: a helper thread maps them, and the plugin
    // object is then made on this thread from the library already in memory. A failure there is
    // left for that step to report.
    QThread *mapping = QThread::create([file = m_loader.fileName()] { QLibrary(file).load(); });
    connect(mapping, &QThread::finished, this, &InfoBrowserHost::nextStartStep);
    connect(mapping, &QThread::finished, mapping, &QObject::deleteLater);
    mapping->start();
}

QString InfoBrowserHost::pageTitle() const
{
    return m_view ? m_view->title() : QString();
}

void InfoBrowserHost::findPlugin()
{
    if (m_plugin)
        return;
    const QString folder
        = m_pluginFolder.isEmpty() ? QCoreApplication::applicationDirPath() : m_pluginFolder;
    for (const QString &candidate : PluginFile::searchFolders(folder)) {
        m_loader.setFileName(QDir(candidate).filePath(pluginName()));
        if (!m_loader.fileName().isEmpty())
            break;
    }
    // Reading the plugin's description opens the file without loading the engine behind it, so a
    // missing or broken plugin is refused in the click itself, as a refused navigation is.
    if (m_loader.metaData().isEmpty())
        throw browserError(PluginFile::failure(m_loader, PartName, pluginName(), false));
}

void InfoBrowserHost::nextStartStep()
{
    // Each step is one event: loading the engine's libraries, starting the engine, making the
    // view, then the page. Between them the window handles input and repaints.
    try {
        if (!m_plugin) {
            quietBrowserEngineReport();
            QString why;
            m_plugin = PluginFile::load<InfoBrowserPlugin>(m_loader,
                QFileInfo(m_loader.fileName()).absolutePath(), pluginName(), PartName, &why);
            if (!m_plugin)
                throw browserError(why);
        } else if (!m_engineStarted) {
            m_plugin->startEngine();
            m_engineStarted = true;
        } else if (!m_view) {
            m_view = m_plugin->createView(this);
            m_view->setNavigateCompleteHandler(
                [this](const QString &url) { Q_EMIT navigateComplete(url); });
            layout()->addWidget(m_view->widget());
            m_view->widget()->show();
        } else {
            m_starting = false;
            m_view->navigate(std::exchange(m_pendingAddress, QString()));
            return;
        }
    } catch (...) {
        m_starting = false;
        m_pendingAddress.clear();
        throw;
    }
    QTimer::singleShot(StepDelayMs, Qt::PreciseTimer, this, &InfoBrowserHost::nextStartStep);
}
