#include "net/HttpDownloader.h"

#include "net/Address.h"
#include "net/Transfer.h"
#include "text/Gbk.h"
#include "text/Text.h"

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

namespace net {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// libcurl's receive buffer: large reads keep the download close to what the connection can carry;
// the file still gets its bytes in pieces of at most kPieceSize.
constexpr long kReceiveBufferSize = 64 * 1024;
// Pieces are gathered up to this size before they go to the file in one write.
constexpr size_t kFileBufferSize = 256 * 1024;

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

// A GBK path text as a file system path (UTF-8 names on Linux).
fs::path fsPath(std::string_view gbk) {
    const std::string utf8 = text::gbkToUtf8(gbk);
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::int64_t numberValue(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    std::int64_t value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        if (value > (INT64_MAX - 9) / 10)
            return 0;
        value = value * 10 + (s[i] - '0');
    }
    return value;
}

std::string upper(std::string_view s) {
    std::string out(s);
    for (char &c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// The value of a header line of the block, name compared without regard to case, trimmed.
std::optional<std::string> headerValue(std::string_view block, std::string_view name) {
    for (std::string_view line : text::splitLines(block)) {
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos || !text::equalsIgnoringAsciiCase(line.substr(0, colon), name))
            continue;
        std::string_view value = line.substr(colon + 1);
        const size_t begin = value.find_first_not_of(" \t");
        if (begin == std::string_view::npos)
            return std::string();
        value = value.substr(begin);
        return std::string(value.substr(0, value.find_last_not_of(" \t\r\n") + 1));
    }
    return std::nullopt;
}

long statusOf(CURL *easy) {
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    return status;
}

// What the downloading thread and the progress thread share for one downloadToFile.
struct ProgressRecord {
    ProgressFunction function;
    int callerValue = 0;
    std::int64_t total = 0;
    std::atomic<std::int64_t> done{0};
    std::atomic<std::int64_t> elapsed{0};
    std::mutex mutex;
    std::condition_variable wake;
    bool failed = false; // the download ended without the end mark
};

// Looks at the record at once and then once a second: reports new bytes, and finally reports done
// equal to total once the end mark is there.
void watchProgress(ProgressRecord &record) {
    std::int64_t previous = 0;
    std::int64_t rememberedElapsed = 0;
    for (;;) {
        const std::int64_t done = record.done.load();
        if (done > 0 && done > previous) {
            const std::int64_t elapsed = record.elapsed.load();
            record.function(record.callerValue, record.total, done, elapsed);
            previous = done;
            rememberedElapsed = elapsed + 50;
        } else if (done == HttpDownloader::kEndMark) {
            record.function(record.callerValue, record.total, record.total, rememberedElapsed);
            return;
        }
        std::unique_lock lock(record.mutex);
        if (record.failed)
            return;
        record.wake.wait_for(lock, std::chrono::seconds(1), [&] { return record.failed; });
        if (record.failed)
            return;
    }
}

} // namespace

struct HttpDownloader::Sink {
    std::ofstream file;
    std::string gathered; // pieces not yet handed to the file
    std::int64_t written = 0;
    Clock::time_point start;
    ProgressRecord *record = nullptr;

