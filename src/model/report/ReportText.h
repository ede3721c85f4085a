// SPDX-License-Identifier: GPL-3.0-or-later
// Text lines as report labels lay them out: every carriage return (or line feed) starts a new
// line, optional word wrap inside a width, one fixed line step, drawn top-aligned.
#pragma once

#include <QFont>
#include <QRect>
#include <QStringList>

class QPainter;

class ReportText
{
public:
    static QStringList lines(const QString &text, const QFont &font, int width, bool wordWrap);
    static int widestLine(const QStringList &lines, const QFont &font);
    // alignment: Qt::AlignLeft, Qt::AlignRight or Qt::AlignHCenter.
    static void draw(QPainter &painter, const QRect &rect, const QStringList &lines,
        const QFont &font, qreal lineHeight, Qt::Alignment alignment);
};
