// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportRichText.h"

#include "ReportText.h"

#include <QPainter>

ReportRichText::ReportRichText(QString name, const QRect &geometry, const ReportFont &font)
    : ReportElement(std::move(name), geometry)
    , m_font(font)
{ }

void ReportRichText::setLines(const QStringList &lines)
{
    m_lines = lines;
    m_laidOut = ReportText::lines(lines.join(QLatin1Char('\r')), m_font.font, rect().width(), true);
}

void ReportRichText::paint(QPainter &painter) const
{
    painter.save();
    painter.setClipRect(rect(), Qt::IntersectClip);
    painter.setPen(Qt::black);
    ReportText::draw(painter, rect(), m_laidOut, m_font.font, m_font.lineHeight, Qt::AlignLeft);
    painter.restore();
}
