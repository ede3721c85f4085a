// SPDX-License-Identifier: GPL-3.0-or-later
#include "PluginFile.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

QString PluginFile::failure(
    const QPluginLoader &loader, const QString &part, const QString &name, bool loaded)
{
    if (!QFileInfo::exists(loader.fileName()))
        return u"%1（%2）が見つかりません"_s.arg(part, name);
    if (!loaded)
        return u"%1（%2）を読み込めません: %3"_s.arg(part, name, loader.errorString());
    return u"%1（%2）の版が合いません"_s.arg(part, name);
}

QString PluginFile::installedFolder(const QString &executableFolder)
{
    // Relative, so that an installed tree works under any prefix and when unpacked elsewhere.
    return QDir::cleanPath(
        QDir(executableFolder).absoluteFilePath(QStringLiteral(PEMIRA_PLUGIN_DIR_FROM_BIN)));
}

QStringList PluginFile::searchFolders(const QString &folder)
{
    return {folder, installedFolder(folder)};
}
