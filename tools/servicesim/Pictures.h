#pragma once
// The pictures the simulator serves, drawn on request so they can be checked by eye: each shows
// what it stands for.

#include <string>
#include <string_view>

namespace servicesim {

// A 160 x 90 JPEG thumbnail: `caption` large (such as "第12集"), `detail` small below it.
std::string thumbnailJpeg(std::string_view caption, std::string_view detail, int seed);

// A 1600 x 900 JPEG sprite sheet of 10 x 10 frames of 160 x 90: every frame shows its sheet, its
// index in the sheet (1 to 100) and the time it stands for ((sheet * 100 + index) * 6 seconds).
std::string spriteSheetJpeg(int sheet);

// A 100 x 35 JPEG captcha showing `text`.
std::string captchaJpeg(std::string_view text);

} // namespace servicesim
