// SPDX-License-Identifier: GPL-3.0-or-later
// The window's pop-ups from one table (panel, shadow, controls in tab order, the answer Escape
// gives, what assistive technology calls it), and which of them is open and what it asks: one
// open at a time, the inputs under an open one disabled, and the clear and print buttons usable
// only once there is something to clear or print and no pop-up is open. The keyboard, the
// accessibility and the window ask here; no caption is ever read back.
#pragma once

#include "controls/Panel.h"

#include <functional>
#include <vector>

class QWidget;

enum class Popup {
    Question, // Panel11: a keypad value out of range, the under-15 notice, the clearing questions
    Mood,     // Panel15: the evening's mood
    Diet,     // Panel5: the diet advice
    Print,    // Panel7: the print pop-up
    Keypad,   // Panel9: the on-screen keypad
};

// What the question pop-up asks.
enum class Question {
    Range,            // a keypad value out of range: the value or " 間違った！"
    Under15,          // the under-15 notice: one answer, which clears every input
    Clear,            // clear the record and close
    PrintBeforeClear, // print before clearing
};

struct PopupEntry
{
    Popup popup;
    const char *panel;
    const char *shadow;
    std::vector<const char *> tabOrder;
    // The control Escape clicks; nullptr: none (the mood has to be chosen). The question's
    // depends on what it asks: see Popups::cancelAnswer.
    const char *cancel;
    TPanel::Kind kind;
};
// Topmost first: the question opens over the keypad.
const std::vector<PopupEntry> &popupTable();
const PopupEntry &popupEntry(Popup popup);

class Popups
{
public:
    using Control = std::function<QWidget *(const char *name)>;
    // control(name) returns the window's component of that name.
    Popups(QWidget *window, Control control);

    void show(Popup popup) { setShown(popup, true); }
    void hide(Popup popup) { setShown(popup, false); }
    void setShown(Popup popup, bool shown);
    QWidget *panel(Popup popup) const;
    // The pop-up that owns panel, when it is one.
    const PopupEntry *entryOf(const QWidget *panel) const;
    // The pop-up whose controls alone can be used now, or nullptr.
    const PopupEntry *active() const;

    void ask(Question question) { m_question = question; }
    Question question() const { return m_question; }
    // The control Escape clicks in popup, or nullptr.
    QWidget *cancelAnswer(Popup popup) const;
    // The control a pop-up gives the focus to as it opens.
    QWidget *firstControl(Popup popup) const;

    void setInputsEnabled(bool enabled);
    void updateButtons();
    // Set by a start-up load or a calculation.
    void setAvailable(bool clear, bool print);

private:
    QWidget *m_window;
    Control m_control;
    Question m_question = Question::Range;
    bool m_clearAvailable = false;
    bool m_printAvailable = false;
};
