// SPDX-License-Identifier: GPL-3.0-or-later
// The window's browser area ("WebBrowser1"). The web engine lives in a plugin library beside the
// executable, loaded on the first navigation, so a run that never shows the page never loads it.
// That first navigation is done in steps, each its own event, so the window keeps drawing (the
// connecting panel above all) while the engine starts.
#pragma once

#include <QPluginLoader>
#include <QWidget>

class InfoBrowserPlugin;
class InfoBrowserView;

class InfoBrowserHost : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InfoBrowserHost)

public:
    // An empty pluginFolder means the executable's folder.
    explicit InfoBrowserHost(QWidget *parent = nullptr, const QString &pluginFolder = QString());
    ~InfoBrowserHost() override;

    // Starts loading address and returns at once; the first call finds the plugin and leaves
    // loading it and making the view to the event loop. Throws std::runtime_error when the plugin
    // is missing or unreadable; a later call tries again.
    void navigate(const QString &address);

    // Whether the view exists (the engine is running).
    bool isBrowserLoaded() const { return m_view != nullptr; }
    // Title of the page shown; empty before the first page.
    QString pageTitle() const;

    static QString pluginName();

Q_SIGNALS:
    // A navigation has finished, whether the page could be shown or not.
    void navigateComplete(const QString &url);

private:
    void findPlugin();
    void nextStartStep();

    QString m_pluginFolder;
    QPluginLoader m_loader;
    InfoBrowserPlugin *m_plugin = nullptr;
    InfoBrowserView *m_view = nullptr;
    // The address to open once the view exists; the latest asked for wins.
    QString m_pendingAddress;
    bool m_starting = false;
    bool m_engineStarted = false;
};
