#include "imaging/ImageOps.h"

#include "text/Gbk.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

#include <gif_lib.h>
#include <turbojpeg.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

namespace imaging {

namespace {

constexpr std::int64_t kHeadersSize = 54; // file header (14) + info header (40)
constexpr std::int64_t kPaletteSize = 1024;
constexpr std::int64_t kPalettedDataOffset = kHeadersSize + kPaletteSize;

// Bytes of one BMP pixel row: the row's bits rounded up to whole 32-bit words.
std::int64_t rowStride(std::int64_t width, int bitsPerPixel) { return ((width * bitsPerPixel + 31) >> 5) << 2; }

void put16(char *at, std::uint16_t value) {
    at[0] = char(value & 0xFF);
    at[1] = char(value >> 8);
}

void put32(char *at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        at[i] = char((value >> (8 * i)) & 0xFF);
}

std::uint32_t get32(std::string_view bytes, std::size_t offset) {
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data()) + offset;
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

// A little-endian 32-bit field; 0 when it lies beyond the end of the bytes.
std::int32_t fieldAt(std::string_view bytes, std::size_t offset) {
    if (bytes.size() < offset + 4)
        return 0;
    return std::int32_t(get32(bytes, offset));
}

bool startsWith(std::string_view bytes, std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; }

// The 54 bytes of file and info header of an uncompressed BMP whose pixel rows follow the headers
// (and the 256-entry palette at 8 bits per pixel).
void writeHeaders(char *p, std::int32_t width, std::int32_t height, int bitsPerPixel, std::int64_t imageSize) {
    const std::int64_t dataOffset = bitsPerPixel == 8 ? kPalettedDataOffset : kHeadersSize;
    std::memset(p, 0, std::size_t(kHeadersSize)); // compression, image size, resolutions, colour counts: 0
    p[0] = 'B';
    p[1] = 'M';
    put32(p + 2, std::uint32_t(dataOffset + imageSize));
    put32(p + 10, std::uint32_t(dataOffset));
    put32(p + 14, 40);
    put32(p + 18, std::uint32_t(width));
    put32(p + 22, std::uint32_t(height));
    put16(p + 26, 1);
    put16(p + 28, std::uint16_t(bitsPerPixel));
}

// A zero-filled 24 or 32-bit BMP with its headers written; the caller fills the rows.
std::string newBitmap(std::int32_t width, std::int32_t height, int bitsPerPixel, std::int64_t imageSize) {
    std::string bmp(std::size_t(kHeadersSize + imageSize), '\0');
    writeHeaders(bmp.data(), width, height, bitsPerPixel, imageSize);
    return bmp;
}

// The largest BMP convertImage makes: the bound the process puts on a decoded picture
// (QImageReader::allocationLimit, 256 MB unless changed), and never beyond what the 32-bit size
// fields of a BMP can state.
std::int64_t maxBitmapBytes() {
    const std::int64_t fieldLimit = std::numeric_limits<std::int32_t>::max();
    const std::int64_t limit = std::int64_t(QImageReader::allocationLimit()) * 1024 * 1024;
    return limit > 0 ? std::min(limit, fieldLimit) : fieldLimit;
}

// ---- decoding ------------------------------------------------------------------------------------

bool looksLikeJpeg(std::string_view bytes) { return startsWith(bytes, "\xFF\xD8\xFF"); }

struct TurboJpegDecoder {
    tjhandle handle = tjInitDecompress();
    ~TurboJpegDecoder() {
        if (handle)
            tjDestroy(handle);
    }
};

// One decoder per thread: a handle must not be shared between threads, and making one per call
// would cost more than the header it reads.
tjhandle threadJpegDecoder() {
    thread_local TurboJpegDecoder decoder;
    return decoder.handle;
}

struct JpegSize {
    int width = 0;
    int height = 0;
    int colorspace = 0;
};

bool readJpegHeader(tjhandle decoder, std::string_view jpeg, JpegSize &size) {
    if (!decoder || !looksLikeJpeg(jpeg) || jpeg.size() > std::numeric_limits<unsigned long>::max())
        return false;
    int subsampling = 0;
    return tjDecompressHeader3(decoder, reinterpret_cast<const unsigned char *>(jpeg.data()),
                               static_cast<unsigned long>(jpeg.size()), &size.width, &size.height, &subsampling,
                               &size.colorspace) == 0 &&
           size.width > 0 && size.height > 0;
}

// Decodes a JPEG straight into the rows of a new 24-bit BMP: no intermediate picture, no copy.
// Answers false for anything the fast decoder does not take (CMYK, damaged headers, oversized
// pictures); those go the general way.
bool jpegToBitmap(std::string_view jpeg, std::string &bitmap) {
    tjhandle decoder = threadJpegDecoder();
    JpegSize size;
    if (!readJpegHeader(decoder, jpeg, size) || size.colorspace == TJCS_CMYK || size.colorspace == TJCS_YCCK)
        return false;
    const std::int64_t stride = rowStride(size.width, 24);
    const std::int64_t imageSize = stride * size.height;
    if (imageSize > maxBitmapBytes())
        return false;
    std::string bmp = newBitmap(size.width, size.height, 24, imageSize);
    auto *rows = reinterpret_cast<unsigned char *>(bmp.data() + kHeadersSize);
    // BMP rows are blue-green-red, bottom row first; the padding after each row stays zero.
    if (tjDecompress2(decoder, reinterpret_cast<const unsigned char *>(jpeg.data()),
                      static_cast<unsigned long>(jpeg.size()), rows, size.width, int(stride), size.height, TJPF_BGR,
                      TJFLAG_BOTTOMUP) != 0 &&
        tjGetErrorCode(decoder) != TJERR_WARNING) // a warning (e.g. a truncated scan) still gives a picture
        return false;
    bitmap = std::move(bmp);
    return true;
}

// The first frame of any picture Qt's decoders know, read in place from the bytes.
QImage decodeImage(std::string_view bytes) {
    if (bytes.size() > std::size_t(std::numeric_limits<qsizetype>::max()))
        return {};
    QByteArray raw = QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size()));
    QBuffer device(&raw);
    if (!device.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&device);
    QImage image;
    if (!reader.read(&image))
        return {};
    return image;
}

