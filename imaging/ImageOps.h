#pragma once
// Byte-level image operations. Every picture travels through the program as a byte array holding a
// whole image file (std::string, as the network layer hands bodies over), exactly as downloaded or
// compiled in. Nothing here raises: failures answer false, empty bytes, 0 or a null image.
//
// All functions keep no state between calls and may run on any thread, in parallel.

#include <QImage>
#include <QUuid>

#include <string>
#include <string_view>

namespace imaging {

// Format codes of convertImage.
enum ImageFormat : int {
    FormatBmp = 1,
    FormatJpeg = 2,
    FormatGif = 3,
    FormatTiff = 4,
    FormatPng = 5,
};

// The frame dimension by which the frames of an animated picture are numbered.
inline constexpr QUuid frameDimensionTime{0x6AEDBD6D, 0x3FB5, 0x418A, 0x83, 0xA6, 0x7F, 0x45, 0x22, 0x9D, 0xC8, 0x72};

// Starts the image library for the whole process: loads the list of decoders and encoders once so
// that worker threads find them ready. Safe to call more than once and from any thread; answers
// whether every format of convertImage can be written.
bool startImageLibrary();

// Re-encodes `source` (any picture the decoders know) as BMP, JPEG, GIF, TIFF or PNG (format 1 to 5).
// When `fileName` (GBK) is not empty after trimming spaces at both ends, the encoded bytes are also
// written to that file, under the untrimmed name, replacing it. With `flattenOnWhite` any
// transparency is composited onto white before encoding. On success `result` receives the encoded
// bytes and the answer is true; otherwise `result` and the file are left untouched.
//
// BMPs are written uncompressed, bottom row first, pixel rows at offset 54: 24 bits per pixel, or
// 32 (blue, green, red, alpha) when the picture has an alpha channel.
bool convertImage(std::string_view source, int format, std::string_view fileName, std::string &result,
                  bool flattenOnWhite = false);

// The width (BMP header field at offset 18) and height (offset 22) of the picture. Bytes that do
// not start with "BM" are measured as the BMP convertImage would make of them. A field beyond the
// end of the bytes reads as 0, so empty or undecodable bytes answer 0.
int bitmapWidth(std::string_view image);
int bitmapHeight(std::string_view image);

// A new, self-contained BMP holding the rectangle whose top-left corner is column x, row y
// (counted from the top) of an uncompressed 8, 16, 24 or 32-bit BMP whose pixel rows start at
// offset 54 (1078 with the 256-entry palette of 8 bits). The rectangle is clipped to the bitmap.
// Empty bytes for a compressed or unsupported bitmap, a rectangle that starts outside it or holds
// no pixels, and a bitmap whose header claims more pixels than its bytes hold.
std::string cutBitmap(std::string_view bitmap, int x, int y, int width, int height);

// The first frame of the picture, decoded; a null image when the bytes do not decode.
QImage loadImageFrame(std::string_view image);

} // namespace imaging
