#include "imaging/PreviewFrames.h"

#include "imaging/ImageOps.h"
#include "text/Text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace imaging {
namespace {

// The leading number of a text (blanks, a sign, digits and a fraction), truncated toward zero;
// 0 when the text does not start with a number. Absurd values are capped rather than overflowing.
long long leadingNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    constexpr long long kCap = 1'000'000'000'000LL;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(kCap, value * 10 + (text[i] - '0'));
    return negative ? -value : value;
}

} // namespace

std::string timeText(long long seconds) {
    const long long h = seconds / 3600;
    const long long m = (seconds - h * 3600) / 60;
    const long long s = seconds - h * 3600 - m * 60;
    auto part = [](long long v) { return (v < 10 ? "0" : "") + std::to_string(v); };
    return part(h) + ":" + part(m) + ":" + part(s);
}

int frameCount(long long durationSeconds) {
    const double frames = std::trunc(static_cast<double>(durationSeconds) / kSecondsPerFrame - 1);
    // Far beyond what ten sheets hold either way; capping keeps the conversion defined.
    return static_cast<int>(std::clamp(frames, -1e9, 1e9));
}

ShowPageInfo parseShowPage(std::string_view page) {
    ShowPageInfo info;
    info.spriteId = text::textBetween(page, "{\"id\":", ",");
    info.duration = leadingNumber(text::textBetween(page, "\"duration\":", ","));
    return info;
}

std::string showPagePath(std::string_view pptvId) { return "/show/" + std::string(pptvId) + ".html"; }

std::string spriteSheetPath(std::string_view spriteId, int sheet) {
    return "/0/" + std::string(spriteId) + "_6_10x10_" + std::to_string(sheet) + "_720.jpg";
}

PreviewTiles cutPreviewSheets(int frames, const FetchSheet &fetch) {
    PreviewTiles result;
    if (frames <= 0)
        return result;
    const size_t wanted = static_cast<size_t>(frames);
    result.tiles.reserve(std::min<size_t>(wanted, kMaxSheets * kSheetRows * kSheetColumns));
    bool complete = false;
    for (int n = 0; n < kMaxSheets && !complete; ++n) {
        const std::string sheet = fetch(n);
        ++result.sheetsFetched;
        result.tileHeight = bitmapHeight(sheet) / static_cast<double>(kSheetRows);
        result.tileWidth = bitmapWidth(sheet) / static_cast<double>(kSheetColumns);
        std::string bitmap;
        // The frames after a sheet that is missing would land in the wrong places: the load
        // stops short and fails rather than show them.
        if (!convertImage(sheet, FormatBmp, {}, bitmap, false))
            break;
        const int w = static_cast<int>(result.tileWidth), h = static_cast<int>(result.tileHeight);
        for (int r = 1; r <= kSheetRows && !complete; ++r) {
            for (int c = 1; c <= kSheetColumns && !complete; ++c) {
                result.tiles.push_back(cutBitmap(bitmap, static_cast<int>((c - 1) * result.tileWidth),
                                                 static_cast<int>((r - 1) * result.tileHeight), w, h));
                complete = result.tiles.size() >= wanted;
            }
        }
    }
    return result;
}

int frameAt(int maximum, int barWidth, int x, int barLeft) {
    double k = barWidth > 0 ? std::trunc(static_cast<double>(maximum) / barWidth * (x - barLeft)) : 0;
    if (k < 1)
        k = 1;
    else if (k > maximum)
        k = maximum;
    return static_cast<int>(k);
}

} // namespace imaging
