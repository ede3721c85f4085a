// SPDX-License-Identifier: GPL-3.0-or-later
// The month graphs painted pixel by pixel onto the 868 x 240 graph picture: the grid background
// and one routine for the weight and fat-weight lines with their mood faces.
#pragma once

#include <QColor>
#include <QImage>

#include <array>

#include "record/GraphLayout.h"

class TextGrid;

namespace GraphGeometry {
constexpr int Width = 868;
constexpr int Height = 240;
constexpr int PixelsPerKg = 30;
constexpr int FaceSize = 16;
} // namespace GraphGeometry

// Index i holds the pictures of mood code i + 1. Faces lie on black, masks are the black face on
// white; both are meant to be opaque 16 x 16 RGB32 (other 32-bit formats are read as they are,
// the rest converted on each call). A null image leaves its code undrawn.
struct MoodFaces
{
    std::array<QImage, 4> faces;
    std::array<QImage, 4> masks;
};

struct GraphResult
{
    bool hasBase = false; // column 0 held a number: the axis shows base + 4 .. base - 4
    int base = 0;
    int endX = 7; // the last plotted point, where the end marker sits
    int endY = 0;
};

// Erases the picture to the graph's grid; a picture of another size or format is replaced by a
// 868 x 240 RGB32 one.
void paintGraphBackground(QImage &picture);

// Plots a layout onto a picture painted by paintGraphBackground; the pen starts in the colour
// the background ends with, at (7, 0). Plotted y values are limited to +-1,000,000.
GraphResult plotRow(
    QImage &picture, const GraphLayout &layout, const MoodFaces &faces, QColor referenceLineColour);
// The same for `row` of the record table: a cell that is not a value counts as empty, so a
// damaged record still draws.
GraphResult plotRow(QImage &picture, const TextGrid &table, int row, const MoodFaces &faces,
    QColor referenceLineColour);
// What plotRow would return, without a picture.
GraphResult screenGraphResult(const GraphLayout &layout);

// y of value v on the scale around base: 240 - (v - (base - 4)) x 30, rounded to the nearest
// pixel with an exact decimal half to the even neighbour.
int plottedY(double value, int base);
