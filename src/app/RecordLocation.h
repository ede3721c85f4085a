// Which record file a start works on.
#pragma once

#include <QString>

struct CommandLine;

// The record a start opens: --record when given, otherwise settemp.dat beside the executable.
QString recordFileFor(const CommandLine &commandLine, const QString &executableFolder);
