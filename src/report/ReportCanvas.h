// The drawing surface of an image element: an opaque bitmap, one pixel per report unit, with
// pen-position drawing as a plotter does it (no antialiasing, a line leaves out its end pixel).
#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>

class ReportCanvas
{
public:
    explicit ReportCanvas(const QSize &size);

    QImage image() const { return m_image; }
    QPoint penPosition() const { return m_pen; }

    void fillRect(const QRect &rect, const QColor &color);
    void setPen(int width, const QColor &color);
    void moveTo(const QPoint &point);
    void lineTo(const QPoint &point);
    // Plain copy: the source pixels replace the target's, nothing is blended or scaled
    // unless the two rectangles differ in size.
    void copyRect(const QRect &target, const QImage &source, const QRect &sourceRect);

private:
    void plotLine(const QPoint &from, const QPoint &to);

    QImage m_image;
    QPoint m_pen;
    int m_penWidth = 1;
    QColor m_penColor = Qt::black;
};
