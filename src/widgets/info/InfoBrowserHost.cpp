// SPDX-License-Identifier: GPL-3.0-or-later
#include "InfoBrowserHost.h"

#include "InfoBrowserPlugin.h"
#include "plugins/PluginFile.h"

#include <QCoreApplication>
#include <QVBoxLayout>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {
std::runtime_error browserError(const QString &text)
{
    return std::runtime_error(text.toStdString());
}
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
    if (!m_view)
        loadBrowser();
    m_view->navigate(address);
}

QString InfoBrowserHost::pageTitle() const
{
    return m_view ? m_view->title() : QString();
}

void InfoBrowserHost::loadBrowser()
{
    const QString folder
        = m_pluginFolder.isEmpty() ? QCoreApplication::applicationDirPath() : m_pluginFolder;
    QString why;
    auto *plugin = PluginFile::load<InfoBrowserPlugin>(
        m_loader, folder, pluginName(), u"インフォメーション表示の部品"_s, &why);
    if (!plugin)
        throw browserError(why);
    m_view = plugin->createView(this);
    m_view->setNavigateCompleteHandler(
        [this](const QString &url) { Q_EMIT navigateComplete(url); });
    layout()->addWidget(m_view->widget());
    m_view->widget()->show();
}
