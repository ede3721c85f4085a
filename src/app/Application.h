// SPDX-License-Identifier: GPL-3.0-or-later
// Program start: application object, title, main window, hidden print form, message loop.
#pragma once

int runPemira(int argc, char *argv[]);
