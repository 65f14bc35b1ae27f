#include "ImageFixtures.h"
#include "imaging/ImageOps.h"
#include "text/Gbk.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QUuid>

#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <cstdlib>
#include <random>
#include <vector>

using namespace imaging;
using namespace fixtures;

namespace {

const std::string kPngSignature = "\x89PNG\r\n\x1A\n";

const std::string &smallPng() {
    static const std::string png = encode(positionImage(37, 21), "png");
    return png;
}

const std::string &sheetJpeg() {
    static const std::string jpeg = encode(regionSheet(), "jpeg", 90);
    return jpeg;
}

QImage decoded(std::string_view bytes) {
    return QImage::fromData(reinterpret_cast<const uchar *>(bytes.data()), qsizetype(bytes.size()));
}

// The largest difference of one colour channel between two pictures of the same size.
int largestDifference(const QImage &a, const QImage &b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    int largest = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int column = 0; column < x.width(); ++column) {
            const QRgb p = x.pixel(column, row), q = y.pixel(column, row);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                std::abs(qBlue(p) - qBlue(q))});
        }
    return largest;
}

std::string randomBytes(std::size_t count, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(count, '\0');
    for (char &b : bytes)
        b = char(generator() & 0xFF);
    return bytes;
}

TEST(ConvertImage, EncodesEveryFormatAndKeepsThePicture) {
    struct Case {
        int format;
        std::vector<std::string> signatures; // any one of them starts the result
        bool lossless;
    };
    const Case cases[] = {
        {1, {"BM"}, true},
        {2, {"\xFF\xD8\xFF"}, false},
        {3, {"GIF87a", "GIF89a"}, false},
        {4, {std::string("II*\0", 4), std::string("MM\0*", 4)}, true},
        {5, {kPngSignature}, true},
    };
    const QImage original = decoded(smallPng());
    for (const Case &c : cases) {
        SCOPED_TRACE(c.format);
        std::string result;
        ASSERT_TRUE(convertImage(smallPng(), c.format, "", result));
        bool signed_ = false;
        for (const std::string &signature : c.signatures)
            signed_ = signed_ || result.starts_with(signature);
        EXPECT_TRUE(signed_) << result.substr(0, 8);
        const QImage back = decoded(result);
        ASSERT_EQ(back.size(), original.size());
        if (c.lossless)
            EXPECT_EQ(largestDifference(back, original), 0);
        else
            EXPECT_LT(largestDifference(back, original), 48);
    }
}

TEST(ConvertImage, RefusesAndLeavesTheResultAsItWas) {
    struct Case {
        std::string source;
        int format;
    };
    const Case cases[] = {
        {"\x89P", 1},                      // fewer than 3 bytes
        {"", 5},                           //
        {smallPng(), 7},                   // no such format
        {smallPng(), 0},                   //
        {"no picture at all, just text", 1}, // does not decode
        {randomBytes(5000, 7), 5},         //
    };
    for (const Case &c : cases) {
        std::string result = "kept";
        EXPECT_FALSE(convertImage(c.source, c.format, "", result)) << c.source.size() << " bytes, format " << c.format;
        EXPECT_EQ(result, "kept");
    }
}

TEST(ConvertImage, WritesTheFileOnlyForANameThatIsNotBlank) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    std::string result;
    EXPECT_TRUE(convertImage(smallPng(), 1, "   ", result));
    QDir::setCurrent(previous);
    EXPECT_TRUE(result.starts_with("BM"));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());

    // A GBK name reaches the file system as UTF-8; an existing, longer file is replaced.
    const QString path = dir.filePath(QStringLiteral("预览图.png"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'x'));
    }
    result.clear();
    ASSERT_TRUE(convertImage(smallPng(), 5, text::gbk(path.toStdString()), result));
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll().toStdString(), result);
    EXPECT_TRUE(result.starts_with(kPngSignature));

    // A failed conversion writes nothing.
    const QString untouched = dir.filePath("never.bmp");
    EXPECT_FALSE(convertImage("xyz", 1, untouched.toStdString(), result));
    EXPECT_FALSE(QFile::exists(untouched));
}

TEST(ConvertImage, AlphaIsKeptInBmpOrFlattenedOnWhite) {
    QImage picture(4, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(10, 20, 30, 0));   // fully transparent
    picture.setPixel(1, 0, qRgba(255, 0, 0, 255));  // opaque red
    picture.setPixel(2, 0, qRgba(0, 0, 255, 128));  // half transparent blue
    picture.setPixel(3, 0, qRgba(0, 200, 0, 255));  // opaque green
    const std::string png = encode(picture, "png");

    std::string kept;
    ASSERT_TRUE(convertImage(png, 1, "", kept));
    EXPECT_EQ(field16(kept, 28), 32);
    EXPECT_EQ(pixelBytes(kept, 2, 0), std::string("\xFF\x00\x00\x80", 4)); // blue, green, red, alpha
    EXPECT_EQ(pixelBytes(kept, 0, 0), std::string("\x1E\x14\x0A\x00", 4));

    std::string flat;
    ASSERT_TRUE(convertImage(png, 1, "", flat, true));
    EXPECT_EQ(field16(flat, 28), 24);
    EXPECT_EQ(pixelBytes(flat, 0, 0), "\xFF\xFF\xFF");
    EXPECT_EQ(pixelBytes(flat, 1, 0), std::string("\x00\x00\xFF", 3));
    const std::string_view half = pixelBytes(flat, 2, 0);
    EXPECT_EQ(std::uint8_t(half[0]), 255);
    EXPECT_NEAR(std::uint8_t(half[1]), 127, 1);
    EXPECT_NEAR(std::uint8_t(half[2]), 127, 1);

    // A flattened PNG has no alpha left.
    std::string flatPng;
    ASSERT_TRUE(convertImage(png, 5, "", flatPng, true));
    EXPECT_FALSE(decoded(flatPng).hasAlphaChannel());
}

