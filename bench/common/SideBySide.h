#pragma once
// Runs a benchmark program's pairs side by side: every benchmark repeated in random interleaved
// order, so that a change in machine load falls on both sides of a ratio, and the medians kept
// for the ratios the program prints at the end.

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace benchside {

class MedianReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> realTime; // median real time of each benchmark
    std::map<std::string, double> cpuTime;  // median CPU time of the benchmark thread

    void ReportRuns(const std::vector<Run> &runs) override {
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                realTime[run.run_name.function_name] = run.GetAdjustedRealTime();
                cpuTime[run.run_name.function_name] = run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // ours ÷ theirs by median real time; 0 when either is missing.
    double ratio(const std::string &ours, const std::string &theirs) const { return divide(realTime, ours, theirs); }
    double cpuRatio(const std::string &ours, const std::string &theirs) const {
        return divide(cpuTime, ours, theirs);
    }

private:
    static double divide(const std::map<std::string, double> &medians, const std::string &ours,
                         const std::string &theirs) {
        const auto a = medians.find(ours), b = medians.find(theirs);
        return (a == medians.end() || b == medians.end() || b->second == 0) ? 0 : a->second / b->second;
    }
};

// Initialises Google Benchmark with `repetitions` interleaved repetitions and only the aggregates
// reported, unless the command line says otherwise.
inline void initialize(int &argc, char **argv, std::vector<char *> &storage, int repetitions) {
    static std::string repeat;
    repeat = "--benchmark_repetitions=" + std::to_string(repetitions);
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    static char aggregates[] = "--benchmark_report_aggregates_only=true";
    storage.assign(argv, argv + argc);
    storage.insert(storage.begin() + 1, {repeat.data(), interleave, aggregates});
    int count = static_cast<int>(storage.size());
    benchmark::Initialize(&count, storage.data());
    argc = count;
}

} // namespace benchside
