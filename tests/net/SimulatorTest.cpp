// The simulator answers like the services it stands in for, as the program reads them.

#include "NetTest.h"
#include "net/HttpRequest.h"
#include "text/Gbk.h"
#include "text/Text.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace nettest {
namespace {

using text::gbk;

class SimulatorTest : public NetTest {};

QImage decode(const std::string &bytes) {
    return QImage::fromData(reinterpret_cast<const uchar *>(bytes.data()), static_cast<int>(bytes.size()));
}

TEST_F(SimulatorTest, NotePageCarriesTheFourFields) {
    servicesim::Scenario scenario;
    scenario.version = "1.3";
    scenario.announcement = "a & b\r\nc";
    scenario.newlyAired = {{774, "新的一集", "s774"}, {775, "又一集", "s775"}};
    sim().setScenario(scenario);

    const std::string page = net::httpRequestUtf8(std::string(net::kNotePageAddress));
    EXPECT_EQ(text::textBetween(page, gbk("版本=["), "];"), "1.3");
    EXPECT_EQ(text::textBetween(page, gbk("公告=["), "];"), "a &amp; b</p><p>c");
    EXPECT_EQ(text::textBetween(page, gbk("更新说明=["), "];"), gbk(scenario.updateDescription));
    EXPECT_EQ(text::textBetween(page, gbk("最新集数=【"), gbk("】")),
              gbk("[774|新的一集|s774][775|又一集|s775]"));

    scenario.noteHasFields = false;
    sim().setScenario(scenario);
    EXPECT_EQ(text::findForward(net::httpRequestUtf8(std::string(net::kNotePageAddress)), gbk("版本=[")), -1);
}

TEST_F(SimulatorTest, MessageBoardVisitListAndFeedback) {
    servicesim::Scenario scenario;
    scenario.version = "1.3";
    scenario.boardEntries = {{"1.1", "http://dl.lanyingmi.net/release/old.exe"}};
    scenario.captchaText = "4711";
    sim().setScenario(scenario);

    // The board code from the home page, then the content page's cookies.
    const std::string home = net::httpRequestText(std::string(net::kBoardHomeAddress));
    const std::string code = text::textBetween(home, "Ccenter.aspx?z=", "#引号");
    ASSERT_EQ(code, scenario.boardCode);
    const std::string contentAddress = std::string(net::kBoardContentAddress) + code;
    net::RequestArgs visit;
    visit.address = contentAddress;
    net::httpRequest(visit);
    ASSERT_NE(visit.returnedCookies.find("ASP.NET_SessionId="), std::string::npos);
    const std::string cookies = visit.returnedCookies;

    // The list page names the new version's file.
    net::RequestArgs list;
    list.address = contentAddress;
    list.method = 1;
    list.postText = "Yz0=dq&Yz1=" + std::string(net::kBoardListId) + "&Yz2=&Yz3=&Yz4=";
    list.cookies = cookies;
    const std::string listPage = net::httpRequestText(list);
    EXPECT_NE(listPage.find("<li><font>1.3</font>"), std::string::npos);
    EXPECT_NE(listPage.find("/note/fd.htm?" + servicesim::updateFileAddressFor("1.3") + "'"), std::string::npos);
    EXPECT_NE(listPage.find("/note/fd.htm?http://dl.lanyingmi.net/release/old.exe'"), std::string::npos);

    // The captcha picture, then a post with a wrong and with the right captcha.
    net::RequestArgs captcha;
    captcha.address = std::string(net::kCaptchaAddress);
    captcha.cookies = cookies;
    EXPECT_EQ(decode(net::httpRequest(captcha)).size(), QSize(100, 35));

    auto post = [&](const std::string &captchaText, const std::string &sessionCookies) {
        net::RequestArgs form;
        form.address = contentAddress;
        form.method = 1;
        // "匿名" and "匿名：hi", every byte escaped.
        form.postText = "Yz0=lytj&Yz1=n1&Yz2=%C4%E4%C3%FB&Yz3=%C4%E4%C3%FB%A3%BA%68%69&Yz4=" + captchaText;
        form.cookies = sessionCookies;
        return net::httpRequestText(form);
    };
    const std::string wrong = gbk("验证码不正确,请重新输入");
    EXPECT_NE(post("1234", cookies).find(wrong), std::string::npos);
    EXPECT_NE(post("4711", "").find(wrong), std::string::npos); // no session, no captcha
    const std::string accepted = post("4711", cookies);
    EXPECT_EQ(accepted.find(wrong), std::string::npos);
    EXPECT_NE(accepted.find(gbk("匿名：hi")), std::string::npos);

    const auto posts = sim().feedbackPosts();
    ASSERT_EQ(posts.size(), 3u);
    EXPECT_EQ(posts[2].nickname, gbk("匿名"));
    EXPECT_EQ(posts[2].content, gbk("匿名：hi"));
    EXPECT_TRUE(posts[2].accepted);
    EXPECT_FALSE(posts[0].accepted);
}

TEST_F(SimulatorTest, PreviewPagesAndPictures) {
    servicesim::Scenario scenario;
    scenario.durations = {{"9001", 3725}, {"9002", -1}};
    scenario.missingSpriteSheets = {1};
    sim().setScenario(scenario);

    const std::string page = net::httpRequestUtf8(std::string(net::kPptvPageAddress) + "/show/9001.html");
    const std::string spriteId = text::textBetween(page, "{#引号id#引号:", ",");
    EXPECT_EQ(spriteId, servicesim::spriteIdFor("9001"));
    EXPECT_EQ(text::textBetween(page, "#引号duration#引号:", ","), "3725");
    EXPECT_EQ(text::textBetween(net::httpRequestUtf8(std::string(net::kPptvPageAddress) + "/show/9002.html"),
                                "#引号duration#引号:", ","),
              "");

    auto sheetAddress = [&](int n) {
        return std::string(net::kPptvImageAddress) + "/0/" + spriteId + "_6_10x10_" + std::to_string(n) + "_720.jpg";
    };
    EXPECT_EQ(decode(net::httpRequest(sheetAddress(0))).size(), QSize(1600, 900));
    EXPECT_TRUE(decode(net::httpRequest(sheetAddress(1))).isNull()); // missing: a 404 page

    const std::string thumb =
        net::httpRequest("http://pic7.iqiyipic.com/image/20150410/5a/3c/v_109457281_m_601_160_90.jpg");
    EXPECT_EQ(decode(thumb).size(), QSize(160, 90));
}

TEST_F(SimulatorTest, PlayerFilesVideoPagesAndUpdateFile) {
    for (const std::string &address :
         {std::string(net::kPlayerHostAddress) + "/sohu_20140917.swf",
          std::string(net::kPlayerHostAddress) + "/20150110_letv.swf",
          std::string(net::kIqiyiPlayerAddress) + "/player/20140730103714/Player.swf"}) {
        EXPECT_EQ(net::httpRequest(address).substr(0, 3), "FWS") << address;
    }
    EXPECT_NE(net::httpRequestUtf8(std::string(net::kYoukuShowAddress) + "/v_show/id_XMTIz.html").find("XMTIz"),
              std::string::npos);
    EXPECT_NE(net::httpRequestUtf8(std::string(net::kTencentVideoAddress) + "/cover/5/53q0eh78q97e4d1/t123.html")
                  .find("t123"),
              std::string::npos);
    servicesim::Scenario scenario;
    scenario.updateFileSize = 4321;
    sim().setScenario(scenario);
    EXPECT_TRUE(net::httpRequest(servicesim::updateFileAddressFor("1.3")) == servicesim::updateFileBytes(4321));
}

// A loopback port nothing listens on right now.
int freePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in where{};
    where.sin_family = AF_INET;
    where.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof where;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&where), sizeof where) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr *>(&where), &length) == 0)
        port = ntohs(where.sin_port);
    ::close(fd);
    return port;
}