// Sprite sheets are decoded straight into BMP rows; the picture must be the one Qt's decoder
// sees, also for the JPEG kinds that take the general way.
TEST(ConvertImage, JpegToBmpMatchesTheGeneralDecoder) {
    QImage grey = regionSheet(320, 180).convertToFormat(QImage::Format_Grayscale8);
    std::vector<std::pair<std::string, std::string>> jpegs = {
        {"colour sheet", sheetJpeg()},
        {"grey", encode(grey, "jpeg")},
        {"progressive", [] {
             QImage sheet = regionSheet(333, 177);
             QByteArray bytes;
             QBuffer buffer(&bytes);
             buffer.open(QIODevice::WriteOnly);
             QImageWriter writer(&buffer, "jpeg");
             writer.setProgressiveScanWrite(true);
             writer.write(sheet);
             return bytes.toStdString();
         }()},
    };
    { // CMYK, which the direct decoder leaves to Qt
        const QImage sheet = regionSheet(64, 48).convertToFormat(QImage::Format_RGBX8888);
        std::vector<unsigned char> cmyk(std::size_t(64 * 48 * 4));
        for (int i = 0; i < 64 * 48; ++i) {
            const uchar *p = sheet.constBits() + 4 * i;
            cmyk[4 * i] = 255 - p[0];
            cmyk[4 * i + 1] = 255 - p[1];
            cmyk[4 * i + 2] = 255 - p[2];
            cmyk[4 * i + 3] = 0;
        }
        tjhandle compressor = tjInitCompress();
        unsigned char *out = nullptr;
        unsigned long size = 0;
        ASSERT_EQ(tjCompress2(compressor, cmyk.data(), 64, 0, 48, TJPF_CMYK, &out, &size, TJSAMP_444, 95, 0), 0);
        jpegs.emplace_back("cmyk", std::string(reinterpret_cast<char *>(out), size));
        tjFree(out);
        tjDestroy(compressor);
    }
    for (const auto &[kind, jpeg] : jpegs) {
        SCOPED_TRACE(kind);
        std::string bmp;
        ASSERT_TRUE(convertImage(jpeg, 1, "", bmp));
        EXPECT_EQ(field16(bmp, 28), 24);
        const QImage expected = decoded(jpeg);
        const QImage actual = decoded(bmp);
        ASSERT_EQ(actual.size(), expected.size());
        EXPECT_LE(largestDifference(actual, expected), 1);
    }
}

TEST(ConvertImage, TruncatedJpegStillGivesTheWholePicture) {
    const std::string half = sheetJpeg().substr(0, sheetJpeg().size() / 2);
    std::string bmp;
    ASSERT_TRUE(convertImage(half, 1, "", bmp));
    EXPECT_EQ(bitmapWidth(bmp), 1600);
    EXPECT_EQ(bitmapHeight(bmp), 900);
    const QRgb topLeft = decoded(bmp).pixel(80, 45);
    EXPECT_NEAR(qRed(topLeft), qRed(regionColor(0, 0)), 6);
    EXPECT_NEAR(qBlue(topLeft), qBlue(regionColor(0, 0)), 6);
}

TEST(BitmapSize, ReadsTheHeaderOrMeasuresTheConvertedPicture) {
    std::string header(26, '\0'); // a BMP header alone: read directly, never decoded
    header[0] = 'B';
    header[1] = 'M';
    header[18] = char(0xD2); // 1234
    header[19] = char(0x04);
    header[22] = char(0xC8); // -56
    header[23] = header[24] = header[25] = char(0xFF);
    struct Case {
        std::string name, image;
        int width, height;
    };
    const Case cases[] = {
        {"1600 x 900 JPEG", sheetJpeg(), 1600, 900},
        {"PNG", smallPng(), 37, 21},
        {"animated GIF", animatedGif(12, 7, {qRgb(1, 2, 3), qRgb(4, 5, 6)}), 12, 7},
        {"BMP header", header, 1234, -56},
        {"BMP header without height", header.substr(0, 24), 1234, 0},
        {"BM and nothing", "BM", 0, 0},
        {"empty", "", 0, 0},
        {"random bytes", randomBytes(3000, 11), 0, 0},
        {"broken JPEG", "\xFF\xD8\xFF\xE0 broken", 0, 0},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(bitmapWidth(c.image), c.width) << c.name;
        EXPECT_EQ(bitmapHeight(c.image), c.height) << c.name;
    }
}

TEST(LoadImageFrame, DecodesTheFirstFrameOrNothing) {
    const QImage first = loadImageFrame(animatedGif(20, 10, {qRgb(200, 0, 0), qRgb(0, 200, 0), qRgb(0, 0, 200)}));
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(first.size(), QSize(20, 10));
    EXPECT_EQ(first.pixel(19, 9), qRgb(200, 0, 0));

    const QImage png = loadImageFrame(smallPng());
    ASSERT_EQ(png.size(), QSize(37, 21));
    EXPECT_EQ(png.pixel(36, 20), positionColor(36, 20));

    EXPECT_TRUE(loadImageFrame(randomBytes(4096, 3)).isNull());
    EXPECT_TRUE(loadImageFrame("").isNull());
}

TEST(ImageLibrary, StartsOnceAndNamesTheTimeDimension) {
    EXPECT_TRUE(startImageLibrary());
    EXPECT_TRUE(startImageLibrary());
    EXPECT_EQ(frameDimensionTime, QUuid::fromString(QStringLiteral("{6AEDBD6D-3FB5-418A-83A6-7F45229DC872}")));
}

} // namespace
