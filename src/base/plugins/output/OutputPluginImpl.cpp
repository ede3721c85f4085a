// SPDX-License-Identifier: GPL-3.0-or-later
#include "OutputPluginImpl.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSvgRenderer>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

[[noreturn]] void fail(const QString &message)
{
    throw std::runtime_error(message.toStdString());
}

} // namespace

bool PemiraOutputPlugin::paintSvg(const QString &path, QPainter *painter, const QRectF &target)
{
    if (!painter || !painter->isActive())
        return false;
    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        return false;
    renderer.render(painter, target);
    return true;
}

QString PemiraOutputPlugin::defaultPrinterName()
{
    return QPrinterInfo::defaultPrinter().printerName();
}

void PemiraOutputPlugin::printPage(const QString &printerName, const QPageLayout &layout,
    const QString &documentName, const PageRenderer &render)
{
    // Without a printer a QPrinter quietly becomes a file writer with no file (or picks some
    // other queue): check first instead of trusting it.
    const QPrinterInfo target = QPrinterInfo::printerInfo(printerName);
    if (target.isNull())
        fail(u"印刷を開始できません：%1"_s.arg(printerName));

    QPrinter printer(target, QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setDocName(documentName);
    printer.setFullPage(false);
    printer.setCopyCount(1);
    printer.setCollateCopies(false);
    printer.setDuplex(QPrinter::DuplexNone);
    if (!printer.setPageLayout(layout))
        fail(u"用紙の設定をプリンターが受け付けません：%1"_s.arg(target.printerName()));

    QPainter painter;
    if (!painter.begin(&printer))
        fail(u"印刷を開始できません：%1"_s.arg(target.printerName()));
    render(painter, printer.logicalDpiX(), printer.logicalDpiY());
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        fail(u"印刷できませんでした：%1"_s.arg(target.printerName()));
}
