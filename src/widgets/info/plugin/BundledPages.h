// SPDX-License-Identifier: GPL-3.0-or-later
// The information pages the program carries itself, and its own page for a site that cannot be
// reached. Both are answered under the page's own address, so nothing goes to the network.
#pragma once

#include <QString>
#include <QUrl>

namespace BundledPages {

// Whether url names the program's own site (the built-in host), whatever its path.
bool isBundled(const QUrl &url);

// The page at url: body.htm or body1.htm … body12.htm, else a page saying there is no such page.
QString page(const QUrl &url);

// A Japanese page naming what failed and the address, with a link that tries it again.
QString unreachablePage(const QUrl &url, const QString &reason);

} // namespace BundledPages
