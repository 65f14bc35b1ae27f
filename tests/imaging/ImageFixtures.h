#pragma once
// Pictures generated at test time for the image operation tests.

#include <QColor>
#include <QImage>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fixtures {

// Every pixel a colour of its own: red = x low byte, green = y low byte, blue = the high bits of both.
QRgb positionColor(int x, int y);
QImage positionImage(int width, int height, bool withAlpha = false);

// A sprite sheet of 10 x 10 flat regions, each in the colour regionColor(column, row).
QRgb regionColor(int column, int row);
QImage regionSheet(int width = 1600, int height = 900);

// The picture encoded by Qt ("png", "jpeg", ...).
std::string encode(const QImage &image, const char *format, int quality = -1);

// A GIF of one frame per colour, each filling the whole picture.
std::string animatedGif(int width, int height, const std::vector<QRgb> &frameColors);

// A hand-made uncompressed BMP: bottom row first, rows at 54 (1078 with a 256-entry palette at 8
// bits). Pixel bytes are a function of their position, so any copy can be checked byte for byte.
struct Bmp {
    int width = 0;
    int height = 0;
    int bits = 24;
    std::uint32_t compression = 0;
};
std::string makeBmp(const Bmp &shape);
std::uint8_t patternByte(int x, int y, int byteIndex);

// The bytes of pixel (x, y), counted from the top, of an uncompressed BMP whose rows start at the
// offset written in its header.
std::string_view pixelBytes(std::string_view bmp, int x, int y);

// Little-endian header fields.
std::int32_t field32(std::string_view bytes, std::size_t offset);
int field16(std::string_view bytes, std::size_t offset);

} // namespace fixtures
