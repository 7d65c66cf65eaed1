// Throughput of the program's CRC-32 and HAS-160 on the workers' 10 MiB read blocks,
// each beside a well-known implementation of the same hash (zlib, librhash), with the
// ratio of ours to the peer's.
#include "Has160.h"
#include "HashEngine.h"

#include <benchmark/benchmark.h>
#include <rhash.h>
#include <zlib.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr size_t kBlockBytes = 10 * 1024 * 1024;

// The hashes take the same time whatever the bytes are; any filling will do.
const std::vector<unsigned char>& Block()
{
    static const std::vector<unsigned char> block = [] {
        std::vector<unsigned char> bytes(kBlockBytes);
        for (size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<unsigned char>((i * 2654435761u) >> 13);
        return bytes;
    }();
    return block;
}

void CountBytes(benchmark::State& state)
{
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kBlockBytes));
}

void Crc32Ours(benchmark::State& state)
{
    const auto& block = Block();
    uint32_t crc = 0;
    for (auto _ : state) {
        crc = ComputeCrc32(block.data(), block.size(), crc);
        benchmark::DoNotOptimize(crc);
    }
    CountBytes(state);
}

void Crc32Zlib(benchmark::State& state)
{
    const auto& block = Block();
    uLong crc = crc32(0, nullptr, 0);
    for (auto _ : state) {
        crc = crc32(crc, block.data(), static_cast<uInt>(block.size()));
        benchmark::DoNotOptimize(crc);
    }
    CountBytes(state);
}

void Has160Ours(benchmark::State& state)
{
    const auto& block = Block();
    Has160Context context;
    Has160Init(context);
    for (auto _ : state) {
        Has160Update(context, block.data(), static_cast<uint32_t>(block.size()));
        benchmark::DoNotOptimize(context.state);
        benchmark::ClobberMemory();
    }
    CountBytes(state);
}

void Has160Rhash(benchmark::State& state)
{
    const auto& block = Block();
    rhash context = rhash_init(RHASH_HAS160);
    for (auto _ : state) {
        rhash_update(context, block.data(), block.size());
        benchmark::ClobberMemory();
    }
    rhash_free(context);
    CountBytes(state);
}

using BenchmarkFunction = void (*)(benchmark::State&);

struct Contest {
    const char* hash;
    const char* ours;
    BenchmarkFunction oursFunction;
    const char* peer;
    BenchmarkFunction peerFunction;
    double targetRatio;
};

const Contest kContests[] = {
    {"CRC-32", "Crc32/Tessaly", Crc32Ours, "Crc32/zlib", Crc32Zlib, 1.0},
    {"HAS-160", "Has160/Tessaly", Has160Ours, "Has160/librhash", Has160Rhash, 1.1},
};

void Register(const char* name, BenchmarkFunction function)
{
    benchmark::RegisterBenchmark(name, function)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.5)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
}

// The console report, and the median bytes per second of each benchmark.
class MedianCollector : public benchmark::ConsoleReporter {
public:
    MedianCollector() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.aggregate_name == "median")
                m_bytesPerSecond[run.run_name.function_name] = run.counters.at("bytes_per_second");
        }
    }

    // 0 when the benchmark did not run (filtered out).
    double MegabytesPerSecond(const std::string& name) const
    {
        const auto found = m_bytesPerSecond.find(name);
        return found == m_bytesPerSecond.end() ? 0.0 : found->second / 1e6;
    }

private:
    std::map<std::string, double> m_bytesPerSecond;
};

void PrintComparison(const MedianCollector& results)
{
    std::printf("\nMedian throughput, MB/s (10^6 bytes), 10 MiB blocks:\n");
    for (const Contest& c : kContests) {
        const double ours = results.MegabytesPerSecond(c.ours);
        const double peer = results.MegabytesPerSecond(c.peer);
        if (ours == 0.0 || peer == 0.0)
            continue;
        const double ratio = ours / peer;
        std::printf("  %-8s %-16s %8.0f   %-16s %8.0f   ratio %.2f (target %.2f: %s)\n", c.hash, c.ours,
                    ours, c.peer, peer, ratio, c.targetRatio, ratio >= c.targetRatio ? "met" : "MISSED");
    }
}

} // namespace

int main(int argc, char** argv)
{
    rhash_library_init();
    for (const Contest& c : kContests) {
        Register(c.ours, c.oursFunction);
        Register(c.peer, c.peerFunction);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    MedianCollector results;
    benchmark::RunSpecifiedBenchmarks(&results);
    benchmark::Shutdown();
    PrintComparison(results);
    return 0;
}
