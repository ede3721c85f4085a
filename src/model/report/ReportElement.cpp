// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportElement.h"

ReportElement::ReportElement(QString name, const QRect &geometry)
    : m_name(std::move(name))
    , m_geometry(geometry)
{ }

ReportElement::~ReportElement() = default;
