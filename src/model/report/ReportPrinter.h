// SPDX-License-Identifier: GPL-3.0-or-later
// Prints a report page as one job of one page to the system's default printer: no dialog,
// no preview, no progress. Every failure throws; nothing is ever reported as printed when it
// was not.
#pragma once

#include <QString>

#include <functional>

class ReportPage;

class ReportPrinter
{
public:
    // True when the system names a default printer.
    static bool hasDefaultPrinter();
    // The default printer's name, empty when there is none. Each call asks the print system,
    // which takes milliseconds: ask once per action.
    static QString defaultPrinterName();
    // Sends each page to the default printer as it is named now: the print system is asked once,
    // here, and each question costs milliseconds. Empty when there is no default printer.
    static std::function<void(const ReportPage &page, const QString &documentName)>
    defaultPrinterSender();
    // One job of one page to the named printer; throws on any failure. Safe on any thread once
    // the print system has been asked from the user-interface thread.
    static void printTo(
        const QString &printer, const ReportPage &page, const QString &documentName);
    // Throws std::runtime_error when no default printer exists or the job cannot be made.
    static void printToDefaultPrinter(const ReportPage &page, const QString &documentName);
    static QString noPrinterMessage();
};
