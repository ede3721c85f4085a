// SPDX-License-Identifier: GPL-3.0-or-later
// Finds and loads the output plugin (libpemira_output.so / pemira_output.dll) beside the
// executable, once, on first use.
#pragma once

#include <QString>

class OutputPlugin;

namespace OutputModule {

QString pluginName();

// The loaded plugin. Throws std::runtime_error saying what is wrong when it is missing, cannot
// be loaded or is of another version.
OutputPlugin &require();

// The same without throwing: null when require() would throw. Drawing code shows nothing then.
OutputPlugin *find();

} // namespace OutputModule
