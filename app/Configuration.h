#pragma once
// The program's configuration file and the other files it keeps in the documents folder.

#include <string>
#include <string_view>

namespace app {

// The version this program is, as the configuration file stores it.
inline constexpr std::string_view kProgramVersion = "1.2";
inline constexpr std::string_view kConfigFileName = "岚影迷_配置.ini"; // UTF-8 file name
inline constexpr std::string_view kVersionSectionAndKey = "版本号";    // written as GBK
inline constexpr std::string_view kPlayerPageFileName = "岚影目录.htm";
inline constexpr std::string_view kDownloadedProgramFileName = "岚影迷.exe.tmp";

// The version to keep given the stored one: a stored version greater than 1.2 (by more than
// 1e-7) stays; a missing, empty, non-numeric or older one becomes "1.2".
std::string versionToKeep(std::string_view stored);

// Reads the stored version at `configPath`, writes "1.2" back when the rule above replaces it, and
// answers the version in force. An empty path (no documents folder) touches no file.
std::string loadLocalVersion(const std::string &configPath);

// Merges the newly aired episodes file at `path` into the catalogue, creating the file empty when
// it is missing. Answers the number of episodes merged.
int mergeNewlyAiredFile(const std::string &path);

} // namespace app