// ---- encoding ------------------------------------------------------------------------------------

// 24-bit BMP, or 32-bit blue-green-red-alpha when the picture has an alpha channel; rows at 54.
bool encodeBitmap(const QImage &image, std::string &bitmap) {
    const bool alpha = image.hasAlphaChannel();
    const int bits = alpha ? 32 : 24;
    const std::int64_t stride = rowStride(image.width(), bits);
    const std::int64_t imageSize = stride * image.height();
    if (image.isNull() || imageSize > maxBitmapBytes())
        return false;
    const QImage pixels = image.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_BGR888);
    if (pixels.isNull())
        return false;
    std::string bmp = newBitmap(pixels.width(), pixels.height(), bits, imageSize);
    const int height = pixels.height();
    for (int y = 0; y < height; ++y) {
        char *row = bmp.data() + kHeadersSize + stride * (height - 1 - y);
        if (alpha) {
            const auto *source = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
            for (int x = 0; x < pixels.width(); ++x, row += 4) {
                row[0] = char(qBlue(source[x]));
                row[1] = char(qGreen(source[x]));
                row[2] = char(qRed(source[x]));
                row[3] = char(qAlpha(source[x]));
            }
        } else {
            std::memcpy(row, pixels.constScanLine(y), std::size_t(pixels.width()) * 3);
        }
    }
    bitmap = std::move(bmp);
    return true;
}

int appendToString(GifFileType *gif, const GifByteType *data, int length) {
    static_cast<std::string *>(gif->UserData)->append(reinterpret_cast<const char *>(data), std::size_t(length));
    return length;
}

