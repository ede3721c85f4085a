// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include <algorithm>
#include <cstdlib>

#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include "artwork/Artwork.h"

namespace {

bool isTransparent(const QImage &image, int x, int y)
{
    return qAlpha(image.pixel(x, y)) == 0;
}

QList<QPoint> corners(const QImage &image)
{
    const int right = image.width() - 1;
    const int bottom = image.height() - 1;
    return {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom)};
}

} // namespace

class tst_Artwork : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void figureSizesAndTransparentCorners_data();
    void figureSizesAndTransparentCorners();
    void figuresScaleWithDevicePixelRatio();
    void readyMadeStartPictureMatchesItsVector();
    void outOfRangeGivesNullImages();
    void moodFaceSetsAreOpaqueAndSized_data();
    void moodFaceSetsAreOpaqueAndSized();
    void maskCoversExactlyTheOrPass_data();
    void maskCoversExactlyTheOrPass();
    void maskAndOrShowsFaceOverBackground();
    void faceSetsDifferBetweenMoods();
    void moodButtonPicturesHaveTransparentCorners();
    void headingIsOneColourOnTransparent();
    void illustrationHasSizeAndColour();
    void applicationIconHasSizes();
    void reportPicturesPaintAsVectors();
};

void tst_Artwork::figureSizesAndTransparentCorners_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QSize>("size");
    QTest::newRow("image1") << 1 << QSize(158, 125);
    QTest::newRow("image2") << 2 << QSize(99, 129);
    QTest::newRow("image3") << 3 << QSize(108, 130);
    QTest::newRow("image4") << 4 << QSize(79, 130);
    QTest::newRow("image5") << 5 << QSize(82, 130);
}

void tst_Artwork::figureSizesAndTransparentCorners()
{
    QFETCH(int, n);
    QFETCH(QSize, size);
    QCOMPARE(figureSize(n), size);
    const QImage image = figurePicture(n);
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), size);
    QVERIFY(image.hasAlphaChannel());
    for (const QPoint &p : corners(image))
        QVERIFY2(isTransparent(image, p.x(), p.y()), qPrintable(QString::number(p.x())));
    // Something is drawn: a good share of the picture is opaque.
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            opaque += qAlpha(image.pixel(x, y)) == 255;
    QVERIFY(opaque > image.width() * image.height() / 5);
}

void tst_Artwork::figuresScaleWithDevicePixelRatio()
{
    const QImage sharp = figurePicture(2, 2.0);
    QCOMPARE(sharp.size(), QSize(198, 258));
    QCOMPARE(sharp.devicePixelRatio(), 2.0);
    QCOMPARE(sharp.deviceIndependentSize(), QSizeF(99, 129));
    // A second request is served from the cache and shares the pixels.
    QCOMPARE(figurePicture(2, 2.0).constBits(), sharp.constBits());
    QCOMPARE(reportHeading(6.25).size(), QSize(2869, 219));
}

void tst_Artwork::outOfRangeGivesNullImages()
{
    QVERIFY(figurePicture(0).isNull());
    QVERIFY(figurePicture(6).isNull());
    QVERIFY(figurePicture(-1).isNull());
    QVERIFY(figurePicture(1, 0.0).isNull());
    QVERIFY(figurePicture(1, -2.0).isNull());
    QVERIFY(figurePicture(1, qQNaN()).isNull());
    QVERIFY(figureSize(0).isEmpty());
    QVERIFY(figureSize(6).isEmpty());
    for (int code : {0, 5, -1, 100}) {
        QVERIFY(moodFace(code, MoodFaceSet::OnBlack).isNull());
        QVERIFY(moodFace(code, MoodFaceSet::Mask).isNull());
        QVERIFY(moodFace(code, MoodFaceSet::OnWhite).isNull());
        QVERIFY(moodButtonPicture(code).isNull());
    }
}

