// SPDX-License-Identifier: GPL-3.0-or-later
// A band of a report page: a coloured area holding its elements in print order (a later
// element is painted over an earlier one). The band owns its elements.
#pragma once

#include "ReportElement.h"

#include <QColor>
#include <QSize>

#include <memory>
#include <vector>

class ReportBand
{
public:
    ReportBand(QString name, const QSize &size, const QColor &color);

    QString name() const { return m_name; }
    QSize size() const { return m_size; }
    QColor color() const { return m_color; }

    template<typename Element, typename... Args> Element *add(Args &&...args)
    {
        auto element = std::make_unique<Element>(std::forward<Args>(args)...);
        Element *added = element.get();
        m_elements.push_back(std::move(element));
        return added;
    }

    // nullptr when no element has that name.
    ReportElement *element(const QString &name) const;
    int elementCount() const { return int(m_elements.size()); }

    // The painter works in report units with the band's corner at the origin.
    void paint(QPainter &painter) const;

private:
    QString m_name;
    QSize m_size;
    QColor m_color;
    std::vector<std::unique_ptr<ReportElement>> m_elements;
};
