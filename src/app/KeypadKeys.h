// SPDX-License-Identifier: GPL-3.0-or-later
// The keypad's character keys: each appends its character as soon as a mouse button goes down on
// it (also the second press of a quick double press), not on the click. Watches only those keys.
#pragma once

#include "WindowLayout.h"

#include <QHash>
#include <QObject>

#include <functional>

class QWidget;

using WindowLayout::KeypadKey;
inline constexpr const auto &keypadKeys = WindowLayout::KeypadCharacterKeys;

bool isKeypadKey(const char *name);

class KeypadKeys : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(KeypadKeys)
public:
    // control(name) returns the window's component of that name; pressed receives the character.
    KeypadKeys(const std::function<QWidget *(const char *name)> &control,
        std::function<void(QChar)> pressed, QObject *parent);
    ~KeypadKeys() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void(QChar)> m_pressed;
    QHash<QObject *, QChar> m_characters;
};
