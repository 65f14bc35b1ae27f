#pragma once
// What is being played, shared by the play requests, the player page and the mini player. All of
// it is used on the GUI thread; texts are published whole anyway, like the program's other globals.

#include "text/SharedText.h"

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

namespace playback {

// The play ids of the episode last chosen in the main window's lists, one per site (Japanese
// audio: the Sohu id; Mandarin audio: Sohu, LeTV, iQiyi), stored as CR LF separated lines.
// Empty until an episode row is clicked.
extern text::SharedText selectedEpisodeIds;
std::vector<std::string> selectedIds();
void setSelectedIds(const std::vector<std::string> &ids);
// Element n (1-based) of selectedEpisodeIds, or nothing when the list is shorter.
bool selectedId(int n, std::string *id);

extern std::atomic<int> currentEpisode;     // 1-based episode or movie number being played; 0 at start
extern text::SharedText playingCaption;     // "正在播放：  第" + n + "集  " + title (GBK)
extern text::SharedText currentSite;        // "搜狐", "乐视" or "爱奇艺" (GBK); empty at start
extern text::SharedText currentPlayId;      // the id that goes into the player page
extern std::atomic<bool> miniPlayerFilled;  // false: the mini player's next activation fills it

// Site names as the program keeps them (GBK).
std::string siteSohu();
std::string siteLetv();
std::string siteIqiyi();

} // namespace playback
