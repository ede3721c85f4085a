// SPDX-License-Identifier: GPL-3.0-or-later
// Which record file a start works on.
#pragma once

#include <QString>

struct CommandLine;

// The record a start opens: --record when given; otherwise settemp.dat beside the executable for
// a portable copy (its folder writable, no installed library folder beside it), else settemp.dat
// in the user's data folder (~/.local/share/pemira), which the first save creates.
QString recordFileFor(const CommandLine &commandLine, const QString &executableFolder);
// The same with the user's data folder given.
QString recordFileFor(
    const CommandLine &commandLine, const QString &executableFolder, const QString &userFolder);

// The folder of the record when the program is installed: <user data folder>/pemira.
QString userRecordFolder();

// The program's folder as the window names it (native separators, one at the end): appFolder when
// given, else the record file's folder when one is given, else the executable's folder.
QString appFolderFor(
    const QString &appFolder, const QString &recordFile, const QString &executableFolder);
