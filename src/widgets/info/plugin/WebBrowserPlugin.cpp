// SPDX-License-Identifier: GPL-3.0-or-later
#include "WebBrowserPlugin.h"

#include "WebBrowserView.h"

#include <QWebEngineProfile>

void WebBrowserPlugin::startEngine()
{
    QWebEngineProfile::defaultProfile();
}

InfoBrowserView *WebBrowserPlugin::createView(QWidget *parent)
{
    return new WebBrowserView(parent);
}
