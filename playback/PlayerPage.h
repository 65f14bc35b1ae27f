#pragma once
// The local player page: which of four page templates and which play id the current choice
// (series, audio, site, episode) gives, and the page file written from them. Widget-free.

#include <string>
#include <string_view>

namespace playback {

// The four page templates (GBK), each with the placeholder "播放id" where the play id goes.
const std::string &sohuIdPageTemplate();
const std::string &sohuVidPageTemplate();
const std::string &letvPageTemplate();
const std::string &iqiyiPageTemplate();

// The id the trailer page plays.
inline constexpr std::string_view kTrailerPlayId = "78767656";

// True for the id forms the catalogue holds: digits; 32 hexadecimal digits + "&tvId=" + digits;
// "*" + lower-case letters and digits (a Tencent Video id).
bool hasPlayIdForm(std::string_view id);
// Markup characters as HTML character references.
std::string htmlEscaped(std::string_view text);
// The page text of a template for an id. An id of another form is HTML-escaped, so a crafted
// catalogue row or newly aired entry can never put markup or script into the page.
std::string playerPageText(std::string_view pageTemplate, std::string_view id);

// Tencent Video's cover page of a Tencent id, the id percent-encoded.
std::string tencentCoverAddress(std::string_view tencentId);

// Rebuilds selectedEpisodeIds for currentEpisode from the catalogue (TV series) and sets
// currentPlayId (TV series and movies). Rows outside a table leave everything unchanged.
void collectEpisodeIds();
// The template for the current series, audio and site, or nullptr when no page is to be written.
const std::string *pickPageTemplate();

// Steps of writing the page file at playerPagePath.
void deletePlayerPage();
bool writePlayerPageFile(std::string_view pageTemplate, std::string_view id); // replace and write
void hidePlayerPage();
// Deletes, writes and hides the page file. Answers whether the page was written.
bool writePlayerPage(std::string_view pageTemplate, std::string_view id);

// The marked-id rule: when currentPlayId holds a "*", tells the user and opens Tencent Video's
// cover page of the id after the last "*" in the system browser.
void openMarkedEpisode();

} // namespace playback
