// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportLabel.h"

#include "ReportText.h"

#include <QPainter>

ReportLabel::ReportLabel(QString name, const QRect &geometry, const ReportFont &font)
    : ReportElement(std::move(name), geometry)
    , m_font(font)
{
    relayout();
}

void ReportLabel::setText(const QString &text)
{
    m_text = text;
    relayout();
}

void ReportLabel::setWordWrap(bool wrap)
{
    m_wordWrap = wrap;
    relayout();
}

void ReportLabel::setAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    relayout();
}

void ReportLabel::relayout()
{
    // A label whose width follows its text never wraps: the text decides the width.
    m_lines
        = ReportText::lines(m_text, m_font.font, designSize().width(), m_wordWrap && !m_autoSize);
    m_textWidth = m_autoSize ? ReportText::widestLine(m_lines, m_font.font) : 0;
}

QRect ReportLabel::rect() const
{
    QRect area = ReportElement::rect();
    if (m_autoSize)
        area.setWidth(m_textWidth);
    return area;
}

void ReportLabel::paint(QPainter &painter) const
{
    const QRect area = rect();
    if (area.isEmpty())
        return;
    painter.save();
    painter.setClipRect(area, Qt::IntersectClip);
    if (!m_transparent)
        painter.fillRect(area, Qt::white);
    painter.setPen(m_color);
    ReportText::draw(painter, area, m_lines, m_font.font, m_font.lineHeight, m_alignment);
    painter.restore();
}