// The simulator as a process answers curl for every service host.
TEST(ServiceSimProcess, AnswersCurlForEveryHost) {
    const QString curl = QStandardPaths::findExecutable(QStringLiteral("curl"));
    if (curl.isEmpty())
        GTEST_SKIP() << "curl is not installed";
    const int port = freePort();
    ASSERT_GT(port, 0);

    QProcess sim;
    sim.setProcessChannelMode(QProcess::MergedChannels);
    // A small update file: the program-like default is slowed down for the demo.
    sim.start(QStringLiteral(SERVICE_SIM_PATH),
              {QStringLiteral("--port"), QString::number(port), QStringLiteral("--update-size"), QStringLiteral("4096")});
    ASSERT_TRUE(sim.waitForReadyRead(10000)) << "service-sim did not start";

    const std::string sprite = servicesim::spriteIdFor("1");
    const std::vector<std::string> addresses = {
        std::string(net::kPlayerHostAddress) + "/sohu_20140917.swf",
        std::string(net::kIqiyiPlayerAddress) + "/player/20140730103714/Player.swf",
        "http://pic0.iqiyipic.com/image/20150410/5a/3c/v_1_m_601_160_90.jpg",
        "http://pic9.iqiyipic.com/image/20150410/5a/3c/v_2_m_601_160_90.jpg",
        std::string(net::kYoukuShowAddress) + "/v_show/id_a.html",
        std::string(net::kTencentVideoAddress) + "/cover/5/53q0eh78q97e4d1/b.html",
        std::string(net::kPptvPageAddress) + "/show/1.html",
        std::string(net::kPptvImageAddress) + "/0/" + sprite + "_6_10x10_0_720.jpg",
        std::string(net::kNotePageAddress),
        std::string(net::kBoardHomeAddress),
        std::string(net::kBoardContentAddress) + "hx71840a",
        std::string(net::kCaptchaAddress),
        std::string(net::kCounterAddress),
        servicesim::updateFileAddressFor("1.2"),
    };
    for (const std::string &address : addresses) {
        QProcess client;
        client.start(curl, {QStringLiteral("-s"), QStringLiteral("-o"), QStringLiteral("/dev/null"),
                            QStringLiteral("-w"), QStringLiteral("%{http_code}"), QStringLiteral("--connect-to"),
                            QStringLiteral("::127.0.0.1:%1").arg(port), QString::fromStdString(address)});
        ASSERT_TRUE(client.waitForFinished(20000));
        EXPECT_EQ(client.readAllStandardOutput().toStdString(), "200") << address;
    }
    sim.terminate();
    EXPECT_TRUE(sim.waitForFinished(5000));
    EXPECT_EQ(sim.exitCode(), 0);
}

} // namespace
} // namespace nettest
