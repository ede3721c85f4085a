// SPDX-License-Identifier: GPL-3.0-or-later
#include "BrowserEngine.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <atomic>
#include <cstdio>

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
    const bool disableSandbox
        = runningAsRoot && !environment.contains(u"QTWEBENGINE_DISABLE_SANDBOX"_s);
    if (disableSandbox)
        variables.append(BrowserEngineVariable("QTWEBENGINE_DISABLE_SANDBOX", "1"));
    // The engine's start waits on the window's thread for its zygote process, which only the
    // sandbox needs: without it the first page holds the window about a tenth as long.
    const bool sandboxOff
        = disableSandbox || environment.value(u"QTWEBENGINE_DISABLE_SANDBOX"_s) == u"1"_s;
    if (sandboxOff && !environment.contains(u"QTWEBENGINE_CHROMIUM_FLAGS"_s))
        variables.append(BrowserEngineVariable("QTWEBENGINE_CHROMIUM_FLAGS", "--no-zygote"));
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

bool isExpectedEngineNote(
    QtMsgType type, const QString &message, bool glSwitchedOff, bool sandboxSwitchedOff)
{
    if (type != QtWarningMsg && type != QtInfoMsg)
        return false;
    const QString text = message.trimmed();
    // The settings above, chosen on purpose, each make Qt or the engine say so once.
    if (glSwitchedOff) {
        if (text
                == u"QXcbIntegration: Cannot create platform OpenGL context, neither GLX nor EGL "
                   u"are enabled"_s
            || text == u"No suitable graphics backend found"_s)
            return true;
    }
    return sandboxSwitchedOff && type == QtInfoMsg && text == u"Sandboxing disabled by user."_s;
}

namespace {
std::atomic<QtMessageHandler> previousHandler = nullptr;
std::atomic_bool glOff = false;
std::atomic_bool sandboxOff = false;

// The engine's own pages (its error page when a site cannot be reached) log their scripts'
// remarks as the console messages of a page; none of those scripts are ours.
bool fromEnginePage(const QMessageLogContext &context)
{
    return context.category && qstrcmp(context.category, "js") == 0 && context.file
        && (qstrncmp(context.file, "chrome-error:", 13) == 0
            || qstrncmp(context.file, "chrome:", 7) == 0);
}

void quietEngineNotes(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (isExpectedEngineNote(type, message, glOff, sandboxOff) || fromEnginePage(context))
        return;
    if (const QtMessageHandler previous = previousHandler)
        return previous(type, context, message);
    const QByteArray line = (qFormatLogMessage(type, context, message) + u'\n').toLocal8Bit();
    std::fputs(line.constData(), stderr);
}
} // namespace

void prepareBrowserEngine()
{
    // Without it the first view of an engine loaded after QApplication crashes.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    const auto variables
        = browserEngineVariables(QProcessEnvironment::systemEnvironment(), runningAsRoot());
    for (const auto &[name, value] : variables) {
        qputenv(name.constData(), value);
        if (name == "QT_XCB_GL_INTEGRATION")
            glOff = true;
        if (name == "QTWEBENGINE_DISABLE_SANDBOX")
            sandboxOff = true;
    }
    // Offscreen there is no GL to be had at all.
    if (QProcessEnvironment::systemEnvironment()
            .value(u"QT_QPA_PLATFORM"_s)
            .startsWith(u"offscreen"_s))
        glOff = true;
    // An ordinary start prints nothing: the notes on what was switched off on purpose are
    // dropped; every other message goes where it went before.
    previousHandler = qInstallMessageHandler(quietEngineNotes);
}

void quietBrowserEngineReport()
{
    // The engine's report of its settings is for debugging (QT_LOGGING_RULES still turns it
    // on). Set when the engine is about to load: a start that never shows a page skips it.
    static const bool set = [] {
        QLoggingCategory::setFilterRules(u"qt.webenginecontext.info=false"_s);
        return true;
    }();
    Q_UNUSED(set);
}
