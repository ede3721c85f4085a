// SPDX-License-Identifier: GPL-3.0-or-later
// A block of fixed text lines in one font, wrapped inside its width, drawn transparently.
#pragma once

#include "ReportElement.h"
#include "ReportFont.h"

#include <QStringList>

class ReportRichText : public ReportElement
{
public:
    ReportRichText(QString name, const QRect &geometry, const ReportFont &font);

    QStringList lines() const { return m_lines; }
    void setLines(const QStringList &lines);

    void paint(QPainter &painter) const override;

private:
    ReportFont m_font;
    QStringList m_lines;
    QStringList m_laidOut;
};
