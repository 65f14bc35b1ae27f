#include "playback/PlaybackState.h"

#include "text/Gbk.h"
#include "text/Text.h"

namespace playback {

text::SharedText selectedEpisodeIds;
std::atomic<int> currentEpisode{0};
text::SharedText playingCaption;
text::SharedText currentSite;
text::SharedText currentPlayId;
std::atomic<bool> miniPlayerFilled{false};

std::vector<std::string> selectedIds() {
    const std::string joined = selectedEpisodeIds.get();
    std::vector<std::string> ids;
    for (std::string_view line : text::splitLines(joined))
        ids.emplace_back(line);
    return ids;
}

void setSelectedIds(const std::vector<std::string> &ids) {
    std::string joined;
    for (const std::string &id : ids) {
        joined += id;
        joined += "\r\n";
    }
    selectedEpisodeIds.set(joined);
}

bool selectedId(int n, std::string *id) {
    const std::vector<std::string> ids = selectedIds();
    if (n < 1 || n > static_cast<int>(ids.size()))
        return false;
    *id = ids[n - 1];
    return true;
}

std::string siteSohu() { return text::gbk("搜狐"); }
std::string siteLetv() { return text::gbk("乐视"); }
std::string siteIqiyi() { return text::gbk("爱奇艺"); }

} // namespace playback
