// SPDX-License-Identifier: GPL-3.0-or-later
// What the browser plugin's view offers the window: a widget that shows pages, an asynchronous
// navigate and a completion callback. Header only, shared by the program and the plugin.
#pragma once

#include <QString>

#include <functional>

class QWidget;

class InfoBrowserView
{
public:
    virtual ~InfoBrowserView() = default;

    // The view itself; deleting it ends the view.
    virtual QWidget *widget() = 0;
    // Starts loading and returns at once.
    virtual void navigate(const QString &address) = 0;
    // Called on the UI thread whenever a navigation has finished, loaded or not.
    virtual void setNavigateCompleteHandler(std::function<void(const QString &url)> handler) = 0;
    virtual QString title() const = 0;
};
