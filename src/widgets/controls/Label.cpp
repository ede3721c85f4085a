// SPDX-License-Identifier: GPL-3.0-or-later
#include "Label.h"

TLabel::TLabel(QWidget *parent)
    : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setContentsMargins(0, 0, 0, 0);
    setMargin(0);
    setIndent(0);
}

void TLabel::setAutoSize(bool on)
{
    if (on == m_autoSize)
        return;
    m_autoSize = on;
    fitToText();
}

void TLabel::setTextColor(const QColor &color)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    p.setColor(QPalette::Text, color);
    setPalette(p);
}

void TLabel::setCaption(const QString &text)
{
    if (text == this->text())
        return;
    setText(text);
    fitToText();
}

void TLabel::showEvent(QShowEvent *event)
{
    if (m_fitPending)
        fitToText();
    QLabel::showEvent(event);
}

void TLabel::fitToText()
{
    if (!m_autoSize)
        return;
    // A label inside a hidden pop-up is measured when it is first shown: measuring loads its
    // font, which start-up need not pay for.
    m_fitPending = !isVisibleTo(window());
    if (m_fitPending)
        return;
    const QFontMetrics metrics(font());
    const int width = text().isEmpty() ? 0 : metrics.horizontalAdvance(text());
    const int height = metrics.height();
    if (alignment() & Qt::AlignRight)
        setGeometry(geometry().right() + 1 - width, y(), width, height);
    else
        resize(width, height);
}
