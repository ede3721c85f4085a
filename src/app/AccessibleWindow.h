// SPDX-License-Identifier: GPL-3.0-or-later
// The window as assistive technology sees it: the one accessibility factory (the drawn controls,
// the graph frame's header table and picture, the window's pictures and keypad keys) and the
// names, labels and focus the window's controls are given.
#pragma once

#include <QString>

#include <functional>

class QWidget;

// Installs the factory; later calls do nothing.
void installAccessibleFactory();

// Names the controls, ties values to their captions and lets every control take the focus from
// the keyboard. control(name) returns the component of that name.
void describeWindowControls(const std::function<QWidget *(const char *name)> &control);

// What figure n (1 to 5) shows, for a screen reader.
QString figureDescription(int n);
