// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing surface of an image element: it keeps its operations (fills, pen lines, copies)
// and replays them on whatever it is painted on, so a printer or PDF receives vector drawing.
// At one pixel per report unit the replay is the plotter's exact bitmap (no antialiasing, a line
// leaves out its end pixel).
#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>

#include <vector>

class QPainter;

class ReportCanvas
{
public:
    explicit ReportCanvas(const QSize &size);

    QSize size() const { return m_size; }
    // The surface as a bitmap of one pixel per unit, white where nothing was drawn.
    QImage image() const;
    QPoint penPosition() const { return m_pen; }
    int operationCount() const { return int(m_operations.size()); }

    void fillRect(const QRect &rect, const QColor &color);
    void setPen(int width, const QColor &color);
    void moveTo(const QPoint &point);
    void lineTo(const QPoint &point);
    // Plain copy: the source pixels replace the target's, nothing is blended or scaled
    // unless the two rectangles differ in size.
    void copyRect(const QRect &target, const QImage &source, const QRect &sourceRect);

    // Paints the surface with its corner at origin (in the painter's units), clipped to it.
    void replay(QPainter &painter, const QPoint &origin) const;

    // True when the painter puts one unit on one device pixel of a bitmap, on whole pixels: then
    // drawing must be pixel-exact rather than smooth.
    static bool mapsUnitsToPixels(const QPainter &painter);

private:
    struct Operation
    {
        enum class Kind { Fill, Line, Copy };
        Kind kind = Kind::Fill;
        QRect rect; // fill area, or copy target
        QPoint from, to;
        int width = 1;
        QColor color;
        QImage source;
        QRect sourceRect;
    };

    void plotLine(QPainter &painter, const Operation &line) const;
    void replayExact(QPainter &painter) const;
    void replaySmooth(QPainter &painter) const;

    QSize m_size;
    std::vector<Operation> m_operations;
    QPoint m_pen;
    int m_penWidth = 1;
    QColor m_penColor = Qt::black;
};
