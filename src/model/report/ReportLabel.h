// SPDX-License-Identifier: GPL-3.0-or-later
// A text element: font, colour, alignment, transparent or opaque white, word wrap, a carriage
// return per new line, and optionally a width that follows its text.
#pragma once

#include "ReportElement.h"
#include "ReportFont.h"

#include <QColor>
#include <QStringList>

class ReportLabel : public ReportElement
{
public:
    ReportLabel(QString name, const QRect &geometry, const ReportFont &font);

    QString text() const { return m_text; }
    void setText(const QString &text);
    QStringList lines() const { return m_lines; }

    ReportFont font() const { return m_font; }
    Qt::Alignment alignment() const { return m_alignment; }
    void setAlignment(Qt::Alignment alignment) { m_alignment = alignment; }
    bool isTransparent() const { return m_transparent; }
    void setTransparent(bool transparent) { m_transparent = transparent; }
    QColor color() const { return m_color; }
    void setColor(const QColor &color) { m_color = color; }
    bool wordWrap() const { return m_wordWrap; }
    void setWordWrap(bool wrap);
    bool autoSize() const { return m_autoSize; }
    void setAutoSize(bool autoSize);

    QRect rect() const override;
    void paint(QPainter &painter) const override;

private:
    void relayout();

    QString m_text;
    QStringList m_lines;
    int m_textWidth = 0;
    ReportFont m_font;
    Qt::Alignment m_alignment = Qt::AlignLeft;
    QColor m_color = Qt::black;
    bool m_transparent = true;
    bool m_wordWrap = false;
    bool m_autoSize = false;
};
