// SPDX-License-Identifier: GPL-3.0-or-later
#include "Panel.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>

// The Active group always: a disabled control keeps its enabled look.
namespace SystemColors {
QColor buttonFace(const QWidget *w)
{
    return w->palette().color(QPalette::Active, QPalette::Button);
}
QColor buttonShadow(const QWidget *w)
{
    return w->palette().color(QPalette::Active, QPalette::Dark);
}
QColor buttonHighlight(const QWidget *w)
{
    return w->palette().color(QPalette::Active, QPalette::Light);
}
QColor light3D(const QWidget *w)
{
    return w->palette().color(QPalette::Active, QPalette::Midlight);
}
QColor darkShadow3D(const QWidget *w)
{
    return w->palette().color(QPalette::Active, QPalette::Shadow);
}
QColor windowText(const QWidget *w)
{
    return w->palette().color(QPalette::Active, QPalette::WindowText);
}
} // namespace SystemColors

void draw3DFrame(QPainter &p, QRect &r, const QColor &topLeft, const QColor &bottomRight)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    // fillRect instead of lines: pens would depend on the painter's render hints.
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
    p.fillRect(QRect(r.left(), r.top(), r.width() - 1, 1), topLeft);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
    p.fillRect(QRect(r.left() + 1, r.bottom(), r.width() - 1, 1), bottomRight);
    r.adjust(1, 1, -1, -1);
}

TPanel::TPanel(QWidget *parent)
    : QWidget(parent)
    , m_color(SystemColors::buttonFace(this))
{
    // Every pixel is painted by paintEvent, so Qt need not erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TPanel::~TPanel() = default;

void TPanel::setColor(const QColor &color)
{
    if (color == m_color)
        return;
    setPanelColor(color);
    Q_EMIT colorChanged(m_color);
}

void TPanel::setPanelColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void TPanel::setTextColor(const QColor &color)
{
    if (color == m_textColor)
        return;
    m_textColor = color;
    update();
    Q_EMIT textColorChanged(m_textColor);
}

void TPanel::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    update();
    QAccessibleEvent nameChange(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nameChange);
    Q_EMIT captionChanged(m_caption);
}

void TPanel::setBevelOuter(Bevel bevel)
{
    if (bevel == m_bevelOuter)
        return;
    m_bevelOuter = bevel;
    update();
    Q_EMIT bevelOuterChanged(m_bevelOuter);
}

void TPanel::setBevelInner(Bevel bevel)
{
    if (bevel == m_bevelInner)
        return;
    m_bevelInner = bevel;
    update();
    Q_EMIT bevelInnerChanged(m_bevelInner);
}

void TPanel::drawBevels(QPainter &p, QRect &r) const
{
    const QColor shadow = SystemColors::buttonShadow(this);
    const QColor highlight = SystemColors::buttonHighlight(this);
    for (Bevel bevel : {m_bevelOuter, m_bevelInner}) {
        if (bevel == bvLowered)
            draw3DFrame(p, r, shadow, highlight);
        else if (bevel == bvRaised)
            draw3DFrame(p, r, highlight, shadow);
    }
}

void TPanel::paintEvent(QPaintEvent *)
{
    // A disabled panel keeps its enabled look: callers show "disabled" through colours.
    QPainter p(this);
    QRect r = rect();
    drawBevels(p, r);
    p.fillRect(r, m_color);
    if (!m_caption.isEmpty()) {
        p.setFont(font());
        p.setPen(m_textColor);
        p.drawText(r, Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextSingleLine, m_caption);
    }
    // Only a panel the window lets take the focus (the window toggle) ever shows it.
    if (hasFocus()) {
        QPen dotted(m_textColor, 1, Qt::DotLine);
        p.setPen(dotted);
        p.drawRect(r.adjusted(1, 1, -2, -2));
    }
}

void TPanel::click()
{
    if (isEnabled())
        Q_EMIT clicked();
}

void TPanel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_leftPressed = true;
    QWidget::mousePressEvent(event);
}

void TPanel::mouseReleaseEvent(QMouseEvent *event)
{
    QWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !m_leftPressed)
        return;
    m_leftPressed = false;
    if (isEnabled() && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

void TPanel::keyPressEvent(QKeyEvent *event)
{
    // A toggle panel answers Space and Enter as a button does.
    const int key = event->key();
    if (m_kind == Toggle && !event->isAutoRepeat()
        && (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
        click();
        if (key == Qt::Key_Space)
            event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}
