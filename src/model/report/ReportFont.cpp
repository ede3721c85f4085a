// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportFont.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace {

// Ratio measured at a large size so that hinting and integer metrics do not skew it.
constexpr int referencePixels = 1000;

QFont unhinted(const QFont &face, int pixels)
{
    QFont font(face);
    font.setPixelSize(std::max(1, pixels));
    // Printer and image must lay the text out alike; hinting would tie the layout to one device.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

int lineStep(const QFont &font)
{
    return std::max(1, int(std::lround(QFontMetricsF(font).height())));
}

} // namespace

ReportFont ReportFont::characterHeight(const QFont &face, int units)
{
    // A pixel size is the em height, which is what a character height measures.
    const QFont font = unhinted(face, units);
    return {font, qreal(lineStep(font))};
}

ReportFont ReportFont::cellHeight(const QFont &face, int units)
{
    const qreal cellAtReference = QFontMetricsF(unhinted(face, referencePixels)).height();
    const int pixels
        = cellAtReference > 0 ? int(std::lround(units * referencePixels / cellAtReference)) : units;
    return {unhinted(face, pixels), qreal(std::max(1, units))};
}
