// service-sim: the stand-in for every outside web service, as a process.
//
//   service-sim [--port N] [--tls] [--version V] [--captcha TEXT] [--duration SECONDS]
//               [--update-size BYTES] [--fault HOST=KIND]... [--throttle HOST=BYTES_PER_SECOND]...
//
// Every host is served by its Host header, so `curl --connect-to ::127.0.0.1:N http://v.pptv.com/...`
// reaches the PPTV stand-in. KIND is one of refuse, reset, stall, stall-mid-body, short-body, 404,
// 500, oversized-headers, empty-body.

#include "Simulator.h"

#include <QGuiApplication>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pthread.h>
#include <string>

namespace {

int usage() {
    std::fprintf(stderr, "usage: service-sim [--port N] [--tls] [--version V] [--captcha TEXT] [--duration SECONDS]\n"
                         "                   [--update-size BYTES] [--fault HOST=KIND]... [--throttle HOST=BPS]...\n");
    return 2;
}

} // namespace

int main(int argc, char **argv) {
    // Pictures are drawn with fonts, which need a GUI application but no display.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);

    servicesim::Simulator::Options options;
    options.port = 18080;
    options.tls = false;
    servicesim::Scenario scenario;
    std::vector<std::pair<std::string, servicesim::Fault>> faults;
    // The update download is slowed down so its progress can be watched.
    std::vector<std::pair<std::string, std::size_t>> throttles = {{std::string(net::kUpdateFileHost), 1'000'000}};
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        auto value = [&]() -> std::string { return i + 1 < argc ? argv[++i] : std::string(); };
        auto split = [](const std::string &pair) {
            const size_t equals = pair.find('=');
            return std::make_pair(pair.substr(0, equals), equals == std::string::npos ? "" : pair.substr(equals + 1));
        };
        if (argument == "--port") {
            options.port = std::atoi(value().c_str());
        } else if (argument == "--tls") {
            options.tls = true;
        } else if (argument == "--version") {
            scenario.version = value();
        } else if (argument == "--captcha") {
            scenario.captchaText = value();
        } else if (argument == "--duration") {
            scenario.defaultDuration = std::atoi(value().c_str());
        } else if (argument == "--update-size") {
            scenario.updateFileSize = std::strtoull(value().c_str(), nullptr, 10);
        } else if (argument == "--fault") {
            const auto [host, kind] = split(value());
            const servicesim::Fault fault = servicesim::faultFromName(kind);
            if (fault == servicesim::Fault::None)
                return usage();
            faults.emplace_back(host, fault);
        } else if (argument == "--throttle") {
            const auto [host, rate] = split(value());
            throttles.emplace_back(host, std::strtoull(rate.c_str(), nullptr, 10));
        } else {
            return usage();
        }
    }

    // SIGINT and SIGTERM are taken by sigwait() below, not by any of the server threads.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    servicesim::Simulator simulator(options);
    simulator.setScenario(scenario);
    for (const auto &[host, fault] : faults)
        simulator.setFault(host, fault);
    for (const auto &[host, rate] : throttles)
        simulator.setThrottle(host, rate);
    if (!simulator.start()) {
        std::fprintf(stderr, "service-sim: cannot listen on %s:%d\n", options.address.c_str(), options.port);
        return 1;
    }
    std::printf("service-sim: serving every service host on %s:%d", options.address.c_str(), simulator.port());
    if (options.tls)
        std::printf(" (TLS on port %d)", simulator.tlsPort());
    std::printf("\n");
    std::fflush(stdout);

    int received = 0;
    sigwait(&stopSignals, &received);
    simulator.stop();
    return 0;
}
