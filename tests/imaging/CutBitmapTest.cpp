#include "ImageFixtures.h"
#include "imaging/ImageOps.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace imaging;
using namespace fixtures;

namespace {

struct Rect {
    int x, y, width, height;
};

std::int64_t strideOf(int width, int bits) { return ((std::int64_t(width) * bits + 31) >> 5) << 2; }

// `cut` is a complete BMP of the rectangle `area` (already clipped) of `source`: headers as written
// by a fresh BMP, the palette at 8 bits, every pixel copied, and zero padding after each row.
void expectCutOf(const std::string &source, const std::string &cut, Rect area) {
    const int bits = field16(source, 28);
    const int offset = bits == 8 ? 1078 : 54;
    const std::int64_t stride = strideOf(area.width, bits);
    ASSERT_EQ(std::int64_t(cut.size()), offset + stride * area.height);
    EXPECT_EQ(cut.substr(0, 2), "BM");
    EXPECT_EQ(field32(cut, 2), std::int32_t(cut.size()));
    EXPECT_EQ(field32(cut, 6), 0);
    EXPECT_EQ(field32(cut, 10), offset);
    EXPECT_EQ(field32(cut, 14), 40);
    EXPECT_EQ(field32(cut, 18), area.width);
    EXPECT_EQ(field32(cut, 22), area.height);
    EXPECT_EQ(field16(cut, 26), 1);
    EXPECT_EQ(field16(cut, 28), bits);
    EXPECT_EQ(cut.substr(30, 24), std::string(24, '\0'));
    if (bits == 8) {
        EXPECT_EQ(cut.substr(54, 1024), source.substr(54, 1024));
    }

    int wrongPixels = 0, dirtyPadding = 0;
    const int bytesPerPixel = bits / 8;
    for (int y = 0; y < area.height; ++y) {
        for (int x = 0; x < area.width; ++x)
            wrongPixels += pixelBytes(cut, x, y) != pixelBytes(source, area.x + x, area.y + y);
        const std::size_t rowEnd = std::size_t(offset + stride * y + area.width * bytesPerPixel);
        for (std::size_t at = rowEnd; at < std::size_t(offset + stride * (y + 1)); ++at)
            dirtyPadding += cut[at] != 0;
    }
    EXPECT_EQ(wrongPixels, 0);
    EXPECT_EQ(dirtyPadding, 0);
}

const std::string &sheetBitmap() {
    static const std::string bmp = [] {
        std::string converted;
        if (!convertImage(encode(regionSheet(), "jpeg", 90), 1, "", converted))
            throw std::runtime_error("the sprite sheet does not convert");
        return converted;
    }();
    return bmp;
}

TEST(CutBitmap, SpriteTileOfA24BitSheet) {
    const std::string tile = cutBitmap(sheetBitmap(), 160, 90, 160, 90);
    EXPECT_EQ(tile.size(), 43254u);
    EXPECT_EQ(field32(tile, 2), 43254);
    expectCutOf(sheetBitmap(), tile, {160, 90, 160, 90});
    const QImage picture = loadImageFrame(tile);
    ASSERT_EQ(picture.size(), QSize(160, 90));
    const QRgb centre = picture.pixel(80, 45);
    EXPECT_NEAR(qRed(centre), qRed(regionColor(1, 1)), 4);
    EXPECT_NEAR(qGreen(centre), qGreen(regionColor(1, 1)), 4);
    EXPECT_NEAR(qBlue(centre), qBlue(regionColor(1, 1)), 4);

    // Clipped at the right and the bottom edge.
    const std::string right = cutBitmap(sheetBitmap(), 1500, 0, 200, 90);
    EXPECT_EQ(field32(right, 18), 100);
    expectCutOf(sheetBitmap(), right, {1500, 0, 100, 90});
    expectCutOf(sheetBitmap(), cutBitmap(sheetBitmap(), 1550, 850, 160, 90), {1550, 850, 50, 50});
}

TEST(CutBitmap, CopiesPixelsAtEveryDepthAndClips) {
    struct Case {
        Rect asked, clipped;
    };
    // 37 pixels make rows that need padding at every depth but 32 bits.
    const Case cases[] = {
        {{0, 0, 5, 3}, {0, 0, 5, 3}},      {{3, 2, 7, 4}, {3, 2, 7, 4}},     {{30, 20, 10, 10}, {30, 20, 7, 3}},
        {{0, 0, 37, 23}, {0, 0, 37, 23}},  {{36, 22, 1, 1}, {36, 22, 1, 1}}, {{0, 22, 99, 5}, {0, 22, 37, 1}},
        {{1, 0, 36, 1}, {1, 0, 36, 1}},
    };
    for (int bits : {8, 16, 24, 32}) {
        const std::string source = makeBmp({37, 23, bits});
        for (const Case &c : cases) {
            SCOPED_TRACE(testing::Message() << bits << " bits at " << c.asked.x << "," << c.asked.y << " size "
                                            << c.asked.width << "x" << c.asked.height);
            expectCutOf(source, cutBitmap(source, c.asked.x, c.asked.y, c.asked.width, c.asked.height), c.clipped);
        }
    }
}

TEST(CutBitmap, AnswersEmptyBytesForWhatItCannotCut) {
    const std::string base = makeBmp({40, 30, 24});
    std::string topDown = base;
    topDown[22] = char(0xE2); // -30
    topDown[23] = topDown[24] = topDown[25] = char(0xFF);
    std::string huge = base.substr(0, 60);
    for (std::size_t at : {18u, 22u}) {
        huge[at] = huge[at + 1] = huge[at + 2] = char(0xFF);
        huge[at + 3] = 0x7F;
    }
    const std::string paletted = makeBmp({4, 4, 8});
    struct Case {
        const char *why;
        std::string bitmap;
        Rect area;
    };
    const Case cases[] = {
        {"width 0", base, {0, 0, 0, 10}},
        {"height 0", base, {0, 0, 10, 0}},
        {"negative width", base, {0, 0, -5, 10}},
        {"left of the picture", base, {-1, 0, 5, 5}},
        {"above the picture", base, {0, -1, 5, 5}},
        {"right of the picture", base, {41, 0, 5, 5}},
        {"below the picture", base, {0, 31, 5, 5}},
        {"on the right edge", base, {40, 0, 5, 5}},
        {"on the bottom edge", base, {0, 30, 5, 5}},
        {"compression 3", makeBmp({40, 30, 32, 3}), {0, 0, 5, 5}},
        {"4 bits", makeBmp({40, 30, 4}), {0, 0, 5, 5}},
        {"1 bit", makeBmp({40, 30, 1}), {0, 0, 5, 5}},
        {"12 bits", makeBmp({40, 30, 12}), {0, 0, 5, 5}},
        {"top-down rows", topDown, {0, 0, 5, 5}},
        {"empty", "", {0, 0, 5, 5}},
        {"shorter than the headers", base.substr(0, 53), {0, 0, 1, 1}},
        // Headers that claim more pixels than the bytes hold, cut where rows exist and where not.
        {"half the rows, top", base.substr(0, base.size() / 2), {0, 0, 5, 5}},
        {"half the rows, bottom", base.substr(0, base.size() / 2), {0, 25, 5, 5}},
        {"one byte short", base.substr(0, base.size() - 1), {35, 25, 5, 5}},
        {"palette cut off", paletted.substr(0, 600), {0, 0, 2, 2}},
        {"2^31 x 2^31 pixels in 60 bytes", huge, {0, 0, 5, 5}},
        {"2^31 x 2^31 pixels, far corner", huge, {2000000000, 2000000000, 5, 5}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(cutBitmap(c.bitmap, c.area.x, c.area.y, c.area.width, c.area.height), "") << c.why;
}

// The slide preview's work on a sheet: measure, convert, cut 10 x 10 tiles. Several loaders may run
// at once and must all cut the same tiles.
std::vector<std::string> cutSheet(const std::string &sheet) {
    const double tileHeight = bitmapHeight(sheet) / 10.0;
    const double tileWidth = bitmapWidth(sheet) / 10.0;
    std::string bitmap;
    if (!convertImage(sheet, 1, "", bitmap))
        return {};
    std::vector<std::string> tiles;
    for (int row = 0; row < 10; ++row)
        for (int column = 0; column < 10; ++column)
            tiles.push_back(cutBitmap(bitmap, int(column * tileWidth), int(row * tileHeight), int(tileWidth),
                                      int(tileHeight)));
    return tiles;
}

TEST(PreviewPipeline, LoadersCutTheSameTilesInParallel) {
    const std::string sheet = encode(regionSheet(), "jpeg", 90);
    std::vector<std::vector<std::string>> results(4);
    std::vector<std::thread> loaders;
    for (auto &result : results)
        loaders.emplace_back([&sheet, &result] { result = cutSheet(sheet); });
    for (auto &loader : loaders)
        loader.join();

    const std::vector<std::string> &tiles = results.front();
    ASSERT_EQ(tiles.size(), 100u);
    for (const auto &other : results)
        EXPECT_TRUE(other == tiles);
    for (int k = 0; k < 100; ++k) {
        SCOPED_TRACE(k);
        ASSERT_EQ(tiles[k].size(), 43254u);
        const QRgb centre = loadImageFrame(tiles[k]).pixel(80, 45);
        const QRgb expected = regionColor(k % 10, k / 10);
        EXPECT_NEAR(qRed(centre), qRed(expected), 4);
        EXPECT_NEAR(qGreen(centre), qGreen(expected), 4);
        EXPECT_NEAR(qBlue(centre), qBlue(expected), 4);
    }
}

} // namespace
