// SPDX-License-Identifier: GPL-3.0-or-later
// Process settings the web engine needs because it is loaded late, from the plugin, after the
// application object exists. Called once in main() before QApplication; loads nothing itself.
#pragma once

#include <QByteArray>
#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QtGlobal>

#include <utility>

void prepareBrowserEngine();
// Keeps the engine's report of its settings off the console; called before the engine loads.
void quietBrowserEngineReport();

// Whether a console message is one Qt or the engine gives because of those settings (GL or the
// sandbox switched off on purpose), which an ordinary start does not print.
bool isExpectedEngineNote(
    QtMsgType type, const QString &message, bool glSwitchedOff, bool sandboxSwitchedOff);

using BrowserEngineVariable = std::pair<QByteArray, QByteArray>;

// The variables prepareBrowserEngine() adds to the environment, as (name, value); variables the
// user already set are left alone.
QList<BrowserEngineVariable> browserEngineVariables(
    const QProcessEnvironment &environment, bool runningAsRoot);
