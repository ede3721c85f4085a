// SPDX-License-Identifier: GPL-3.0-or-later
#include "Artwork.h"

#include "ApplicationIcon.h"
#include "StartFigure.h"
#include "plugins/OutputModule.h"
#include "plugins/OutputPlugin.h"

#include <array>
#include <cmath>
#include <map>
#include <span>
#include <tuple>
#include <utility>

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QString>

using namespace Qt::StringLiterals;

namespace {

constexpr QSize faceSize(16, 16);
constexpr QSize headingSize(459, 35);
constexpr QSize illustrationSize(167, 95);

// Antialiased edge pixels at least half covered count as face; fainter ones would only tint the
// graph behind them through the OR pass.
constexpr int maskAlphaThreshold = 128;

constexpr std::array<QSize, 5> figureSizes {
    QSize(158, 125), QSize(99, 129), QSize(108, 130), QSize(79, 130), QSize(82, 130)};

QSize scaled(QSize size, qreal devicePixelRatio)
{
    return QSize(qRound(size.width() * devicePixelRatio), qRound(size.height() * devicePixelRatio));
}

// Each picture is rendered from its vector source once per pixel size and then shared
// (QImage copies are implicitly shared). All callers are on the user-interface thread.
QImage render(const QString &path, QSize logicalSize, qreal devicePixelRatio)
{
    if (!(devicePixelRatio > 0.0) || !std::isfinite(devicePixelRatio) || devicePixelRatio > 64.0)
        return {};
    const QSize pixels = scaled(logicalSize, devicePixelRatio);
    static std::map<std::tuple<QString, int, int, qreal>, QImage> cache;
    const auto key = std::make_tuple(path, pixels.width(), pixels.height(), devicePixelRatio);
    if (auto found = cache.find(key); found != cache.end())
        return found->second;

    // Without the output plugin there is no picture, and the caller shows none.
    OutputPlugin *output = OutputModule::find();
    QImage image;
    if (output)
        image = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    // A huge ratio may fail to allocate: the caller gets a null image, not a crash.
    if (!image.isNull()) {
        image.fill(Qt::transparent);
        QPainter painter(&image);
        const bool drawn = output->paintSvg(path, &painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
        painter.end();
        if (drawn)
            image.setDevicePixelRatio(devicePixelRatio);
        else
            image = QImage();
    }
    cache.emplace(key, image);
    return image;
}

QImage bakedImage(std::span<const BakedImage> set, QSize size)
{
    for (const BakedImage &baked : set) {
        if (QSize(baked.width, baked.height) == size)
            return QImage(reinterpret_cast<const uchar *>(baked.pixels), baked.width, baked.height,
                baked.width * 4, QImage::Format_ARGB32_Premultiplied);
    }
    return {};
}

QString facePath(int code)
{
    return u":/faces/mood%1.svg"_s.arg(code);
}

QImage deriveFace(const QImage &face, MoodFaceSet set)
{
    QImage result(face.size(), QImage::Format_RGB32);
    for (int y = 0; y < face.height(); ++y) {
        const auto *source = reinterpret_cast<const QRgb *>(face.constScanLine(y));
        auto *target = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < face.width(); ++x) {
            const QRgb pixel = source[x]; // premultiplied
            const int alpha = qAlpha(pixel);
            const bool inside = alpha >= maskAlphaThreshold;
            // Over white: premultiplied colour plus the white that shows through.
            const int open = 255 - alpha;
            const QRgb overWhite
                = qRgb(qRed(pixel) + open, qGreen(pixel) + open, qBlue(pixel) + open);
            switch (set) {
            case MoodFaceSet::OnWhite:
                target[x] = overWhite;
                break;
            case MoodFaceSet::Mask:
                target[x] = inside ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
                break;
            case MoodFaceSet::OnBlack:
                // The AND pass has blackened exactly the mask, so the OR pass must carry every
                // mask pixel in full and nothing else. Edges blend toward white because the
                // faces sit on light backgrounds; pure black would vanish into the hole.
                target[x] = inside ? (overWhite == qRgb(0, 0, 0) ? qRgb(1, 1, 1) : overWhite)
                                   : qRgb(0, 0, 0);
                break;
            }
        }
    }
    return result;
}

void paintVector(const QString &path, QPainter *painter, const QRectF &target)
{
    if (!painter || !painter->isActive())
        return;
    if (OutputPlugin *output = OutputModule::find())
        output->paintSvg(path, painter, target);
}

// Draws the icon at whatever size the platform asks for, when it asks. The sizes it offers are
// baked at build time: an X11 window system takes every one of them as the window appears, and
// that must not load the vector renderer.
class ArtworkIconEngine final : public QIconEngine
{
public:
    ArtworkIconEngine(QString path, std::span<const BakedImage> baked)
        : m_path(std::move(path))
        , m_baked(baked)
    { }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State) override
    {
        paintVector(m_path, painter, rect);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        QImage image = bakedImage(m_baked, size);
        if (image.isNull())
            image = render(m_path, size, 1.0);
        return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int side = qMin(size.width(), size.height());
        return QSize(side, side);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const BakedImage &baked : m_baked)
            sizes.append(QSize(baked.width, baked.height));
        return sizes;
    }

    QString key() const override { return u"pemira-artwork"_s; }
    QIconEngine *clone() const override { return new ArtworkIconEngine(m_path, m_baked); }

