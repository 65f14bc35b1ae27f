// The page request against the simulator: what goes on the wire, the address split, cookies,
// redirects, the raw header block, and the body in its three forms.

#include "NetTest.h"
#include "net/HttpRequest.h"
#include "text/Gbk.h"

#include <atomic>
#include <thread>

namespace nettest {
namespace {

using servicesim::CannedResponse;

const std::string kDefaultLines = "Accept: */*\r\nAccept-Language: zh-cn\r\n"
                                  "Content-Type: application/x-www-form-urlencoded";

class HttpRequestTest : public NetTest {
protected:
    void serve(const std::string &path, CannedResponse response, const std::string &host = kTestHost) {
        sim().setResponse(host, path, std::move(response));
    }
    servicesim::RecordedRequest onlyRequest() {
        const auto requests = sim().requests();
        EXPECT_EQ(requests.size(), 1u);
        return requests.empty() ? servicesim::RecordedRequest{} : requests.front();
    }
};

TEST_F(HttpRequestTest, PlainGetSendsTheFourDefaultLinesAndNothingElse) {
    serve("/page", {200, {}, "hello"});
    net::RequestArgs args;
    args.address = "http://t.sim.test/page";
    EXPECT_EQ(net::httpRequest(args), "hello");

    EXPECT_EQ(args.headers, "Referer: http://t.sim.test/page\r\n" + kDefaultLines);
    const auto request = onlyRequest();
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.target, "/page");
    EXPECT_EQ(request.version, "HTTP/1.1");
    EXPECT_EQ(request.headerLines,
              (std::vector<std::string>{"Host: t.sim.test", "User-Agent: " + std::string(net::kDefaultAgent),
                                        "Referer: http://t.sim.test/page", "Accept: */*", "Accept-Language: zh-cn",
                                        "Content-Type: application/x-www-form-urlencoded"}));
    EXPECT_EQ(request.body, "");
}

TEST_F(HttpRequestTest, CallerHostAndRefererLinesGetNoSecondReferer) {
    // The visit counter's request: its own Host and Referer lines, no blank after the colons.
    net::RequestArgs args;
    args.address = std::string(net::kCounterAddress);
    args.headers = "Host:s4.cnzz.com\r\nReferer:" + std::string(net::kBoardHomeAddress);
    net::httpRequest(args);

    EXPECT_EQ(args.headers, "Host:s4.cnzz.com\r\nReferer:" + std::string(net::kBoardHomeAddress) + "\r\n" + kDefaultLines);
    const auto request = onlyRequest();
    EXPECT_EQ(request.headerLines,
              (std::vector<std::string>{"Host:s4.cnzz.com", "User-Agent: " + std::string(net::kDefaultAgent),
                                        "Referer:" + std::string(net::kBoardHomeAddress), "Accept: */*",
                                        "Accept-Language: zh-cn", "Content-Type: application/x-www-form-urlencoded"}));
    EXPECT_EQ(sim().counterVisits(), 1);
}

TEST_F(HttpRequestTest, HeaderNameCaseRules) {
    // "accept:" in lower case still gets the default Accept line (that search heeds case); a
    // User-Agent line in any case is the agent and is sent as it stands, once.
    net::RequestArgs args;
    args.address = "http://t.sim.test/";
    args.headers = "accept: text/html\r\nuSeR-aGeNt:  Probe/1.0";
    net::httpRequest(args);

    EXPECT_EQ(args.headers, "accept: text/html\r\nuSeR-aGeNt:  Probe/1.0\r\nReferer: http://t.sim.test/\r\n" + kDefaultLines);
    const auto request = onlyRequest();
    EXPECT_EQ(request.headerCount("User-Agent"), 1);
    EXPECT_EQ(request.headerCount("Accept"), 2);
    EXPECT_NE(std::find(request.headerLines.begin(), request.headerLines.end(), "uSeR-aGeNt:  Probe/1.0"),
              request.headerLines.end());
    EXPECT_NE(std::find(request.headerLines.begin(), request.headerLines.end(), "accept: text/html"),
              request.headerLines.end());
}

struct SplitCase {
    const char *address;
    const char *hostLine; // what the Host header says
    const char *target;   // the request line's target
    bool secure;
};

TEST_F(HttpRequestTest, AddressSplit) {
    // The route table sends port 443 to the simulator's TLS side and every other port to its plain
    // side, so an https request that arrives at all came over TLS to port 443.
    const SplitCase cases[] = {
        {"t.sim.test/a/B?x=1", "t.sim.test", "/a/B?x=1", false},
        {"HTTP://T.Sim.Test/Path/MiXed", "t.sim.test", "/Path/MiXed", false},
        {"http://t.sim.test", "t.sim.test", "/", false},
        {"http://t.sim.test:8080/x?a=b", "t.sim.test:8080", "/x?a=b", false},
        {"https://secure.sim.test/x", "secure.sim.test", "/x", true},
        {"HTTPS://Secure.Sim.Test", "secure.sim.test", "/", true},
        // An "http://" inside the query is no scheme: the host stays the one in front.
        {"t.sim.test/go?to=http://other.sim.test/", "t.sim.test", "/go?to=http://other.sim.test/", false},
        // A host that also occurs in the scheme ("t" in "http") does not confuse the path.
        {"http://t/p", "t", "/p", false},
    };
    for (const SplitCase &c : cases) {
        SCOPED_TRACE(c.address);
        sim().clearRequests();
        net::RequestArgs args;
        args.address = c.address;
        net::httpRequest(args);
        const auto request = onlyRequest();
        EXPECT_EQ(request.header("Host"), c.hostLine);
        EXPECT_EQ(request.target, c.target);
        EXPECT_EQ(request.secure, c.secure);
        EXPECT_EQ(request.header("Referer"), c.address); // the address as given
        EXPECT_NE(args.rawHeaders.find("404 Not Found"), std::string::npos);
    }
}

struct CookieCase {
    const char *name;
    std::string oldCookies;
    std::vector<std::string> setCookieLines;
    std::string cookies;
    std::string returnedCookies;
};

TEST_F(HttpRequestTest, CookieMerge) {
    const std::string fullWidthBlank = text::gbk("　");
    const CookieCase cases[] = {
        {"new replaces old, others follow", "a=1; b=2", {"b=3; path=/", "c=4; path=/"}, "b=3; c=4; a=1", "b=3;c=4"},
        {"=deleted removes", "a=1; b=2", {"b=deleted; path=/"}, "a=1", "b=deleted"},
        {"first of one name survives", "a=1; a=2", {}, "a=1", ""},
        {"blanks inside items removed", "a = 1;b=2", {}, "a=1; b=2", ""},
        {"full-width blanks too", "a=" + fullWidthBlank + "1; b=2", {}, "a=1; b=2", ""},
        {"cookie without attributes kept", "", {"sid=xyz"}, "sid=xyz", "sid=xyz"},
    };
    for (const CookieCase &c : cases) {
        SCOPED_TRACE(c.name);
        sim().clearRequests();
        CannedResponse response{200, {}, "ok"};
        for (const std::string &line : c.setCookieLines)
            response.headers.emplace_back("Set-Cookie", line);
        serve("/cookies", response);
        net::RequestArgs args;
        args.address = "http://t.sim.test/cookies";
        args.cookies = c.oldCookies;
        net::httpRequest(args);
        EXPECT_EQ(args.cookies, c.cookies);
        EXPECT_EQ(args.returnedCookies, c.returnedCookies);
        const auto request = onlyRequest();
        if (c.oldCookies.empty())
            EXPECT_EQ(request.headerCount("Cookie"), 0);
        else
            EXPECT_EQ(request.header("Cookie"), c.oldCookies);
    }
}

TEST_F(HttpRequestTest, RedirectsFollowedUnlessNoRedirect) {
    serve("/from", {302, {{"Location", "http://t.sim.test/to"}, {"Set-Cookie", "early=1; path=/"}}, "moved"});
    serve("/to", {200, {{"Set-Cookie", "final=2; path=/"}}, "arrived"});

    net::RequestArgs followed;
    followed.address = "http://t.sim.test/from";
    EXPECT_EQ(net::httpRequest(followed), "arrived");
    EXPECT_EQ(followed.rawHeaders.substr(0, 15), "HTTP/1.1 200 OK");
    EXPECT_EQ(followed.returnedHeaders, followed.rawHeaders); // no Location in the final answer
    EXPECT_EQ(followed.returnedCookies, "final=2");            // the redirect's cookie is not seen
    EXPECT_EQ(followed.cookies, "final=2");
    const auto requests = sim().requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].target, "/to");
    EXPECT_EQ(requests[1].header("Referer"), "http://t.sim.test/from"); // the composed lines go along

    sim().clearRequests();
    net::RequestArgs stopped;
    stopped.address = "http://t.sim.test/from";
    stopped.noRedirect = true;
    EXPECT_EQ(net::httpRequest(stopped), "moved");
    EXPECT_EQ(stopped.returnedHeaders, "http://t.sim.test/to");
    EXPECT_EQ(stopped.returnedCookies, "early=1");
    EXPECT_EQ(sim().requests().size(), 1u);
}

