#include "ImageFixtures.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageWriter>

#include <gif_lib.h>

#include <stdexcept>

namespace fixtures {

QRgb positionColor(int x, int y) { return qRgb(x & 0xFF, y & 0xFF, ((x >> 8) << 4 | (y >> 8)) & 0xFF); }

QImage positionImage(int width, int height, bool withAlpha) {
    QImage image(width, height, withAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const QRgb c = positionColor(x, y);
            image.setPixel(x, y, withAlpha ? qRgba(qRed(c), qGreen(c), qBlue(c), (x * 7 + y) & 0xFF) : c);
        }
    return image;
}

QRgb regionColor(int column, int row) { return qRgb(column * 25 + 10, row * 25 + 10, 255 - (column + row) * 12); }

QImage regionSheet(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, regionColor(x * 10 / width, y * 10 / height));
    return image;
}

std::string encode(const QImage &image, const char *format, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    if (!writer.write(image))
        throw std::runtime_error("cannot encode the fixture as " + std::string(format));
    return bytes.toStdString();
}

namespace {
int appendTo(GifFileType *gif, const GifByteType *data, int length) {
    static_cast<std::string *>(gif->UserData)->append(reinterpret_cast<const char *>(data), std::size_t(length));
    return length;
}
} // namespace

std::string animatedGif(int width, int height, const std::vector<QRgb> &frameColors) {
    std::string out;
    int error = 0;
    GifFileType *gif = EGifOpen(&out, appendTo, &error);
    GifColorType colors[256] = {};
    for (std::size_t i = 0; i < frameColors.size(); ++i)
        colors[i] = {GifByteType(qRed(frameColors[i])), GifByteType(qGreen(frameColors[i])),
                     GifByteType(qBlue(frameColors[i]))};
    ColorMapObject *map = GifMakeMapObject(256, colors);
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, width, height, 8, 0, map);
    for (std::size_t i = 0; i < frameColors.size(); ++i) {
        // A graphic control block with a delay of 10 hundredths, as animations carry.
        GifByteType control[4] = {0, 10, 0, 0};
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control);
        EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr);
        std::vector<GifPixelType> line(static_cast<std::size_t>(width), static_cast<GifPixelType>(i));
        for (int y = 0; y < height; ++y)
            EGifPutLine(gif, line.data(), width);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

namespace {
void put32(std::string &bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
}
std::int64_t strideOf(int width, int bits) { return ((std::int64_t(width) * bits + 31) >> 5) << 2; }
} // namespace

std::uint8_t patternByte(int x, int y, int byteIndex) { return std::uint8_t(x * 3 + y * 7 + byteIndex * 101 + 1); }

std::string makeBmp(const Bmp &shape) {
    const std::int64_t offset = shape.bits == 8 ? 1078 : 54;
    const std::int64_t stride = strideOf(shape.width, shape.bits);
    std::string bmp(std::size_t(offset + stride * shape.height), '\xEE'); // padding visible as 0xEE
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(bmp, 2, std::uint32_t(bmp.size()));
    put32(bmp, 6, 0);
    put32(bmp, 10, std::uint32_t(offset));
    put32(bmp, 14, 40);
    put32(bmp, 18, std::uint32_t(shape.width));
    put32(bmp, 22, std::uint32_t(shape.height));
    put32(bmp, 26, 1 | std::uint32_t(shape.bits) << 16);
    put32(bmp, 30, shape.compression);
    for (std::size_t at = 34; at < 54; ++at)
        bmp[at] = 0;
    if (shape.bits == 8)
        for (int i = 0; i < 1024; ++i)
            bmp[54 + i] = char(255 - i % 256);
    const int bytesPerPixel = shape.bits / 8;
    for (int y = 0; y < shape.height; ++y) {
        const std::int64_t row = offset + stride * (shape.height - 1 - y);
        for (int x = 0; x < shape.width; ++x)
            for (int b = 0; b < bytesPerPixel; ++b)
                bmp[std::size_t(row + std::int64_t(x) * bytesPerPixel + b)] = char(patternByte(x, y, b));
    }
    return bmp;
}

std::int32_t field32(std::string_view bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | std::uint8_t(bytes.at(offset + i));
    return std::int32_t(value);
}

int field16(std::string_view bytes, std::size_t offset) {
    return std::uint8_t(bytes.at(offset)) | std::uint8_t(bytes.at(offset + 1)) << 8;
}

std::string_view pixelBytes(std::string_view bmp, int x, int y) {
    const int width = field32(bmp, 18);
    const int height = field32(bmp, 22);
    const int bits = field16(bmp, 28);
    const std::int64_t row = field32(bmp, 10) + strideOf(width, bits) * (height - 1 - y);
    return bmp.substr(std::size_t(row + std::int64_t(x) * (bits / 8)), std::size_t(bits / 8));
}

} // namespace fixtures
