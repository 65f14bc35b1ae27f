#include "net/Transfer.h"

#include "net/Control.h"

#include <atomic>
#include <mutex>
#include <set>

namespace net {
namespace {

std::atomic<bool> aborted{false};

// Multi handles of the transfers in flight, so an abort can wake each of them from its wait.
std::mutex activeMutex;
std::set<CURLM *> activeMultis;

std::mutex settingsMutex;
std::optional<testing::Timeouts> timeoutOverride;
std::string certificateAuthority;

} // namespace

void abortAllTransfers() {
    aborted.store(true);
    std::lock_guard lock(activeMutex);
    for (CURLM *multi : activeMultis)
        curl_multi_wakeup(multi);
}

bool transfersAborted() { return aborted.load(); }

namespace testing {

void overrideTimeouts(std::optional<Timeouts> timeouts) {
    std::lock_guard lock(settingsMutex);
    timeoutOverride = timeouts;
}

void setCertificateAuthority(std::string pem) {
    std::lock_guard lock(settingsMutex);
    certificateAuthority = std::move(pem);
}

void resumeTransfers() { aborted.store(false); }

} // namespace testing

namespace detail {
namespace {

Timeouts overriddenOr(Timeouts defaults) {
    std::lock_guard lock(settingsMutex);
    if (!timeoutOverride)
        return defaults;
    return {timeoutOverride->connect, timeoutOverride->idle, timeoutOverride->total};
}

std::string routeEntry(const Route &route) {
    return route.host + ":" + (route.port > 0 ? std::to_string(route.port) : std::string()) + ":" + route.toHost +
           ":" + std::to_string(route.toPort);
}

} // namespace

void ensureCurl() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

Timeouts transferTimeouts() {
    using namespace std::chrono_literals;
    return overriddenOr({60s, 30s, 0s});
}

Timeouts probeTimeouts() {
    using namespace std::chrono_literals;
    // libcurl's connect time-out covers the name lookup; the whole probe may take at most the
    // sum of the four time-outs.
    return overriddenOr({10s, 5s, 25s});
}

bool abortRequested() { return aborted.load(); }

// libcurl reports the byte counts often while bytes move: each change counts as activity.
int onProgress(void *self, curl_off_t, curl_off_t downloaded, curl_off_t, curl_off_t uploaded) {
    auto *transfer = static_cast<Transfer *>(self);
    if (downloaded + uploaded != transfer->bytesSeen_) {
        transfer->bytesSeen_ = downloaded + uploaded;
        transfer->lastActivity_ = std::chrono::steady_clock::now();
    }
    return aborted.load() ? 1 : 0;
}

Transfer::Transfer() {
    ensureCurl();
    easy_ = curl_easy_init();
    multi_ = curl_multi_init();
    if (multi_) {
        std::lock_guard lock(activeMutex);
        activeMultis.insert(multi_);
    }
}

Transfer::~Transfer() {
    if (multi_) {
        std::lock_guard lock(activeMutex);
        activeMultis.erase(multi_);
    }
    if (added_)
        curl_multi_remove_handle(multi_, easy_);
    if (easy_)
        curl_easy_cleanup(easy_);
    if (multi_)
        curl_multi_cleanup(multi_);
    curl_slist_free_all(connectTo_);
    curl_slist_free_all(headers_);
}

void Transfer::configure(const std::string &url, const Timeouts &timeouts, const std::string &proxy) {
    curl_easy_setopt(easy_, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy_, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy_, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(easy_, CURLOPT_PATH_AS_IS, 1L);
    // The body is handed back exactly as it came.
    curl_easy_setopt(easy_, CURLOPT_HTTP_CONTENT_DECODING, 0L);
    // An empty proxy also keeps libcurl from taking one from the environment.
    curl_easy_setopt(easy_, CURLOPT_PROXY, proxy.c_str());

    curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeouts.connect.count()));
    curl_easy_setopt(easy_, CURLOPT_TIMEOUT_MS, static_cast<long>(timeouts.total.count()));
    idle_ = timeouts.idle;

#if LIBCURL_VERSION_NUM >= 0x075700
    // An aborted transfer must not wait for a name lookup that is still running.
    curl_easy_setopt(easy_, CURLOPT_QUICK_EXIT, 1L);
#endif
    curl_easy_setopt(easy_, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy_, CURLOPT_XFERINFOFUNCTION, &onProgress);
    curl_easy_setopt(easy_, CURLOPT_XFERINFODATA, this);

    for (const Route &route : *routeSnapshot())
        connectTo_ = curl_slist_append(connectTo_, routeEntry(route).c_str());
    curl_easy_setopt(easy_, CURLOPT_CONNECT_TO, connectTo_);

    std::string ca;
    {
        std::lock_guard lock(settingsMutex);
        ca = certificateAuthority;
    }
    if (!ca.empty()) {
        curl_blob blob{ca.data(), ca.size(), CURL_BLOB_COPY};
        curl_easy_setopt(easy_, CURLOPT_CAINFO_BLOB, &blob);
    }
}

void Transfer::setHeaderLines(const std::vector<std::string> &lines) {
    curl_slist_free_all(headers_);
    headers_ = nullptr;
    for (const std::string &line : lines)
        headers_ = curl_slist_append(headers_, line.c_str());
    curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headers_);
}

bool Transfer::drive(const std::function<bool()> &pauseWhen) {
    if (finished_)
        return true;
    if (!added_) {
        if (curl_multi_add_handle(multi_, easy_) != CURLM_OK) {
            finished_ = true;
            result_ = CURLE_FAILED_INIT;
            return true;
        }
        added_ = true;
    }
    using Clock = std::chrono::steady_clock;
    // Time spent outside drive() (between a download's send and its body) is no silence.
    lastActivity_ = Clock::now();
    for (;;) {
        if (aborted.load()) {
            finished_ = true;
            result_ = CURLE_ABORTED_BY_CALLBACK;
            return true;
        }
        int running = 0;
        curl_multi_perform(multi_, &running);
        int queued = 0;
        while (CURLMsg *message = curl_multi_info_read(multi_, &queued)) {
            if (message->msg == CURLMSG_DONE && message->easy_handle == easy_) {
                finished_ = true;
                result_ = message->data.result;
            }
        }
        if (finished_)
            return true;
        if (pauseWhen && pauseWhen())
            return false;

        // The connect time-out covers the time until the connection stands; from then on the
        // silence watch does.
        int waitMs = 1000;
        if (idle_.count() > 0) {
            if (!connected_) {
                curl_off_t connectTime = 0;
                curl_easy_getinfo(easy_, CURLINFO_CONNECT_TIME_T, &connectTime);
                if (connectTime > 0) {
                    connected_ = true;
                    lastActivity_ = Clock::now();
                }
            }
            if (connected_) {
                const auto silent = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - lastActivity_);
                if (silent >= idle_) {
                    finished_ = true;
                    result_ = CURLE_OPERATION_TIMEDOUT;
                    return true;
                }
                waitMs = static_cast<int>(std::min<long long>(waitMs, (idle_ - silent).count() + 1));
            }
        }
        curl_multi_poll(multi_, nullptr, 0, waitMs, nullptr);
    }
}

} // namespace detail
} // namespace net
