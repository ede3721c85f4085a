// Build step: renders an SVG at one pixel size into a C++ array of premultiplied ARGB32 pixels,
// so a picture shown at start-up costs neither an image decoder nor a vector renderer.
// Usage: pemira_bake <in.svg> <width> <height> <out.h> <symbol>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s in.svg width height out.h symbol\n", argv[0]);
        return 2;
    }
    const int width = QByteArray(argv[2]).toInt();
    const int height = QByteArray(argv[3]).toInt();
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid() || width <= 0 || height <= 0) {
        std::fprintf(stderr, "%s: cannot render %s\n", argv[0], argv[1]);
        return 1;
    }
    // Exactly what the program's own renderer does, so both agree to the pixel.
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(0, 0, width, height));
    painter.end();

    const QByteArray symbol(argv[5]);
    QByteArray text = "// Generated from " + QByteArray(argv[1])
        + "; do not edit.\n#pragma once\n\n" + "#include <QtGlobal>\n\n";
    text += "inline constexpr int " + symbol + "Width = " + QByteArray::number(width) + ";\n";
    text += "inline constexpr int " + symbol + "Height = " + QByteArray::number(height) + ";\n";
    text += "alignas(16) inline constexpr quint32 " + symbol + "Pixels[] = {";
    for (int y = 0; y < height; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            text += ((y * width + x) % 8 == 0) ? "\n    " : " ";
            text += "0x" + QByteArray::number(line[x], 16).rightJustified(8, '0') + "u,";
        }
    }
    text += "\n};\n";

    QFile out(QString::fromLocal8Bit(argv[4]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(text) != text.size()
        || !out.flush()) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[4]);
        return 1;
    }
    return 0;
}
