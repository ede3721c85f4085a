// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QRegularExpression>
#include <QTextLayout>

#include <cmath>

QStringList ReportText::lines(const QString &text, const QFont &font, int width, bool wordWrap)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    const QStringList paragraphs = text.split(lineBreak);
    if (!wordWrap)
        return paragraphs;

    QStringList result;
    for (const QString &paragraph : paragraphs) {
        if (paragraph.isEmpty()) {
            result.append(QString());
            continue;
        }
        QTextLayout layout(paragraph, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            result.append(paragraph.mid(line.textStart(), line.textLength()).trimmed());
        }
        layout.endLayout();
    }
    return result;
}

int ReportText::widestLine(const QStringList &lines, const QFont &font)
{
    const QFontMetricsF metrics(font);
    qreal widest = 0;
    for (const QString &line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return int(std::ceil(widest));
}

void ReportText::draw(QPainter &painter, const QRect &rect, const QStringList &lines,
    const QFont &font, qreal lineHeight, Qt::Alignment alignment)
{
    const QFontMetricsF metrics(font);
    painter.setFont(font);
    qreal top = rect.top();
    for (const QString &line : lines) {
        if (top >= rect.bottom() + 1)
            break;
        if (!line.isEmpty()) {
            qreal x = rect.left();
            const qreal advance = metrics.horizontalAdvance(line);
            if (alignment & Qt::AlignRight)
                x = rect.left() + rect.width() - advance;
            else if (alignment & Qt::AlignHCenter)
                x = rect.left() + (rect.width() - advance) / 2;
            painter.drawText(QPointF(x, top + metrics.ascent()), line);
        }
        top += lineHeight;
    }
}