void tst_Artwork::moodFaceSetsAreOpaqueAndSized_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<MoodFaceSet>("set");
    const QList<std::pair<const char *, MoodFaceSet>> sets {
        {"onblack", MoodFaceSet::OnBlack},
        {"mask", MoodFaceSet::Mask},
        {"onwhite", MoodFaceSet::OnWhite},
    };
    for (int code = 1; code <= 4; ++code)
        for (const auto &[name, set] : sets)
            QTest::addRow("mood%d-%s", code, name) << code << set;
}

void tst_Artwork::moodFaceSetsAreOpaqueAndSized()
{
    QFETCH(int, code);
    QFETCH(MoodFaceSet, set);
    const QImage face = moodFace(code, set);
    QVERIFY(!face.isNull());
    QCOMPARE(face.size(), QSize(16, 16));
    QCOMPARE(face.format(), QImage::Format_RGB32);
    const QRgb around = set == MoodFaceSet::OnBlack ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
    for (const QPoint &p : corners(face))
        QCOMPARE(face.pixel(p) & 0xffffff, around & 0xffffff);
    // The centre is face, never background.
    QVERIFY((face.pixel(8, 8) & 0xffffff) != (around & 0xffffff) || set == MoodFaceSet::Mask);
    if (set == MoodFaceSet::Mask)
        QCOMPARE(face.pixel(8, 8) & 0xffffff, 0u);
}

void tst_Artwork::maskCoversExactlyTheOrPass_data()
{
    QTest::addColumn<int>("code");
    for (int code = 1; code <= 4; ++code)
        QTest::addRow("mood%d", code) << code;
}

void tst_Artwork::maskCoversExactlyTheOrPass()
{
    QFETCH(int, code);
    const QImage onBlack = moodFace(code, MoodFaceSet::OnBlack);
    const QImage mask = moodFace(code, MoodFaceSet::Mask);
    const QImage onWhite = moodFace(code, MoodFaceSet::OnWhite);
    int faceArea = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const QRgb m = mask.pixel(x, y) & 0xffffff;
            QVERIFY2(m == 0 || m == 0xffffff, "mask is pure black and white");
            const bool face = (onBlack.pixel(x, y) & 0xffffff) != 0;
            QCOMPARE(m == 0, face);
            faceArea += face;
            // Where the face is solid, both colour sets show the same pixel.
            if (face)
                QCOMPARE(onWhite.pixel(x, y), onBlack.pixel(x, y));
        }
    }
    QVERIFY(faceArea > 100);
    QVERIFY(faceArea < 256);
}

void tst_Artwork::maskAndOrShowsFaceOverBackground()
{
    // The graph's two passes: AND with the mask, then OR with the face over black.
    const QRgb background = qRgb(0xd9, 0xd9, 0xff);
    const QImage onBlack = moodFace(3, MoodFaceSet::OnBlack);
    const QImage mask = moodFace(3, MoodFaceSet::Mask);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const QRgb shown = ((background & mask.pixel(x, y)) | onBlack.pixel(x, y)) & 0xffffff;
            if (mask.pixel(x, y) & 0xffffff)
                QCOMPARE(shown, background & 0xffffff);
            else
                QCOMPARE(shown, onBlack.pixel(x, y) & 0xffffff);
        }
    }
}

void tst_Artwork::faceSetsDifferBetweenMoods()
{
    for (int a = 1; a <= 4; ++a)
        for (int b = a + 1; b <= 4; ++b)
            QVERIFY(moodFace(a, MoodFaceSet::OnWhite) != moodFace(b, MoodFaceSet::OnWhite));
}

void tst_Artwork::moodButtonPicturesHaveTransparentCorners()
{
    for (int code = 1; code <= 4; ++code) {
        const QImage picture = moodButtonPicture(code);
        QCOMPARE(picture.size(), QSize(16, 16));
        QVERIFY(picture.hasAlphaChannel());
        for (const QPoint &p : corners(picture))
            QVERIFY(isTransparent(picture, p.x(), p.y()));
        QCOMPARE(qAlpha(picture.pixel(8, 8)), 255);
    }
}

