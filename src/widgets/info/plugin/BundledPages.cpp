// SPDX-License-Identifier: GPL-3.0-or-later
#include "BundledPages.h"

#include <QFile>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

QString resourceText(const QString &name)
{
    QFile file(u":/info/"_s + name);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

} // namespace

namespace BundledPages {

bool isBundled(const QUrl &url)
{
    return url.scheme() == u"http"_s
        && url.host().compare(QStringLiteral(PEMIRA_BUNDLED_INFO_HOST), Qt::CaseInsensitive) == 0;
}

QString page(const QUrl &url)
{
    // Only the names the window asks for; anything else in the record's body-type cell gets the
    // not-found page rather than a file of some other name.
    static const QRegularExpression name(u"^/pemmira/res/(body(?:[1-9]|1[0-2])?\\.htm)$"_s);
    const QRegularExpressionMatch match = name.match(url.path());
    const QString text = match.hasMatch() ? resourceText(match.captured(1)) : QString();
    if (!text.isEmpty())
        return text;
    return unreachablePage(url, u"このページは、プログラムに含まれていません。"_s);
}

QString unreachablePage(const QUrl &url, const QString &reason)
{
    const QString address = url.toDisplayString();
    return resourceText(u"unreachable.htm"_s)
        .arg(reason.toHtmlEscaped(), address.toHtmlEscaped(),
            url.toString(QUrl::FullyEncoded).toHtmlEscaped());
}

} // namespace BundledPages
