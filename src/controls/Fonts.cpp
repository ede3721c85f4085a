#include "Fonts.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

QFont makeFont(const QStringList &families, int pixelSize, bool bold)
{
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

} // namespace

QFont gothicFont(int pixelSize, bool bold)
{
    static const QStringList families {u"ＭＳ Ｐゴシック"_s, u"MS PGothic"_s, u"IPAPGothic"_s,
        u"IPA Pゴシック"_s, u"Meiryo"_s, u"Yu Gothic"_s, u"Noto Sans CJK JP"_s, u"sans-serif"_s};
    return makeFont(families, pixelSize, bold);
}

QFont minchoFont(int pixelSize, bool bold)
{
    static const QStringList families {u"ＭＳ Ｐ明朝"_s, u"MS PMincho"_s, u"IPAPMincho"_s,
        u"IPA P明朝"_s, u"Yu Mincho"_s, u"Noto Serif CJK JP"_s, u"serif"_s};
    return makeFont(families, pixelSize, bold);
}
