// SPDX-License-Identifier: GPL-3.0-or-later
#include "Fonts.h"

#include <QFontDatabase>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

// The first family of the preference list that is installed, looked up once: a font naming
// missing families makes every new size search them and their fallbacks again.
QString firstInstalled(const QStringList &families)
{
    for (const QString &family : families) {
        if (QFontDatabase::hasFamily(family))
            return family;
    }
    return families.last();
}

QFont makeFont(const QString &family, int pixelSize, bool bold)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

} // namespace

QFont gothicFont(int pixelSize, bool bold)
{
    static const QString family = firstInstalled(
        {u"ＭＳ Ｐゴシック"_s, u"MS PGothic"_s, u"IPAPGothic"_s, u"IPA Pゴシック"_s, u"Meiryo"_s,
            u"Yu Gothic"_s, u"Noto Sans CJK JP"_s, u"sans-serif"_s});
    return makeFont(family, pixelSize, bold);
}

QFont minchoFont(int pixelSize, bool bold)
{
    static const QString family = firstInstalled({u"ＭＳ Ｐ明朝"_s, u"MS PMincho"_s,
        u"IPAPMincho"_s, u"IPA P明朝"_s, u"Yu Mincho"_s, u"Noto Serif CJK JP"_s, u"serif"_s});
    return makeFont(family, pixelSize, bold);
}
