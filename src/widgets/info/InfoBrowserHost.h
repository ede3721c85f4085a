// SPDX-License-Identifier: GPL-3.0-or-later
// The window's browser area ("WebBrowser1"). The web engine lives in a plugin library beside the
// executable, loaded on the first navigation, so a run that never shows the page never loads it.
#pragma once

#include <QPluginLoader>
#include <QWidget>

class InfoBrowserView;

class InfoBrowserHost : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InfoBrowserHost)

public:
    // An empty pluginFolder means the executable's folder.
    explicit InfoBrowserHost(QWidget *parent = nullptr, const QString &pluginFolder = QString());
    ~InfoBrowserHost() override;

    // Starts loading address and returns at once; the first call loads the plugin and makes the
    // view. Throws std::runtime_error when the plugin cannot be loaded; a later call tries again.
    void navigate(const QString &address);

    bool isBrowserLoaded() const { return m_view != nullptr; }
    // Title of the page shown; empty before the first navigation.
    QString pageTitle() const;

    static QString pluginName();

Q_SIGNALS:
    // A navigation has finished, whether the page could be shown or not.
    void navigateComplete(const QString &url);

private:
    void loadBrowser();

    QString m_pluginFolder;
    QPluginLoader m_loader;
    InfoBrowserView *m_view = nullptr;
};
