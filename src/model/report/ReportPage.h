// SPDX-License-Identifier: GPL-3.0-or-later
// A report page: paper and margins, and its bands stacked from the top of the area inside the
// margins. Rendered in report units (1/96 inch) onto any paint device at that device's resolution.
#pragma once

#include "ReportBand.h"

#include <QPageLayout>

class QPaintDevice;
class QPainter;

class ReportPage
{
public:
    static constexpr int unitsPerInch = 96;

    explicit ReportPage(QString name, const QPageLayout &layout);
    ReportPage(const ReportPage &) = delete;
    ReportPage &operator=(const ReportPage &) = delete;

    QString name() const { return m_name; }
    QPageLayout pageLayout() const { return m_layout; }

    ReportBand *addBand(QString name, const QSize &size, const QColor &color);
    ReportBand *band(int index) const { return m_bands.at(std::size_t(index)).get(); }
    int bandCount() const { return int(m_bands.size()); }
    // The element of that name in any band; nullptr when there is none.
    ReportElement *element(const QString &name) const;
    // Width of the widest band and height of all bands, in report units.
    QSize size() const;

    // Paints with the device's origin at the band area's top-left corner.
    void render(QPaintDevice *device) const;
    // For a painter already open on a device of that resolution.
    void render(QPainter &painter, int dpiX, int dpiY) const;

private:
    QString m_name;
    QPageLayout m_layout;
    std::vector<std::unique_ptr<ReportBand>> m_bands;
};
