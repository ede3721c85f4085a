// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowKeyboard.h"

#include "KeypadKeys.h"
#include "Popups.h"
#include "WindowLayout.h"
#include "controls/Accessible.h"
#include "controls/RightEdit.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>

#include <vector>

using namespace Qt::StringLiterals;

namespace {

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The keypad character a key stands for, or a null character.
QChar typedKeypadCharacter(const QKeyEvent *key)
{
    const QString text = key->text();
    if (text.size() != 1)
        return {};
    const QChar c = text.at(0);
    return (c >= u'0' && c <= u'9') || c == u'.' ? c : QChar();
}

} // namespace

WindowKeyboard::WindowKeyboard(
    QWidget *window, std::function<QWidget *(const char *)> control, const Popups &popups)
    : QObject(window)
    , m_window(window)
    , m_control(std::move(control))
    , m_popups(popups)
{
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *) {
        if (old && old->window() == m_window)
            m_lastFocus = old;
    });
    qApp->installEventFilter(this);
}

WindowKeyboard::~WindowKeyboard() = default;

bool WindowKeyboard::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide: {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!event->spontaneous() && widget && m_popups.entryOf(widget)) {
            if (event->type() == QEvent::Show)
                popupShown(widget);
            else
                popupHidden(widget);
        }
        return false;
    }
    case QEvent::KeyPress: {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!widget || widget->window() != m_window)
            return false;
        return keyPress(widget, static_cast<QKeyEvent *>(event));
    }
    default:
        return false;
    }
}

QWidget *WindowKeyboard::activePopup() const
{
    const PopupEntry *entry = m_popups.active();
    return entry ? m_popups.panel(entry->popup) : nullptr;
}

bool WindowKeyboard::usable(const QWidget *widget) const
{
    return widget && widget->isVisible() && widget->isEnabled()
        && (widget->focusPolicy() & Qt::TabFocus) && !isOutsideWindow(widget);
}

QList<QWidget *> WindowKeyboard::candidates() const
{
    QList<QWidget *> list;
    const auto add = [&](const char *name) {
        if (QWidget *widget = c(name); usable(widget))
            list << widget;
    };
    if (const PopupEntry *popup = m_popups.active()) {
        for (const char *name : popup->tabOrder)
            add(name);
    } else {
        for (const char *name : WindowLayout::TabOrder)
            add(name);
    }
    return list;
}

bool WindowKeyboard::focusNext(bool forward)
{
    const QList<QWidget *> list = candidates();
    if (list.isEmpty())
        return true;
    const qsizetype at = list.indexOf(m_window->focusWidget());
    const qsizetype count = list.size();
    const qsizetype next
        = at < 0 ? (forward ? 0 : count - 1) : (at + (forward ? 1 : count - 1)) % count;
    // A field entered by Tab keeps its text unselected, as after a click.
    const bool field = qobject_cast<TRightEdit *>(list.at(next)) != nullptr;
    list.at(next)->setFocus(field ? Qt::OtherFocusReason
            : forward             ? Qt::TabFocusReason
                                  : Qt::BacktabFocusReason);
    return true;
}

bool WindowKeyboard::keyPress(QWidget *widget, QKeyEvent *key)
{
    // A control hidden with the focus still on it never acts on keys.
    if (!widget->isVisible())
        return true;
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
        && !(modifiers & (Qt::ControlModifier | Qt::AltModifier))) {
        focusNext(key->key() == Qt::Key_Tab && !(modifiers & Qt::ShiftModifier));
        return true;
    }
    if (QWidget *popup = activePopup()) {
        if (popup == m_popups.panel(Popup::Keypad))
            return keypadKey(widget, key);
        if (key->key() == Qt::Key_Escape)
            return escape(popup);
        // A focused push button answers Enter as it answers Space.
        if (auto *button = qobject_cast<QPushButton *>(widget); button && isEnter(key->key())) {
            if (button->isEnabled())
                button->click();
            return true;
        }
        return false;
    }
    if (qobject_cast<TRightEdit *>(widget))
        return fieldKey(widget, key);
    return false;
}

