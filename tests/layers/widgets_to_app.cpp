// SPDX-License-Identifier: GPL-3.0-or-later
// Compiled as part of the widgets: the window is a layer above them.
#include "controls/Label.h"
#include "app/QXCALC.h"
