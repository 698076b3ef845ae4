#include "PwgRaster.h"

#include <QFile>
#include <QtEndian>

namespace testing_support {
namespace {

constexpr int HeaderSize = 1796;

quint32 Field(const QByteArray &header, int offset) {
    return qFromBigEndian<quint32>(header.constData() + offset);
}

} // namespace

std::vector<PwgPage> ReadPwgRaster(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    if (!data.startsWith("RaS2"))
        return {};
    std::vector<PwgPage> pages;
    qsizetype at = 4;
    while (at + HeaderSize <= data.size()) {
        const QByteArray header = data.mid(at, HeaderSize);
        at += HeaderSize;
        const int width = int(Field(header, 372));
        const int height = int(Field(header, 376));
        const int bitsPerColour = int(Field(header, 384));
        const int bytesPerPixel = int(Field(header, 388)) / 8;
        if (bitsPerColour != 8 || (bytesPerPixel != 1 && bytesPerPixel != 3) || width <= 0)
            return {};
        PwgPage page{int(Field(header, 276)), int(Field(header, 280)),
                     QImage(width, height, QImage::Format_Grayscale8)};
        QByteArray line(qsizetype(width) * bytesPerPixel, '\xff');
        int y = 0;
        while (y < height && at < data.size()) {
            // A line: how often it repeats, then runs of repeated or literal pixels; 128
            // leaves the rest of the line white.
            int repeat = quint8(data[at++]) + 1;
            int x = 0;
            while (x < width && at < data.size()) {
                const int control = quint8(data[at++]);
                if (control == 128) {
                    std::fill(line.begin() + x * bytesPerPixel, line.end(), '\xff');
                    x = width;
                } else if (control < 128) {
                    const QByteArray pixel = data.mid(at, bytesPerPixel);
                    at += bytesPerPixel;
                    for (int n = 0; n <= control && x < width; ++n, ++x)
                        line.replace(qsizetype(x) * bytesPerPixel, bytesPerPixel, pixel);
                } else {
                    const int count = 257 - control;
                    for (int n = 0; n < count && x < width; ++n, ++x, at += bytesPerPixel)
                        line.replace(qsizetype(x) * bytesPerPixel, bytesPerPixel,
                                     data.mid(at, bytesPerPixel));
                }
            }
            for (; repeat > 0 && y < height; --repeat, ++y) {
                uchar *row = page.image.scanLine(y);
                for (int px = 0; px < width; ++px) {
                    const auto *p = reinterpret_cast<const uchar *>(line.constData()) +
                                    qsizetype(px) * bytesPerPixel;
                    row[px] =
                        bytesPerPixel == 1 ? p[0] : uchar((p[0] * 11 + p[1] * 16 + p[2] * 5) / 32);
                }
            }
        }
        pages.push_back(std::move(page));
    }
    return pages;
}

} // namespace testing_support
