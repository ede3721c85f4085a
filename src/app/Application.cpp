#include "Application.h"

#include "ErrorReport.h"
#include "FontWarmUp.h"
#include "QXCALC.h"
#include "controls/Artwork.h"
#include "controls/Fonts.h"
#include "info/BrowserEngine.h"

#include <QApplication>

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

} // namespace

int runPemira(int argc, char *argv[])
{
    FontWarmUp fonts;
    prepareBrowserEngine();
    PemiraApplication app(argc, argv);
    // The application title; not a display name, which the window system would append to every
    // window caption.
    QApplication::setApplicationName(u"ペミラ"_s);
    QApplication::setWindowIcon(applicationIcon());
    // Widgets lay out their (empty) text as they are made, before the window gives them their
    // fonts: with the platform's default font that would load a face nothing ever shows.
    // Message boxes and hints are Japanese too.
    fonts.wait();
    QApplication::setFont(gothicFont(12));

    TQXCALC window;
    window.show();
    return app.exec();
}
