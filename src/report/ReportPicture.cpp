#include "ReportPicture.h"

#include <QPainter>

ReportPicture::ReportPicture(QString name, const QRect &geometry, QImage image)
    : ReportElement(std::move(name), geometry)
    , m_image(std::move(image))
{ }

void ReportPicture::paint(QPainter &painter) const
{
    if (!m_image.isNull())
        painter.drawImage(rect(), m_image);
}
