// SPDX-License-Identifier: GPL-3.0-or-later
#include "FontWarmUp.h"

#if defined(PEMIRA_HAS_FONTCONFIG)
#include <fontconfig/fontconfig.h>
#endif

FontWarmUp::FontWarmUp()
{
#if defined(PEMIRA_HAS_FONTCONFIG)
    // Loading the configuration (parsing its files, reading the font caches) is the largest
    // single cost of a start. Fontconfig keeps one process-wide configuration and builds it
    // safely from any thread; Qt's font database uses that same one.
    try {
        m_thread = std::thread([] { FcInit(); });
    } catch (...) {
        // No thread: the font database loads the configuration itself, just later.
    }
#endif
}

FontWarmUp::~FontWarmUp()
{
    wait();
}

void FontWarmUp::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}