    bool flush() {
        file.write(gathered.data(), static_cast<std::streamsize>(gathered.size()));
        gathered.clear();
        return static_cast<bool>(file);
    }
};

HttpDownloader::HttpDownloader() = default;
HttpDownloader::~HttpDownloader() = default;

int HttpDownloader::open(std::string_view verb, std::string_view address) {
    transfer_.reset();
    target_.reset();
    requestHeaders_.clear();
    responseHeaders_.clear();
    std::optional<RequestTarget> target = splitDownloadAddress(address);
    if (!target || detail::abortRequested())
        return 0;
    target_ = std::make_unique<RequestTarget>(std::move(*target));
    verb_ = upper(verb);
    return 1;
}

int HttpDownloader::setRequestHeader(std::string_view name, std::string_view value) {
    if (!target_ || name.empty())
        return 0;
    std::string line = std::string(name) + ":" + std::string(value);
    for (std::string &existing : requestHeaders_) {
        if (text::equalsIgnoringAsciiCase(std::string_view(existing).substr(0, existing.find(':')), name)) {
            existing = std::move(line);
            return 1;
        }
    }
    requestHeaders_.push_back(std::move(line));
    return 1;
}

size_t HttpDownloader::onHeader(char *data, size_t size, size_t count, void *user) {
    auto *self = static_cast<HttpDownloader *>(user);
    const std::string_view line(data, size * count);
    if (line.substr(0, 5) == "HTTP/")
        self->headerBlock_.clear();
    self->headerBlock_.append(line);
    if (line == "\r\n" || line == "\n") {
        // The end of a header block: it is the final one unless it is an interim answer or a
        // redirect that libcurl goes on to follow.
        const long status = statusOf(self->transfer_->easy());
        const bool interim = status < 200;
        const bool redirect = status >= 300 && status < 400 && headerValue(self->headerBlock_, "Location");
        if (!interim && !redirect) {
            self->headersDone_ = true;
            self->status_ = status;
            self->responseHeaders_ = self->headerBlock_;
        }
    }
    return size * count;
}

size_t HttpDownloader::onBody(char *data, size_t size, size_t count, void *user) {
    auto *self = static_cast<HttpDownloader *>(user);
    const std::string_view piece(data, size * count);
    if (!self->headersDone_) { // libcurl hands over only the body of the final response
        self->headersDone_ = true;
        self->status_ = statusOf(self->transfer_->easy());
        self->responseHeaders_ = self->headerBlock_;
    }
    if (!self->sink_) { // still in send(): keep what came along with the headers
        self->early_.emplace_back(piece);
        return piece.size();
    }
    // What libcurl hands over in one go goes into the file in pieces of at most kPieceSize bytes.
    for (size_t offset = 0; offset < piece.size(); offset += kPieceSize) {
        if (!self->writePiece(piece.substr(offset, kPieceSize)))
            return CURL_WRITEFUNC_ERROR;
    }
    return piece.size();
}

bool HttpDownloader::writePiece(std::string_view piece) {
    if (detail::abortRequested())
        return false;
    sink_->gathered.append(piece);
    if (sink_->gathered.size() >= kFileBufferSize && !sink_->flush())
        return false;
    sink_->written += static_cast<std::int64_t>(piece.size());
    ++pieceCount_;
    largestPiece_ = std::max(largestPiece_, piece.size());
    if (sink_->record) {
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - sink_->start);
        sink_->record->elapsed.store(elapsed.count());
        sink_->record->done.store(sink_->written);
    }
    return true;
}

int HttpDownloader::send() {
    responseHeaders_.clear();
    headerBlock_.clear();
    early_.clear();
    headersDone_ = false;
    status_ = 0;
    transfer_.reset();
    if (!target_ || detail::abortRequested())
        return 0;
    transfer_ = std::make_unique<detail::Transfer>();
    if (!transfer_->valid())
        return 0;

    CURL *easy = transfer_->easy();
    transfer_->configure(curlUrl(*target_), detail::transferTimeouts());
    std::vector<std::string> entries;
    for (const std::string &line : requestHeaders_) {
        const size_t colon = line.find(':');
        // libcurl drops a "Name:" entry with nothing after it; "Name;" sends it as "Name:".
        if (line.find_first_not_of(" \t", colon + 1) == std::string::npos)
            entries.push_back(line.substr(0, colon) + ";");
        else
            entries.push_back(line);
    }
    entries.emplace_back("Accept:"); // no lines of libcurl's own besides Host
    entries.emplace_back("Expect:");
    transfer_->setHeaderLines(entries);
    if (verb_ == "GET") {
        curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    } else if (verb_ == "HEAD") {
        curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
    } else {
        curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, verb_.c_str());
    }
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, kReceiveBufferSize);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &HttpDownloader::onHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &HttpDownloader::onBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);

    transfer_->drive([this] { return headersDone_; });
    if (transfer_->finished() && transfer_->result() != CURLE_OK) {
        responseHeaders_.clear();
        transfer_.reset();
        return 0;
    }
    if (!headersDone_) {
        responseHeaders_ = headerBlock_;
        status_ = statusOf(easy);
    }
    return 1;
}

