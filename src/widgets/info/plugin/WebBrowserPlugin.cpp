// SPDX-License-Identifier: GPL-3.0-or-later
#include "WebBrowserPlugin.h"

#include "WebBrowserView.h"

InfoBrowserView *WebBrowserPlugin::createView(QWidget *parent)
{
    return new WebBrowserView(parent);
}
