// SPDX-License-Identifier: GPL-3.0-or-later
#include "OutputModule.h"

#include "OutputPlugin.h"
#include "PluginFile.h"

#include <QCoreApplication>
#include <QDir>

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
        // It stays loaded for the whole run.
        static QPluginLoader loader;
        state.plugin = PluginFile::load<OutputPlugin>(
            loader, folder, OutputModule::pluginName(), u"描画と印刷の部品"_s, &state.failure);
        if (!state.plugin)
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
