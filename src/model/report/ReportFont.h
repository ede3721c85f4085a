// SPDX-License-Identifier: GPL-3.0-or-later
// A font sized in report units as a layout states it: by character height (without the
// internal leading) or by cell height (with it), plus the line step that size gives.
#pragma once

#include <QFont>

struct ReportFont
{
    QFont font;
    qreal lineHeight = 0; // report units from one line's top to the next

    static ReportFont characterHeight(const QFont &face, int units);
    static ReportFont cellHeight(const QFont &face, int units);
};
