// SPDX-License-Identifier: GPL-3.0-or-later
// Which information page belongs to the record: the latest body type up to today's column and
// the page address built from it. No widgets, no network.
#pragma once

#include <QString>

class TextGrid;

namespace InfoPage {

// The built-in site address ("http://" and the host chosen when the program was built).
QString defaultInfoBase();

// The address of the program's own pages, which the browser answers without the network.
QString bundledInfoBase();

// Row 5 of todayColumn, else of the nearest earlier column that has one; empty when none has.
QString bodyTypeText(const TextGrid &record, int todayColumn);

// base + "/pemmira/res/body" + bodyType + ".htm"
QString pageAddress(const QString &base, const QString &bodyType);

} // namespace InfoPage
