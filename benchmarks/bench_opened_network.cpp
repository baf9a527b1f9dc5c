// Opening a network of 150 nodes: the links rebuilt from the full distance matrix, and both
// files read and rebuilt (ReadOpenedNetwork), each timed against CompleteShortestPaths of the
// same network, on a dense and a sparse network. Prints the time of each and their ratio.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>

#include "core/file_texts/data_files.h"
#include "core/network/link_rebuild.h"
#include "core/network/network_store.h"
#include "core/network/shortest_paths.h"
#include "timing_reporter.h"

namespace {

// dense: every pair linked both ways, 1..10000. sparse: a two-way ring of 1..3000 and 150
// further one-way links.
void MakeNetwork(const std::string& network) {
    ResetNetworkStore();
    for (int node = 1; node <= MaxNodes; ++node) {
        AppendNode(Network, "Node " + std::to_string(node), Real48::Narrow(node), Real48(),
                   Real48::Narrow(node * 2.5L));
    }
    AllocateLinkRows(Network);
    std::mt19937 random(150);
    const bool dense = network == "dense";
    std::uniform_int_distribution<int> distance(1, dense ? 10000 : 3000);
    std::uniform_int_distribution<int> node(1, MaxNodes);
    for (int o = 1; o <= MaxNodes; ++o) {
        for (int d = o + 1; d <= (dense ? MaxNodes : std::min(o + 1, MaxNodes)); ++d) {
            Network.LinkRows[o][d] = Network.LinkRows[d][o] = distance(random);
        }
    }
    for (int link = 0; !dense && link < MaxNodes; ++link) {
        const int o = node(random);
        const int d = node(random);
        if (o != d) {
            Network.LinkRows[o][d] = distance(random);
        }
    }
}

void RunCompletion(benchmark::State& state, const std::string& network) {
    MakeNetwork(network);
    for (auto _ : state) {
        CompleteShortestPaths(Network);
        benchmark::DoNotOptimize(Network.PathRows[MaxNodes].Data());
        ReleasePathRows(Network);
    }
}

void RunRebuild(benchmark::State& state, const std::string& network) {
    MakeNetwork(network);
    CompleteShortestPaths(Network);
    const TDistanceReading distances = ReadDistanceText(DistanceFileText(Network), MaxNodes);
    for (auto _ : state) {
        TRebuiltLinks links = RebuildLinks(distances.Distances, MaxNodes);
        benchmark::DoNotOptimize(links);
    }
}

void RunOpen(benchmark::State& state, const std::string& network) {
    MakeNetwork(network);
    CompleteShortestPaths(Network);
    const std::string demand = DemandDataFileText(Network);
    const std::string distance = DistanceFileText(Network);
    for (auto _ : state) {
        TOpenedReading reading = ReadOpenedNetwork(demand, distance);
        benchmark::DoNotOptimize(reading);
    }
}

class TRatioReporter : public TTimingReporter {
  public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const std::string network : {"dense", "sparse"}) {
            const TTimes completion = Times["CompleteShortestPaths/" + network];
            for (const std::string timed : {"RebuildLinks", "ReadOpenedNetwork"}) {
                const TTimes time = Times[timed + "/" + network];
                if (time.Cpu > 0 && completion.Cpu > 0) {
                    std::printf(
                        "%-6s 150 nodes, CPU time: %s %.3f ms, CompleteShortestPaths "
                        "%.3f ms: %.2f times as long\n",
                        network.c_str(), timed.c_str(), time.Cpu * 1e3, completion.Cpu * 1e3,
                        time.Cpu / completion.Cpu);
                }
            }
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    for (const std::string network : {"dense", "sparse"}) {
        benchmark::RegisterBenchmark(("CompleteShortestPaths/" + network).c_str(), RunCompletion,
                                     network)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("RebuildLinks/" + network).c_str(), RunRebuild, network)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("ReadOpenedNetwork/" + network).c_str(), RunOpen, network)
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::Initialize(&argc, argv);
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
