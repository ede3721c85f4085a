// SPDX-License-Identifier: GPL-3.0-or-later
// Enter in the window moves the focus on as Tab does and is never typed into a field; a focused
// picture button or the window toggle still acts on the key going down first. Watches only the
// controls it is given.
#pragma once

#include <QObject>

#include <functional>

class QWidget;

class EnterKey : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EnterKey)
public:
    // focusNext moves the focus to the next usable control.
    EnterKey(QWidget *window, std::function<void()> focusNext);
    ~EnterKey() override;

    void watch(QWidget *control);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    std::function<void()> m_focusNext;
    bool m_forwarding = false;
};