// A single-frame GIF with a palette of at most 256 colours chosen for the picture.
bool encodeGif(const QImage &image, std::string &gifBytes) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull() || rgb.width() > 0xFFFF || rgb.height() > 0xFFFF)
        return false;
    const int width = rgb.width();
    const int height = rgb.height();
    const std::size_t count = std::size_t(width) * std::size_t(height);
    std::vector<GifByteType> red(count), green(count), blue(count), indices(count);
    for (int y = 0; y < height; ++y) {
        const uchar *row = rgb.constScanLine(y);
        const std::size_t base = std::size_t(y) * std::size_t(width);
        for (int x = 0; x < width; ++x) {
            red[base + x] = row[3 * x];
            green[base + x] = row[3 * x + 1];
            blue[base + x] = row[3 * x + 2];
        }
    }
    GifColorType colors[256] = {};
    int colorCount = 256;
    if (GifQuantizeBuffer(unsigned(width), unsigned(height), &colorCount, red.data(), green.data(), blue.data(),
                          indices.data(), colors) == GIF_ERROR)
        return false;
    // A GIF colour table holds a power of two entries.
    const int bits = GifBitSize(colorCount);
    std::unique_ptr<ColorMapObject, void (*)(ColorMapObject *)> palette(GifMakeMapObject(1 << bits, colors),
                                                                        GifFreeMapObject);
    if (!palette)
        return false;

    std::string out;
    int error = 0;
    GifFileType *gif = EGifOpen(&out, appendToString, &error);
    if (!gif)
        return false;
    bool written = EGifPutScreenDesc(gif, width, height, bits, 0, palette.get()) == GIF_OK &&
                   EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
    for (int y = 0; written && y < height; ++y)
        written = EGifPutLine(gif, indices.data() + std::size_t(y) * std::size_t(width), width) == GIF_OK;
    written = EGifCloseFile(gif, &error) == GIF_OK && written; // closing writes the trailer and frees gif
    if (!written || out.empty())
        return false;
    gifBytes = std::move(out);
    return true;
}

bool encodeWithQt(const QImage &image, const char *format, std::string &encoded) {
    QByteArray bytes;
    QBuffer device(&bytes);
    if (!device.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&device, format);
    if (!writer.write(image) || bytes.isEmpty())
        return false;
    encoded.assign(bytes.constData(), std::size_t(bytes.size()));
    return true;
}

// Composites any transparency onto white.
QImage flattenedOnWhite(const QImage &image) {
    if (!image.hasAlphaChannel())
        return image;
    QImage flat(image.size(), QImage::Format_RGB32);
    if (flat.isNull())
        return {};
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    painter.end();
    return flat;
}

bool encodeImage(const QImage &image, int format, std::string &encoded) {
    switch (format) {
    case FormatBmp:
        return encodeBitmap(image, encoded);
    case FormatJpeg:
        return encodeWithQt(image, "jpeg", encoded);
    case FormatGif:
        return encodeGif(image, encoded);
    case FormatTiff:
        return encodeWithQt(image, "tiff", encoded);
    case FormatPng:
        return encodeWithQt(image, "png", encoded);
    default:
        return false;
    }
}

std::string_view trimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void writeFile(std::string_view gbkName, const std::string &bytes) {
    const std::string utf8 = text::gbkToUtf8(gbkName);
    QFile file(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes.data(), qint64(bytes.size()));
}

// ---- measuring -----------------------------------------------------------------------------------

constexpr std::size_t kWidthField = 18;
constexpr std::size_t kHeightField = 22;

int bitmapField(std::string_view image, std::size_t offset) {
    if (startsWith(image, "BM"))
        return fieldAt(image, offset);
    // A JPEG's size is in its header: decoding a whole sprite sheet only to read two numbers would
    // triple the work of the slide preview.
    JpegSize size;
    if (readJpegHeader(threadJpegDecoder(), image, size))
        return offset == kWidthField ? size.width : size.height;
    std::string bitmap;
    if (!convertImage(image, FormatBmp, {}, bitmap))
        return 0;
    return fieldAt(bitmap, offset);
}

// a * b for non-negative values, or -1 when it does not fit.
std::int64_t checkedProduct(std::int64_t a, std::int64_t b) {
    if (a != 0 && b > std::numeric_limits<std::int64_t>::max() / a)
        return -1;
    return a * b;
}

} // namespace

bool startImageLibrary() {
    static const bool ready = [] {
        QImageReader::supportedImageFormats();
        const QList<QByteArray> writable = QImageWriter::supportedImageFormats();
        return writable.contains("jpeg") && writable.contains("png") && writable.contains("tiff");
    }();
    return ready;
}

