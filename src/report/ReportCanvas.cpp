#include "ReportCanvas.h"

#include <QPainter>

#include <algorithm>

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
    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    // A flat cap leaves out the end pixel, so consecutive segments do not overdraw their joints.
    QPen pen(m_penColor, m_penWidth, Qt::SolidLine, m_penWidth > 1 ? Qt::RoundCap : Qt::FlatCap);
    pen.setCosmetic(m_penWidth == 1);
    painter.setPen(pen);
    painter.drawLine(m_pen, point);
    m_pen = point;
}

void ReportCanvas::copyRect(const QRect &target, const QImage &source, const QRect &sourceRect)
{
    if (source.isNull())
        return;
    QPainter painter(&m_image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(target, source, sourceRect);
}
