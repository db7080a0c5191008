#include "platform/qt/painter_device.h"

#include <QPainter>

namespace ovlet::platform {

QImage WrapDibLines(const void* bits, const picture::BitmapInfoHeader* info) {
    if (!bits || !info || info->biWidth <= 0 || info->biHeight <= 0 || info->biCompression != picture::BI_RGB)
        return {};
    const int width = info->biWidth;
    const int height = info->biHeight;
    const qsizetype stride = ((static_cast<qsizetype>(width) * info->biBitCount + 31) / 32) * 4;
    auto* data = static_cast<const uchar*>(bits);
    switch (info->biBitCount) {
        case 32:
            return QImage(data, width, height, stride, QImage::Format_RGB32);
        case 24:
            return QImage(data, width, height, stride, QImage::Format_BGR888);
        case 8:
        case 4:
        case 1: {
            const auto format = info->biBitCount == 8   ? QImage::Format_Indexed8
                                : info->biBitCount == 1 ? QImage::Format_Mono
                                                        : QImage::Format_Invalid;
            if (format == QImage::Format_Invalid) return {};
            QImage image(data, width, height, stride, format);
            const int entries = 1 << info->biBitCount;
            const int used = info->biClrUsed > 0 && info->biClrUsed < static_cast<std::uint32_t>(entries)
                                 ? static_cast<int>(info->biClrUsed)
                                 : entries;
            const auto* table =
                reinterpret_cast<const picture::RGBQuad*>(reinterpret_cast<const uchar*>(info) + info->biSize);
            QList<QRgb> colours(entries, qRgb(0, 0, 0));
            for (int i = 0; i < used; ++i) colours[i] = qRgb(table[i].red, table[i].green, table[i].blue);
            image.setColorTable(colours);
            return image;
        }
        default:
            return {};
    }
}

int PainterDevice::StretchDIBits(int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc, int srcWidth,
                                 int srcHeight, const void* bits, const picture::BitmapInfoHeader* info, std::uint32_t,
                                 std::uint32_t) {
    const QImage lines = WrapDibLines(bits, info);
    if (lines.isNull() || destWidth <= 0 || destHeight <= 0 || srcWidth <= 0 || srcHeight <= 0) return 0;
    // The lines are bottom-up: draw them through a vertical flip instead of copying them.
    // ySrc counts from the bottom line, which is the wrapped image's first row.
    const QRect source(xSrc, ySrc, srcWidth, srcHeight);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, destWidth < srcWidth || destHeight < srcHeight);
    painter.translate(xDest, yDest + destHeight);
    painter.scale(1.0, -1.0);
    painter.drawImage(QRect(0, 0, destWidth, destHeight), lines, source);
    painter.restore();
    return destHeight;
}

int PainterDevice::SetDIBitsToDevice(int xDest, int yDest, int width, int height, int xSrc, int ySrc, int, int,
                                     const void* bits, const picture::BitmapInfoHeader* info, std::uint32_t) {
    return StretchDIBits(xDest, yDest, width, height, xSrc, ySrc, width, height, bits, info, picture::DIB_RGB_COLORS,
                         picture::SRCCOPY);
}

}  // namespace ovlet::platform
