// SPDX-License-Identifier: GPL-3.0-or-later
// Starts a program, waits for it to report its first paint and end, and measures the time from
// just before the start to that paint and the child's peak resident memory.
#pragma once

#include <QString>
#include <QStringList>

struct ChildRun
{
    bool ok = false;
    double firstPaintMs = 0;
    double cpuMs = 0; // user + system time of the whole run
    long peakKb = 0;
    QString error;

    // environment: NAME=value entries that replace the inherited ones; unset: names removed.
    static ChildRun start(const QString &program, const QStringList &environment,
        const QStringList &unset, int timeoutMs);
};
