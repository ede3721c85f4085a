// SPDX-License-Identifier: GPL-3.0-or-later
// A label as the window uses it: transparent, one font and colour, and a width that follows its
// text while the aligned edge (left, or right for right-aligned labels) stays where it was placed.
#pragma once

#include <QLabel>

class TLabel : public QLabel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TLabel)
public:
    explicit TLabel(QWidget *parent = nullptr);

    // Off: the label keeps the size it was given (text centred or aligned inside it).
    void setAutoSize(bool on);
    bool autoSize() const { return m_autoSize; }
    void setTextColor(const QColor &color);
    void setCaption(const QString &text);
    QString caption() const { return text(); }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fitToText();

    bool m_autoSize = true;
    bool m_fitPending = false;
};