bool convertImage(std::string_view source, int format, std::string_view fileName, std::string &result,
                  bool flattenOnWhite) {
    if (source.size() < 3 || format < FormatBmp || format > FormatPng)
        return false;
    std::string encoded;
    if (format == FormatBmp && !flattenOnWhite && jpegToBitmap(source, encoded)) {
        // the sprite sheets of the slide preview take this way
    } else {
        QImage image = decodeImage(source);
        if (image.isNull())
            return false;
        if (flattenOnWhite)
            image = flattenedOnWhite(image);
        if (image.isNull() || !encodeImage(image, format, encoded))
            return false;
    }
    if (!trimSpaces(fileName).empty())
        writeFile(fileName, encoded);
    result = std::move(encoded);
    return true;
}

int bitmapWidth(std::string_view image) { return bitmapField(image, kWidthField); }

int bitmapHeight(std::string_view image) { return bitmapField(image, kHeightField); }

std::string cutBitmap(std::string_view bitmap, int x, int y, int width, int height) {
    if (bitmap.size() < std::size_t(kHeadersSize))
        return {};
    const std::int64_t sourceWidth = std::int32_t(get32(bitmap, 18));
    const std::int64_t sourceHeight = std::int32_t(get32(bitmap, 22));
    const int bits = std::uint8_t(bitmap[28]) | std::uint8_t(bitmap[29]) << 8;
    if (get32(bitmap, 30) != 0)
        return {};
    int bytesPerPixel = 0;
    switch (bits) {
    case 32: bytesPerPixel = 4; break;
    case 24: bytesPerPixel = 3; break;
    case 16: bytesPerPixel = 2; break;
    case 8: bytesPerPixel = 1; break;
    default: return {}; // below 8 bits, or a depth no BMP encoder here writes
    }
    const std::int64_t dataOffset = bits == 8 ? kPalettedDataOffset : kHeadersSize;
    if (x < 0 || x > sourceWidth || y < 0 || y > sourceHeight || width < 1 || height < 1)
        return {};
    std::int64_t cutWidth = width;
    std::int64_t cutHeight = height;
    if (x + cutWidth > sourceWidth)
        cutWidth = sourceWidth - x;
    if (y + cutHeight > sourceHeight)
        cutHeight = sourceHeight - y;
    if (cutWidth < 1 || cutHeight < 1) // the rectangle starts on the right or bottom edge
        return {};

    const std::int64_t sourceStride = rowStride(sourceWidth, bits);
    // The header may lie about the picture's size: the rows it claims must lie inside the given
    // bytes, so that no copy below reads outside them.
    const std::int64_t claimedRows = checkedProduct(sourceStride, sourceHeight);
    if (claimedRows < 0 || claimedRows > std::int64_t(bitmap.size()) - dataOffset)
        return {};
    const std::int64_t targetStride = rowStride(cutWidth, bits);
    const std::int64_t rowBytes = cutWidth * bytesPerPixel;
    // Rows are stored bottom row first: the cut's bottom row is source row H - y - height from the bottom.
    const std::int64_t firstRow = sourceHeight - cutHeight - y;

    // Built by appending, so that no byte is written twice: this runs a thousand times per preview.
    const std::int64_t imageSize = targetStride * cutHeight;
    std::string cut;
    cut.reserve(std::size_t(dataOffset + imageSize));
    cut.resize(std::size_t(kHeadersSize));
    writeHeaders(cut.data(), std::int32_t(cutWidth), std::int32_t(cutHeight), bits, imageSize);
    if (bits == 8)
        cut.append(bitmap.data() + kHeadersSize, std::size_t(kPaletteSize));
    const char *source = bitmap.data() + dataOffset + sourceStride * firstRow + x * bytesPerPixel;
    const std::size_t padding = std::size_t(targetStride - rowBytes);
    // Only the pixels are copied; the padding at the end of each row is zero.
    for (std::int64_t row = 0; row < cutHeight; ++row) {
        cut.append(source + sourceStride * row, std::size_t(rowBytes));
        cut.append(padding, '\0');
    }
    return cut;
}

QImage loadImageFrame(std::string_view image) { return decodeImage(image); }

} // namespace imaging
