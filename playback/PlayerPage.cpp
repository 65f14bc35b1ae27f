#include "playback/PlayerPage.h"

#include "catalog/Catalog.h"
#include "net/Services.h"
#include "playback/PlaybackState.h"
#include "text/Gbk.h"
#include "text/Text.h"
#include "ui/Files.h"
#include "playback/SystemBrowser.h"
#include "ui/ProgramState.h"
#include "ui/Runtime.h"

#include <vector>

namespace playback {
namespace {

const std::string kPageHead = "<html style=\"height:100%;margin:0\">\r\n<head>\r\n</head>\r\n"
                              "<body style=\"height:100%;margin:0\">\r\n";
const std::string kPageTail = "\r\n</body>\r\n</html>";

std::string placeholder() { return text::gbk("播放id"); }

std::string host(std::string_view address) { return std::string(address); }

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHexDigit(char c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool allOf(std::string_view s, bool (*test)(char)) {
    for (char c : s)
        if (!test(c))
            return false;
    return true;
}

bool isTv() { return catalog::currentSeries.equals(text::gbk(catalog::kSeriesTv)); }
bool isMovies() { return catalog::currentSeries.equals(text::gbk(catalog::kSeriesMovies)); }
bool isJapanese() { return catalog::currentAudio.equals(text::gbk(catalog::kAudioJapanese)); }

// The value of row n, or nothing when the table has no such row.
bool rowValue(catalog::TableId table, int n, std::string *value) {
    const catalog::Table &t = catalog::tables()[table];
    if (n < 1 || n > t.rowCount())
        return false;
    *value = t.value(n);
    return true;
}

} // namespace

const std::string &sohuIdPageTemplate() {
    static const std::string page =
        kPageHead +
        "<embed allownetworking=\"internal\" allowfullscreen=\"true\" allowscriptaccess=\"never\" src=\"" +
        host(net::kPlayerHostAddress) + "/sohu_20140917.swf?id=" + placeholder() +
        "&topBar=0&autoplay=true&rewriteType=5&shareBtn=0&likeBtn=0&topBarFull=0&topBarNor=0&sogouBtn=0\" "
        "type=\"application/x-shockwave-flash\" width=\"100%\" height=\"100%\" style=\"display: block;\">" +
        kPageTail;
    return page;
}

const std::string &sohuVidPageTemplate() {
    static const std::string page =
        kPageHead +
        "<embed allownetworking=\"internal\" allowfullscreen=\"true\" allowscriptaccess=\"never\" src=\"" +
        host(net::kPlayerHostAddress) + "/sohu_20140917.swf?vid=" + placeholder() +
        "&skinNum=1&topBar=0&showRecommend=0&autoplay=true&api_key=5e1f93c07ad2e8b4f61c39a0d7e2b58f&sogouBtn=0\" "
        "type=\"application/x-shockwave-flash\" width=\"100%\" height=\"100%\" style=\"display: block;\">" +
        kPageTail;
    return page;
}

const std::string &letvPageTemplate() {
    static const std::string page =
        kPageHead +
        "<object width='100%' height='100%'><param name='allowFullScreen' value='true'><param name='movie' value='" +
        host(net::kPlayerHostAddress) + "/20150110_letv.swf?autoPlay=1&id=" + placeholder() + "'/><embed src='" +
        host(net::kPlayerHostAddress) + "/20150110_letv.swf?autoPlay=1&id=" + placeholder() +
        "' width='100%' height='100%' allowFullScreen='true' type='application/x-shockwave-flash'/></object> " +
        kPageTail;
    return page;
}

const std::string &iqiyiPageTemplate() {
    static const std::string page =
        kPageHead + "<embed type=\"application/x-shockwave-flash\" src=\"" + host(net::kIqiyiPlayerAddress) +
        "/player/20140730103714/Player.swf?definitionID=" + placeholder() +
        "&menu=false&autoplay=true&cid=qc_100001_100100&=undefined\" width=\"100%\" height=\"100%\" "
        "bgcolor=\"#000000\" quality=\"high\" allowfullscreen=\"true\" allowscriptaccess=\"always\" "
        "wmode=\"opaque\" salign=\"lt\" flashvars=\"\">" +
        kPageTail;
    return page;
}

bool hasPlayIdForm(std::string_view id) {
    if (!id.empty() && allOf(id, isDigit))
        return true;
    if (id.size() >= 2 && id.front() == '*')
        return allOf(id.substr(1), [](char c) { return isDigit(c) || (c >= 'a' && c <= 'z'); });
    constexpr std::string_view tvId = "&tvId=";
    if (id.size() > 32 + tvId.size() && id.substr(32, tvId.size()) == tvId)
        return allOf(id.substr(0, 32), isHexDigit) && allOf(id.substr(32 + tvId.size()), isDigit);
    return false;
}

std::string htmlEscaped(std::string_view text) {
    // GBK trail bytes are 0x40 or above, so none of these bytes is ever half of a character.
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&#39;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string playerPageText(std::string_view pageTemplate, std::string_view id) {
    const std::string safeId = hasPlayIdForm(id) ? std::string(id) : htmlEscaped(id);
    const std::string mark = placeholder();
    return text::replaceMany(pageTemplate, {{mark, safeId}});
}

std::string tencentCoverAddress(std::string_view tencentId) {
    static const char hex[] = "0123456789ABCDEF";
    std::string encoded;
    for (unsigned char c : tencentId) {
        if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' || c == '_' ||
            c == '.' || c == '~') {
            encoded += static_cast<char>(c);
        } else {
            encoded += '%';
            encoded += hex[c >> 4];
            encoded += hex[c & 15];
        }
    }
    return std::string(net::kTencentVideoAddress) + "/cover/5/53q0eh78q97e4d1/" + encoded + ".html";
}

void collectEpisodeIds() {
    const int n = currentEpisode.load();
    if (isTv()) {
        std::vector<std::string> ids;
        std::string value;
        if (isJapanese()) {
            if (!rowValue(catalog::TableId::JapaneseSohuIds, n, &value))
                return;
            ids.push_back(value);
        } else {
            for (catalog::TableId table : {catalog::TableId::MandarinSohuIds, catalog::TableId::MandarinLetvIds,
                                           catalog::TableId::MandarinIqiyiIds}) {
                if (!rowValue(table, n, &value))
                    return;
                ids.push_back(value);
            }
        }
        setSelectedIds(ids);
        if (isJapanese()) {
            currentPlayId.set(ids[0]);
            return;
        }
        const std::string site = currentSite.get();
        if (site == siteSohu())
            currentPlayId.set(ids[0]);
        else if (site == siteLetv())
            currentPlayId.set(ids[1]);
        else if (site == siteIqiyi())
            currentPlayId.set(ids[2]);
        return;
    }
    if (isMovies()) {
        std::string value;
        if (rowValue(catalog::TableId::MovieVideoIds, n, &value))
            currentPlayId.set(value);
    }
}

const std::string *pickPageTemplate() {
    if (isTv()) {
        if (isJapanese())
            return &sohuIdPageTemplate();
        const std::string site = currentSite.get();
        if (site == siteLetv())
            return &letvPageTemplate();
        if (site == siteIqiyi())
            return &iqiyiPageTemplate();
        return &sohuVidPageTemplate();
    }
    if (isMovies())
        return &letvPageTemplate();
    return nullptr;
}

void deletePlayerPage() { ui::deleteFile(ui::playerPagePath.get()); }

bool writePlayerPageFile(std::string_view pageTemplate, std::string_view id) {
    return ui::writeFile(ui::playerPagePath.get(), playerPageText(pageTemplate, id));
}

void hidePlayerPage() { ui::setHidden(ui::playerPagePath.get()); }

bool writePlayerPage(std::string_view pageTemplate, std::string_view id) {
    deletePlayerPage();
    const bool written = writePlayerPageFile(pageTemplate, id);
    hidePlayerPage();
    return written;
}

void openMarkedEpisode() {
    const std::string id = currentPlayId.get();
    if (id.find('*') == std::string::npos)
        return;
    ui::messageBox(text::gbk("即将跳转到新窗口进行播放..."), ui::Information, text::gbk("提示："));
    openInSystemBrowser(tencentCoverAddress(text::textAfterLast(id, "*")));
}

} // namespace playback
