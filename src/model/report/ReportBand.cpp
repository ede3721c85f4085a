// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportBand.h"

#include <QPainter>

ReportBand::ReportBand(QString name, const QSize &size, const QColor &color)
    : m_name(std::move(name))
    , m_size(size)
    , m_color(color)
{ }

ReportElement *ReportBand::element(const QString &name) const
{
    for (const auto &element : m_elements) {
        if (element->name() == name)
            return element.get();
    }
    return nullptr;
}

void ReportBand::paint(QPainter &painter) const
{
    painter.fillRect(QRect(QPoint(0, 0), m_size), m_color);
    for (const auto &element : m_elements)
        element->paint(painter);
}
