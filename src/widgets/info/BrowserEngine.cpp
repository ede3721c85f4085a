// SPDX-License-Identifier: GPL-3.0-or-later
#include "BrowserEngine.h"

#include <QCoreApplication>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {
bool runningAsRoot()
{
#if defined(Q_OS_UNIX)
    return geteuid() == 0;
#else
    return false;
#endif
}
} // namespace

QList<BrowserEngineVariable> browserEngineVariables(
    const QProcessEnvironment &environment, bool runningAsRoot)
{
    QList<BrowserEngineVariable> variables;
    // The engine's sandbox refuses to start as root and the process just exits.
    if (runningAsRoot && !environment.contains(u"QTWEBENGINE_DISABLE_SANDBOX"_s))
        variables.append(BrowserEngineVariable("QTWEBENGINE_DISABLE_SANDBOX", "1"));
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // On X11 the shared GL context the engine needs costs every start a GL context (with
    // software GL, 83 MB instead of 26 MB for the bare window), though only the browser would
    // ever draw with GL. Without GL integration the browser renders in software, which its small
    // pages do not notice; switching off one without the other crashes the first view.
    const QString platform = environment.value(u"QT_QPA_PLATFORM"_s);
    const bool x11 = platform.isEmpty() || platform.startsWith(u"xcb"_s);
    if (x11 && !environment.contains(u"QT_XCB_GL_INTEGRATION"_s)
        && !environment.contains(u"QT_QUICK_BACKEND"_s)) {
        variables.append(BrowserEngineVariable("QT_XCB_GL_INTEGRATION", "none"));
        variables.append(BrowserEngineVariable("QT_QUICK_BACKEND", "software"));
    }
#endif
    return variables;
}

void prepareBrowserEngine()
{
    // Without it the first view of an engine loaded after QApplication crashes.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    const auto variables
        = browserEngineVariables(QProcessEnvironment::systemEnvironment(), runningAsRoot());
    for (const auto &[name, value] : variables)
        qputenv(name.constData(), value);
}
