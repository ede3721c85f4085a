// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChildRun.h"

#include <QByteArray>

#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

std::vector<QByteArray> childEnvironment(const QStringList &environment, const QStringList &unset)
{
    QStringList drop = unset;
    for (const QString &entry : environment)
        drop << entry.section(u'=', 0, 0);
    std::vector<QByteArray> result;
    for (char **e = environ; *e; ++e) {
        const QByteArray entry(*e);
        if (!drop.contains(QString::fromLocal8Bit(entry.left(entry.indexOf('=')))))
            result.push_back(entry);
    }
    for (const QString &entry : environment)
        result.push_back(entry.toLocal8Bit());
    return result;
}

} // namespace

ChildRun ChildRun::start(
    const QString &program, const QStringList &environment, const QStringList &unset, int timeoutMs)
{
    ChildRun run;
    const QByteArray path = program.toLocal8Bit();
    std::vector<QByteArray> env = childEnvironment(environment, unset);
    std::vector<char *> envp;
    for (QByteArray &entry : env)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    char *argv[] = {const_cast<char *>(path.constData()), nullptr};

    int out[2];
    if (::pipe(out) != 0) {
        run.error = QString::fromLocal8Bit(std::strerror(errno));
        return run;
    }
    const auto started = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDERR_FILENO);
        ::close(out[0]);
        ::execve(argv[0], argv, envp.data());
        ::_exit(127);
    }
    ::close(out[1]);
    if (pid < 0) {
        ::close(out[0]);
        run.error = QString::fromLocal8Bit(std::strerror(errno));
        return run;
    }

    QByteArray output;
    bool timedOut = false;
    const auto deadline = started + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        pollfd fd {out[0], POLLIN, 0};
        if (::poll(&fd, 1, int(left.count())) <= 0)
            continue;
        char buffer[256];
        const ssize_t got = ::read(out[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        output.append(buffer, got);
    }
    ::close(out[0]);
    if (timedOut)
        ::kill(pid, SIGKILL);
    int status = 0;
    rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    run.peakKb = usage.ru_maxrss;
    run.cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;

    const qsizetype at = output.indexOf("first-paint ");
    if (timedOut || at < 0) {
        run.error = timedOut ? QStringLiteral("no first paint in time")
                             : QStringLiteral("no first paint reported");
        return run;
    }
    const qint64 paintedNs = output.mid(at + 12).trimmed().toLongLong();
    const qint64 startedNs
        = std::chrono::duration_cast<std::chrono::nanoseconds>(started.time_since_epoch()).count();
    run.firstPaintMs = double(paintedNs - startedNs) / 1e6;
    run.ok = true;
    return run;
}
