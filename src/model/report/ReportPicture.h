// SPDX-License-Identifier: GPL-3.0-or-later
// A fixed picture stretched to its element's rectangle; transparent pixels let earlier
// elements show through. A picture that can draw itself as vectors does so, for sharp print.
#pragma once

#include "ReportElement.h"

#include <QImage>

#include <functional>

class ReportPicture : public ReportElement
{
public:
    ReportPicture(QString name, const QRect &geometry, QImage image = {});

    QImage image() const { return m_image; }
    // Drops any vector drawing: the image is what gets painted.
    void setImage(const QImage &image);
    using VectorPainter = std::function<void(QPainter *painter, const QRectF &target)>;
    void setVectorPainter(VectorPainter painter) { m_vector = std::move(painter); }

    void paint(QPainter &painter) const override;

private:
    QImage m_image;
    VectorPainter m_vector;
};
