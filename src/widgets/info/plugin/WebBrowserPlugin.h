// SPDX-License-Identifier: GPL-3.0-or-later
// The plugin object the program finds through its loader: it makes web views.
#pragma once

#include "InfoBrowserPlugin.h"

#include <QObject>

class WebBrowserPlugin : public QObject, public InfoBrowserPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID InfoBrowserPlugin_iid)
    Q_INTERFACES(InfoBrowserPlugin)
    Q_DISABLE_COPY_MOVE(WebBrowserPlugin)

public:
    WebBrowserPlugin() = default;

    void startEngine() override;
    InfoBrowserView *createView(QWidget *parent) override;
};
