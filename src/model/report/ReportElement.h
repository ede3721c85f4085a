// SPDX-License-Identifier: GPL-3.0-or-later
// One positioned element of a report band, in report units (1/96 inch) from the band's corner.
#pragma once

#include <QRect>
#include <QString>

class QPainter;

class ReportElement
{
public:
    ReportElement(QString name, const QRect &geometry);
    virtual ~ReportElement();
    ReportElement(const ReportElement &) = delete;
    ReportElement &operator=(const ReportElement &) = delete;

    QString name() const { return m_name; }
    int left() const { return m_geometry.left(); }
    int top() const { return m_geometry.top(); }
    void setLeft(int left) { m_geometry.moveLeft(left); }
    void setTop(int top) { m_geometry.moveTop(top); }
    // The area the element covers when painted; a label whose width follows its text overrides it.
    virtual QRect rect() const { return m_geometry; }
    QSize designSize() const { return m_geometry.size(); }

    // The painter works in report units with the band's corner at the origin.
    virtual void paint(QPainter &painter) const = 0;

private:
    QString m_name;
    QRect m_geometry;
};
