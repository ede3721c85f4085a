// SPDX-License-Identifier: GPL-3.0-or-later
#include "PluginFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#if defined(Q_OS_LINUX)
#include <climits>
#include <fcntl.h>
#include <unistd.h>
#endif

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

#if defined(Q_OS_LINUX)
namespace {

bool isText(const QByteArray &bytes)
{
    return QFile::encodeName(QFile::decodeName(bytes)) == bytes;
}

// Relative names are made absolute through QDir::currentPath(), which loses the working folder's
// bytes that are not text.
bool workingFolderIsText()
{
    QByteArray folder(PATH_MAX, '\0');
    return ::getcwd(folder.data(), size_t(folder.size())) && isText(QByteArray(folder.constData()));
}

} // namespace
#endif

QString PluginFile::systemPath(const QByteArray &path)
{
    const QString text = QFile::decodeName(path);
#if defined(Q_OS_LINUX)
    if (isText(path) && (path.startsWith('/') || workingFolderIsText()))
        return text;
    // The folder stays open for the whole run; the kernel resolves the name through it.
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : path.left(qMax<qsizetype>(slash, 1));
    const QByteArray name = slash < 0 ? path : path.mid(slash + 1);
    const int fd = ::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return text;
    const QString handle = u"/proc/self/fd/"_s + QString::number(fd);
    if (name.isEmpty())
        return handle;
    if (!isText(name)) {
        ::close(fd);
        return text;
    }
    return handle + u'/' + QFile::decodeName(name);
#else
    return text;
#endif
}

QString PluginFile::executableFolder()
{
#if defined(Q_OS_LINUX)
    static const QString folder = [] {
        char target[PATH_MAX];
        const ssize_t size = ::readlink("/proc/self/exe", target, sizeof target);
        if (size <= 0 || size_t(size) >= sizeof target)
            return QCoreApplication::applicationDirPath();
        const QByteArray file(target, size);
        QString found = systemPath(file.left(qMax<qsizetype>(file.lastIndexOf('/'), 1)) + '/');
        if (found.size() > 1 && found.endsWith(u'/'))
            found.chop(1);
        return found;
    }();
    return folder;
#else
    return QCoreApplication::applicationDirPath();
#endif
}

QStringList PluginFile::searchFolders(const QString &folder)
{
    // Callers pass applicationDirPath(), whose text has lost the bytes of a folder name that is
    // not in the system's encoding.
    const QString real
        = QCoreApplication::instance() && folder == QCoreApplication::applicationDirPath()
        ? executableFolder()
        : folder;
    return {real, installedFolder(real)};
}
