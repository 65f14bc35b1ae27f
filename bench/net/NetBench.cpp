// The page request and the file download beside bare libcurl doing the same work, in one run,
// against one loopback server:
//   httpRequest median time per small page ÷ a fresh libcurl handle's GET of it   (goal <= 1.2)
//   downloadToFile throughput on 50 MB ÷ libcurl writing the same body to a file   (goal >= 0.9)

#include "net/HttpDownloader.h"
#include "net/HttpRequest.h"
#include "net/Services.h"

#include "SideBySide.h"

#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <httplib.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <thread>
#include <vector>

namespace {

constexpr size_t kPageSize = 2048;
constexpr size_t kFileSize = 50 * 1024 * 1024;

struct Server {
    httplib::Server http;
    std::thread thread;
    int port = 0;
    std::shared_ptr<const std::string> page = std::make_shared<const std::string>(kPageSize, 'p');
    std::shared_ptr<const std::string> file;

    Server() {
        std::string bytes(kFileSize, '\0');
        for (size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<char>(i * 31 + (i >> 12));
        file = std::make_shared<const std::string>(std::move(bytes));
        http.Get("/page", [this](const httplib::Request &, httplib::Response &response) {
            response.set_content(*page, "text/html");
        });
        http.Get("/file", [this](const httplib::Request &, httplib::Response &response) {
            auto body = file;
            response.set_content_provider(body->size(), "application/octet-stream",
                                          [body](size_t offset, size_t length, httplib::DataSink &sink) {
                                              return sink.write(body->data() + offset, std::min<size_t>(length, 1 << 20));
                                          });
        });
        port = http.bind_to_any_port("127.0.0.1");
        thread = std::thread([this] { http.listen_after_bind(); });
        while (!http.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        net::setRoutes({{"bench.test", 0, "127.0.0.1", port}});
    }
    ~Server() {
        http.stop();
        thread.join();
    }
    std::string url(const char *path) const { return "http://127.0.0.1:" + std::to_string(port) + path; }
};

Server &server() {
    static Server instance;
    return instance;
}

std::filesystem::path scratch() {
    static const std::filesystem::path dir = [] {
        auto path = std::filesystem::temp_directory_path() / "lym-bench-net";
        std::filesystem::create_directories(path);
        return path;
    }();
    return dir;
}

size_t appendTo(char *data, size_t size, size_t count, void *user) {
    static_cast<std::string *>(user)->append(data, size * count);
    return size * count;
}

size_t writeTo(char *data, size_t size, size_t count, void *user) {
    return std::fwrite(data, size, count, static_cast<std::FILE *>(user)) * size;
}

void HttpRequest_SmallPage(benchmark::State &state) {
    server();
    for (auto _ : state) {
        const std::string body = net::httpRequest("http://bench.test/page");
        if (body.size() != kPageSize)
            state.SkipWithError("short page");
    }
}

void BareCurl_SmallPage(benchmark::State &state) {
    const std::string url = server().url("/page");
    for (auto _ : state) {
        std::string body;
        CURL *curl = curl_easy_init();
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &appendTo);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
        curl_easy_perform(curl);
        curl_easy_cleanup(curl);
        if (body.size() != kPageSize)
            state.SkipWithError("short page");
    }
}

void DownloadToFile_50MB(benchmark::State &state) {
    server();
    for (auto _ : state) {
        net::HttpDownloader downloader;
        downloader.open("GET", "http://bench.test/file");
        downloader.send();
        std::string directory = scratch().string();
        if (downloader.downloadToFile(directory, "ours.bin") != 1)
            state.SkipWithError("download failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileSize));
}

void BareCurl_ToFile_50MB(benchmark::State &state) {
    const std::string url = server().url("/file");
    const std::string path = (scratch() / "bare.bin").string();
    for (auto _ : state) {
        std::FILE *file = std::fopen(path.c_str(), "wb");
        CURL *curl = curl_easy_init();
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &writeTo);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, file);
        const CURLcode result = curl_easy_perform(curl);
        curl_easy_cleanup(curl);
        std::fclose(file);
        if (result != CURLE_OK)
            state.SkipWithError("download failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileSize));
}

// Every benchmark reports the median of its repetitions; the repetitions of all four run in random
// order (see main), so that a change in machine load falls on both sides of a ratio.
BENCHMARK(HttpRequest_SmallPage)->UseRealTime();
BENCHMARK(BareCurl_SmallPage)->UseRealTime();
BENCHMARK(DownloadToFile_50MB)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BareCurl_ToFile_50MB)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    // Defaults that the command line may override.
    std::vector<char *> arguments;
    benchside::initialize(argc, argv, arguments, 10);
    benchside::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double page = reporter.ratio("HttpRequest_SmallPage", "BareCurl_SmallPage");
    const double pageCpu = reporter.cpuRatio("HttpRequest_SmallPage", "BareCurl_SmallPage");
    const double download = reporter.ratio("DownloadToFile_50MB", "BareCurl_ToFile_50MB");
    const double downloadCpu = reporter.cpuRatio("DownloadToFile_50MB", "BareCurl_ToFile_50MB");
    // The CPU time of the client thread is printed beside the real time: on a busy machine it
    // is the steadier of the two.
    if (page > 0)
        std::printf("httpRequest / bare libcurl, median time per small page: %.3f (goal <= 1.2); CPU time %.3f\n",
                    page, pageCpu);
    if (download > 0)
        std::printf("downloadToFile / bare libcurl to a file, throughput: %.3f (goal >= 0.9); CPU time per byte %.3f\n",
                    1.0 / download, downloadCpu);
    std::error_code error;
    std::filesystem::remove_all(scratch(), error);
    benchmark::Shutdown();
    return 0;
}
