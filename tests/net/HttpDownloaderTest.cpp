// The streaming download and the size probe against the simulator.

#include "NetTest.h"
#include "net/HttpDownloader.h"
#include "text/Gbk.h"

#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

namespace nettest {
namespace {

namespace fs = std::filesystem;
using servicesim::CannedResponse;
using Clock = std::chrono::steady_clock;

std::string readFile(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string patternBytes(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    return bytes;
}

struct ProgressCall {
    int callerValue;
    std::int64_t total, done, elapsed;
    Clock::time_point when;
    std::thread::id thread;
};

// Collects the progress calls of a download.
struct ProgressLog {
    std::mutex mutex;
    std::vector<ProgressCall> calls;
    net::ProgressFunction function() {
        return [this](int value, std::int64_t total, std::int64_t done, std::int64_t elapsed) {
            std::lock_guard lock(mutex);
            calls.push_back({value, total, done, elapsed, Clock::now(), std::this_thread::get_id()});
        };
    }
};

class HttpDownloaderTest : public NetTest {
protected:
    // open, the three headers of the self-update, send; answers what downloadToFile answers.
    int download(const std::string &address, std::string directory, const std::string &name,
                 net::ProgressFunction progress = {}, net::HttpDownloader *reuse = nullptr) {
        net::HttpDownloader own;
        net::HttpDownloader &downloader = reuse ? *reuse : own;
        downloader.open("get", address);
        downloader.setRequestHeader("Accept", "*/*");
        downloader.setRequestHeader("Referer", std::string(net::kBoardHomeAddress));
        downloader.setRequestHeader("User-Agent", " Mozilla/5.0 (Windows NT 6.1; WOW64; rv:23.0) Gecko/20100101 Firefox/23.0");
        downloader.send();
        return downloader.downloadToFile(directory, name, std::move(progress), 123);
    }
    bool leftovers(const fs::path &directory) { return !fs::is_empty(directory); }
};

TEST_F(HttpDownloaderTest, BodyArrivesInPiecesOfAtMost5120BytesAndProgressEndsAtTotal) {
    const std::string body = patternBytes(12000);
    sim().setResponse(kTestHost, "/file.bin", {200, {}, body, "application/octet-stream"});
    const fs::path dir = scratchDirectory();
    std::string directory = dir.string(); // no separator at the end
    ProgressLog log;
    net::HttpDownloader downloader;
    ASSERT_EQ(downloader.open("GET", "http://t.sim.test/file.bin"), 1);
    ASSERT_EQ(downloader.send(), 1);
    EXPECT_EQ(downloader.responseHeader("Content-Length"), "12000");
    // File names are GBK texts in the program and UTF-8 on disk.
    ASSERT_EQ(downloader.downloadToFile(directory, text::gbk("岚影迷.exe.tmp"), log.function(), 123), 1);

    EXPECT_EQ(directory, dir.string() + "/");
    EXPECT_TRUE(readFile(dir / "岚影迷.exe.tmp") == body);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    EXPECT_LE(downloader.largestPiece(), 5120u);
    EXPECT_GE(downloader.pieceCount(), 3u);
    ASSERT_FALSE(log.calls.empty());
    const ProgressCall &last = log.calls.back();
    EXPECT_EQ(last.callerValue, 123);
    EXPECT_EQ(last.total, 12000);
    EXPECT_EQ(last.done, 12000);
    for (const ProgressCall &call : log.calls)
        EXPECT_NE(call.thread, std::this_thread::get_id());
}

TEST_F(HttpDownloaderTest, ProgressAtMostOnceASecondWithGrowingCounts) {
    // 60,000 bytes at 25,000 bytes a second: about two and a half seconds of download.
    sim().setResponse(kTestHost, "/slow.bin", {200, {}, patternBytes(60000), "application/octet-stream"});
    sim().setThrottle(kTestHost, 25000);
    std::string directory = scratchDirectory().string();
    ProgressLog log;
    ASSERT_EQ(download("http://t.sim.test/slow.bin", directory, "slow.bin", log.function()), 1);

    ASSERT_GE(log.calls.size(), 3u);
    for (size_t i = 1; i < log.calls.size(); ++i) {
        EXPECT_GE(log.calls[i].when - log.calls[i - 1].when, std::chrono::milliseconds(950)) << "call " << i;
        if (i + 1 < log.calls.size()) {
            EXPECT_GT(log.calls[i].done, log.calls[i - 1].done);
            EXPECT_GE(log.calls[i].elapsed, log.calls[i - 1].elapsed);
        }
    }
    const ProgressCall &last = log.calls.back();
    EXPECT_EQ(last.done, 60000);
    // The final call repeats the elapsed time of the call before it, plus 50 ms.
    EXPECT_EQ(last.elapsed, log.calls[log.calls.size() - 2].elapsed + 50);
}

TEST_F(HttpDownloaderTest, RequestHeadersAreReplacedOrAddedWithoutABlankAfterTheColon) {
    net::HttpDownloader downloader;
    EXPECT_EQ(downloader.setRequestHeader("Accept", "*/*"), 0); // not opened yet
    ASSERT_EQ(downloader.open("GET", "http://t.sim.test/h"), 1);
    EXPECT_EQ(downloader.setRequestHeader("Accept", "*/*"), 1);
    EXPECT_EQ(downloader.setRequestHeader("Referer", "http://x/"), 1);
    EXPECT_EQ(downloader.setRequestHeader("User-Agent", " Agent/1"), 1);
    EXPECT_EQ(downloader.setRequestHeader("referer", "http://y/"), 1); // replaces, any case
    EXPECT_EQ(downloader.setRequestHeader("X-Empty", ""), 1);
    EXPECT_EQ(downloader.setRequestHeader("", "v"), 0);
    EXPECT_EQ(downloader.send(), 1);
    const auto requests = sim().requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].headerLines, (std::vector<std::string>{"Host: t.sim.test", "Accept:*/*", "referer:http://y/",
                                                                 "User-Agent: Agent/1", "X-Empty:"}));
}

TEST_F(HttpDownloaderTest, AddressSplit) {
    // A route for 8443 to the TLS side, ahead of the catch-all.
    auto table = sim().routes();
    table.insert(table.begin(), {"", 8443, "127.0.0.1", sim().tlsPort()});
    net::setRoutes(table);
    struct Case {
        const char *address, *hostLine, *target;
        bool secure;
    };
    for (const Case &c : {Case{"https://Secure.Sim.Test:8443/a/b?c", "secure.sim.test:8443", "/a/b?c", true},
                          Case{"http://t.sim.test", "t.sim.test", "/", false},
                          Case{"t.sim.test/Mixed/Case", "t.sim.test", "/Mixed/Case", false}}) {
        SCOPED_TRACE(c.address);
        sim().clearRequests();
        net::HttpDownloader downloader;
        ASSERT_EQ(downloader.open("get", c.address), 1);
        EXPECT_EQ(downloader.send(), 1);
        const auto requests = sim().requests();
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].method, "GET");
        EXPECT_EQ(requests[0].header("Host"), c.hostLine);
        EXPECT_EQ(requests[0].target, c.target);
        EXPECT_EQ(requests[0].secure, c.secure);
    }
}

