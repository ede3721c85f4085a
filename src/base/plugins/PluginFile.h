// SPDX-License-Identifier: GPL-3.0-or-later
// Loads one of the program's plugin libraries from a folder (normally the executable's) and, when
// that fails, says why in words for the person.
#pragma once

#include <QDir>
#include <QPluginLoader>
#include <QString>
#include <QStringList>

namespace PluginFile {

// "<part>（<name>）が見つかりません", "…を読み込めません: <reason>" or, for a library that loaded
// but is not the interface asked for, "…の版が合いません".
QString failure(const QPluginLoader &loader, const QString &part, const QString &name, bool loaded);

// The program's own library folder of an installed layout (lib/<multiarch>/pemira), found from
// the folder of the executable (bin).
QString installedFolder(const QString &executableFolder);

// A path given as the system's bytes, usable by every file function: its text when the bytes are
// text in the system's encoding, else a name through an open handle on its folder (a folder that
// an archive tool named in another encoding still holds the program and its record).
QString systemPath(const QByteArray &path);
// The executable's folder through systemPath: unlike applicationDirPath() it names the real folder
// whatever bytes its name holds.
QString executableFolder();

// Where the plugins are looked for, in this order: the folder itself (a portable copy, the build
// folder), then the installed library folder relative to it.
QStringList searchFolders(const QString &folder);

// Loads name (the loader adds the platform's prefix and suffix) from the first of
// searchFolders(folder) that holds it, as Interface; null, with why set, when that fails.
template<typename Interface>
Interface *load(QPluginLoader &loader, const QString &folder, const QString &name,
    const QString &part, QString *why)
{
    for (const QString &candidate : searchFolders(folder)) {
        loader.setFileName(QDir(candidate).filePath(name));
        if (!loader.fileName().isEmpty()) // the loader found the file
            break;
    }
    QObject *instance = loader.instance();
    if (auto *plugin = qobject_cast<Interface *>(instance))
        return plugin;
    *why = failure(loader, part, name, instance != nullptr);
    return nullptr;
}

} // namespace PluginFile
