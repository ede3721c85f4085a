// SPDX-License-Identifier: GPL-3.0-or-later
// The output plugin itself: the only code that links Qt's SVG and print support.
#pragma once

#include "plugins/OutputPlugin.h"

#include <QObject>

class PemiraOutputPlugin : public QObject, public OutputPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID OutputPlugin_iid)
    Q_INTERFACES(OutputPlugin)
    Q_DISABLE_COPY_MOVE(PemiraOutputPlugin)
public:
    PemiraOutputPlugin() = default;

    bool paintSvg(const QString &path, QPainter *painter, const QRectF &target) override;
    QString defaultPrinterName() override;
    void printPage(const QString &printerName, const QPageLayout &layout,
        const QString &documentName, const PageRenderer &render) override;
};
