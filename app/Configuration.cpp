#include "app/Configuration.h"

#include "catalog/Catalog.h"
#include "text/Gbk.h"
#include "ui/Files.h"

#include <charconv>

namespace app {

std::string versionToKeep(std::string_view stored) {
    // A text that does not start with a number counts as 0. The decimal point is always ".",
    // whatever the user's locale.
    std::string_view digits = stored;
    while (!digits.empty() && (digits.front() == ' ' || digits.front() == '\t' || digits.front() == '+'))
        digits.remove_prefix(1);
    double number = 0.0;
    std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (number - 1.2 <= 0.0000001)
        return std::string(kProgramVersion);
    return std::string(stored);
}

std::string loadLocalVersion(const std::string &configPath) {
    const std::string sectionAndKey = text::gbk(kVersionSectionAndKey);
    if (configPath.empty())
        return std::string(kProgramVersion);
    const std::string stored = ui::iniRead(configPath, sectionAndKey, sectionAndKey);
    const std::string version = versionToKeep(stored);
    if (version == kProgramVersion) // also rewrites a stored "1.2", unchanged
        ui::iniWrite(configPath, sectionAndKey, sectionAndKey, version);
    return version;
}

int mergeNewlyAiredFile(const std::string &path) {
    if (path.empty())
        return 0;
    if (!ui::fileExists(path))
        ui::writeFile(path, {});
    return catalog::mergeNewlyAired(ui::readFile(path).value_or(std::string()));
}

} // namespace app
