// SPDX-License-Identifier: GPL-3.0-or-later
// Compiled as part of the base: the record is a layer above it.
#include "numbers/NumberFormat.h"
#include "record/TextGrid.h"
