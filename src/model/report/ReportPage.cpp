// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportPage.h"

#include <QPaintDevice>
#include <QPainter>

#include <stdexcept>

using namespace Qt::StringLiterals;

ReportPage::ReportPage(QString name, const QPageLayout &layout)
    : m_name(std::move(name))
    , m_layout(layout)
{ }

ReportBand *ReportPage::addBand(QString name, const QSize &size, const QColor &color)
{
    m_bands.push_back(std::make_unique<ReportBand>(std::move(name), size, color));
    return m_bands.back().get();
}

ReportElement *ReportPage::element(const QString &name) const
{
    for (const auto &band : m_bands) {
        if (ReportElement *found = band->element(name))
            return found;
    }
    return nullptr;
}

QSize ReportPage::size() const
{
    QSize total(0, 0);
    for (const auto &band : m_bands) {
        total.setWidth(std::max(total.width(), band->size().width()));
        total.setHeight(total.height() + band->size().height());
    }
    return total;
}

void ReportPage::render(QPaintDevice *device) const
{
    QPainter painter;
    if (!device || !painter.begin(device))
        throw std::runtime_error(u"レポートを描画できません"_s.toStdString());
    render(painter, device->logicalDpiX(), device->logicalDpiY());
    painter.end();
}

void ReportPage::render(QPainter &painter, int dpiX, int dpiY) const
{
    painter.save();
    // Pixel-exact bitmaps stay crisp when enlarged for a printer.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // Pictures reach a printer or PDF as they are: JPEG would drain one-unit lines of colour.
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.scale(qreal(dpiX) / unitsPerInch, qreal(dpiY) / unitsPerInch);
    for (const auto &band : m_bands) {
        band->paint(painter);
        painter.translate(0, band->size().height());
    }
    painter.restore();
}
