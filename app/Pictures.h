#pragma once
// The pictures compiled into the program.

#include <string>
#include <string_view>

namespace app {
// The bytes of a compiled-in picture ("logo.png", "posters/poster_01.jpg", ...); empty if unknown.
std::string pictureBytes(std::string_view name);
} // namespace app
