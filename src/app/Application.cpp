#include "Application.h"

#include "CommandLine.h"
#include "ErrorReport.h"
#include "FontWarmUp.h"
#include "QXCALC.h"
#include "RecordLocation.h"
#include "controls/Artwork.h"
#include "controls/Fonts.h"
#include "info/BrowserEngine.h"

#include <QApplication>
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

// The report written straight from the record, with no window and no display.
int exportPdf(int argc, char *argv[], const CommandLine &commandLine)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    PemiraApplication app(argc, argv);
    const QString record = recordFileFor(commandLine, QCoreApplication::applicationDirPath());
    const QByteArray message = u"%1: PDF export is not available yet\n"_s.arg(record).toLocal8Bit();
    std::fputs(message.constData(), stderr);
    return 1;
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
    TQXCALC window(options);
    window.show();
    return app.exec();
}
