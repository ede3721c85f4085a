// SPDX-License-Identifier: GPL-3.0-or-later
// Build step: renders an SVG at the given pixel sizes into C++ arrays of premultiplied ARGB32
// pixels, so pictures needed at start-up cost neither an image decoder nor a vector renderer.
// Usage: pemira_bake <in.svg> <out.h> <symbol> <width>x<height>...
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s in.svg out.h symbol WIDTHxHEIGHT...\n", argv[0]);
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
        return 1;
    }
    const QByteArray symbol(argv[3]);
    QByteArray text = "// Generated from " + QByteArray(argv[1]) + "; do not edit.\n";
    text += "#pragma once\n\n#include \"artwork/BakedImage.h\"\n";
    QByteArray table = "\ninline constexpr BakedImage " + symbol + "[] = {\n";
    for (int i = 4; i < argc; ++i) {
        const QList<QByteArray> size = QByteArray(argv[i]).split('x');
        const int width = size.value(0).toInt(), height = size.value(1).toInt();
        if (size.size() != 2 || width <= 0 || height <= 0 || width > 4096 || height > 4096) {
            std::fprintf(stderr, "%s: bad size %s\n", argv[0], argv[i]);
            return 2;
        }
        // Exactly what the program's own renderer does, so both agree to the pixel.
        QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter, QRectF(0, 0, width, height));
        painter.end();

        const QByteArray name = symbol + "Pixels" + QByteArray::number(i - 4);
        text += "\nalignas(16) inline constexpr quint32 " + name + "[] = {";
        for (int y = 0; y < height; ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            for (int x = 0; x < width; ++x) {
                text += ((y * width + x) % 8 == 0) ? "\n    " : " ";
                text += "0x" + QByteArray::number(line[x], 16).rightJustified(8, '0') + "u,";
            }
        }
        text += "\n};\n";
        table += "    {" + QByteArray::number(width) + ", " + QByteArray::number(height) + ", "
            + name + "},\n";
    }
    text += table + "};\n";

    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(text) != text.size()
        || !out.flush()) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