TEST_F(HttpRequestTest, HeaderBlockOf5000CharactersOrMoreReadsAsBlanks) {
    // Measures the block with a padding header, then sizes the padding to make the block 4,999
    // and 5,000 characters long.
    auto fetch = [&](size_t padding) {
        serve("/big", {200, {{"X-Pad", std::string(padding, 'p')}, {"Set-Cookie", "big=1; path=/"}}, "body"});
        net::RequestArgs args;
        args.address = "http://t.sim.test/big";
        const std::string body = net::httpRequest(args);
        EXPECT_EQ(body, "body");
        return args;
    };
    const net::RequestArgs probe = fetch(100);
    const size_t base = probe.rawHeaders.size() - 100;
    ASSERT_LT(base, 4000u);

    const net::RequestArgs fits = fetch(4999 - base);
    EXPECT_EQ(fits.rawHeaders.size(), 4999u);
    EXPECT_EQ(fits.rawHeaders.substr(fits.rawHeaders.size() - 4), "\r\n\r\n");
    EXPECT_EQ(fits.returnedCookies, "big=1");

    const net::RequestArgs tooLong = fetch(5000 - base);
    EXPECT_EQ(tooLong.rawHeaders, std::string(5000, ' '));
    EXPECT_EQ(tooLong.returnedHeaders, std::string(5000, ' '));
    EXPECT_EQ(tooLong.returnedCookies, "");
}