void tst_Artwork::headingIsOneColourOnTransparent()
{
    const QImage heading = reportHeading();
    QCOMPARE(heading.size(), QSize(459, 35));
    QCOMPARE(heading.format(), QImage::Format_ARGB32_Premultiplied);
    for (const QPoint &p : corners(heading))
        QVERIFY(isTransparent(heading, p.x(), p.y()));
    int solid = 0;
    for (int y = 0; y < heading.height(); ++y) {
        for (int x = 0; x < heading.width(); ++x) {
            // Raw premultiplied pixel: antialiasing scales the one colour by its coverage, and
            // overlapping edges add a little rounding on each blend.
            const QRgb p = heading.pixel(x, y);
            const int alpha = qAlpha(p);
            const auto near = [alpha](int channel, int full) {
                return qAbs(channel - full * alpha / 255) <= 3;
            };
            QVERIFY2(near(qRed(p), 10) && near(qGreen(p), 80) && near(qBlue(p), 161),
                qPrintable(QStringLiteral("%1,%2 %3").arg(x).arg(y).arg(p, 8, 16)));
            solid += alpha == 255;
        }
    }
    QVERIFY(solid > 1000);
}

void tst_Artwork::illustrationHasSizeAndColour()
{
    const QImage illustration = reportIllustration();
    QCOMPARE(illustration.size(), QSize(167, 95));
    for (const QPoint &p : corners(illustration))
        QVERIFY(isTransparent(illustration, p.x(), p.y()));
    QSet<QRgb> colours;
    for (int y = 0; y < illustration.height(); ++y)
        for (int x = 0; x < illustration.width(); ++x)
            if (qAlpha(illustration.pixel(x, y)) == 255)
                colours.insert(illustration.pixel(x, y));
    QVERIFY(colours.size() > 8);
}

void tst_Artwork::applicationIconHasSizes()
{
    const QIcon icon = applicationIcon();
    QVERIFY(!icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    QVERIFY(sizes.contains(QSize(16, 16)));
    QVERIFY(sizes.contains(QSize(128, 128)));
    // Offered sizes are baked at build time; any other size is drawn from the vector source.
    QSvgRenderer source(QStringLiteral(":/icons/pemira.svg"));
    for (QSize size : sizes + QList<QSize> {QSize(256, 256), QSize(20, 20)}) {
        const QImage image
            = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(image.size(), size);
        QVERIFY(isTransparent(image, 0, 0));
        QImage drawn(size, QImage::Format_ARGB32_Premultiplied);
        drawn.fill(Qt::transparent);
        QPainter painter(&drawn);
        source.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
        painter.end();
        QCOMPARE(image, drawn);
    }
}

void tst_Artwork::reportPicturesPaintAsVectors()
{
    // At 600 dpi the heading covers 2869 x 219 device pixels; drawn as a vector it stays in its
    // one colour and fills its rectangle.
    QImage page(2869, 219, QImage::Format_ARGB32_Premultiplied);
    page.fill(Qt::transparent);
    QPainter painter(&page);
    paintReportHeading(&painter, QRectF(0, 0, 2869, 219));
    paintReportIllustration(&painter, QRectF(0, 0, 0, 0));
    painter.end();
    int opaque = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            opaque += page.pixel(x, y) == qRgb(10, 80, 161);
    QVERIFY(opaque > 1000 * 6 * 6);
    QVERIFY(isTransparent(page, 2868, 218));
    paintReportHeading(nullptr, QRectF(0, 0, 10, 10));
    QPainter inactive;
    paintReportIllustration(&inactive, QRectF(0, 0, 10, 10));
}

void tst_Artwork::readyMadeStartPictureMatchesItsVector()
{
    // The start picture is baked at build time; this catches a stale or mis-sized bake.
    const QImage ready = figurePicture(1);
    const QImage vector = figureFromVector(1);
    QCOMPARE(ready.size(), vector.size());
    int worst = 0;
    for (int y = 0; y < ready.height(); ++y) {
        for (int x = 0; x < ready.width(); ++x) {
            const QRgb a = ready.pixel(x, y), b = vector.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
        }
    }
    QCOMPARE(worst, 0);
}

QTEST_MAIN(tst_Artwork)
#include "tst_artwork.moc"
