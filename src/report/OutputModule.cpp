#include "OutputModule.h"

#include "OutputPlugin.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

struct Loaded
{
    OutputPlugin *plugin = nullptr;
    QString failure;
};

// Loaded once; a failure is remembered too, so a missing file is not searched for again at
// every picture.
const Loaded &loaded()
{
    static const Loaded result = [] {
        Loaded state;
        const QString folder = QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                            : QDir::currentPath();
        // The loader adds the platform's prefix and suffix. It stays loaded for the whole run.
        static QPluginLoader loader;
        loader.setFileName(QDir(folder).filePath(OutputModule::pluginName()));
        QObject *instance = loader.instance();
        state.plugin = qobject_cast<OutputPlugin *>(instance);
        if (state.plugin)
            return state;
        const QString name = OutputModule::pluginName();
        if (!QFileInfo::exists(loader.fileName()))
            state.failure = u"描画と印刷の部品（%1）が見つかりません"_s.arg(name);
        else if (!instance)
            state.failure
                = u"描画と印刷の部品（%1）を読み込めません: %2"_s.arg(name, loader.errorString());
        else
            state.failure = u"描画と印刷の部品（%1）の版が合いません"_s.arg(name);
        qWarning("%s", qPrintable(state.failure));
        return state;
    }();
    return result;
}

} // namespace

QString OutputModule::pluginName()
{
    return u"pemira_output"_s;
}

OutputPlugin &OutputModule::require()
{
    const Loaded &state = loaded();
    if (!state.plugin)
        throw std::runtime_error(state.failure.toStdString());
    return *state.plugin;
}

OutputPlugin *OutputModule::find()
{
    return loaded().plugin;
}
