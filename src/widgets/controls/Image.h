// SPDX-License-Identifier: GPL-3.0-or-later
// A picture on the window: a label showing a pixmap, drawn one rectangle of the exposed region
// at a time.
#pragma once

#include <QLabel>

// No meta-object of its own: screen readers and the window's lookups still see a QLabel.
class TImage : public QLabel
{
public:
    explicit TImage(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
