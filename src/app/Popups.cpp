// SPDX-License-Identifier: GPL-3.0-or-later
#include "Popups.h"

#include "WindowLayout.h"

#include <QWidget>

#include <algorithm>

const std::vector<PopupEntry> &popupTable()
{
    static const std::vector<PopupEntry> table {
        {Popup::Question, "Panel11", "Panel12", {"Button18", "Button17"}, "Button17",
            TPanel::AlertPopup},
        {Popup::Mood, "Panel15", "Panel16",
            {"PictureButton11", "PictureButton12", "PictureButton13", "PictureButton14"}, nullptr,
            TPanel::Popup},
        {Popup::Diet, "Panel5", "Panel3", {"Button1"}, "Button1", TPanel::Popup},
        {Popup::Print, "Panel7", "Panel8", {"PictureButton7", "Button3"}, "Button3", TPanel::Popup},
        {Popup::Keypad, "Panel9", "Panel10",
            {"Button10", "Button11", "Button12", "Button7", "Button8", "Button9", "Button4",
                "Button5", "Button6", "Button13", "Button14", "Button15", "Button16", "Button2"},
            "Button2", TPanel::Popup},
    };
    return table;
}

const PopupEntry &popupEntry(Popup popup)
{
    const auto &table = popupTable();
    return *std::find_if(
        table.begin(), table.end(), [popup](const PopupEntry &e) { return e.popup == popup; });
}

Popups::Popups(QWidget *window, Control control)
    : m_window(window)
    , m_control(std::move(control))
{ }

QWidget *Popups::panel(Popup popup) const
{
    return m_control(popupEntry(popup).panel);
}

const PopupEntry *Popups::entryOf(const QWidget *panel) const
{
    for (const PopupEntry &entry : popupTable()) {
        if (panel && m_control(entry.panel) == panel)
            return &entry;
    }
    return nullptr;
}

const PopupEntry *Popups::active() const
{
    for (const PopupEntry &entry : popupTable()) {
        const QWidget *popup = m_control(entry.panel);
        if (popup->isVisible() && popup->isEnabled())
            return &entry;
    }
    return nullptr;
}

QWidget *Popups::cancelAnswer(Popup popup) const
{
    if (popup != Popup::Question) {
        const char *cancel = popupEntry(popup).cancel;
        return cancel ? m_control(cancel) : nullptr;
    }
    switch (m_question) {
    case Question::Range:
    case Question::Clear:
        return m_control(popupEntry(popup).cancel);
    case Question::Under15:
        // The notice has one answer, which closes it.
        return m_control(popupEntry(popup).tabOrder.front());
    case Question::PrintBeforeClear:
        // Both answers end the program: neither is a cancel.
        return nullptr;
    }
    return nullptr;
}

QWidget *Popups::firstControl(Popup popup) const
{
    // The question starts on its cancel answer, the notice on its only one.
    if (popup == Popup::Question) {
        if (QWidget *cancel = cancelAnswer(popup))
            return cancel;
    }
    return m_control(popupEntry(popup).tabOrder.front());
}

void Popups::setShown(Popup which, bool shown)
{
    const PopupEntry &entry = popupEntry(which);
    QWidget *popup = m_control(entry.panel);
    // A button of a closing pop-up must not keep the focus: hidden, it would still act on keys.
    QWidget *focus = m_window->focusWidget();
    if (!shown && popup->isAncestorOf(focus))
        focus->clearFocus();
    popup->setVisible(shown);
    m_control(entry.shadow)->setVisible(shown);
    updateButtons();
}

void Popups::setInputsEnabled(bool enabled)
{
    m_control(WindowLayout::InputPanel)->setEnabled(enabled);
    m_control(WindowLayout::DietButtonPanel)->setEnabled(enabled);
}

void Popups::setAvailable(bool clear, bool print)
{
    m_clearAvailable = clear;
    m_printAvailable = print;
    updateButtons();
}

void Popups::updateButtons()
{
    // One pop-up at a time: the clear and print buttons would otherwise open a second one over
    // the keypad, a question or the mood choice, and their answers would re-enable the inputs
    // under the first.
    const auto &table = popupTable();
    const bool open = std::any_of(table.begin(), table.end(),
        [this](const PopupEntry &entry) { return !m_control(entry.panel)->isHidden(); });
    m_control(WindowLayout::ClearButton)->setEnabled(m_clearAvailable && !open);
    m_control(WindowLayout::PrintButton)->setEnabled(m_printAvailable && !open);
}