private:
    QString m_path;
    std::span<const BakedImage> m_baked;
};

} // namespace

QSize figureSize(int n)
{
    if (n < 1 || n > int(figureSizes.size()))
        return {};
    return figureSizes[std::size_t(n - 1)];
}

QImage figurePicture(int n, qreal devicePixelRatio)
{
    const QSize size = figureSize(n);
    if (size.isEmpty())
        return {};
    // The start picture is on screen at start-up: at 1x it is the build's own rendering of the
    // same drawing, shown in place from read-only memory.
    if (n == 1 && devicePixelRatio == 1.0) {
        if (QImage ready = bakedImage(startFigure, size); !ready.isNull())
            return ready;
    }
    return render(u":/figures/image%1.svg"_s.arg(n), size, devicePixelRatio);
}

QImage figureFromVector(int n)
{
    const QSize size = figureSize(n);
    return size.isEmpty() ? QImage() : render(u":/figures/image%1.svg"_s.arg(n), size, 1.0);
}

QImage moodFace(int code, MoodFaceSet set)
{
    if (code < 1 || code > 4)
        return {};
    static std::map<std::pair<int, MoodFaceSet>, QImage> derived;
    const auto key = std::make_pair(code, set);
    if (auto found = derived.find(key); found != derived.end())
        return found->second;
    const QImage face = render(facePath(code), faceSize, 1.0);
    QImage result = face.isNull() ? QImage() : deriveFace(face, set);
    derived.emplace(key, result);
    return result;
}

QImage moodButtonPicture(int code, qreal devicePixelRatio)
{
    if (code < 1 || code > 4)
        return {};
    return render(u":/icons/moodbtn%1.svg"_s.arg(code), faceSize, devicePixelRatio);
}

QImage reportHeading(qreal devicePixelRatio)
{
    return render(u":/report/heading.svg"_s, headingSize, devicePixelRatio);
}

QImage reportIllustration(qreal devicePixelRatio)
{
    return render(u":/report/illustration.svg"_s, illustrationSize, devicePixelRatio);
}

QIcon applicationIcon()
{
    return QIcon(new ArtworkIconEngine(u":/icons/pemira.svg"_s, applicationIconSizes));
}

void paintReportHeading(QPainter *painter, const QRectF &target)
{
    paintVector(u":/report/heading.svg"_s, painter, target);
}

void paintReportIllustration(QPainter *painter, const QRectF &target)
{
    paintVector(u":/report/illustration.svg"_s, painter, target);
}
