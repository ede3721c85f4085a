// SPDX-License-Identifier: GPL-3.0-or-later
// Compiled as part of the model: a control's header is out of its reach.
#include "record/TextGrid.h"
#include "controls/Label.h"
