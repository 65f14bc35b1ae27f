#pragma once
// What every transfer of the net library shares: libcurl's one-time start, the time-outs, the
// route table, the process-wide abort, and the loop that drives one easy handle.

#include "net/Services.h"

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include <curl/curl.h>

namespace net::detail {

int onProgress(void *self, curl_off_t, curl_off_t downloaded, curl_off_t, curl_off_t uploaded);

void ensureCurl();

struct Timeouts {
    std::chrono::milliseconds connect{0}; // name lookup and connect
    std::chrono::milliseconds idle{0};    // a transfer that moves no byte for this long fails
    std::chrono::milliseconds total{0};   // 0: no limit
};
// The page request's and the download's time-outs: connect 60 s, nothing received for 30 s.
Timeouts transferTimeouts();
// The size probe's: 5 s resolve + 5 s connect, 10 s send, 5 s receive.
Timeouts probeTimeouts();

bool abortRequested();

std::shared_ptr<const std::vector<Route>> routeSnapshot();

// One libcurl easy handle and the multi handle that drives it, so that abortAllTransfers() can
// wake a transfer that waits on a silent peer at once.
class Transfer {
public:
    Transfer();
    ~Transfer();
    Transfer(const Transfer &) = delete;
    Transfer &operator=(const Transfer &) = delete;

    bool valid() const { return easy_ != nullptr && multi_ != nullptr; }
    CURL *easy() const { return easy_; }

    // The settings every transfer shares: the address, the route table, time-outs, no signals,
    // HTTP/1.1 over http or https only, no proxy (unless `proxy` names one), no cookie engine.
    void configure(const std::string &url, const Timeouts &timeouts, const std::string &proxy = {});
    // Request header lines; the list lives as long as the transfer.
    void setHeaderLines(const std::vector<std::string> &lines);

    // Drives the transfer until it ends (answers true; the outcome is result()) or until
    // `pauseWhen` answers true after a step (answers false; a later drive() goes on from there).
    bool drive(const std::function<bool()> &pauseWhen = {});
    CURLcode result() const { return result_; }
    bool finished() const { return finished_; }

private:
    CURL *easy_ = nullptr;
    CURLM *multi_ = nullptr;
    curl_slist *connectTo_ = nullptr;
    curl_slist *headers_ = nullptr;
    bool added_ = false;
    bool finished_ = false;
    CURLcode result_ = CURLE_OK;
    // Silence watch: a transfer whose connection moves no byte for `idle_` fails.
    std::chrono::milliseconds idle_{0};
    bool connected_ = false;
    curl_off_t bytesSeen_ = -1;
    std::chrono::steady_clock::time_point lastActivity_;
    friend int onProgress(void *, curl_off_t, curl_off_t, curl_off_t, curl_off_t);
};

} // namespace net::detail
