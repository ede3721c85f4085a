// SPDX-License-Identifier: GPL-3.0-or-later
// Prints a report page as one job of one page to the system's default printer: no dialog,
// no preview, no progress. Every failure throws; nothing is ever reported as printed when it
// was not.
#pragma once

#include <QString>

class ReportPage;

class ReportPrinter
{
public:
    // True when the system names a default printer.
    static bool hasDefaultPrinter();
    // Throws std::runtime_error when no default printer exists or the job cannot be made.
    static void printToDefaultPrinter(const ReportPage &page, const QString &documentName);
    // Throws the no-printer error when hasDefaultPrinter() is false.
    static void requireDefaultPrinter();
    static QString noPrinterMessage();
};
