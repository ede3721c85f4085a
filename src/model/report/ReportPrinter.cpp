// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportPrinter.h"

#include "plugins/OutputModule.h"
#include "plugins/OutputPlugin.h"
#include "ReportPage.h"

#include <QPainter>

#include <stdexcept>

using namespace Qt::StringLiterals;

QString ReportPrinter::noPrinterMessage()
{
    return u"プリンターが見つかりません。通常使うプリンターを設定してから印刷してください。"_s;
}

bool ReportPrinter::hasDefaultPrinter()
{
    return !OutputModule::require().defaultPrinterName().isEmpty();
}

void ReportPrinter::requireDefaultPrinter()
{
    if (!hasDefaultPrinter())
        throw std::runtime_error(noPrinterMessage().toStdString());
}

void ReportPrinter::printToDefaultPrinter(const ReportPage &page, const QString &documentName)
{
    OutputPlugin &output = OutputModule::require();
    const QString printer = output.defaultPrinterName();
    if (printer.isEmpty())
        throw std::runtime_error(noPrinterMessage().toStdString());
    output.printPage(printer, page.pageLayout(), documentName,
        [&page](QPainter &painter, int dpiX, int dpiY) { page.render(painter, dpiX, dpiY); });
}
