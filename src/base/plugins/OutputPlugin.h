// SPDX-License-Identifier: GPL-3.0-or-later
// The interface of the output plugin: vector artwork and the system's printers, the parts of Qt
// the program needs only once it draws a picture or prints, so start-up never loads them.
#pragma once

#include <QtPlugin>

#include <functional>

class QPageLayout;
class QPainter;
class QRectF;
class QString;

class OutputPlugin
{
public:
    virtual ~OutputPlugin() = default;

    // Draws the SVG document at path (a file or ":/resource") scaled to target; false when it
    // cannot be read.
    virtual bool paintSvg(const QString &path, QPainter *painter, const QRectF &target) = 0;

    // The system's default printer; empty when there is none.
    virtual QString defaultPrinterName() = 0;

    using PageRenderer = std::function<void(QPainter &painter, int dpiX, int dpiY)>;
    // One job of one page on the named printer, no dialog. Throws std::runtime_error with the
    // message for the person when the job cannot be made or sent.
    virtual void printPage(const QString &printerName, const QPageLayout &layout,
        const QString &documentName, const PageRenderer &render)
        = 0;
};

// Bump the version when the interface changes, so a stale plugin is refused, not called.
#define OutputPlugin_iid "org.pemira.OutputPlugin/1"
Q_DECLARE_INTERFACE(OutputPlugin, OutputPlugin_iid)
