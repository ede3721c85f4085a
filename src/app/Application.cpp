// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application.h"

#include "CommandLine.h"
#include "ErrorReport.h"
#include "FontWarmUp.h"
#include "HistoryWindow.h"
#include "QXCALC.h"
#include "RecordLocation.h"
#include "SingleInstance.h"
#include "artwork/Artwork.h"
#include "fonts/Fonts.h"
#include "info/BrowserEngine.h"
#include "plugins/PluginFile.h"
#include "print/SheetPdf.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <memory>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

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

// Paths arrive as the system's bytes: one whose bytes are not text (a folder an archive tool
// named in another encoding), or relative to such a folder, is named through its folder's handle.
QString argumentText(const QByteArray &argument)
{
    if (!argument.startsWith('-'))
        return PluginFile::systemPath(argument);
    const qsizetype equals = argument.indexOf('=');
    if (!argument.startsWith("--") || equals < 0)
        return QFile::decodeName(argument);
    return QFile::decodeName(argument.left(equals + 1))
        + PluginFile::systemPath(argument.mid(equals + 1));
}

QStringList argumentList(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << (i == 0 ? QFile::decodeName(argv[i]) : argumentText(argv[i]));
    return arguments;
}

#if defined(Q_OS_UNIX)
// A logout, a shutdown or Ctrl+C ends the run as closing the window does: every measurement is
// already saved, so the guard is released and the socket removed on the way out.
class QuitOnSignals
{
public:
    QuitOnSignals()
    {
        if (::pipe2(s_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
            return;
        m_notifier = std::make_unique<QSocketNotifier>(s_pipe[0], QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [] {
            char drained[16];
            while (::read(s_pipe[0], drained, sizeof drained) > 0) { }
            QCoreApplication::quit();
        });
        struct sigaction action = {};
        action.sa_handler = &QuitOnSignals::handle;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (const int signal : {SIGTERM, SIGINT, SIGHUP})
            ::sigaction(signal, &action, nullptr);
    }

private:
    static void handle(int)
    {
        const int saved = errno;
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(s_pipe[1], &byte, 1);
        errno = saved;
    }

    static inline int s_pipe[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> m_notifier;
};
#else
class QuitOnSignals
{
};
#endif

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
    const QString record = recordFileFor(commandLine, PluginFile::executableFolder());
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

// The history's CSV out or in, with no window: one English line on failure.
int historyCsv(int argc, char *argv[], const CommandLine &commandLine)
{
    qInstallMessageHandler(keepSeriousMessages);
    QCoreApplication app(argc, argv);
    const QString record = recordFileFor(commandLine, QCoreApplication::applicationDirPath());
    try {
        if (commandLine.action == CommandLine::Action::ExportCsv)
            exportHistoryCsv(record, commandLine.csvFile, commandLine.spreadsheetCsv,
                QDateTime::currentDateTime());
        else
            std::fputs((importHistoryCsv(record, commandLine.csvFile, QDateTime::currentDateTime())
                           + u'\n')
                           .toLocal8Bit()
                           .constData(),
                stdout);
    } catch (const std::exception &error) {
        const QString why = (u"pemira: "_s + QString::fromUtf8(error.what())).simplified();
        std::fputs((why + u'\n').toLocal8Bit().constData(), stderr);
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
    if (commandLine.action == CommandLine::Action::ExportCsv
        || commandLine.action == CommandLine::Action::ImportCsv)
        return historyCsv(argc, argv, commandLine);

    FontWarmUp fonts;
    prepareBrowserEngine();
    PemiraApplication app(argc, argv);
    // The application title; not a display name, which the window system would append to every
    // window caption.
    QApplication::setApplicationName(u"ペミラ"_s);
    // Ties the window to the installed desktop entry (its icon and name in docks and task bars).
    QApplication::setDesktopFileName(QStringLiteral(PEMIRA_APP_ID));
    QApplication::setWindowIcon(applicationIcon());

    // The record's place and its guard need no fonts: settled while the font configuration is
    // still loading.
    TQXCALC::Options options;
    options.recordFile = recordFileFor(commandLine, PluginFile::executableFolder());
    const QString recordFolder = QFileInfo(options.recordFile).absolutePath();
    if (!commandLine.recordFile.isEmpty()
        || recordFolder == QDir(userRecordFolder()).absolutePath())
        options.recordFolderToMake = recordFolder;
    // A second window on the same record would overwrite the first one's measurements.
    QuitOnSignals quitOnSignals;
    SingleInstance instance(options.recordFile);
    const SingleInstance::Claim claim = instance.claim();
    if (claim == SingleInstance::Claim::Elsewhere)
        return 0;

    // Widgets lay out their (empty) text as they are made, before the window gives them their
    // fonts: with the platform's default font that would load a face nothing ever shows.
    // Message boxes and hints are Japanese too.
    fonts.wait();
    QApplication::setFont(gothicFont(12));
    if (claim == SingleInstance::Claim::HeldByOther) {
        ErrorReport::show(instance.holderNotice());
        return 1;
    }
    TQXCALC window(options);
    instance.raiseOnRequest(&window);
    if (const QString notice = instance.takeOverNotice(); !notice.isEmpty())
        QTimer::singleShot(0, &window, [notice] { ErrorReport::show(notice); });
    window.show();
    return app.exec();
}
