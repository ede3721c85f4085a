// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportImage.h"

ReportImage::ReportImage(QString name, const QRect &geometry)
    : ReportElement(std::move(name), geometry)
{ }

ReportImage::~ReportImage() = default;

ReportCanvas &ReportImage::canvas()
{
    if (!m_canvas)
        m_canvas = std::make_unique<ReportCanvas>(designSize());
    return *m_canvas;
}

void ReportImage::paint(QPainter &painter) const
{
    if (m_canvas)
        m_canvas->replay(painter, rect().topLeft());
}
