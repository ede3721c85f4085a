// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecordLocation.h"

#include "CommandLine.h"
#include "record/MonthTable.h"
#include "plugins/PluginFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

QString recordFileFor(const CommandLine &commandLine, const QString &executableFolder)
{
    return recordFileFor(commandLine, executableFolder, userRecordFolder());
}

QString recordFileFor(
    const CommandLine &commandLine, const QString &executableFolder, const QString &userFolder)
{
    if (!commandLine.recordFile.isEmpty())
        return commandLine.recordFile;
    const QString folder = QDir(executableFolder).absolutePath();
    // An installed program is shared by every user of the machine, even where one of them (root)
    // could write beside it.
    const bool installed = QFileInfo(PluginFile::installedFolder(folder)).isDir();
    if (!installed && QFileInfo(folder).isWritable())
        return recordFilePath(folder + u'/');
    return recordFilePath(QDir(userFolder).absolutePath() + u'/');
}

QString userRecordFolder()
{
    // Not AppDataLocation: that is named after the application title, which is Japanese.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u"/pemira"_s;
}

QString appFolderFor(
    const QString &appFolder, const QString &recordFile, const QString &executableFolder)
{
    QString folder = appFolder;
    if (folder.isEmpty() && !recordFile.isEmpty())
        folder = QFileInfo(recordFile).absolutePath();
    if (folder.isEmpty())
        folder = executableFolder;
    folder = QDir::toNativeSeparators(folder).trimmed();
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    return folder;
}
