#include "ReportPrinter.h"

#include "ReportPage.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

[[noreturn]] void fail(const QString &message)
{
    throw std::runtime_error(message.toStdString());
}

} // namespace

QString ReportPrinter::noPrinterMessage()
{
    return u"プリンターが見つかりません。通常使うプリンターを設定してから印刷してください。"_s;
}

bool ReportPrinter::hasDefaultPrinter()
{
    return !QPrinterInfo::defaultPrinter().isNull();
}

void ReportPrinter::requireDefaultPrinter()
{
    if (!hasDefaultPrinter())
        fail(noPrinterMessage());
}

void ReportPrinter::printToDefaultPrinter(const ReportPage &page, const QString &documentName)
{
    // Without a default printer a QPrinter quietly becomes a file writer with no file (or picks
    // some other queue): check first instead of trusting it.
    const QPrinterInfo target = QPrinterInfo::defaultPrinter();
    if (target.isNull())
        fail(noPrinterMessage());

    QPrinter printer(target, QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setDocName(documentName);
    printer.setFullPage(false);
    printer.setCopyCount(1);
    printer.setCollateCopies(false);
    printer.setDuplex(QPrinter::DuplexNone);
    if (!printer.setPageLayout(page.pageLayout()))
        fail(u"用紙の設定をプリンターが受け付けません：%1"_s.arg(target.printerName()));

    QPainter painter;
    if (!painter.begin(&printer))
        fail(u"印刷を開始できません：%1"_s.arg(target.printerName()));
    page.render(painter, printer.logicalDpiX(), printer.logicalDpiY());
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        fail(u"印刷できませんでした：%1"_s.arg(target.printerName()));
}
