#pragma once
// Process-wide control over every transfer of the net library.

#include <chrono>
#include <optional>
#include <string>

namespace net {

// Ends every running transfer at once with its failure result (empty bytes, 0), and makes every
// later one fail the same way without touching the network. Used at shutdown, so that quitting
// never waits on a silent server. Safe from any thread.
void abortAllTransfers();
bool transfersAborted();

// Hooks for tests; the program never calls them.
namespace testing {

struct Timeouts {
    std::chrono::milliseconds connect{0};
    std::chrono::milliseconds idle{0}; // a connection that moves no byte for this long fails
    std::chrono::milliseconds total{0};
};
// Replaces the time-outs of every kind of transfer (page request, download, size probe) until
// called again with nothing.
void overrideTimeouts(std::optional<Timeouts> timeouts);
// Trusts exactly this PEM certificate (a test server's own) instead of the system's store; the
// empty text restores the system store.
void setCertificateAuthority(std::string pem);
// Lifts abortAllTransfers() again.
void resumeTransfers();

} // namespace testing
} // namespace net
