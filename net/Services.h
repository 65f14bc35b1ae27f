#pragma once
// Every outside web service the program talks to, as one table of host constants, and the route
// table that can send those hosts to a local stand-in without changing any address the program
// composes (the Host header and the path stay exactly what the real service would see).

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace net {

// Hosts of the outside services.
inline constexpr std::string_view kPlayerHost = "player.lanyingmi.net";   // Sohu and LeTV flash players
inline constexpr std::string_view kIqiyiPlayerHost = "www.iqiyi.com";     // iQiyi's own flash player
inline constexpr std::array<std::string_view, 10> kIqiyiPictureHosts = {
    "pic0.iqiyipic.com", "pic1.iqiyipic.com", "pic2.iqiyipic.com", "pic3.iqiyipic.com", "pic4.iqiyipic.com",
    "pic5.iqiyipic.com", "pic6.iqiyipic.com", "pic7.iqiyipic.com", "pic8.iqiyipic.com", "pic9.iqiyipic.com"};
inline constexpr std::string_view kYoukuHost = "v.youku.com";
inline constexpr std::string_view kTencentHost = "v.qq.com";
inline constexpr std::string_view kPptvPageHost = "v.pptv.com";
inline constexpr std::string_view kPptvImageHost = "img.pplive.cn";
inline constexpr std::string_view kNoteHost = "note.lanyingmi.net";       // the maker's note page
inline constexpr std::string_view kBoardHomeHost = "board.lanyingmi.net"; // the board account's home page
inline constexpr std::string_view kBoardContentHost = "bbs.lanyingmi.net";
inline constexpr std::string_view kCounterHost = "s4.cnzz.com";
inline constexpr std::string_view kUpdateFileHost = "dl.lanyingmi.net";

// Addresses and paths composed from those hosts.
inline constexpr std::string_view kPlayerHostAddress = "http://player.lanyingmi.net";
inline constexpr std::string_view kIqiyiPlayerAddress = "http://www.iqiyi.com";
inline constexpr std::string_view kYoukuShowAddress = "http://v.youku.com";   // + "/v_show/id_" + id + ".html"
inline constexpr std::string_view kTencentVideoAddress = "http://v.qq.com";   // + "/cover/5/53q0eh78q97e4d1/" + id + ".html"
inline constexpr std::string_view kPptvPageAddress = "http://v.pptv.com";     // + "/show/" + id + ".html"
inline constexpr std::string_view kPptvImageAddress = "http://img.pplive.cn"; // + "/0/" + sprite id + "_6_10x10_" + n + "_720.jpg"
inline constexpr std::string_view kNotePageAddress = "http://note.lanyingmi.net/lanyingmi/notice.html";
inline constexpr std::string_view kNotePagePath = "/lanyingmi/notice.html";
inline constexpr std::string_view kBoardAccount = "hexuan71840";
inline constexpr std::string_view kBoardHomeAddress = "http://board.lanyingmi.net/hexuan71840/";
inline constexpr std::string_view kBoardContentAddress = "http://bbs.lanyingmi.net/Ccenter.aspx?z="; // + board code
inline constexpr std::string_view kCaptchaAddress = "http://bbs.lanyingmi.net/sjzx/ys_vf_img.aspx?lx=hexuan71840ly";
inline constexpr std::string_view kBoardListId = "71840";
inline constexpr std::string_view kCounterSiteId = "1253447102";
inline constexpr std::string_view kCounterAddress = "http://s4.cnzz.com/stat.htm?id=1253447102";
inline constexpr std::string_view kUpdateFileAddressPrefix = "http://dl.lanyingmi.net/release/";

// Every host above, once.
std::vector<std::string_view> serviceHosts();

// One entry of the route table: connections meant for `host` (empty: any host) on `port`
// (0: any port) go to `toHost`:`toPort` instead. The request itself is not changed.
struct Route {
    std::string host;
    int port = 0;
    std::string toHost;
    int toPort = 0;
};

// The route table every request and download consults; the first matching entry wins. Empty in
// a production build. May be replaced from any thread; a transfer uses the table it found at its
// start.
void setRoutes(std::vector<Route> routes);
std::vector<Route> routes();
void clearRoutes();

// The loopback port the demo build routes every service host to; 0 in a production build.
int demoSimulatorPort();
// Routes every service host to 127.0.0.1:demoSimulatorPort(); does nothing when that is 0. The
// program calls it once at start.
void installDemoRoutes();

} // namespace net