TEST_F(HttpRequestTest, BodyOfEveryByteValueArrivesWhole) {
    std::string body;
    for (int round = 0; round < 40; ++round) {
        for (int value = 1; value < 256; ++value)
            body += static_cast<char>(value);
        body += '\0';
    }
    serve("/bytes", {200, {}, body, "application/octet-stream"});
    EXPECT_TRUE(net::httpRequest("http://t.sim.test/bytes") == body);
    // The text form ends at the first NUL.
    EXPECT_EQ(net::httpRequestText("http://t.sim.test/bytes"), body.substr(0, 255));
}

TEST_F(HttpRequestTest, Utf8BodyDecodedToGbk) {
    // "√" exists in GBK, "✓" does not; a broken sequence and what follows a NUL are dropped.
    static const char kPage[] = "版本=[1.3]; 岚影 √✓ \xFF!\0tail";
    serve("/utf8", {200, {}, std::string(kPage, sizeof kPage - 1), "text/html; charset=utf-8"});
    EXPECT_EQ(net::httpRequestUtf8("http://t.sim.test/utf8"), text::gbk("版本=[1.3]; 岚影 √") + "? ?!");
    serve("/empty", {200, {}, ""});
    EXPECT_EQ(net::httpRequestUtf8("http://t.sim.test/empty"), "");
}

TEST_F(HttpRequestTest, BodyVerbsAndContentLength) {
    struct Case {
        int method;
        std::string postText, postBytes;
        const char *verb;
        std::string body;
    };
    const Case cases[] = {
        {1, "Yz0=dq&Yz1=71840", "", "POST", "Yz0=dq&Yz1=71840"},
        {1, "ignored", std::string("\x01\x00\xFF", 3), "POST", std::string("\x01\x00\xFF", 3)},
        {2, "q=1", "", "GET", "q=1"},
        {1, "", "", "POST", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.verb + std::string(" ") + c.body);
        sim().clearRequests();
        net::RequestArgs args;
        args.address = "http://t.sim.test/form";
        args.method = c.method;
        args.postText = c.postText;
        args.postBytes = c.postBytes;
        net::httpRequest(args);
        EXPECT_EQ(args.postBytes, c.body);
        const auto request = onlyRequest();
        EXPECT_EQ(request.method, c.verb);
        EXPECT_EQ(request.body, c.body);
        EXPECT_EQ(request.header("Content-Length"), std::to_string(c.body.size()));
        EXPECT_EQ(request.headerCount("Expect"), 0);
        EXPECT_EQ(request.headerCount("Content-Type"), 1);
        EXPECT_EQ(request.headerLines.size(), 7u); // Host, User-Agent, four defaults, Content-Length
    }
}

