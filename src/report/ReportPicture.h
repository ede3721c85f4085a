// A fixed picture stretched to its element's rectangle; transparent pixels let earlier
// elements show through.
#pragma once

#include "ReportElement.h"

#include <QImage>

class ReportPicture : public ReportElement
{
public:
    ReportPicture(QString name, const QRect &geometry, QImage image = {});

    QImage image() const { return m_image; }
    void setImage(const QImage &image) { m_image = image; }

    void paint(QPainter &painter) const override;

private:
    QImage m_image;
};
