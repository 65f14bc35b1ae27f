// The player page: template choice and play ids for every series, audio and site, the page file
// byte for byte, escaping of ids of unknown form, the Tencent address and the browser opener.

#include "TestSupport.h"
#include "catalog/Catalog.h"
#include "playback/PlaybackState.h"
#include "playback/PlayerPage.h"
#include "playback/SystemBrowser.h"
#include "text/Gbk.h"
#include "ui/Files.h"
#include "ui/ProgramState.h"
#include "ui/Runtime.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using catalog::TableId;

const std::string kHead = "<html style=\"height:100%;margin:0\">\r\n<head>\r\n</head>\r\n<body style=\"height:100%;margin:0\">\r\n";
const std::string kTail = "\r\n</body>\r\n</html>";

std::string sohuIdPage(const std::string &id) {
    return kHead +
           "<embed allownetworking=\"internal\" allowfullscreen=\"true\" allowscriptaccess=\"never\" "
           "src=\"http://player.lanyingmi.net/sohu_20140917.swf?id=" +
           id +
           "&topBar=0&autoplay=true&rewriteType=5&shareBtn=0&likeBtn=0&topBarFull=0&topBarNor=0&sogouBtn=0\" "
           "type=\"application/x-shockwave-flash\" width=\"100%\" height=\"100%\" style=\"display: block;\">" +
           kTail;
}
std::string sohuVidPage(const std::string &id) {
    return kHead +
           "<embed allownetworking=\"internal\" allowfullscreen=\"true\" allowscriptaccess=\"never\" "
           "src=\"http://player.lanyingmi.net/sohu_20140917.swf?vid=" +
           id +
           "&skinNum=1&topBar=0&showRecommend=0&autoplay=true&api_key=5e1f93c07ad2e8b4f61c39a0d7e2b58f&sogouBtn=0\" "
           "type=\"application/x-shockwave-flash\" width=\"100%\" height=\"100%\" style=\"display: block;\">" +
           kTail;
}
std::string letvPage(const std::string &id) {
    return kHead +
           "<object width='100%' height='100%'><param name='allowFullScreen' value='true'><param name='movie' "
           "value='http://player.lanyingmi.net/20150110_letv.swf?autoPlay=1&id=" +
           id + "'/><embed src='http://player.lanyingmi.net/20150110_letv.swf?autoPlay=1&id=" + id +
           "' width='100%' height='100%' allowFullScreen='true' type='application/x-shockwave-flash'/></object> " +
           kTail;
}
std::string iqiyiPage(const std::string &id) {
    return kHead +
           "<embed type=\"application/x-shockwave-flash\" "
           "src=\"http://www.iqiyi.com/player/20140730103714/Player.swf?definitionID=" +
           id +
           "&menu=false&autoplay=true&cid=qc_100001_100100&=undefined\" width=\"100%\" height=\"100%\" "
           "bgcolor=\"#000000\" quality=\"high\" allowfullscreen=\"true\" allowscriptaccess=\"always\" "
           "wmode=\"opaque\" salign=\"lt\" flashvars=\"\">" +
           kTail;
}

class PlayerPageTest : public testing::Test {
protected:
    static void SetUpTestSuite() { catalog::buildTables(); }
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        page_ = dir_.path().toStdString() + "/" + std::string("岚影目录.htm");
        ui::playerPagePath.set(page_);
        playback::setSelectedIds({});
        playback::currentPlayId.set("");
        playback::currentSite.set("");
        playback::currentEpisode = 0;
    }
    void TearDown() override { ui::playerPagePath.set(""); }

    // Sets the choice and writes the page the way the mini player does.
    std::string pageFor(std::string_view series, std::string_view audio, std::string_view site, int episode) {
        catalog::currentSeries.set(text::gbk(series));
        catalog::currentAudio.set(text::gbk(audio));
        playback::currentSite.set(text::gbk(site));
        playback::currentEpisode = episode;
        playback::collectEpisodeIds();
        const std::string *pageTemplate = playback::pickPageTemplate();
        if (!pageTemplate)
            return "(no template)";
        EXPECT_TRUE(playback::writePlayerPage(*pageTemplate, playback::currentPlayId.get()));
        return ui::readFile(page_).value_or("(no file)");
    }

    QTemporaryDir dir_;
    std::string page_;
};

