#include "net/Services.h"

#include "net/Transfer.h"

#include <memory>
#include <mutex>

#ifndef LYM_DEMO_SIM_PORT
#define LYM_DEMO_SIM_PORT 0
#endif

namespace net {
namespace {

std::mutex routesMutex;
std::shared_ptr<const std::vector<Route>> routeTable = std::make_shared<const std::vector<Route>>();

} // namespace

std::vector<std::string_view> serviceHosts() {
    std::vector<std::string_view> hosts = {kPlayerHost, kIqiyiPlayerHost};
    hosts.insert(hosts.end(), kIqiyiPictureHosts.begin(), kIqiyiPictureHosts.end());
    hosts.insert(hosts.end(), {kYoukuHost, kTencentHost, kPptvPageHost, kPptvImageHost, kNoteHost, kBoardHomeHost,
                               kBoardContentHost, kCounterHost, kUpdateFileHost});
    return hosts;
}

void setRoutes(std::vector<Route> routes) {
    auto table = std::make_shared<const std::vector<Route>>(std::move(routes));
    std::lock_guard lock(routesMutex);
    routeTable = std::move(table);
}

std::vector<Route> routes() {
    std::lock_guard lock(routesMutex);
    return *routeTable;
}

void clearRoutes() { setRoutes({}); }

int demoSimulatorPort() { return LYM_DEMO_SIM_PORT; }

void installDemoRoutes() {
    const int port = demoSimulatorPort();
    if (port == 0)
        return;
    std::vector<Route> table;
    for (std::string_view host : serviceHosts())
        table.push_back({std::string(host), 0, "127.0.0.1", port});
    setRoutes(std::move(table));
}

namespace detail {

std::shared_ptr<const std::vector<Route>> routeSnapshot() {
    std::lock_guard lock(routesMutex);
    return routeTable;
}

} // namespace detail
} // namespace net
