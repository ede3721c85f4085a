// SPDX-License-Identifier: GPL-3.0-or-later
// The window without a mouse: the Tab order (inside the open pop-up only), the focus a pop-up
// takes and gives back, Escape as a pop-up's cancel key, and the physical keys that open and
// drive the on-screen keypad through its own keys, so that every rule of the keypad applies.
#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

class QKeyEvent;
class Popups;

class WindowKeyboard : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WindowKeyboard)
public:
    // control(name) returns the window's component of that name; popups tells which is open.
    WindowKeyboard(
        QWidget *window, std::function<QWidget *(const char *name)> control, const Popups &popups);
    ~WindowKeyboard() override;

    // Moves the focus to the next (or previous) control that can be used now.
    bool focusNext(bool forward);
    // The pop-up whose controls alone can be used now, or nullptr.
    QWidget *activePopup() const;

protected:
    // Installed on the application: the pop-ups' showing and hiding, and every key pressed in the
    // window, the information page's own controls included, come before their receivers.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool keyPress(QWidget *widget, QKeyEvent *key);
    bool keypadKey(QWidget *widget, QKeyEvent *key);
    bool fieldKey(QWidget *field, QKeyEvent *key);
    bool escape(const QWidget *popup);
    void pressKeypadKey(QChar key);
    QList<QWidget *> candidates() const;
    bool usable(const QWidget *widget) const;
    void popupShown(QWidget *popup);
    void popupHidden(QWidget *popup);
    void giveFocusBack(QWidget *popup, bool retry);
    QWidget *c(const char *name) const { return m_control(name); }

    QWidget *m_window;
    std::function<QWidget *(const char *)> m_control;
    const Popups &m_popups;
    QHash<QWidget *, QPointer<QWidget>> m_returnFocus;
    QPointer<QWidget> m_lastFocus;
};
