// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeypadKeys.h"

#include <QEvent>
#include <QWidget>

#include <algorithm>

bool isKeypadKey(const char *name)
{
    return std::any_of(std::begin(keypadKeys), std::end(keypadKeys),
        [name](const KeypadKey &key) { return qstrcmp(key.name, name) == 0; });
}

KeypadKeys::KeypadKeys(const std::function<QWidget *(const char *)> &control,
    std::function<void(QChar)> pressed, QObject *parent)
    : QObject(parent)
    , m_pressed(std::move(pressed))
{
    for (const KeypadKey &key : keypadKeys) {
        QWidget *button = control(key.name);
        m_characters.insert(button, QChar(key.character));
        button->installEventFilter(this);
    }
}

KeypadKeys::~KeypadKeys() = default;

bool KeypadKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        auto *button = static_cast<QWidget *>(watched);
        // The press still reaches the key, which shows itself pressed.
        if (button->isEnabled() && button->isVisible())
            m_pressed(m_characters.value(watched));
    }
    return false;
}
