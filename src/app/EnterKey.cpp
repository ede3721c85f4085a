// SPDX-License-Identifier: GPL-3.0-or-later
#include "EnterKey.h"

#include "controls/Panel.h"
#include "controls/PictBtn.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QScopeGuard>
#include <QWidget>

EnterKey::EnterKey(QWidget *window, std::function<void()> focusNext)
    : QObject(window)
    , m_window(window)
    , m_focusNext(std::move(focusNext))
{ }

EnterKey::~EnterKey() = default;

void EnterKey::watch(QWidget *control)
{
    control->installEventFilter(this);
}

bool EnterKey::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || m_forwarding)
        return false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    auto *widget = qobject_cast<QWidget *>(watched);
    if ((key != Qt::Key_Return && key != Qt::Key_Enter) || !widget)
        return false;
    auto *panel = qobject_cast<TPanel *>(widget);
    if (panel && (qobject_cast<TPictureButton *>(panel) || panel->kind() == TPanel::Toggle)) {
        // The pop-up the key opens takes the focus.
        m_forwarding = true;
        const auto forwarded = qScopeGuard([this] { m_forwarding = false; });
        QCoreApplication::sendEvent(panel, event);
    }
    // Not when the key opened a pop-up, which took the focus.
    if (widget == m_window || m_window->focusWidget() == widget)
        m_focusNext();
    return true;
}
