// Every fault switch of the simulator against the page request, the download and the size probe:
// each ends within the time-outs with the failure result (or, where the answer is still whole, with
// that answer), never with a crash or a hang.

#include "NetTest.h"
#include "net/HttpDownloader.h"
#include "net/HttpRequest.h"

namespace nettest {
namespace {

namespace fs = std::filesystem;
using servicesim::Fault;

struct Expectation {
    Fault fault;
    bool bodyArrives;     // httpRequest hands back the page
    const char *status;   // start of the raw header block, or nullptr for 5,000 blanks
    bool fileArrives;     // downloadToFile answers 1
    const char *probe;    // probeFileSize's answer
};

void PrintTo(const Expectation &expectation, std::ostream *out) { *out << servicesim::faultName(expectation.fault); }

class FaultTest : public NetTest, public ::testing::WithParamInterface<Expectation> {};

TEST_P(FaultTest, EndsWithinTheTimeouts) {
    const Expectation &expected = GetParam();
    const std::string body(20000, 'b');
    sim().setResponse(kTestHost, "/f", {200, {{"Set-Cookie", "k=v; path=/"}}, body, "application/octet-stream"});
    sim().setFault(kTestHost, expected.fault);
    net::testing::overrideTimeouts(shortTimeouts());
    // Generous: connect and idle time-outs plus slack; a hang would take the 30 s default or forever.
    const auto bound = std::chrono::seconds(8);

    auto start = std::chrono::steady_clock::now();
    net::RequestArgs args;
    args.address = "http://t.sim.test/f";
    const std::string got = net::httpRequest(args);
    EXPECT_LT(std::chrono::steady_clock::now() - start, bound);
    if (expected.fault == Fault::Status404 || expected.fault == Fault::Status500) {
        EXPECT_NE(got.find("<html>"), std::string::npos); // an error page is a page like any other
    } else {
        EXPECT_TRUE(got == (expected.bodyArrives ? body : std::string())) << got.size() << " bytes";
    }
    if (expected.status)
        EXPECT_EQ(args.rawHeaders.substr(0, std::string(expected.status).size()), expected.status);
    else
        EXPECT_EQ(args.rawHeaders, std::string(5000, ' '));

    start = std::chrono::steady_clock::now();
    const fs::path dir = scratchDirectory();
    net::HttpDownloader downloader;
    downloader.open("GET", "http://t.sim.test/f");
    downloader.send();
    std::string directory = dir.string();
    EXPECT_EQ(downloader.downloadToFile(directory, "f.bin"), expected.fileArrives ? 1 : 0);
    EXPECT_EQ(fs::exists(dir / "f.bin"), expected.fileArrives);
    EXPECT_FALSE(fs::exists(dir / "f.bin.part"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, bound);

    start = std::chrono::steady_clock::now();
    EXPECT_EQ(net::probeFileSize("http://t.sim.test/f"), expected.probe);
    EXPECT_LT(std::chrono::steady_clock::now() - start, bound);
}

INSTANTIATE_TEST_SUITE_P(
    EveryFault, FaultTest,
    ::testing::Values(Expectation{Fault::Refuse, false, nullptr, false, "0"},
                      Expectation{Fault::Reset, false, nullptr, false, "20000"},
                      Expectation{Fault::Stall, false, nullptr, false, "0"},
                      Expectation{Fault::StallMidBody, false, nullptr, false, "20000"},
                      Expectation{Fault::ShortBody, false, nullptr, false, "20000"},
                      Expectation{Fault::Status404, true, "HTTP/1.1 404", false, "0"},
                      Expectation{Fault::Status500, true, "HTTP/1.1 500", false, "0"},
                      Expectation{Fault::OversizedHeaders, true, nullptr, true, "20000"},
                      Expectation{Fault::EmptyBody, false, "HTTP/1.1 200", false, "0"}),
    [](const ::testing::TestParamInfo<Expectation> &info) {
        std::string name = servicesim::faultName(info.param.fault);
        for (char &c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return "Fault_" + name;
    });

} // namespace
} // namespace nettest
