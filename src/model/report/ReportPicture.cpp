// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportPicture.h"

#include <QPainter>

ReportPicture::ReportPicture(QString name, const QRect &geometry, QImage image)
    : ReportElement(std::move(name), geometry)
    , m_image(std::move(image))
{ }

void ReportPicture::setImage(const QImage &image)
{
    m_image = image;
    m_vector = nullptr;
}

void ReportPicture::paint(QPainter &painter) const
{
    if (m_vector) {
        painter.save();
        m_vector(&painter, QRectF(rect()));
        painter.restore();
    } else if (!m_image.isNull()) {
        painter.drawImage(rect(), m_image);
    }
}