TEST_F(HttpDownloaderTest, AnswersZeroAndLeavesNoFileForIncompleteOrWrongAnswers) {
    const std::string body = patternBytes(9000);
    sim().setResponse(kTestHost, "/ok.bin", {200, {}, body, "application/octet-stream"});
    sim().setResponse(kTestHost, "/chunked.bin", {200, {}, body, "application/octet-stream", true});
    sim().setResponse(kTestHost, "/missing.bin", {404, {}, "<html>gone</html>"});
    sim().setResponse(kTestHost, "/moved.bin", {302, {{"Location", "http://t.sim.test/ok.bin"}}, ""});
    sim().setResponse("short.sim.test", "/short.bin", {200, {}, body, "application/octet-stream"});
    sim().setFault("short.sim.test", servicesim::Fault::ShortBody);
    const fs::path dir = scratchDirectory();

    struct Case {
        const char *what;
        std::string address, directory, name;
    };
    const Case cases[] = {
        {"no Content-Length", "http://t.sim.test/chunked.bin", dir.string(), "a.bin"},
        {"status 404", "http://t.sim.test/missing.bin", dir.string(), "a.bin"},
        {"fewer bytes than announced", "http://short.sim.test/short.bin", dir.string(), "a.bin"},
        {"directory missing", "http://t.sim.test/ok.bin", (dir / "nowhere").string(), "a.bin"},
        {"file cannot be created", "http://t.sim.test/ok.bin", dir.string(), "nowhere/a.bin"},
        {"refused", "http://t.sim.test/ok.bin", dir.string(), "a.bin"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (std::string(c.what) == "refused")
            net::setRoutes({{"", 0, "127.0.0.1", 1}});
        ProgressLog log;
        EXPECT_EQ(download(c.address, c.directory, c.name, log.function()), 0);
        EXPECT_TRUE(fs::is_empty(dir));
        for (const ProgressCall &call : log.calls)
            EXPECT_NE(call.done, call.total);
    }

    // A redirect is followed to the file; a failed download leaves an earlier file alone.
    sim().routeAllHosts();
    EXPECT_EQ(download("http://t.sim.test/moved.bin", dir.string(), "a.bin"), 1);
    EXPECT_TRUE(readFile(dir / "a.bin") == body);
    EXPECT_EQ(download("http://short.sim.test/short.bin", dir.string(), "a.bin"), 0);
    EXPECT_TRUE(readFile(dir / "a.bin") == body);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(HttpDownloaderTest, ResponseHeaderRules) {
    sim().setResponse(kTestHost, "/h", {200, {{"X-Tight", "value"}}, "12345"});
    net::HttpDownloader downloader;
    downloader.open("GET", "http://t.sim.test/h");
    downloader.send();
    EXPECT_EQ(downloader.responseHeader("Content-Length"), "5");
    EXPECT_EQ(downloader.responseHeader("content-length").substr(0, 15), "HTTP/1.1 200 OK"); // case counts
    EXPECT_EQ(downloader.responseHeader("Missing").substr(0, 15), "HTTP/1.1 200 OK");
}

TEST_F(HttpDownloaderTest, ProbeFileSize) {
    sim().setResponse(kTestHost, "/partial", {206, {}, std::string(1234, 'x')});
    sim().setResponse(kTestHost, "/chunked", {200, {}, "abc", "text/plain", true});
    const std::string updateAddress = servicesim::updateFileAddressFor("1.3");
    EXPECT_EQ(net::probeFileSize(updateAddress), "2500000");
    EXPECT_EQ(net::probeFileSize("http://t.sim.test/partial"), "1234");
    EXPECT_EQ(net::probeFileSize("http://t.sim.test/missing"), "0");
    EXPECT_EQ(net::probeFileSize("http://t.sim.test/chunked"), "0");
    for (const auto &request : sim().requests())
        EXPECT_EQ(request.method, "HEAD");
    EXPECT_EQ(sim().requests().size(), 4u);
}

} // namespace
} // namespace nettest