bool WindowKeyboard::keypadKey(QWidget *widget, QKeyEvent *key)
{
    if (const QChar typed = typedKeypadCharacter(key); !typed.isNull()) {
        pressKeypadKey(typed);
        return true;
    }
    const auto click = [this](QWidget *widget) {
        if (auto *button = qobject_cast<QPushButton *>(widget); usable(button))
            button->click();
        return true;
    };
    switch (key->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        return click(c(WindowLayout::KeypadClearKey));
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return click(c(WindowLayout::KeypadEnterKey));
    case Qt::Key_Escape:
        return click(m_popups.cancelAnswer(Popup::Keypad));
    case Qt::Key_Space:
        // The digit keys act on being pressed, not on the click Space gives a push button.
        for (const auto &entry : keypadKeys) {
            if (widget == c(entry.name)) {
                if (!key->isAutoRepeat())
                    pressKeypadKey(entry.character);
                return true;
            }
        }
        return false;
    default:
        return false;
    }
}

void WindowKeyboard::pressKeypadKey(QChar typed)
{
    for (const auto &entry : keypadKeys) {
        QWidget *key = c(entry.name);
        if (entry.character == typed && key->isVisible() && key->isEnabled())
            pressWithMouse(key);
    }
}

bool WindowKeyboard::fieldKey(QWidget *field, QKeyEvent *key)
{
    auto *edit = static_cast<TRightEdit *>(field);
    // Typing straight into the field would pass the keypad's range questions by: every key that
    // changes the text opens the keypad instead, as a click does.
    const QChar typed = typedKeypadCharacter(key);
    const int k = key->key();
    const bool opens = !typed.isNull() || isEnter(k) || k == Qt::Key_Space || k == Qt::Key_Backspace
        || k == Qt::Key_Delete;
    if (opens) {
        if (edit->isEnabled() && !key->isAutoRepeat()) {
            Q_EMIT edit->clicked();
            if (!typed.isNull())
                pressKeypadKey(typed);
        }
        return true;
    }
    const bool moves = k == Qt::Key_Left || k == Qt::Key_Right || k == Qt::Key_Home
        || k == Qt::Key_End || k == Qt::Key_Escape || key->matches(QKeySequence::Copy)
        || key->matches(QKeySequence::SelectAll);
    return !moves;
}

bool WindowKeyboard::escape(const QWidget *popup)
{
    const PopupEntry *entry = m_popups.entryOf(popup);
    auto *close
        = entry ? qobject_cast<QPushButton *>(m_popups.cancelAnswer(entry->popup)) : nullptr;
    if (close && close->isEnabled())
        close->click();
    return true;
}

void WindowKeyboard::popupShown(QWidget *popup)
{
    QWidget *current = m_window->focusWidget();
    if (current && popup->isAncestorOf(current))
        return;
    m_returnFocus[popup] = current && current->isVisible() ? current : m_lastFocus.data();
    // The keypad tells which field it fills: the one it was opened from.
    const Popup which = m_popups.entryOf(popup)->popup;
    if (which == Popup::Keypad && qobject_cast<TRightEdit *>(m_returnFocus[popup]))
        popup->setAccessibleDescription(m_returnFocus[popup]->accessibleName());

    const bool alert = popupEntry(which).kind == TPanel::AlertPopup;
    QAccessibleEvent announce(popup, alert ? QAccessible::Alert : QAccessible::DialogStart);
    QAccessible::updateAccessibility(&announce);

    QWidget *first = m_popups.firstControl(which);
    if (first && first->isEnabled())
        first->setFocus(Qt::OtherFocusReason);
}

void WindowKeyboard::popupHidden(QWidget *popup)
{
    if (m_popups.entryOf(popup)->kind != TPanel::AlertPopup) {
        QAccessibleEvent announce(popup, QAccessible::DialogEnd);
        QAccessible::updateAccessibility(&announce);
    }
    giveFocusBack(popup, true);
}

void WindowKeyboard::giveFocusBack(QWidget *popup, bool retry)
{
    const QWidget *current = m_window->focusWidget();
    if (current && current->isVisible() && current->isEnabled() && !popup->isAncestorOf(current))
        return;
    QWidget *target = m_returnFocus.value(popup);
    if (usable(target) && !popup->isAncestorOf(target)) {
        target->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (retry) {
        // The handler closing the pop-up may enable the control that opened it only afterwards.
        QTimer::singleShot(0, this, [this, popup] { giveFocusBack(popup, false); });
        return;
    }
    const QList<QWidget *> list = candidates();
    if (!list.isEmpty())
        list.first()->setFocus(Qt::OtherFocusReason);
}
