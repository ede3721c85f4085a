// SPDX-License-Identifier: GPL-3.0-or-later
// The program's pictures: hand-drawn SVG compiled into the executable, rendered once per pixel
// size. Mood faces also come in the opaque sets the graph (AND/OR) and the report copy needs.
#pragma once

#include <QIcon>
#include <QImage>
#include <QRectF>
#include <QSize>

class QPainter;

enum class MoodFaceSet {
    OnBlack, // face over pure black: the OR pass of the graph
    Mask,    // black face on white: the AND pass of the graph
    OnWhite  // face over white: copied unchanged onto the printed sheet
};

// Numbers or ratios out of range give a null image or an empty size, never a failure.

// n 1..5; the image has figureSize(n) x devicePixelRatio pixels and carries that ratio.
QImage figurePicture(int n, qreal devicePixelRatio = 1.0);
QSize figureSize(int n);
// The figure drawn from its vector source at 1x, whatever ready-made rendering exists.
QImage figureFromVector(int n);

// code 1..4, 16 x 16, opaque Format_RGB32.
QImage moodFace(int code, MoodFaceSet set);

// code 1..4, 16 x 16 (x devicePixelRatio), transparent around the face.
QImage moodButtonPicture(int code, qreal devicePixelRatio = 1.0);

// 459 x 35 and 167 x 95 (x devicePixelRatio), transparent background.
QImage reportHeading(qreal devicePixelRatio = 1.0);
QImage reportIllustration(qreal devicePixelRatio = 1.0);

// Drawn on demand at any size the platform asks for.
QIcon applicationIcon();

// The report pictures as vectors, for printers and PDF: scaled to fill target.
void paintReportHeading(QPainter *painter, const QRectF &target);
void paintReportIllustration(QPainter *painter, const QRectF &target);
