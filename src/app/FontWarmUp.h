// SPDX-License-Identifier: GPL-3.0-or-later
// Loads the system's font configuration on a second thread while the application object and
// its platform connection are set up: the first font the window asks for then finds it ready.
#pragma once

#include <thread>

class FontWarmUp
{
public:
    FontWarmUp();
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp &) = delete;
    FontWarmUp &operator=(const FontWarmUp &) = delete;

    // Returns when the configuration is loaded. Call before the first use of a font, so two
    // threads never build it at the same time.
    void wait();

private:
    std::thread m_thread;
};
