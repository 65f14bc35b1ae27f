// The slide preview's image work on ten generated 1600 x 900 JPEG sprite sheets held in memory,
// measured beside decoding the same sheets with QImage and beside ImageMagick cutting them.
//
//   bench_imaging            runs all three and prints the ratios at the end

#include "imaging/ImageOps.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <chrono>
#include <cstdio>
#include <ctime>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kSheets = 10;
constexpr const char *kImageMagick = "/usr/bin/convert";

// A sheet of 10 x 10 frames, each a gradient with a textured "scene" so that the JPEG carries as
// much detail as a sheet of real video frames.
std::string makeSheet(int seed) {
    QImage sheet(1600, 900, QImage::Format_RGB32);
    std::mt19937 random{static_cast<unsigned>(seed)};
    for (int y = 0; y < 900; ++y) {
        auto *row = reinterpret_cast<QRgb *>(sheet.scanLine(y));
        for (int x = 0; x < 1600; ++x) {
            const int frame = (y / 90) * 10 + x / 160;
            const int noise = int(random() % 8);
            row[x] = qRgb((frame * 37 + x / 3 + noise) & 0xFF, (frame * 11 + y / 2 + noise) & 0xFF,
                          (seed * 50 + (x ^ y) / 8 + noise) & 0xFF);
        }
    }
    QPainter painter(&sheet);
    for (int frame = 0; frame < 100; ++frame) { // a few shapes per frame
        const int left = (frame % 10) * 160, top = (frame / 10) * 90;
        for (int shape = 0; shape < 4; ++shape) {
            painter.setBrush(QColor::fromRgb(random() & 0xFFFFFF));
            painter.drawEllipse(left + int(random() % 120), top + int(random() % 60), 10 + int(random() % 40),
                                10 + int(random() % 30));
        }
    }
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(85);
    writer.write(sheet);
    return bytes.toStdString();
}

const std::vector<std::string> &sheets() {
    static const std::vector<std::string> all = [] {
        std::vector<std::string> made;
        for (int i = 0; i < kSheets; ++i)
            made.push_back(makeSheet(i));
        return made;
    }();
    return all;
}

// What the preview loader does with each sheet: measure it, convert it to BMP, cut 10 x 10 tiles.
std::vector<std::string> previewLoad(benchmark::State &state) {
    std::vector<std::string> tiles;
    tiles.reserve(kSheets * 100);
    for (const std::string &sheet : sheets()) {
        const double tileHeight = imaging::bitmapHeight(sheet) / 10.0;
        const double tileWidth = imaging::bitmapWidth(sheet) / 10.0;
        std::string bitmap;
        if (!imaging::convertImage(sheet, 1, "", bitmap)) {
            state.SkipWithError("a sheet did not convert");
            return {};
        }
        for (int row = 0; row < 10; ++row)
            for (int column = 0; column < 10; ++column)
                tiles.push_back(imaging::cutBitmap(bitmap, int(column * tileWidth), int(row * tileHeight),
                                                   int(tileWidth), int(tileHeight)));
    }
    if (tiles.size() != kSheets * 100 || tiles.back().size() != 43254) {
        state.SkipWithError("wrong tiles");
        return {};
    }
    return tiles;
}

// Loads one after another on warm memory: the heap keeps what earlier loads released (see main).
void BM_PreviewWork(benchmark::State &state) {
    for (auto _ : state) {
        std::vector<std::string> tiles = previewLoad(state);
        benchmark::DoNotOptimize(tiles.data());
    }
}

// The same with all freed memory handed back to the system after every load, so that each load
// touches fresh pages: 43 MB of tiles and the sheets' BMPs, faulted in one page at a time.
void BM_PreviewWorkFreshMemory(benchmark::State &state) {
    for (auto _ : state) {
        {
            std::vector<std::string> tiles = previewLoad(state);
            benchmark::DoNotOptimize(tiles.data());
        }
#ifdef __GLIBC__
        state.PauseTiming();
        malloc_trim(0);
        state.ResumeTiming();
#endif
    }
}

