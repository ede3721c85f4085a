// SPDX-License-Identifier: GPL-3.0-or-later
#include "Image.h"

#include <QPaintEvent>
#include <QPainter>
#include <QStyle>

TImage::TImage(QWidget *parent)
    : QLabel(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void TImage::paintEvent(QPaintEvent *event)
{
    const QPixmap picture = pixmap();
    if (picture.isNull() || !isEnabled()) {
        QLabel::paintEvent(event);
        return;
    }
    // Where a sibling overlaps the picture the exposed region is no rectangle, and Qt then
    // blends the picture span by span through its thread pool, starting threads for a picture
    // of a few kilobytes. Each rectangle of the region alone takes the direct path.
    QPainter painter(this);
    for (const QRect &part : event->region()) {
        painter.setClipRect(part);
        style()->drawItemPixmap(&painter, contentsRect(), int(alignment()), picture);
    }
}
