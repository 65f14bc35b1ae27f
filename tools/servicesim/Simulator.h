#pragma once
// A stand-in for every outside web service of the program, on loopback.
//
// It answers by Host header like the real services would (note page, message board, captcha,
// counter, thumbnails, preview show pages and sprite sheets, player files, Youku and Tencent pages,
// the update file), records every request as it arrived on the wire, and can be told to
// misbehave per host. Tests run it in-process:
//
//     servicesim::Simulator sim;            // free loopback ports, plain and TLS
//     ASSERT_TRUE(sim.start());
//     sim.routeAllHosts();                  // every host (any port) to the simulator, 443 to its TLS side
//     sim.setFault("s4.cnzz.com", servicesim::Fault::Stall);
//     ... net::httpRequest(...) ...
//     sim.requests();                       // what arrived
//
// The program's demo build routes every service host to a simulator process on a fixed port.

#include "net/Services.h"

#include <chrono>
#include <cstddef>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace servicesim {

// Ways a host can misbehave.
enum class Fault {
    None,
    Refuse,           // the connection is dropped (reset) before any answer
    Reset,            // the answer is reset half-way through its body
    Stall,            // the request is read and never answered
    StallMidBody,     // the answer stops half-way through its body and the connection stays open
    ShortBody,        // the body ends (connection closed) before the Content-Length announced
    Status404,        // "404 Not Found" with a small error page
    Status500,        // "500 Internal Server Error" with a small error page
    OversizedHeaders, // the usual answer with a header block of more than 8,000 characters
    EmptyBody,        // "200 OK" with an empty body
};
const char *faultName(Fault fault);
// "refuse", "reset", ... as faultName() writes them; Fault::None for an unknown name.
Fault faultFromName(std::string_view name);

struct NewEpisode {
    int number = 0;
    std::string title;  // UTF-8
    std::string sohuId;
};

struct BoardEntry {
    std::string title;       // the version the entry is about, such as "1.3"
    std::string fileAddress; // full address of the program file
};

// What the services say. Texts are UTF-8.
struct Scenario {
    // Note page.
    std::string version = "1.2";
    std::string announcement = "欢迎使用岚影迷！\r\n有问题请在菜单“我要留言”里告诉我们。";
    std::string updateDescription = "新增最新剧集；修复若干问题；提升稳定性";
    std::vector<NewEpisode> newlyAired;
    bool noteHasFields = true; // false: the page carries none of the markers
    // Message board.
    std::string boardCode = "hx71840a";
    std::string captchaText = "8341";
    // Entries of the board list besides the one for `version`, which is always there.
    std::vector<BoardEntry> boardEntries;
    // Preview: seconds per PPTV id; an id without an entry lasts defaultDuration; a negative value
    // leaves the duration field out of the show page.
    std::map<std::string, int> durations;
    int defaultDuration = 1440;
    std::set<int> missingSpriteSheets;
    // Update file served for every path under /release/ on the update host.
    std::size_t updateFileSize = 2'500'000;
};

// The file address the board list names for a version.
std::string updateFileAddressFor(std::string_view version);
// The sprite id the PPTV show page of a PPTV id names.
std::string spriteIdFor(std::string_view pptvId);
// The bytes of the update file of a size (a fixed pattern).
std::string updateFileBytes(std::size_t size);

struct RecordedRequest {
    std::string method;
    std::string target;  // as on the request line: path and query
    std::string path;    // target without the query
    std::string version; // "HTTP/1.1"
    std::string host;    // Host header, lower-cased, without port
    std::vector<std::string> headerLines; // as they arrived, without line ends
    std::string body;
    bool secure = false; // arrived over TLS
    std::chrono::steady_clock::time_point time;

    // First value of a header (name in any case, blanks around the value removed); empty if absent.
    std::string header(std::string_view name) const;
    int headerCount(std::string_view name) const;
};

// A fixed answer for a host and path (query ignored), ahead of everything else.
struct CannedResponse {
    int status = 200;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    std::string contentType = "text/html";
    bool chunked = false; // sent in chunks, without Content-Length
};

struct FeedbackPost {
    std::string nickname; // GBK, as decoded from the form
    std::string content;  // GBK
    std::string captcha;
    bool accepted = false;
};

class Simulator {
public:
    struct Options {
        int port = 0;       // 0: a free port
        bool tls = true;    // also listen for TLS on a second free port
        std::string address = "127.0.0.1";
    };
    Simulator();
    explicit Simulator(Options options);
    ~Simulator();
    Simulator(const Simulator &) = delete;
    Simulator &operator=(const Simulator &) = delete;

    bool start();
    void stop();
    int port() const;
    int tlsPort() const;
    // The self-signed certificate of the TLS side (PEM), valid for every service host,
    // "localhost", "sim.test" and any "*.sim.test".
    std::string certificatePem() const;

    // Every host on any port to the plain side, port 443 to the TLS side.
    std::vector<net::Route> routes() const;
    // Installs routes() as net's route table and trusts the TLS side's certificate.
    void routeAllHosts() const;

    void setScenario(Scenario scenario);
    Scenario scenario() const;
    void setFault(std::string_view host, Fault fault);
    Fault fault(std::string_view host) const;
    void clearFaults();
    // Sends the answers of a host at most this fast (0: no limit).
    void setThrottle(std::string_view host, std::size_t bytesPerSecond);
    void setResponse(std::string_view host, std::string_view path, CannedResponse response);
    void clearResponses();

    std::vector<RecordedRequest> requests() const;
    std::vector<RecordedRequest> requestsTo(std::string_view host) const;
    void clearRequests();
    // Back to the default scenario with no faults, canned answers or recorded requests, every
    // service host routed here: the state each test starts from.
    void resetForTest();
    std::vector<FeedbackPost> feedbackPosts() const;
    int counterVisits() const;

    struct State;

private:
    std::unique_ptr<State> state_;
};

// One simulator for a whole test run, started on first use; stopSharedSimulator() ends it
// (tests call it when the run ends, so none of its threads outlives the tests).
Simulator &sharedSimulator();
void stopSharedSimulator();

} // namespace servicesim