void decodeSheets(benchmark::State &state) {
    for (const std::string &sheet : sheets()) {
        QImage image = QImage::fromData(reinterpret_cast<const uchar *>(sheet.data()), qsizetype(sheet.size()));
        if (image.isNull()) {
            state.SkipWithError("a sheet did not decode");
            return;
        }
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_QImageDecode(benchmark::State &state) {
    for (auto _ : state)
        decodeSheets(state);
}

// Processor time of this thread: what other processes on a shared machine do hardly changes it.
double threadSeconds() {
#ifdef CLOCK_THREAD_CPUTIME_ID
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
#else
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
#endif
}

// Only the conversion of each sheet to BMP, without measuring and cutting.
void convertSheets(benchmark::State &state) {
    for (const std::string &sheet : sheets()) {
        std::string bitmap;
        if (!imaging::convertImage(sheet, 1, "", bitmap))
            state.SkipWithError("a sheet did not convert");
        benchmark::DoNotOptimize(bitmap.data());
    }
}

// The preview work, the decoding and the bare conversion in turns within each iteration, so that
// all three meet the same machine; the ratios of their summed times are the figures that count.
void BM_PreviewOverDecode(benchmark::State &state) {
    double preview = 0, decode = 0, convert = 0;
    int first = 0;
    for (auto _ : state) {
        for (int turn = 0; turn < 3; ++turn) {
            const double start = threadSeconds();
            switch ((first + turn) % 3) {
            case 0: {
                std::vector<std::string> tiles = previewLoad(state);
                benchmark::DoNotOptimize(tiles.data());
                preview += threadSeconds() - start;
                break;
            }
            case 1:
                decodeSheets(state);
                decode += threadSeconds() - start;
                break;
            default:
                convertSheets(state);
                convert += threadSeconds() - start;
                break;
            }
        }
        first = (first + 1) % 3;
    }
    state.counters["ratio"] = decode > 0 ? preview / decode : 0;
    state.counters["convert_ratio"] = decode > 0 ? convert / decode : 0;
}

// ImageMagick cutting each sheet file into 100 BMP files, one process per sheet.
void BM_ImageMagick(benchmark::State &state) {
    QTemporaryDir dir;
    for (int i = 0; i < kSheets; ++i) {
        QFile file(dir.filePath(QStringLiteral("sheet%1.jpg").arg(i)));
        file.open(QIODevice::WriteOnly);
        file.write(sheets()[i].data(), qint64(sheets()[i].size()));
    }
    for (auto _ : state)
        for (int i = 0; i < kSheets; ++i) {
            QProcess magick;
            magick.setWorkingDirectory(dir.path());
            magick.start(kImageMagick, {QStringLiteral("sheet%1.jpg").arg(i), "-crop", "10x10@", "+repage",
                                        QStringLiteral("tile%1_%d.bmp").arg(i)});
            if (!magick.waitForFinished(60000) || magick.exitCode() != 0) {
                state.SkipWithError("ImageMagick failed");
                return;
            }
        }
    if (!QFile::exists(dir.filePath("tile9_99.bmp")))
        state.SkipWithError("ImageMagick wrote no tiles");
}

// Keeps each benchmark's times per iteration so the ratios can be printed after the run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Times {
        double real = 0, cpu = 0; // in the runs' time unit
    };
    void ReportRuns(const std::vector<Run> &runs) override {
        for (const Run &run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred && run.iterations > 0)
            {
                times[run.run_name.function_name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
                if (auto ratio = run.counters.find("ratio"); ratio != run.counters.end())
                    previewOverDecode = ratio->second.value;
                if (auto ratio = run.counters.find("convert_ratio"); ratio != run.counters.end())
                    convertOverDecode = ratio->second.value;
            }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, Times> times; // by benchmark function
    double previewOverDecode = 0, convertOverDecode = 0;
};

} // namespace

BENCHMARK(BM_PreviewOverDecode)->Unit(benchmark::kMillisecond)->MinTime(10.0);
BENCHMARK(BM_PreviewWork)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_PreviewWorkFreshMemory)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_QImageDecode)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

int main(int argc, char **argv) {
#ifdef __GLIBC__
    // Both sides run on warm memory: without this glibc hands the 43 MB of a load's tiles back to
    // the system when they are freed, and the next load pays a page fault for every 4 KB of them
    // (about 10 us each in a virtual machine), which measures the machine rather than the code.
    // BM_PreviewWorkFreshMemory shows that cost.
    mallopt(M_TRIM_THRESHOLD, 512 * 1024 * 1024);
    mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
#endif
    imaging::startImageLibrary();
    if (QFile::exists(kImageMagick))
        benchmark::RegisterBenchmark("BM_ImageMagick", BM_ImageMagick)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->MinTime(2.0);
    benchmark::Initialize(&argc, argv);
    sheets(); // generated before any timing
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    auto &times = reporter.times;
    const auto preview = times["BM_PreviewWork"], fresh = times["BM_PreviewWorkFreshMemory"],
               decode = times["BM_QImageDecode"], magick = times["BM_ImageMagick"];
    std::size_t sheetBytes = 0;
    for (const std::string &sheet : sheets())
        sheetBytes += sheet.size();
    std::printf("\n%d sheets of 1600x900, %zu JPEG bytes in all\n", kSheets, sheetBytes);
    if (reporter.previewOverDecode > 0)
        std::printf("preview work / QImage decoding: %.3f (goal <= 1.0; taken in turns)\n", reporter.previewOverDecode);
    if (reporter.convertOverDecode > 0)
        std::printf("  conversion to BMP alone:      %.3f\n", reporter.convertOverDecode);
    if (preview.real > 0 && decode.real > 0)
        std::printf("  the separate runs:            %.3f\n", preview.real / decode.real);
    if (fresh.real > 0 && decode.real > 0)
        std::printf("  with fresh memory each load:  %.3f\n", fresh.real / decode.real);
    if (preview.real > 0 && magick.real > 0)
        std::printf("ImageMagick / preview work:     %.1f times faster (goal >= 4)\n", magick.real / preview.real);
    return 0;
}