TEST_F(PlayerPageTest, PageFileForEveryChoiceMatchesItsTemplate) {
    const auto &t = catalog::tables();
    const std::string iqiyiId = t[TableId::MandarinIqiyiIds].value(1);
    ASSERT_EQ(iqiyiId.substr(32, 6), "&tvId=");
    struct Case {
        const char *series, *audio, *site;
        int episode;
        std::string expected;
        std::vector<std::string> ids;
    } cases[] = {
        {"TV版", "日语", "搜狐", 12, sohuIdPage(t[TableId::JapaneseSohuIds].value(12)), {t[TableId::JapaneseSohuIds].value(12)}},
        // The Japanese page is the Sohu page whatever site was left behind.
        {"TV版", "日语", "乐视", 3, sohuIdPage(t[TableId::JapaneseSohuIds].value(3)), {t[TableId::JapaneseSohuIds].value(3)}},
        {"TV版", "国语", "搜狐", 1, sohuVidPage("413527"), {"413527", "1573908", iqiyiId}},
        {"TV版", "国语", "乐视", 1, letvPage("1573908"), {"413527", "1573908", iqiyiId}},
        {"TV版", "国语", "爱奇艺", 1, iqiyiPage(iqiyiId), {"413527", "1573908", iqiyiId}},
        {"剧场版", "国语", "乐视", 3, letvPage(t[TableId::MovieVideoIds].value(3)), {}},
        {"剧场版", "日语", "乐视", 18, letvPage(t[TableId::MovieVideoIds].value(18)), {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.series) + " " + c.audio + " " + c.site + " " + std::to_string(c.episode));
        playback::setSelectedIds({});
        const std::string page = pageFor(c.series, c.audio, c.site, c.episode);
        EXPECT_EQ(page, c.expected);
        EXPECT_EQ(playback::selectedIds(), c.ids);
        EXPECT_NE(page.substr(page.size() - 2), "\r\n");
        EXPECT_EQ(page.find(text::gbk("播放id")), std::string::npos);
    }
    // The iQiyi id carries its own tvId parameter into the query.
    const std::string iqiyi = pageFor("TV版", "国语", "爱奇艺", 1);
    EXPECT_NE(iqiyi.find("definitionID=28fb04f12632d2db8538b2a083898d9d&tvId=166673&menu=false&autoplay=true"),
              std::string::npos);
}

TEST_F(PlayerPageTest, TrailerAndMarkedIdsAndLeftOverPages) {
    // A hidden page left by an earlier run is replaced.
    ASSERT_TRUE(ui::writeFile(page_, "old page"));
    ui::setHidden(page_);
    ASSERT_TRUE(playback::writePlayerPage(playback::sohuIdPageTemplate(), playback::kTrailerPlayId));
    EXPECT_EQ(ui::readFile(page_), sohuIdPage("78767656"));

    // A marked Japanese id stands unchanged, "*" included, in the Sohu page.
    const std::string marked = catalog::tables()[TableId::JapaneseSohuIds].value(687);
    ASSERT_EQ(marked, "*x0020slaexf");
    EXPECT_EQ(pageFor("TV版", "日语", "搜狐", 687), sohuIdPage(marked));
}

TEST_F(PlayerPageTest, RowsOutsideTheTablesChangeNothing) {
    playback::currentPlayId.set("kept");
    playback::setSelectedIds({"a", "b", "c"});
    for (const char *series : {"TV版", "剧场版"}) {
        for (int episode : {0, -1, 5000}) {
            catalog::currentSeries.set(text::gbk(series));
            catalog::currentAudio.set(text::gbk("国语"));
            playback::currentSite.set(text::gbk("乐视"));
            playback::currentEpisode = episode;
            playback::collectEpisodeIds();
            EXPECT_EQ(playback::currentPlayId.get(), "kept");
            EXPECT_EQ(playback::selectedIds(), (std::vector<std::string>{"a", "b", "c"}));
        }
    }
    // An unknown series gets no page at all.
    catalog::currentSeries.set("other");
    EXPECT_EQ(playback::pickPageTemplate(), nullptr);
}