TEST_F(HttpRequestTest, ProxyOnlyForHttpAndOnlyWhenNamed) {
    const std::string proxy = "127.0.0.1:" + std::to_string(sim().port());
    // With the proxy, the request goes to it with the whole address on the request line.
    net::setRoutes({{"", 443, "127.0.0.1", sim().tlsPort()}});
    net::RequestArgs viaProxy;
    viaProxy.address = "http://far.sim.test/x";
    viaProxy.proxy = proxy;
    net::httpRequest(viaProxy);
    ASSERT_EQ(sim().requests().size(), 1u);
    EXPECT_EQ(sim().requests().front().target, "http://far.sim.test/x");

    // https does not use it; an empty proxy is none.
    sim().clearRequests();
    sim().routeAllHosts();
    for (const char *address : {"https://secure.sim.test/y", "http://t.sim.test/z"}) {
        net::RequestArgs args;
        args.address = address;
        args.proxy = std::string(address).substr(0, 5) == "https" ? proxy : std::string();
        net::httpRequest(args);
    }
    const auto requests = sim().requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].target, "/y");
    EXPECT_TRUE(requests[0].secure);
    EXPECT_EQ(requests[1].target, "/z");
}

TEST_F(HttpRequestTest, FailedRequestStillMergesCookies) {
    // Nothing listens where this route points.
    net::setRoutes({{"", 0, "127.0.0.1", 1}});
    net::RequestArgs args;
    args.address = "http://t.sim.test/";
    args.cookies = "a = 1;b=2;c=deleted";
    EXPECT_EQ(net::httpRequest(args), "");
    EXPECT_EQ(args.rawHeaders, std::string(5000, ' '));
    EXPECT_EQ(args.returnedHeaders, std::string(5000, ' '));
    EXPECT_EQ(args.returnedCookies, "");
    EXPECT_EQ(args.cookies, "a=1; b=2");

    // No host at all: nothing is sent and no argument is touched.
    net::RequestArgs nothing;
    nothing.address = "";
    nothing.cookies = "a = 1";
    EXPECT_EQ(net::httpRequest(nothing), "");
    EXPECT_EQ(nothing.cookies, "a = 1");
    EXPECT_EQ(nothing.headers, "");
}

TEST_F(HttpRequestTest, ConcurrentRequestsKeepTheirOwnCookies) {
    serve("/echo", {200, {{"Set-Cookie", "seen=1; path=/"}}, "ok"});
    std::atomic<int> good{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i) {
        threads.emplace_back([i, &good] {
            for (int round = 0; round < 5; ++round) {
                net::RequestArgs args;
                args.address = "http://t.sim.test/echo?" + std::to_string(i);
                args.cookies = "me=" + std::to_string(i);
                if (net::httpRequest(args) == "ok" && args.cookies == "seen=1; me=" + std::to_string(i))
                    ++good;
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    EXPECT_EQ(good.load(), 40);
    EXPECT_EQ(sim().requests().size(), 40u);
}

TEST_F(HttpRequestTest, AbortEndsARunningRequestAndRefusesLaterOnes) {
    sim().setFault(kTestHost, servicesim::Fault::Stall);
    std::string body = "unset";
    const auto start = std::chrono::steady_clock::now();
    std::thread worker([&] { body = net::httpRequest("http://t.sim.test/slow"); });
    while (sim().requests().empty())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    net::abortAllTransfers();
    worker.join();
    EXPECT_EQ(body, "");
    // Far below the 30 s the silent server would otherwise be given.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));

    sim().clearFaults();
    sim().clearRequests();
    EXPECT_EQ(net::httpRequest("http://t.sim.test/later"), "");
    EXPECT_TRUE(sim().requests().empty());
    net::testing::resumeTransfers();
    EXPECT_NE(net::httpRequest("http://t.sim.test/later"), "");
}

TEST(ServiceTable, DemoRoutesCoverEveryServiceHost) {
    const auto saved = net::routes();
    net::clearRoutes();
    net::installDemoRoutes();
    const auto table = net::routes();
    if (net::demoSimulatorPort() == 0) {
        EXPECT_TRUE(table.empty());
    } else {
        ASSERT_EQ(table.size(), net::serviceHosts().size());
        for (const net::Route &route : table) {
            EXPECT_EQ(route.port, 0);
            EXPECT_EQ(route.toHost, "127.0.0.1");
            EXPECT_EQ(route.toPort, net::demoSimulatorPort());
        }
    }
    EXPECT_EQ(net::serviceHosts().size(), 21u);
    net::setRoutes(saved);
}

} // namespace
} // namespace nettest
