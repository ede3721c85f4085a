// SPDX-License-Identifier: GPL-3.0-or-later
// The interface the browser plugin library exports; the program loads it only when the
// information page is first shown, so starts that never show it pay nothing for the engine.
#pragma once

#include "InfoBrowserView.h"

#include <QtPlugin>

class QWidget;

class InfoBrowserPlugin
{
public:
    virtual ~InfoBrowserPlugin() = default;

    // Starts the engine itself, the longest single step of showing the first page; a view made
    // afterwards starts faster. Calling it again does nothing.
    virtual void startEngine() = 0;
    // A new view owned by parent.
    virtual InfoBrowserView *createView(QWidget *parent) = 0;
};

// Bump the version when the two interfaces change, so a stale plugin is refused, not called.
#define InfoBrowserPlugin_iid "org.pemira.InfoBrowserPlugin/2"
Q_DECLARE_INTERFACE(InfoBrowserPlugin, InfoBrowserPlugin_iid)
