// SPDX-License-Identifier: GPL-3.0-or-later
// A keypad key: a standard push button whose action the window runs when a mouse button goes
// down on it. Its own class so that assistive technology presses it the same way.
#pragma once

#include <QPushButton>

class TPressKey : public QPushButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TPressKey)
public:
    using QPushButton::QPushButton;
};
