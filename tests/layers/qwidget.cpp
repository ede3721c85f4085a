// SPDX-License-Identifier: GPL-3.0-or-later
// Compiled as part of the model: Qt Widgets is not linked there.
#include "record/TextGrid.h"
#include <QWidget>
