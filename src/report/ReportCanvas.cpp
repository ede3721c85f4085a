#include "ReportCanvas.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>

ReportCanvas::ReportCanvas(const QSize &size)
    : m_image(size, QImage::Format_RGB32)
{
    m_image.fill(Qt::white);
}

void ReportCanvas::fillRect(const QRect &rect, const QColor &color)
{
    QPainter painter(&m_image);
    painter.fillRect(rect, color);
}

void ReportCanvas::setPen(int width, const QColor &color)
{
    m_penWidth = std::max(1, width);
    m_penColor = color;
}

void ReportCanvas::moveTo(const QPoint &point)
{
    m_pen = point;
}

void ReportCanvas::lineTo(const QPoint &point)
{
    if (m_penWidth == 1)
        plotLine(m_pen, point);
    else {
        QPainter painter(&m_image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(m_penColor, m_penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawLine(m_pen, point);
    }
    m_pen = point;
}

// Bresenham's line: the start pixel is set, the end pixel is left for the next segment, so a
// polyline never sets a joint twice and a move followed by no line leaves no trace.
void ReportCanvas::plotLine(const QPoint &from, const QPoint &to)
{
    const QRgb colour = m_penColor.rgb();
    const QRect bounds = m_image.rect();
    const qint64 dx = std::abs(qint64(to.x()) - from.x());
    const qint64 dy = -std::abs(qint64(to.y()) - from.y());
    const int stepX = from.x() < to.x() ? 1 : -1;
    const int stepY = from.y() < to.y() ? 1 : -1;
    qint64 error = dx + dy;
    QPoint at = from;
    while (at != to) {
        if (bounds.contains(at))
            m_image.setPixel(at, colour);
        else if ((at.x() < 0 && stepX < 0) || (at.x() >= bounds.width() && stepX > 0)
            || (at.y() < 0 && stepY < 0) || (at.y() >= bounds.height() && stepY > 0))
            break; // moving away: nothing more can land on the bitmap
        const qint64 twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            at.rx() += stepX;
        }
        if (twice <= dx) {
            error += dx;
            at.ry() += stepY;
        }
    }
}

void ReportCanvas::copyRect(const QRect &target, const QImage &source, const QRect &sourceRect)
{
    if (source.isNull())
        return;
    QPainter painter(&m_image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(target, source, sourceRect);
}
