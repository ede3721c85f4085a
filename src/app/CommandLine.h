// SPDX-License-Identifier: GPL-3.0-or-later
// The program's command line: what a start asks for (the window, or a report exported without
// one) and which record it works on. Parsed before any application object exists, so that
// --help, --version and a PDF export work without a display.
#pragma once

#include <QString>
#include <QStringList>

struct CommandLine
{
    enum class Action { Window, ExportPdf, ExportCsv, ImportCsv, Exit };
    Action action = Action::Window;
    int exitCode = 0;            // with Exit: help, version or a usage error has been printed
    QString recordFile;          // --record PATH, absolute; empty: the usual place
    QString exportPdf;           // --export-pdf FILE, absolute
    QString csvFile;             // --export-csv FILE or --import-csv FILE, absolute
    bool spreadsheetCsv = false; // --excel: a byte-order mark and CR LF
};

// Prints help, the version or a usage error itself (standard output / standard error).
CommandLine parseCommandLine(const QStringList &arguments);
