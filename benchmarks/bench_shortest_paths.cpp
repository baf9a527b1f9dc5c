// CompleteShortestPaths for 150 nodes against the plain triple loop with a checked addition
// at every step, on a dense and a sparse network. Prints the time of each and their ratio.
// Then the details of the pairs that cannot be joined, timed against CompleteShortestPaths on
// the same network: one without links, and a ring whose links go one way only.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>

#include "core/network/connectivity_details.h"
#include "core/network/network_store.h"
#include "core/network/shortest_paths.h"
#include "reference_paths.h"
#include "timing_reporter.h"

namespace {

// dense: every pair linked both ways, 1..10000. sparse: a two-way ring of 1..3000 and 150
// further one-way links. none: no links at all. one-way: a ring of 1000 a link, one way only.
void MakeNetwork(const std::string& network) {
    ResetNetworkStore();
    Network.NumNodes = MaxNodes;
    Network.LinkRows.AllocateRows(MaxNodes);
    for (int o = 1; o <= MaxNodes; ++o) {
        for (int d = 1; d <= MaxNodes; ++d) {
            Network.LinkRows[o][d] = NoLink;
        }
    }
    std::mt19937 random(150);
    if (network == "one-way") {
        for (int o = 1; o <= MaxNodes; ++o) {
            Network.LinkRows[o][o % MaxNodes + 1] = 1000;
        }
    } else if (network == "dense") {
        std::uniform_int_distribution<int> distance(1, 10000);
        for (int o = 1; o <= MaxNodes; ++o) {
            for (int d = o + 1; d <= MaxNodes; ++d) {
                Network.LinkRows[o][d] = Network.LinkRows[d][o] = distance(random);
            }
        }
    } else if (network == "sparse") {
        std::uniform_int_distribution<int> distance(1, 3000);
        std::uniform_int_distribution<int> node(1, MaxNodes);
        for (int o = 1; o <= MaxNodes; ++o) {
            const int d = o % MaxNodes + 1;
            Network.LinkRows[o][d] = Network.LinkRows[d][o] = distance(random);
        }
        for (int link = 0; link < MaxNodes; ++link) {
            const int o = node(random);
            const int d = node(random);
            if (o != d) {
                Network.LinkRows[o][d] = distance(random);
            }
        }
    }
}

void RunCompletion(benchmark::State& state, void (*complete)(), const std::string& network) {
    MakeNetwork(network);
    for (auto _ : state) {
        complete();
        benchmark::DoNotOptimize(Network.PathRows[MaxNodes].Data());
        benchmark::ClobberMemory();
        ReleasePathRows(Network);
    }
}

void RunDetails(benchmark::State& state, const std::string& network) {
    MakeNetwork(network);
    for (auto _ : state) {
        std::string details = UnjoinedPairsDetails(Network);
        benchmark::DoNotOptimize(details);
    }
}

// The console report, followed by the ratio of each reference time to the row-wise one, and
// of each details time to the row-wise one.
class TRatioReporter : public TTimingReporter {
  public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        struct TComparison {
            const char* Network;
            const char* Timed;
            const char* Against;
        };
        for (const auto& [network, timed, against] :
             {TComparison{"dense", "CompleteShortestPathsReference", "CompleteShortestPaths"},
              TComparison{"sparse", "CompleteShortestPathsReference", "CompleteShortestPaths"},
              TComparison{"none", "UnjoinedPairsDetails", "CompleteShortestPaths"},
              TComparison{"one-way", "UnjoinedPairsDetails", "CompleteShortestPaths"}}) {
            const std::string suffix = std::string("/") + network;
            const TTimes first = Times[timed + suffix];
            const TTimes second = Times[against + suffix];
            if (first.Cpu > 0 && second.Cpu > 0) {
                std::printf(
                    "%-7s 150 nodes, CPU time: %s %.3f ms, %s %.3f ms: %.2f times as long "
                    "(wall clock %.2f times)\n",
                    network, timed, first.Cpu * 1e3, against, second.Cpu * 1e3,
                    first.Cpu / second.Cpu, first.Real / second.Real);
            }
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    for (const std::string network : {"dense", "sparse"}) {
        benchmark::RegisterBenchmark(("CompleteShortestPaths/" + network).c_str(), RunCompletion,
                                     [] { CompleteShortestPaths(Network); }, network)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("CompleteShortestPathsReference/" + network).c_str(),
                                     RunCompletion, CompleteShortestPathsReference, network)
            ->Unit(benchmark::kMicrosecond);
    }
    for (const std::string network : {"none", "one-way"}) {
        benchmark::RegisterBenchmark(("CompleteShortestPaths/" + network).c_str(), RunCompletion,
                                     [] { CompleteShortestPaths(Network); }, network)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("UnjoinedPairsDetails/" + network).c_str(), RunDetails,
                                     network)
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::Initialize(&argc, argv);
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
