#pragma once
// Streaming file download with progress reports, and the size probe of the self-update.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace net {

namespace detail {
class Transfer;
}
struct RequestTarget;

// Called from the download's own progress thread, at most once a second while bytes arrive, and
// once more with done equal to total when the file is complete.
using ProgressFunction =
    std::function<void(int callerValue, std::int64_t total, std::int64_t done, std::int64_t elapsedMs)>;

// One request object for one download: open, setRequestHeader (any number), send,
// downloadToFile. Used by one thread at a time.
class HttpDownloader {
public:
    HttpDownloader();
    ~HttpDownloader();
    HttpDownloader(const HttpDownloader &) = delete;
    HttpDownloader &operator=(const HttpDownloader &) = delete;

    // Prepares a request with the verb (upper-cased) to the address. 1 when ready, else 0. A
    // second open replaces the first request, headers included.
    int open(std::string_view verb, std::string_view address);
    // Sends the line name + ":" + value (no blank is added after the colon), replacing a header
    // of that name (any case) or adding it. 1 on success, 0 before open or for an empty name.
    int setRequestHeader(std::string_view name, std::string_view value);
    // Sends the request and waits for the response headers. 1 when they arrived, else 0.
    int send();
    // The value of the response header `name` (case-sensitive): the text from the second
    // character after its colon to the line end; the whole header text when it is missing.
    std::string responseHeader(std::string_view name) const;

    // Streams the body into directory + fileName (directory: GBK, a separator is appended unless
    // it ends with one, and the caller's text receives it). 1 when the whole body announced by
    // Content-Length is in the file, else 0; the file then does not exist under its name (an
    // earlier file of that name is replaced only by a complete one).
    int downloadToFile(std::string &directory, std::string_view fileName, ProgressFunction progress = {},
                       int callerValue = 0);

    // What the last downloadToFile saw: the number of pieces written and the largest of them.
    std::size_t pieceCount() const { return pieceCount_; }
    std::size_t largestPiece() const { return largestPiece_; }

    // The value done takes once a download has finished.
    static constexpr std::int64_t kEndMark = -768;
    // Bytes written to the file (and counted as done) per piece at most.
    static constexpr std::size_t kPieceSize = 5120;

private:
    struct Sink;
    static size_t onHeader(char *data, size_t size, size_t count, void *user);
    static size_t onBody(char *data, size_t size, size_t count, void *user);
    bool writePiece(std::string_view piece);

    std::unique_ptr<detail::Transfer> transfer_;
    std::unique_ptr<RequestTarget> target_;
    std::string verb_;
    std::vector<std::string> requestHeaders_; // "Name:value"
    std::string headerBlock_;                 // of the latest response while sending
    std::string responseHeaders_;             // of the final response, once it is known
    bool headersDone_ = false;
    long status_ = 0;
    std::vector<std::string> early_;          // body pieces that came with the headers
    Sink *sink_ = nullptr;
    std::size_t pieceCount_ = 0;
    std::size_t largestPiece_ = 0;
};

// The size of the file at `address` from a HEAD request (5 s resolve, 5 s connect, 10 s send and
// 5 s receive time-outs): the Content-Length text when the status is 200 or 206, else "0".
std::string probeFileSize(std::string_view address);

} // namespace net
