// SPDX-License-Identifier: GPL-3.0-or-later
#include "Popups.h"

#include "controls/Panel.h"

#include <QWidget>

#include <algorithm>

Popups::Popups(Controls controls)
    : m_c(std::move(controls))
{ }

void Popups::setShown(TPanel *popup, TPanel *shadow, bool shown)
{
    // A button of a closing pop-up must not keep the focus: hidden, it would still act on keys.
    QWidget *focus = m_c.window->focusWidget();
    if (!shown && popup->isAncestorOf(focus))
        focus->clearFocus();
    popup->setVisible(shown);
    shadow->setVisible(shown);
    updateButtons();
}

void Popups::setInputsEnabled(bool enabled)
{
    m_c.inputs->setEnabled(enabled);
    m_c.diet->setEnabled(enabled);
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
    const bool open = std::any_of(m_c.popups.begin(), m_c.popups.end(),
        [](const TPanel *popup) { return !popup->isHidden(); });
    m_c.clear->setEnabled(m_clearAvailable && !open);
    m_c.print->setEnabled(m_printAvailable && !open);
}
