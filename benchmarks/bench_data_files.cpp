// Both file writers for 150 nodes (150 demand lines, 22,500 distance lines) against writing
// the same bytes with one plain write per file. Prints the time of each and their ratio.

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <map>
#include <random>
#include <string>

#include "core/file_texts/data_files.h"
#include "core/network/network_store.h"
#include "core/network/shortest_paths.h"
#include "platform/services/network_file_writer.h"
#include "timing_reporter.h"

namespace {

// 150 nodes with names and values of every length, and a sparse network whose distances run
// from 0 to 10000.
void MakeNetwork() {
    ResetNetworkStore();
    std::mt19937 random(150);
    std::uniform_real_distribution<double> value(0, 10000);
    for (int node = 1; node <= MaxNodes; ++node) {
        Network.NumNodes = node;
        Network.NodeNames[node] = "Node " + std::to_string(node) + " of the network";
        Network.FirstDemands[node] = Real48::Narrow(value(random));
        Network.SecondDemands[node] = Real48::Narrow(value(random) / 100);
        Network.FixedCosts[node] = Real48::Narrow(node);
    }
    Network.LinkRows.AllocateRows(MaxNodes);
    std::uniform_int_distribution<int> distance(0, 400);
    for (int o = 1; o <= MaxNodes; ++o) {
        for (int d = 1; d <= MaxNodes; ++d) {
            Network.LinkRows[o][d] = NoLink;
        }
        const int d = o % MaxNodes + 1;
        Network.LinkRows[o][d] = Network.LinkRows[d][o] = distance(random);
    }
    CompleteShortestPaths(Network);
}

struct TFolder {
    QTemporaryDir Dir;
    QString DemandData = Dir.filePath("BENCH.NET");
    QString Distances = Dir.filePath("BENCH.NED");
};

void BothWriters(benchmark::State& state) {
    MakeNetwork();
    TFolder folder;
    for (auto _ : state) {
        if (!WriteDemandDataFile(folder.DemandData) || !WriteDistanceFile(folder.Distances)) {
            state.SkipWithError("a writer failed");
            break;
        }
    }
}

void PlainWrite(benchmark::State& state) {
    MakeNetwork();
    const std::string demandData = DemandDataFileText(Network);
    const std::string distances = DistanceFileText(Network);
    TFolder folder;
    for (auto _ : state) {
        for (const auto& [name, bytes] : {std::pair{&folder.DemandData, &demandData},
                                          std::pair{&folder.Distances, &distances}}) {
            QFile file(*name);
            if (!file.open(QIODevice::WriteOnly) ||
                file.write(bytes->data(), static_cast<qint64>(bytes->size())) !=
                    static_cast<qint64>(bytes->size())) {
                state.SkipWithError("a plain write failed");
            }
        }
    }
}

// The same, each file also forced to the disk before it is closed, as the writers do before
// they put the new file in place of the old.
void PlainWriteSynced(benchmark::State& state) {
    MakeNetwork();
    const std::string demandData = DemandDataFileText(Network);
    const std::string distances = DistanceFileText(Network);
    TFolder folder;
    for (auto _ : state) {
        for (const auto& [name, bytes] : {std::pair{&folder.DemandData, &demandData},
                                          std::pair{&folder.Distances, &distances}}) {
            QFile file(*name);
            if (!file.open(QIODevice::WriteOnly) ||
                file.write(bytes->data(), static_cast<qint64>(bytes->size())) !=
                    static_cast<qint64>(bytes->size()) ||
                !file.flush() || fdatasync(file.handle()) != 0) {
                state.SkipWithError("a plain write failed");
            }
        }
    }
}

// The parts of BothWriters: making the texts, and putting given bytes in place through the
// temporary file.
void TextsOnly(benchmark::State& state) {
    MakeNetwork();
    for (auto _ : state) {
        benchmark::DoNotOptimize(DemandDataFileText(Network));
        benchmark::DoNotOptimize(DistanceFileText(Network));
    }
}

void SaveFilesOnly(benchmark::State& state) {
    MakeNetwork();
    const std::string demandData = DemandDataFileText(Network);
    const std::string distances = DistanceFileText(Network);
    TFolder folder;
    for (auto _ : state) {
        if (!WriteWholeFile(folder.DemandData.toStdString(), demandData) ||
            !WriteWholeFile(folder.Distances.toStdString(), distances)) {
            state.SkipWithError("a save failed");
            break;
        }
    }
}

class TRatioReporter : public TTimingReporter {
  public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        const TTimes writers = Times["BothWriters"];
        for (const char* plainName : {"PlainWrite", "PlainWriteSynced"}) {
            const TTimes plain = Times[plainName];
            if (writers.Real > 0 && plain.Real > 0) {
                std::printf(
                    "150 nodes, wall clock: both writers %.1f us, %s %.1f us: ratio "
                    "%.2f (CPU time %.1f us against %.1f us, ratio %.2f)\n",
                    writers.Real * 1e6, plainName, plain.Real * 1e6, writers.Real / plain.Real,
                    writers.Cpu * 1e6, plain.Cpu * 1e6, writers.Cpu / plain.Cpu);
            }
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    struct TCase {
        const char* Name;
        void (*Function)(benchmark::State&);
    };
    for (const TCase& bench :
         {TCase{"BothWriters", BothWriters}, TCase{"PlainWrite", PlainWrite},
          TCase{"PlainWriteSynced", PlainWriteSynced}, TCase{"TextsOnly", TextsOnly},
          TCase{"SaveFilesOnly", SaveFilesOnly}}) {
        benchmark::RegisterBenchmark(bench.Name, bench.Function)->Unit(benchmark::kMicrosecond);
    }
    benchmark::Initialize(&argc, argv);
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
