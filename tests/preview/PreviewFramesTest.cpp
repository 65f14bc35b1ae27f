// The widget-free part of the slide preview: show page, frame count, time text, bar position and
// the cutting of sheets into frames.

#include "Pictures.h"
#include "imaging/ImageOps.h"
#include "imaging/PreviewFrames.h"

#include <gtest/gtest.h>

#include <map>

namespace {

TEST(PreviewFrames, TimeTextAndFrameCount) {
    const std::pair<long long, const char *> times[] = {
        {0, "00:00:00"}, {6, "00:00:06"}, {714, "00:11:54"}, {1440, "00:24:00"}, {3725, "01:02:05"}, {360000, "100:00:00"}};
    for (const auto &[seconds, expected] : times)
        EXPECT_EQ(imaging::timeText(seconds), expected) << seconds;

    const std::pair<long long, int> counts[] = {{1440, 239}, {0, -1}, {5, 0}, {11, 0}, {12, 1}, {6006, 1000}, {6012, 1001}};
    for (const auto &[duration, frames] : counts)
        EXPECT_EQ(imaging::frameCount(duration), frames) << duration;
}

TEST(PreviewFrames, ShowPageFields) {
    const imaging::ShowPageInfo info =
        imaging::parseShowPage(R"(<script>var webcfg = {"id":23456789,"title":"x","duration":1440,"pl":"a"};</script>)");
    EXPECT_EQ(info.spriteId, "23456789");
    EXPECT_EQ(info.duration, 1440);
    // A missing field or a text that is no number reads as 0.
    EXPECT_EQ(imaging::parseShowPage(R"({"id":1,"title":"x"})").duration, 0);
    EXPECT_EQ(imaging::parseShowPage(R"({"id":1,"duration":"long",)").duration, 0);
    EXPECT_EQ(imaging::parseShowPage(R"({"id":1,"duration":99999999999999999999999,)").duration, 1'000'000'000'000LL);
    EXPECT_EQ(imaging::parseShowPage("").spriteId, "");
    EXPECT_EQ(imaging::spriteSheetPath("23456789", 2), "/0/23456789_6_10x10_2_720.jpg");
    EXPECT_EQ(imaging::showPagePath("AbC"), "/show/AbC.html");
}

TEST(PreviewFrames, BarPositionToFrame) {
    EXPECT_EQ(imaging::frameAt(239, 261, 198, 68), 119);
    EXPECT_EQ(imaging::frameAt(239, 261, 68, 68), 1);    // left end
    EXPECT_EQ(imaging::frameAt(239, 261, 0, 68), 1);     // beyond it
    EXPECT_EQ(imaging::frameAt(239, 261, 329, 68), 239); // right end
    EXPECT_EQ(imaging::frameAt(239, 261, 900, 68), 239);
    EXPECT_EQ(imaging::frameAt(239, 0, 198, 68), 1);     // a bar without width
}

TEST(PreviewFrames, SheetsAreCutInReadingOrderUntilEnoughFrames) {
    std::map<int, std::string> sheets;
    for (int n = 0; n < 3; ++n)
        sheets[n] = servicesim::spriteSheetJpeg(n);
    std::vector<int> asked;
    auto fetch = [&](int n) {
        asked.push_back(n);
        const auto it = sheets.find(n);
        return it == sheets.end() ? std::string() : it->second;
    };

    imaging::PreviewTiles cut = imaging::cutPreviewSheets(239, fetch);
    EXPECT_EQ(asked, (std::vector<int>{0, 1, 2}));
    ASSERT_EQ(cut.tiles.size(), 239u);
    EXPECT_EQ(cut.tileWidth, 160.0);
    EXPECT_EQ(cut.tileHeight, 90.0);
    for (const std::string &tile : cut.tiles) {
        ASSERT_EQ(imaging::bitmapWidth(tile), 160);
        ASSERT_EQ(imaging::bitmapHeight(tile), 90);
    }

    // A missing sheet ends the fetching even when later sheets exist: their frames would stand
    // for the wrong times, so the count falls short.
    asked.clear();
    sheets.erase(1);
    sheets[3] = servicesim::spriteSheetJpeg(3);
    cut = imaging::cutPreviewSheets(239, fetch);
    EXPECT_EQ(asked, (std::vector<int>{0, 1}));
    EXPECT_EQ(cut.tiles.size(), 100u);
    EXPECT_EQ(cut.tileWidth, 0.0); // that of the last sheet asked for, which did not come

    // Bytes that are no picture count as a missing sheet; no frames wanted asks for nothing.
    asked.clear();
    cut = imaging::cutPreviewSheets(50, [&](int n) { asked.push_back(n); return std::string("BM not a bitmap"); });
    EXPECT_TRUE(cut.tiles.empty());
    EXPECT_EQ(asked, std::vector<int>{0});
    asked.clear();
    EXPECT_TRUE(imaging::cutPreviewSheets(0, fetch).tiles.empty());
    EXPECT_TRUE(asked.empty());
}

} // namespace
