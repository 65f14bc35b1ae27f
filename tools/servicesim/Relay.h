#pragma once
// The simulator's front door: a byte relay in front of the HTTP server that keeps every request
// exactly as it arrived (header lines with their own blanks and order), terminates TLS, and
// breaks connections on purpose (refuse, reset, stall, short body) or slows them down.

#include "Simulator.h"

#include <atomic>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

typedef struct ssl_ctx_st SSL_CTX;

namespace servicesim {

// The value of the first header line named `name` (any case) in a block of header lines.
std::string headerIn(const std::vector<std::string> &lines, std::string_view name);


struct ConnectionPlan {
    Fault fault = Fault::None;
    std::size_t bytesPerSecond = 0;
};

class Relay {
public:
    using Recorder = std::function<void(RecordedRequest)>;
    using Planner = std::function<ConnectionPlan(const std::string &host)>;

    // Requests are relayed to the HTTP server on 127.0.0.1:upstreamPort; with a TLS context the
    // relay speaks TLS to its clients.
    Relay(Recorder recorder, Planner planner, int upstreamPort, SSL_CTX *tls);
    ~Relay();

    bool listen(const std::string &address, int port);
    int port() const { return port_; }
    void stop();

private:
    void acceptLoop();
    void serve(int clientFd);

    Recorder recorder_;
    Planner planner_;
    int upstreamPort_;
    SSL_CTX *tls_;
    int listenFd_ = -1;
    int port_ = 0;
    int wakePipe_[2] = {-1, -1}; // written once at stop: every wait in the relay watches it
    std::thread acceptThread_;
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    std::mutex workersMutex_;
    std::list<Worker> workers_;
};

} // namespace servicesim
