// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/GraphPainter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <optional>

#include "colors/BgrColor.h"

using namespace GraphGeometry;

namespace {

constexpr quint32 FillColour = 16767449;
constexpr quint32 FineLineColour = 16772332;
constexpr quint32 KgLineColour = 16777215;
constexpr quint32 FirstSlotColour = 11002014;
constexpr quint32 SecondSlotColour = 15847111;
constexpr quint32 GraphLineColour = 255;

constexpr int ReferenceLineEnd = 900;
constexpr int MarkerRadius = 2;
constexpr int FaceLift = 40;

// Beyond these the picture shows nothing anyway; they keep every conversion to int defined.
constexpr double ValueLimit = 1e10;
constexpr double YLimit = 1e6;
// Record values are decimal texts: snapping to this grid first removes binary noise, so a
// decimal half such as 118.5 is recognised as a half.
constexpr double DecimalSnap = 1e6;

constexpr QRgb opaque(QRgb rgb)
{
    return rgb | 0xff000000u;
}

class Canvas
{
public:
    explicit Canvas(QImage &image)
        : m_image(image)
        , m_width(image.width())
        , m_height(image.height())
    { }

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }
    QRgb *row(int y) { return reinterpret_cast<QRgb *>(m_image.scanLine(y)); }

    void plot(int x, int y, QRgb colour)
    {
        if (contains(x, y))
            row(y)[x] = colour;
    }

    // Inclusive bounds, clipped.
    void fillRect(int left, int top, int right, int bottom, QRgb colour)
    {
        left = std::max(left, 0);
        top = std::max(top, 0);
        right = std::min(right, m_width - 1);
        bottom = std::min(bottom, m_height - 1);
        for (int y = top; y <= bottom; ++y)
            std::fill(row(y) + left, row(y) + right + 1, colour);
    }

    // A 1-px line from (x0, y0) towards (x1, y1) without its end point, as a pen moving from
    // point to point draws it, so that consecutive segments never set a pixel twice. Only the
    // steps inside the picture are visited, whatever the coordinates.
    void line(int x0, int y0, int x1, int y1, QRgb colour)
    {
        const qint64 dx = qint64(x1) - x0;
        const qint64 dy = qint64(y1) - y0;
        const bool xMajor = std::abs(dx) >= std::abs(dy);
        const qint64 steps = xMajor ? std::abs(dx) : std::abs(dy);
        if (steps == 0)
            return;
        const int step = (xMajor ? dx : dy) > 0 ? 1 : -1;
        const qint64 minorDelta = xMajor ? dy : dx;
        const qint64 majorStart = xMajor ? x0 : y0;
        const qint64 minorStart = xMajor ? y0 : x0;
        const qint64 majorExtent = xMajor ? m_width : m_height;

        // Steps i whose major coordinate majorStart + step * i lies in [0, majorExtent).
        qint64 first = 0;
        qint64 last = steps - 1;
        if (step > 0) {
            first = std::max(first, -majorStart);
            last = std::min(last, majorExtent - 1 - majorStart);
        } else {
            first = std::max(first, majorStart - (majorExtent - 1));
            last = std::min(last, majorStart);
        }
        for (qint64 i = first; i <= last; ++i) {
            const qint64 major = majorStart + step * i;
            // Nearest minor coordinate, halves towards the larger one.
            const qint64 numerator = 2 * i * minorDelta + steps;
            const qint64 minor = minorStart + floorDiv(numerator, 2 * steps);
            if (xMajor)
                plot(int(major), int(std::clamp<qint64>(minor, -1, m_height)), colour);
            else
                plot(int(std::clamp<qint64>(minor, -1, m_width)), int(major), colour);
        }
    }

    // The mask is ANDed, then the face ORed into the square, so only the face's non-black
    // pixels show and the graph around them stays.
    void maskedCopy(const QImage &face, const QImage &mask, int left, int top)
    {
        const int width = std::min({face.width(), mask.width(), FaceSize});
        const int height = std::min({face.height(), mask.height(), FaceSize});
        for (int fy = 0; fy < height; ++fy) {
            const int y = top + fy;
            if (y < 0 || y >= m_height)
                continue;
            const auto *faceRow = reinterpret_cast<const QRgb *>(face.constScanLine(fy));
            const auto *maskRow = reinterpret_cast<const QRgb *>(mask.constScanLine(fy));
            QRgb *target = row(y);
            for (int fx = 0; fx < width; ++fx) {
                const int x = left + fx;
                if (x < 0 || x >= m_width)
                    continue;
                target[x] = opaque((target[x] & maskRow[fx]) | faceRow[fx]);
            }
        }
    }

private:
    static qint64 floorDiv(qint64 a, qint64 b)
    {
        const qint64 q = a / b;
        return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
    }

