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
    return !defaultPrinterName().isEmpty();
}

QString ReportPrinter::defaultPrinterName()
{
    return OutputModule::require().defaultPrinterName();
}

void ReportPrinter::printToDefaultPrinter(const ReportPage &page, const QString &documentName)
{
    printTo(defaultPrinterName(), page, documentName);
}

std::function<void(const ReportPage &, const QString &)> ReportPrinter::defaultPrinterSender()
{
    const QString printer = defaultPrinterName();
    if (printer.isEmpty())
        return {};
    return [printer](const ReportPage &page, const QString &documentName) {
        printTo(printer, page, documentName);
    };
}

void ReportPrinter::printTo(
    const QString &printer, const ReportPage &page, const QString &documentName)
{
    if (printer.isEmpty())
        throw std::runtime_error(noPrinterMessage().toStdString());
    OutputModule::require().printPage(printer, page.pageLayout(), documentName,
        [&page](QPainter &painter, int dpiX, int dpiY) { page.render(painter, dpiX, dpiY); });
}
