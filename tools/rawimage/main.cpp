// Turns a picture into the raw 32-bit image the program maps straight out
// of its resources at start-up, so that no PNG is decoded then:
// "VKRAW1\0\0", width and height as little-endian 32-bit numbers, then the
// rows of 0xAARRGGBB pixels, 4 bytes each, top row first.
#include <QFile>
#include <QImage>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: rawimage IN.png OUT.raw\n");
        return 2;
    }
    const QImage image = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    if (image.isNull()) {
        std::fprintf(stderr, "rawimage: cannot read %s\n", argv[1]);
        return 1;
    }
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "rawimage: cannot write %s\n", argv[2]);
        return 1;
    }
    const auto le32 = [](quint32 v) {
        const char bytes[4] = {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
        return QByteArray(bytes, 4);
    };
    QByteArray header("VKRAW1\0\0", 8);
    header += le32(static_cast<quint32>(image.width()));
    header += le32(static_cast<quint32>(image.height()));
    out.write(header);
    for (int y = 0; y < image.height(); ++y)
        out.write(reinterpret_cast<const char *>(image.constScanLine(y)), image.width() * 4);
    return out.error() == QFileDevice::NoError ? 0 : 1;
}