    QImage &m_image;
    int m_width;
    int m_height;
};

bool isPixelReadable(const QImage &image)
{
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return true;
    default:
        return false;
    }
}

const QImage &readable(const QImage &image, QImage &converted)
{
    if (isPixelReadable(image))
        return image;
    converted = image.convertToFormat(QImage::Format_RGB32);
    return converted;
}

int roundHalfEven(double value)
{
    const double snapped = std::round(value * DecimalSnap) / DecimalSnap;
    const double lower = std::floor(snapped);
    const double fraction = snapped - lower;
    double result = lower;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(lower, 2.0) != 0.0))
        result = lower + 1.0;
    return int(result);
}

} // namespace

int plottedY(double value, int base)
{
    const double v = std::clamp(value, -ValueLimit, ValueLimit);
    const double y = Height - (v - (double(base) - 4.0)) * PixelsPerKg;
    return roundHalfEven(std::clamp(y, -YLimit, YLimit));
}

void paintGraphBackground(QImage &picture)
{
    if (picture.size() != QSize(Width, Height) || picture.format() != QImage::Format_RGB32)
        picture = QImage(Width, Height, QImage::Format_RGB32);

    // Every row is one of three patterns: the vertical slot lines cross the plain fill, the fine
    // lines and the kilogram lines alike. Copying whole rows keeps the erase cheap.
    std::array<std::array<QRgb, Width>, 3> patterns;
    const std::array<QRgb, 3> rowColours = {opaque(bgrToRgb(FillColour)),
        opaque(bgrToRgb(FineLineColour)), opaque(bgrToRgb(KgLineColour))};
    for (size_t p = 0; p < patterns.size(); ++p) {
        patterns[p].fill(rowColours[p]);
        for (int i = 1; i <= 31; ++i) {
            patterns[p][28 * i - 21] = opaque(bgrToRgb(FirstSlotColour));
            patterns[p][28 * i - 7] = opaque(bgrToRgb(SecondSlotColour));
        }
    }
    for (int y = 0; y < Height; ++y) {
        const int p = y % 30 == 0 && y > 0 ? 2 : (y % 6 == 0 && y > 0 ? 1 : 0);
        std::memcpy(picture.scanLine(y), patterns[p].data(), sizeof(patterns[p]));
    }
}

GraphResult screenGraphResult(const GraphLayout &layout)
{
    GraphResult result;
    result.hasBase = layout.first.has_value();
    result.base = layout.base;
    if (layout.first)
        result.endY = plottedY(*layout.first, layout.base);
    for (const GraphLayout::Step &step : layout.steps) {
        if (step.value) {
            result.endX = 14 * step.column + 7;
            result.endY = plottedY(*step.value, layout.base);
        }
    }
    return result;
}

GraphResult plotRow(
    QImage &picture, const GraphLayout &layout, const MoodFaces &faces, QColor referenceLineColour)
{
    if (!isPixelReadable(picture))
        picture = picture.convertToFormat(QImage::Format_RGB32);
    Canvas canvas(picture);

    QRgb pen = opaque(bgrToRgb(SecondSlotColour));
    int x = 7;
    int y = 0;
    if (layout.first) {
        y = plottedY(*layout.first, layout.base);
        pen = opaque(referenceLineColour.rgb());
        canvas.line(0, y, ReferenceLineEnd, y, pen);
    }

    const QRgb red = opaque(bgrToRgb(GraphLineColour));
    for (const GraphLayout::Step &step : layout.steps) {
        const int k = step.column;
        if (step.value) {
            const int nextX = 14 * k + 7;
            const int nextY = plottedY(*step.value, layout.base);
            canvas.line(x, y, nextX, nextY, red);
            x = nextX;
            y = nextY;
            pen = red;
        }
        if (step.mood < 0)
            continue;
        const QImage &face = faces.faces[std::size_t(step.mood)];
        const QImage &mask = faces.masks[std::size_t(step.mood)];
        if (face.isNull() || mask.isNull())
            continue;
        QImage faceCopy;
        QImage maskCopy;
        canvas.maskedCopy(readable(face, faceCopy), readable(mask, maskCopy), 14 * k,
            y - FaceLift > 0 ? y - FaceLift : 0);
    }

    canvas.fillRect(x - MarkerRadius, y - MarkerRadius, x + MarkerRadius, y + MarkerRadius, pen);
    GraphResult result;
    result.hasBase = layout.first.has_value();
    result.base = layout.base;
    result.endX = x;
    result.endY = y;
    return result;
}

GraphResult plotRow(QImage &picture, const TextGrid &table, int row, const MoodFaces &faces,
    QColor referenceLineColour)
{
    return plotRow(picture, graphLayout(table, row), faces, referenceLineColour);
}
