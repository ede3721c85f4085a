// SPDX-License-Identifier: GPL-3.0-or-later
// The program's two faces with fallbacks to an installed Japanese proportional Gothic / Mincho.
#pragma once

#include <QFont>

QFont gothicFont(int pixelSize, bool bold = false);
QFont minchoFont(int pixelSize, bool bold = false);