TEST_F(PlayerPageTest, IdsOfUnknownFormAreEscapedInThePage) {
    struct Case {
        std::string id;
        bool documented;
    } cases[] = {
        {"12345678", true},
        {"0123456789abcdef0123456789ABCDEF&tvId=42", true},
        {"*x0020slaexf", true},
        {"", false},
        {"12a", false},
        {"*X0020", false},
        {"*", false},
        {"0123456789abcdef0123456789abcde&tvId=42", false},
        {"0123456789abcdef0123456789abcdef&tvId=", false},
        {"1\"><script>alert(1)</script>", false},
        {"1' onload='alert(1)", false},
        {"1&amp;", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(playback::hasPlayIdForm(c.id), c.documented);
        for (const std::string *pageTemplate : {&playback::sohuIdPageTemplate(), &playback::letvPageTemplate(),
                                                &playback::iqiyiPageTemplate()}) {
            const std::string page = playback::playerPageText(*pageTemplate, c.id);
            EXPECT_EQ(page.find("<script"), std::string::npos);
            EXPECT_EQ(page.find("' onload"), std::string::npos);
            // No quote of the id can end an attribute: the page has the template's quotes only.
            for (char quote : {'"', '\'', '<'})
                EXPECT_EQ(std::count(page.begin(), page.end(), quote),
                          std::count(pageTemplate->begin(), pageTemplate->end(), quote));
        }
    }
    EXPECT_EQ(playback::playerPageText(text::gbk("[播放id]"), "1\"><b>'&"), "[1&quot;&gt;&lt;b&gt;&#39;&amp;]");
    EXPECT_EQ(playback::playerPageText(text::gbk("[播放id|播放ID]"), "7"), "[7|7]");
}

TEST_F(PlayerPageTest, TencentAddressAndTheSystemBrowser) {
    EXPECT_EQ(playback::tencentCoverAddress("x0020slaexf"), "http://v.qq.com/cover/5/53q0eh78q97e4d1/x0020slaexf.html");
    EXPECT_EQ(playback::tencentCoverAddress("a b/../?#\""), "http://v.qq.com/cover/5/53q0eh78q97e4d1/a%20b%2F..%2F%3F%23%22.html");

    std::vector<std::string> opened;
    playback::setBrowserOpener([&](const std::string &address) { opened.push_back(address); });
    for (const char *address : {"http://v.qq.com/x.html", "HTTPS://v.youku.com/v_show/id_1.html"})
        EXPECT_TRUE(playback::openInSystemBrowser(address)) << address;
    for (const char *address : {"file:///etc/passwd", "javascript:alert(1)", "ftp://example.com/", "http://", "",
                                "C:\\Windows\\notepad.exe", "/bin/sh"})
        EXPECT_FALSE(playback::openInSystemBrowser(address)) << address;
    playback::setBrowserOpener({});
    EXPECT_EQ(opened, (std::vector<std::string>{"http://v.qq.com/x.html", "HTTPS://v.youku.com/v_show/id_1.html"}));
}

TEST_F(PlayerPageTest, MarkedIdShowsTheMessageThenOpensTheCoverPage) {
    std::vector<std::string> events;
    ui::setMessageBoxHook([&](const std::string &text, int style, const std::string &caption) {
        events.push_back("box:" + text::gbkToUtf8(text) + "|" + std::to_string(style) + "|" + text::gbkToUtf8(caption));
        return int(ui::AnswerOk);
    });
    playback::setBrowserOpener([&](const std::string &address) { events.push_back("open:" + address); });
    playback::currentPlayId.set("12345678");
    playback::openMarkedEpisode();
    EXPECT_TRUE(events.empty());
    playback::currentPlayId.set("*x0020slaexf");
    playback::openMarkedEpisode();
    ui::setMessageBoxHook({});
    playback::setBrowserOpener({});
    EXPECT_EQ(events, (std::vector<std::string>{"box:即将跳转到新窗口进行播放...|64|提示：",
                                                "open:http://v.qq.com/cover/5/53q0eh78q97e4d1/x0020slaexf.html"}));
}

} // namespace
