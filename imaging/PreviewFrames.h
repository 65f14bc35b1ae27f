#pragma once
// The widget-free half of the slide preview: reading an episode's show page, the frame count and
// time texts, the sprite sheet addresses, and cutting the sheets into one BMP per frame.
//
// Sheets hold 10 x 10 frames, one frame every 6 seconds; an episode has at most ten sheets.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace imaging {

inline constexpr int kSecondsPerFrame = 6;
inline constexpr int kSheetColumns = 10;
inline constexpr int kSheetRows = 10;
inline constexpr int kMaxSheets = 10;

// "hh:mm:ss" of a number of seconds: each part two digits at least, hours with all their digits.
std::string timeText(long long seconds);

// The frame count of an episode: duration / 6 - 1, truncated toward zero (0 or less: no preview).
int frameCount(long long durationSeconds);

// What the show page tells: the sprite id (text between {"id": and ,) and the duration in seconds
// (text between "duration": and , read as a number; a text that is no number gives 0).
struct ShowPageInfo {
    std::string spriteId;
    long long duration = 0;
};
ShowPageInfo parseShowPage(std::string_view page);

// Paths on PPTV's hosts: the show page of a PPTV id, and sprite sheet `sheet` (0 to 9) of a sprite id.
std::string showPagePath(std::string_view pptvId);
std::string spriteSheetPath(std::string_view spriteId, int sheet);

// The frames of one load. `tiles[k - 1]` is the BMP of frame k; tileWidth and tileHeight (real
// numbers) are those of the last sheet fetched.
struct PreviewTiles {
    std::vector<std::string> tiles;
    double tileWidth = 0;
    double tileHeight = 0;
    int sheetsFetched = 0;
};

// Answers the bytes of sprite sheet n (empty bytes when it cannot be fetched).
using FetchSheet = std::function<std::string(int sheet)>;

// Fetches sheets 0, 1, ... until `frames` tiles are cut or ten sheets were tried. A sheet that
// does not arrive or does not decode ends the fetching: the frames of later sheets would stand
// for the wrong times. A cut that fails adds empty bytes, so a sheet that decodes always adds its
// 100 tiles (fewer for the last one needed). With no frames wanted nothing is fetched: such a
// load cannot succeed.
PreviewTiles cutPreviewSheets(int frames, const FetchSheet &fetch);

// The frame a position on the preview bar stands for: trunc(maximum / barWidth * (x - barLeft)),
// clamped to 1..maximum.
int frameAt(int maximum, int barWidth, int x, int barLeft);

} // namespace imaging