std::string HttpDownloader::responseHeader(std::string_view name) const {
    const std::string marker = std::string(name) + ":";
    const int pos = text::findForward(responseHeaders_, marker);
    if (pos < 0)
        return responseHeaders_;
    // One blank after the colon is taken for granted.
    const size_t begin = static_cast<size_t>(pos - 1) + marker.size() + 1;
    if (begin >= responseHeaders_.size())
        return {};
    const size_t end = responseHeaders_.find("\r\n", begin);
    return responseHeaders_.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

int HttpDownloader::downloadToFile(std::string &directory, std::string_view fileName, ProgressFunction progress,
                                   int callerValue) {
    pieceCount_ = 0;
    largestPiece_ = 0;
    std::error_code error;
    if (!fs::is_directory(fsPath(directory), error))
        return 0;
    if (directory.empty() || (directory.back() != '/' && directory.back() != '\\'))
        directory += kSeparator;

    const std::int64_t total = numberValue(responseHeader("Content-Length"));
    // Only a complete answer of a known length may become the file: an error page or a body of
    // unknown length would end up where the caller expects the real file.
    if (total <= 0 || !transfer_ || (status_ != 200 && status_ != 206))
        return 0;

    const fs::path target = fsPath(directory + std::string(fileName));
    fs::path partial = target;
    partial += ".part";
    Sink sink;
    sink.gathered.reserve(kFileBufferSize + kReceiveBufferSize);
    sink.file.open(partial, std::ios::binary | std::ios::trunc);
    if (!sink.file)
        return 0;

    std::unique_ptr<ProgressRecord> record;
    std::thread watcher;
    if (progress) {
        record = std::make_unique<ProgressRecord>();
        record->function = std::move(progress);
        record->callerValue = callerValue;
        record->total = total;
        sink.record = record.get();
        watcher = std::thread(watchProgress, std::ref(*record));
    }

    sink.start = Clock::now();
    sink_ = &sink;
    bool ok = true;
    for (const std::string &chunk : early_) {
        for (size_t offset = 0; ok && offset < chunk.size(); offset += kPieceSize)
            ok = writePiece(std::string_view(chunk).substr(offset, kPieceSize));
    }
    early_.clear();
    if (ok)
        transfer_->drive();
    sink_ = nullptr;
    ok = ok && transfer_->result() == CURLE_OK && sink.written == total && sink.flush();
    sink.file.close();
    ok = ok && !sink.file.fail();
    if (ok) {
        fs::rename(partial, target, error);
        ok = !error;
    }
    if (!ok)
        fs::remove(partial, error);

    if (record) {
        if (ok) {
            record->done.store(kEndMark);
        } else {
            std::lock_guard lock(record->mutex);
            record->failed = true;
        }
        record->wake.notify_all();
        watcher.join();
    }
    transfer_.reset();
    return ok ? 1 : 0;
}

std::string probeFileSize(std::string_view address) {
    const std::optional<RequestTarget> target = splitDownloadAddress(address);
    if (!target || detail::abortRequested())
        return "0";
    detail::Transfer transfer;
    if (!transfer.valid())
        return "0";
    transfer.configure(curlUrl(*target), detail::probeTimeouts());
    CURL *easy = transfer.easy();
    curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 10L);
    std::string block;
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION,
                     +[](char *data, size_t size, size_t count, void *user) -> size_t {
                         auto *headers = static_cast<std::string *>(user);
                         const std::string_view line(data, size * count);
                         if (line.substr(0, 5) == "HTTP/")
                             headers->clear();
                         headers->append(line);
                         return size * count;
                     });
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &block);
    transfer.drive();
    const long status = statusOf(easy);
    if (transfer.result() != CURLE_OK || (status != 200 && status != 206))
        return "0";
    return headerValue(block, "Content-Length").value_or("0");
}

} // namespace net
