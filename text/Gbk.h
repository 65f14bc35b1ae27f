#pragma once
// The one boundary between GBK program texts and the other encodings they meet: Unicode where a
// text reaches a window (captions, edit boxes), UTF-8 where a web page sends it and where a file
// name reaches the file system on Linux.

#include <string>
#include <string_view>

namespace text {

// GBK bytes to UTF-8. Bytes that are not GBK become U+FFFD.
std::string gbkToUtf8(std::string_view gbk);
// UTF-8 to GBK. Characters GBK cannot hold become "?".
std::string utf8ToGbk(std::string_view utf8);

} // namespace text

namespace text {
// A program text written in the source (UTF-8) as the GBK bytes the program works with.
inline std::string gbk(std::string_view utf8Literal) { return utf8ToGbk(utf8Literal); }
} // namespace text
