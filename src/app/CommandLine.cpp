// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

void print(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

QString absolute(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments)
{
    // The usual start has no arguments: the window, and no parser to build for it.
    if (arguments.size() <= 1)
        return {};
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"ペミラ — body-measurement calculator with a one-month record and graphs."_s);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption record(
        u"record"_s, u"Open the record file PATH instead of the usual one."_s, u"PATH"_s);
    const QCommandLineOption exportPdf(u"export-pdf"_s,
        u"Write the two-sheet graph report of the record as one PDF FILE and exit, "
        u"without a window."_s,
        u"FILE"_s);
    parser.addOption(record);
    parser.addOption(exportPdf);
    const QCommandLineOption exportCsv(u"export-csv"_s,
        u"Write every measurement of the record's history to the CSV FILE and exit."_s, u"FILE"_s);
    const QCommandLineOption importCsv(u"import-csv"_s,
        u"Add the measurements of the CSV FILE to the record's history and exit."_s, u"FILE"_s);
    const QCommandLineOption excel(u"excel"_s,
        u"With --export-csv: write a UTF-8 byte-order mark and CR LF line ends, the form "
        u"spreadsheet programs open without garbling Japanese text."_s);
    parser.addOptions({exportCsv, importCsv, excel});

    CommandLine result;
    const QString program
        = arguments.isEmpty() ? u"pemira"_s : QFileInfo(arguments.first()).fileName();
    if (!parser.parse(arguments)) {
        print(stderr, u"%1: %2\n"_s.arg(program, parser.errorText()));
        print(stderr, u"Try '%1 --help' for more information.\n"_s.arg(program));
        result.action = CommandLine::Action::Exit;
        result.exitCode = 2;
        return result;
    }
    // --help-all comes with the help option; Qt's own options are not listed without an
    // application object, but it must not start the window either.
    if (parser.isSet(help) || parser.isSet(u"help-all"_s)) {
        // No application object exists yet to tell the parser the program's name.
        print(stdout, parser.helpText().replace(u"<executable_name>"_s, program));
        result.action = CommandLine::Action::Exit;
        return result;
    }
    if (parser.isSet(version)) {
        print(stdout,
            u"pemira %1\n"
            u"License GPL-3.0-or-later: GNU GPL version 3 or later "
            u"<https://www.gnu.org/licenses/gpl.html>.\n"
            u"This is free software: you are free to change and redistribute it.\n"
            u"There is NO WARRANTY, to the extent permitted by law.\n"_s.arg(
                QStringLiteral(PEMIRA_VERSION)));
        result.action = CommandLine::Action::Exit;
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        print(stderr,
            u"%1: unexpected argument '%2'\n"_s.arg(program, parser.positionalArguments().first()));
        print(stderr, u"Try '%1 --help' for more information.\n"_s.arg(program));
        result.action = CommandLine::Action::Exit;
        result.exitCode = 2;
        return result;
    }
    if (parser.isSet(record))
        result.recordFile = absolute(parser.value(record));
    if (int(parser.isSet(exportPdf)) + int(parser.isSet(exportCsv)) + int(parser.isSet(importCsv))
        > 1) {
        print(stderr,
            u"%1: only one of --export-pdf, --export-csv and --import-csv at a time\n"_s.arg(
                program));
        result.action = CommandLine::Action::Exit;
        result.exitCode = 2;
        return result;
    }
    if (parser.isSet(exportCsv) || parser.isSet(importCsv)) {
        result.action = parser.isSet(exportCsv) ? CommandLine::Action::ExportCsv
                                                : CommandLine::Action::ImportCsv;
        result.csvFile = absolute(parser.value(parser.isSet(exportCsv) ? exportCsv : importCsv));
        result.spreadsheetCsv = parser.isSet(excel);
    }
    if (parser.isSet(exportPdf)) {
        result.action = CommandLine::Action::ExportPdf;
        result.exportPdf = absolute(parser.value(exportPdf));
    }
    return result;
}
