#pragma once
// Whole-file helpers and the program's INI file. File names are UTF-8 paths; file contents and
// INI sections, keys and values are GBK bytes, written with CR LF line ends.

#include <optional>
#include <string>
#include <string_view>

namespace ui {

bool fileExists(const std::string &path);
bool deleteFile(const std::string &path);
// The whole file as bytes; nothing when it cannot be read.
std::optional<std::string> readFile(const std::string &path);
// Replaces the file through a temporary file and a rename, so a failed write never leaves a
// half-written file under the name. Answers false on any failure.
bool writeFile(const std::string &path, std::string_view bytes);
// Marks a file hidden where the file system has such an attribute (Windows); a no-op elsewhere.
bool setHidden(const std::string &path);

// INI texts: `[section]` lines and `key=value` lines. Reading answers `fallback` when the file,
// the section or the key is missing.
std::string iniRead(const std::string &path, std::string_view section, std::string_view key,
                    std::string_view fallback = {});
// Sets one key, keeping every other line of the file. Answers false when the file cannot be written.
bool iniWrite(const std::string &path, std::string_view section, std::string_view key, std::string_view value);

// The INI text with one key set (the pure part of iniWrite).
std::string iniWithValue(std::string_view ini, std::string_view section, std::string_view key,
                         std::string_view value);

} // namespace ui
