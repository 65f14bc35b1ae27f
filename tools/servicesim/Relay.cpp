#include "Relay.h"
#include "text/Text.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace servicesim {
namespace {

constexpr size_t kMaxRequestHead = 1 << 20;
constexpr long long kMaxRequestBody = 64LL << 20;

std::vector<std::string> splitCrLf(std::string_view block) {
    std::vector<std::string> lines;
    size_t begin = 0;
    while (begin <= block.size()) {
        const size_t end = block.find("\r\n", begin);
        lines.emplace_back(block.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin));
        if (end == std::string_view::npos)
            break;
        begin = end + 2;
    }
    return lines;
}

long long numberOr(std::string_view text, long long fallback) {
    if (text.empty() || text.size() > 15 || text.find_first_not_of("0123456789") != std::string_view::npos)
        return fallback;
    return std::stoll(std::string(text));
}

void setNoDelay(int fd) {
    int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

// One client connection (plain or TLS), with waits that end when the relay stops.
class Peer {
public:
    Peer(int fd, int wakeFd) : fd_(fd), wakeFd_(wakeFd) {}
    ~Peer() {
        if (ssl_)
            SSL_free(ssl_);
        if (fd_ >= 0)
            ::close(fd_);
    }

    bool startTls(SSL_CTX *context) {
        timeval timeout{5, 0};
        setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
        ssl_ = SSL_new(context);
        SSL_set_fd(ssl_, fd_);
        if (!waitReadable(-1))
            return false;
        return SSL_accept(ssl_) == 1;
    }

    // Waits until the peer has bytes (or closed); false when the relay stops or time runs out.
    bool waitReadable(int timeoutMs) {
        if (ssl_ && SSL_pending(ssl_) > 0)
            return true;
        pollfd fds[2] = {{fd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        for (;;) {
            const int n = ::poll(fds, 2, timeoutMs);
            if (n < 0 && errno == EINTR)
                continue;
            return n > 0 && !(fds[1].revents & POLLIN);
        }
    }

    // Bytes read, 0 at the end of the stream, -1 on error or stop.
    long readSome(char *buffer, size_t size) {
        if (!waitReadable(-1))
            return -1;
        if (ssl_) {
            const int n = SSL_read(ssl_, buffer, static_cast<int>(size));
            if (n > 0)
                return n;
            return SSL_get_error(ssl_, n) == SSL_ERROR_ZERO_RETURN ? 0 : -1;
        }
        const ssize_t n = ::recv(fd_, buffer, size, 0);
        return n < 0 ? -1 : static_cast<long>(n);
    }

    bool writeAll(std::string_view bytes) {
        while (!bytes.empty()) {
            if (ssl_) {
                const int n = SSL_write(ssl_, bytes.data(), static_cast<int>(std::min<size_t>(bytes.size(), 1 << 20)));
                if (n <= 0)
                    return false;
                bytes.remove_prefix(static_cast<size_t>(n));
                continue;
            }
            const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n > 0) {
                bytes.remove_prefix(static_cast<size_t>(n));
                continue;
            }
            if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
                return false;
            pollfd fds[2] = {{fd_, POLLOUT, 0}, {wakeFd_, POLLIN, 0}};
            if (::poll(fds, 2, -1) < 0 && errno != EINTR)
                return false;
            if (fds[1].revents & POLLIN)
                return false;
        }
        return true;
    }

    // Drops the connection with a reset rather than an orderly close.
    void reset() {
        linger hard{1, 0};
        setsockopt(fd_, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        ::close(fd_);
        fd_ = -1;
    }

    void closeOrderly() {
        if (ssl_)
            SSL_shutdown(ssl_);
        ::shutdown(fd_, SHUT_WR);
    }

    // Holds the connection open, saying nothing, until the client gives up or the relay stops.
    void holdUntilGone() {
        char sink[4096];
        while (readSome(sink, sizeof sink) > 0) {
        }
    }

    // Waits `ms` milliseconds unless the relay stops first (then false).
    bool pause(int ms) {
        pollfd fd{wakeFd_, POLLIN, 0};
        return ::poll(&fd, 1, ms) == 0;
    }

private:
    int fd_;
    int wakeFd_;
    SSL *ssl_ = nullptr;
};

} // namespace

std::string headerIn(const std::vector<std::string> &lines, std::string_view name) {
    const std::string wanted = text::asciiLower(name);
    for (const std::string &line : lines) {
        const size_t colon = line.find(':');
        if (colon != std::string::npos && text::asciiLower(text::trimBlanks(line.substr(0, colon))) == wanted)
            return text::trimBlanks(std::string_view(line).substr(colon + 1));
    }
    return {};
}

Relay::Relay(Recorder recorder, Planner planner, int upstreamPort, SSL_CTX *tls)
    : recorder_(std::move(recorder)), planner_(std::move(planner)), upstreamPort_(upstreamPort), tls_(tls) {}

Relay::~Relay() { stop(); }

bool Relay::listen(const std::string &address, int port) {
    // A client that goes away while an answer is written must not end the process.
    std::signal(SIGPIPE, SIG_IGN);
    if (::pipe2(wakePipe_, O_CLOEXEC) != 0)
        return false;
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int on = 1;
    setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in where{};
    where.sin_family = AF_INET;
    where.sin_port = htons(static_cast<uint16_t>(port));
    if (::inet_pton(AF_INET, address.c_str(), &where.sin_addr) != 1 ||
        ::bind(listenFd_, reinterpret_cast<sockaddr *>(&where), sizeof where) != 0 || ::listen(listenFd_, 64) != 0) {
        ::close(listenFd_);
        listenFd_ = -1;
        return false;
    }
    socklen_t length = sizeof where;
    ::getsockname(listenFd_, reinterpret_cast<sockaddr *>(&where), &length);
    port_ = ntohs(where.sin_port);
    acceptThread_ = std::thread([this] { acceptLoop(); });
    return true;
}

void Relay::stop() {
    if (wakePipe_[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(wakePipe_[1], &byte, 1);
    }
    if (acceptThread_.joinable())
        acceptThread_.join();
    {
        std::lock_guard lock(workersMutex_);
        for (Worker &worker : workers_)
            worker.thread.join();
        workers_.clear();
    }
    if (listenFd_ >= 0)
        ::close(listenFd_);
    listenFd_ = -1;
    for (int &fd : wakePipe_) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void Relay::acceptLoop() {
    for (;;) {
        pollfd fds[2] = {{listenFd_, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents & POLLIN)
            return;
        const int client = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        setNoDelay(client);
        std::lock_guard lock(workersMutex_);
        for (auto it = workers_.begin(); it != workers_.end();) {
            if (it->done->load()) {
                it->thread.join();
                it = workers_.erase(it);
            } else {
                ++it;
            }
        }
        auto done = std::make_shared<std::atomic<bool>>(false);
        workers_.push_back({std::thread([this, client, done] {
                                serve(client);
                                done->store(true);
                            }),
                            done});
    }
}

void Relay::serve(int clientFd) {
    Peer client(clientFd, wakePipe_[0]);
    if (tls_ && !client.startTls(tls_))
        return;

    // The request head, then its body.
    std::string in;
    char buffer[16384];
    size_t headEnd;
    while ((headEnd = in.find("\r\n\r\n")) == std::string::npos) {
        if (in.size() > kMaxRequestHead)
            return;
        const long n = client.readSome(buffer, sizeof buffer);
        if (n <= 0)
            return;
        in.append(buffer, static_cast<size_t>(n));
    }
    std::vector<std::string> lines = splitCrLf(std::string_view(in).substr(0, headEnd));
    RecordedRequest request;
    request.secure = tls_ != nullptr;
    request.time = std::chrono::steady_clock::now();
    {
        const std::string &requestLine = lines.front();
        const size_t a = requestLine.find(' ');
        const size_t b = requestLine.find(' ', a == std::string::npos ? a : a + 1);
        request.method = requestLine.substr(0, a);
        if (a != std::string::npos)
            request.target = requestLine.substr(a + 1, b == std::string::npos ? std::string::npos : b - a - 1);
        if (b != std::string::npos)
            request.version = requestLine.substr(b + 1);
        request.path = request.target.substr(0, request.target.find('?'));
    }
    lines.erase(lines.begin());
    request.headerLines = lines;
    std::string host = text::asciiLower(headerIn(lines, "host"));
    if (!host.empty() && host.front() != '[')
        host = host.substr(0, host.find(':'));
    request.host = host;

    const size_t bodyStart = headEnd + 4;
    const bool chunked = text::asciiLower(headerIn(lines, "transfer-encoding")).find("chunked") != std::string::npos;
    const long long contentLength = numberOr(headerIn(lines, "content-length"), 0);
    if (contentLength > kMaxRequestBody) {
        client.reset();
        return;
    }
    auto bodyComplete = [&] {
        if (chunked)
            return in.find("0\r\n\r\n", bodyStart) != std::string::npos;
        return static_cast<long long>(in.size() - bodyStart) >= contentLength;
    };
    while (!bodyComplete()) {
        const long n = client.readSome(buffer, sizeof buffer);
        if (n <= 0)
            return;
        in.append(buffer, static_cast<size_t>(n));
    }
    request.body = in.substr(bodyStart, chunked ? std::string::npos : static_cast<size_t>(contentLength));

    // A refused connection never got as far as a request.
    const ConnectionPlan plan = planner_(host);
    if (plan.fault == Fault::Refuse) {
        client.reset();
        return;
    }
    recorder_(std::move(request));
    if (plan.fault == Fault::Stall) {
        client.holdUntilGone();
        return;
    }

    const int upstreamFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in where{};
    where.sin_family = AF_INET;
    where.sin_port = htons(static_cast<uint16_t>(upstreamPort_));
    where.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    Peer upstream(upstreamFd, wakePipe_[0]);
    if (::connect(upstreamFd, reinterpret_cast<sockaddr *>(&where), sizeof where) != 0) {
        client.reset();
        return;
    }
    setNoDelay(upstreamFd);
    if (!upstream.writeAll(in))
        return;

    // The answer, passed on as it comes, up to where a fault cuts it.
    const bool cuts = plan.fault == Fault::Reset || plan.fault == Fault::StallMidBody || plan.fault == Fault::ShortBody;
    std::string head;
    bool headKnown = false;
    size_t forwarded = 0;
    size_t cutAt = std::string::npos;
    for (;;) {
        long n = upstream.readSome(buffer, sizeof buffer);
        if (n <= 0)
            break;
        if (!headKnown) {
            head.append(buffer, static_cast<size_t>(n));
            const size_t end = head.find("\r\n\r\n");
            if (end != std::string::npos) {
                headKnown = true;
                const std::vector<std::string> answerLines = splitCrLf(std::string_view(head).substr(0, end));
                const long long length = numberOr(headerIn(answerLines, "content-length"), 0);
                if (cuts)
                    cutAt = end + 4 + static_cast<size_t>(length / 2);
            }
        }
        bool cutNow = false;
        if (cutAt != std::string::npos && forwarded + static_cast<size_t>(n) >= cutAt) {
            n = static_cast<long>(cutAt - forwarded);
            cutNow = true;
        }
        std::string_view piece(buffer, static_cast<size_t>(n));
        while (!piece.empty()) {
            // A throttled host gets its answer in tenths of a second's worth.
            const size_t slice = plan.bytesPerSecond ? std::max<size_t>(1, plan.bytesPerSecond / 10) : piece.size();
            const std::string_view part = piece.substr(0, slice);
            if (!client.writeAll(part))
                return;
            piece.remove_prefix(part.size());
            if (plan.bytesPerSecond &&
                !client.pause(static_cast<int>(part.size() * 1000 / plan.bytesPerSecond)))
                return;
        }
        forwarded += static_cast<size_t>(n);
        if (cutNow) {
            if (plan.fault == Fault::Reset) {
                client.reset();
            } else if (plan.fault == Fault::StallMidBody) {
                client.holdUntilGone();
            } else {
                client.closeOrderly();
            }
            return;
        }
    }
    client.closeOrderly();
}

} // namespace servicesim
