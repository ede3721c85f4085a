// SPDX-License-Identifier: GPL-3.0-or-later
// The window's pop-ups: one open at a time, the inputs under an open one disabled, and the clear
// and print buttons usable only once there is something to clear or print and no pop-up is open.
#pragma once

#include <vector>

class QWidget;
class TPanel;

class Popups
{
public:
    struct Controls
    {
        QWidget *window;
        TPanel *inputs; // the input panel
        TPanel *diet;   // the diet button's panel
        QWidget *clear; // opens the clear question
        QWidget *print; // opens the print pop-up
        std::vector<TPanel *> popups;
    };
    explicit Popups(Controls controls);

    void setShown(TPanel *popup, TPanel *shadow, bool shown);
    void setInputsEnabled(bool enabled);
    void updateButtons();
    // Set by a start-up load or a calculation.
    void setAvailable(bool clear, bool print);

private:
    Controls m_c;
    bool m_clearAvailable = false;
    bool m_printAvailable = false;
};
