// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application.h"

#include "CommandLine.h"
#include "ErrorReport.h"
#include "FontWarmUp.h"
#include "QXCALC.h"
#include "RecordLocation.h"
#include "SingleInstance.h"
#include "artwork/Artwork.h"
#include "fonts/Fonts.h"
#include "info/BrowserEngine.h"
#include "print/SheetPdf.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// Anything thrown outside the guarded handlers (painting, key handling) still ends in the one
// error report instead of ending the program.
class PemiraApplication : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (...) {
            ErrorReport::show(ErrorReport::currentText());
            return false;
        }
    }
};

QStringList argumentList(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// A command-line run speaks in one line of its own: Qt's notes about the session it runs in
// (no runtime folder, no display) would only bury it.
void keepSeriousMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        const QByteArray line = (message + u'\n').toLocal8Bit();
        std::fputs(line.constData(), stderr);
    }
}

// The report written straight from the record, with no window and no display.
int exportPdf(int argc, char *argv[], const CommandLine &commandLine)
{
    qInstallMessageHandler(keepSeriousMessages);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    PemiraApplication app(argc, argv);
    const QString record = recordFileFor(commandLine, QCoreApplication::applicationDirPath());
    try {
        SheetPdf::exportRecord(record, commandLine.exportPdf);
    } catch (const std::exception &error) {
        // One line, whatever the reason's text holds.
        const QString why = (u"pemira: "_s + QString::fromUtf8(error.what())).simplified();
        const QByteArray line = (why + u'\n').toLocal8Bit();
        std::fputs(line.constData(), stderr);
        return 1;
    }
    return 0;
}

} // namespace

int runPemira(int argc, char *argv[])
{
    QCoreApplication::setApplicationVersion(QStringLiteral(PEMIRA_VERSION));
    const CommandLine commandLine = parseCommandLine(argumentList(argc, argv));
    if (commandLine.action == CommandLine::Action::Exit)
        return commandLine.exitCode;
    if (commandLine.action == CommandLine::Action::ExportPdf)
        return exportPdf(argc, argv, commandLine);

    FontWarmUp fonts;
    prepareBrowserEngine();
    PemiraApplication app(argc, argv);
    // The application title; not a display name, which the window system would append to every
    // window caption.
    QApplication::setApplicationName(u"ペミラ"_s);
    // Ties the window to the installed desktop entry (its icon and name in docks and task bars).
    QApplication::setDesktopFileName(QStringLiteral(PEMIRA_APP_ID));
    QApplication::setWindowIcon(applicationIcon());
    // Widgets lay out their (empty) text as they are made, before the window gives them their
    // fonts: with the platform's default font that would load a face nothing ever shows.
    // Message boxes and hints are Japanese too.
    fonts.wait();
    QApplication::setFont(gothicFont(12));

    TQXCALC::Options options;
    options.recordFile = recordFileFor(commandLine, QCoreApplication::applicationDirPath());
    const QString recordFolder = QFileInfo(options.recordFile).absolutePath();
    if (!commandLine.recordFile.isEmpty()
        || recordFolder == QDir(userRecordFolder()).absolutePath())
        options.recordFolderToMake = recordFolder;
    // A second window on the same record would overwrite the first one's measurements. Building
    // the window writes nothing, so it overlaps the lock's wait for the disk.
    SingleInstance instance(options.recordFile);
    instance.startClaim();
    TQXCALC window(options);
    if (instance.finishClaim() == SingleInstance::Claim::Elsewhere)
        return 0;
    instance.raiseOnRequest(&window);
    window.show();
    return app.exec();
}
