// Loads one of the program's plugin libraries from a folder (normally the executable's) and, when
// that fails, says why in words for the person.
#pragma once

#include <QDir>
#include <QPluginLoader>
#include <QString>

namespace PluginFile {

// "<part>（<name>）が見つかりません", "…を読み込めません: <reason>" or, for a library that loaded
// but is not the interface asked for, "…の版が合いません".
QString failure(const QPluginLoader &loader, const QString &part, const QString &name, bool loaded);

// Loads folder/name (the loader adds the platform's prefix and suffix) as Interface; null, with
// why set, when that fails.
template<typename Interface>
Interface *load(QPluginLoader &loader, const QString &folder, const QString &name,
    const QString &part, QString *why)
{
    loader.setFileName(QDir(folder).filePath(name));
    QObject *instance = loader.instance();
    if (auto *plugin = qobject_cast<Interface *>(instance))
        return plugin;
    *why = failure(loader, part, name, instance != nullptr);
    return nullptr;
}

} // namespace PluginFile
