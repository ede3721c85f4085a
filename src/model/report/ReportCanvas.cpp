// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportCanvas.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdlib>

ReportCanvas::ReportCanvas(const QSize &size)
    : m_size(size)
{ }

QImage ReportCanvas::image() const
{
    QImage image(m_size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    replay(painter, QPoint(0, 0));
    return image;
}

void ReportCanvas::fillRect(const QRect &rect, const QColor &color)
{
    // What a fill covers can never show again: a sheet's clearing fill drops the earlier sheet.
    if (color.alpha() == 255 && rect.contains(QRect(QPoint(0, 0), m_size)))
        m_operations.clear();
    Operation fill;
    fill.kind = Operation::Kind::Fill;
    fill.rect = rect;
    fill.color = color;
    m_operations.push_back(std::move(fill));
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
    Operation line;
    line.kind = Operation::Kind::Line;
    line.from = m_pen;
    line.to = point;
    line.width = m_penWidth;
    line.color = m_penColor;
    m_operations.push_back(std::move(line));
    m_pen = point;
}

void ReportCanvas::copyRect(const QRect &target, const QImage &source, const QRect &sourceRect)
{
    if (source.isNull())
        return;
    Operation copy;
    copy.kind = Operation::Kind::Copy;
    copy.rect = target;
    copy.source = source;
    copy.sourceRect = sourceRect;
    m_operations.push_back(std::move(copy));
}

bool ReportCanvas::mapsUnitsToPixels(const QPainter &painter)
{
    const QPaintDevice *device = painter.device();
    if (!device
        || (device->devType() != QInternal::Image && device->devType() != QInternal::Pixmap))
        return false;
    const QTransform transform = painter.combinedTransform();
    const auto whole = [](qreal v) { return std::abs(v - std::round(v)) < 1e-9; };
    return transform.type() <= QTransform::TxTranslate && whole(transform.dx())
        && whole(transform.dy());
}

void ReportCanvas::replay(QPainter &painter, const QPoint &origin) const
{
    painter.save();
    painter.translate(origin);
    painter.setClipRect(QRect(QPoint(0, 0), m_size), Qt::IntersectClip);
    painter.setPen(Qt::NoPen);
    painter.fillRect(QRect(QPoint(0, 0), m_size), Qt::white);
    // A copied picture reaches a PDF or printer unchanged, never as JPEG.
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (mapsUnitsToPixels(painter))
        replayExact(painter);
    else
        replaySmooth(painter);
    painter.restore();
}

void ReportCanvas::replayExact(QPainter &painter) const
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const Operation &op : m_operations) {
        switch (op.kind) {
        case Operation::Kind::Fill:
            painter.fillRect(op.rect, op.color);
            break;
        case Operation::Kind::Line:
            if (op.width == 1) {
                plotLine(painter, op);
            } else {
                painter.setPen(
                    QPen(op.color, op.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                painter.drawLine(op.from, op.to);
                painter.setPen(Qt::NoPen);
            }
            break;
        case Operation::Kind::Copy:
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(op.rect, op.source, op.sourceRect);
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
            break;
        }
    }
}

// Bresenham's line: the start pixel is set, the end pixel is left for the next segment, so a
// polyline never sets a joint twice and a move followed by no line leaves no trace. Runs of
// pixels on one row go out as one rectangle.
void ReportCanvas::plotLine(QPainter &painter, const Operation &line) const
{
    const QRect bounds(QPoint(0, 0), m_size);
    const qint64 dx = std::abs(qint64(line.to.x()) - line.from.x());
    const qint64 dy = -std::abs(qint64(line.to.y()) - line.from.y());
    const int stepX = line.from.x() < line.to.x() ? 1 : -1;
    const int stepY = line.from.y() < line.to.y() ? 1 : -1;
    qint64 error = dx + dy;
    QPoint at = line.from;
    QRect run;
    const auto flush = [&] {
        if (!run.isNull())
            painter.fillRect(run, line.color);
        run = QRect();
    };
    while (at != line.to) {
        if (bounds.contains(at)) {
            if (!run.isNull() && run.top() == at.y() && at.x() == run.right() + 1)
                run.setRight(at.x());
            else if (!run.isNull() && run.top() == at.y() && at.x() == run.left() - 1)
                run.setLeft(at.x());
            else {
                flush();
                run = QRect(at, QSize(1, 1));
            }
        } else if ((at.x() < 0 && stepX < 0) || (at.x() >= bounds.width() && stepX > 0)
            || (at.y() < 0 && stepY < 0) || (at.y() >= bounds.height() && stepY > 0)) {
            break; // moving away: nothing more can land on the surface
        }
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
    flush();
}

// For printers, PDF and enlarged images: each run of joined lines of one pen is one path through
// the pixel centres, so the line stays sharp and keeps its exact colour at any resolution.
void ReportCanvas::replaySmooth(QPainter &painter) const
{
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QPointF centre(0.5, 0.5);
    for (std::size_t i = 0; i < m_operations.size(); ++i) {
        const Operation &op = m_operations[i];
        switch (op.kind) {
        case Operation::Kind::Fill:
            painter.fillRect(op.rect, op.color);
            break;
        case Operation::Kind::Line: {
            QPainterPath path(QPointF(op.from) + centre);
            path.lineTo(QPointF(op.to) + centre);
            QPoint end = op.to;
            while (i + 1 < m_operations.size()) {
                const Operation &next = m_operations[i + 1];
                if (next.kind != Operation::Kind::Line || next.from != end || next.width != op.width
                    || next.color != op.color)
                    break;
                path.lineTo(QPointF(next.to) + centre);
                end = next.to;
                ++i;
            }
            painter.strokePath(
                path, QPen(op.color, op.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            break;
        }
        case Operation::Kind::Copy:
            // Pictures are opaque here; a PDF knows no plain source copy.
            painter.drawImage(QRectF(op.rect), op.source, QRectF(op.sourceRect));
            break;
        }
    }
}
