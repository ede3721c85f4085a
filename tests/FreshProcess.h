// SPDX-License-Identifier: GPL-3.0-or-later
// Checks of what a start has not loaded yet hold only in a process nothing else has run in: such a
// test function runs itself again, alone, in a child of this test program.
#pragma once

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

#define RUN_IN_FRESH_PROCESS()                                                                     \
    do {                                                                                           \
        if (!qEnvironmentVariableIsSet("PEMIRA_FRESH_PROCESS")) {                                  \
            const QByteArray output = rerunAlone(QTest::currentTestFunction());                    \
            QVERIFY2(output.startsWith("ok"), output.constData());                                 \
            return;                                                                                \
        }                                                                                          \
    } while (false)

// The child's verdict: "ok" when the function passed (or skipped) there, else its whole output.
// A copy of the program elsewhere (executable) runs without what lies beside the original.
inline QByteArray rerunAlone(const char *function, const QString &executable = {})
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PEMIRA_FRESH_PROCESS"), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(executable.isEmpty() ? QCoreApplication::applicationFilePath() : executable,
        {QString::fromLatin1(function)});
    if (!child.waitForFinished(120000))
        return "child timed out: " + child.readAll();
    const QByteArray output = child.readAll();
    const QByteArray verdict = "::" + QByteArray(function) + "()";
    const bool passed
        = output.contains("PASS   : ") && output.contains(verdict) && !output.contains("FAIL!  : ");
    if (child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 && passed)
        return "ok";
    return output;
}
