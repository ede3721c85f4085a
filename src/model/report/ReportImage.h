// SPDX-License-Identifier: GPL-3.0-or-later
// An image element with a drawing surface: the bitmap is made at the element's size when it
// is first asked for and then kept for the element's life.
#pragma once

#include "ReportCanvas.h"
#include "ReportElement.h"

#include <memory>

class ReportImage : public ReportElement
{
public:
    ReportImage(QString name, const QRect &geometry);
    ~ReportImage() override;

    ReportCanvas &canvas();
    bool hasCanvas() const { return m_canvas != nullptr; }

    void paint(QPainter &painter) const override;

private:
    std::unique_ptr<ReportCanvas> m_canvas;
};
