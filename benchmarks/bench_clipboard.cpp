// The largest pastes a planner can make, through the windows' own handlers on the real (here
// offscreen) clipboard: reading the rows, adding them to the store and refilling the lists.
// Each must show its result within a frame (1/60 s); the report gives each as frames.
//
//   PasteNodes           150 node rows into an empty table
//   PasteLinksAsCopied   22,350 rows as Copy writes them (numbers and names), a full network
//   PasteLinksByName     the same links given by the nodes' names alone

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QClipboard>
#include <cstdio>
#include <string>

#include "core/clipboard_rows.h"
#include "core/network_store.h"
#include "links/link_window.h"
#include "nodes/node_window.h"
#include "platform/clipboard_menu.h"
#include "platform/list_box.h"
#include "timing_reporter.h"
#include "widgets_main.h"

namespace {

constexpr double Frame = 1.0 / 60;

// 150 nodes with distinct names and values.
void MakeNodes() {
    ResetNetworkStore();
    for (int node = 1; node <= MaxNodes; ++node) {
        Network.NodeNames[node] = "Place number " + std::to_string(node);
        Network.FirstDemands[node] = Real48::Narrow(node * 12.34L);
        Network.SecondDemands[node] = Real48::Narrow(node / 3.0L);
        Network.FixedCosts[node] = Real48::Narrow(10000 - node);
        Network.NumNodes = node;
    }
}

void PasteNodes(benchmark::State& state) {
    TNodeSpecifications window;
    MakeNodes();
    SetClipboardText(QString::fromStdString(NodeRowsText(Network)));
    for (auto _ : state) {
        window.FormShow();
        window.PasteNodesClick();
    }
    state.counters["nodes"] = Network.NumNodes;
}
BENCHMARK(PasteNodes)->Unit(benchmark::kMillisecond);

// The rows of every ordered pair of 150 nodes, as Copy writes them or by name alone.
std::string AllLinkRows(bool byName) {
    MakeNodes();
    AllocateLinkRows(Network);
    Network.PendingDistance = 0;
    for (int i = 1; i <= MaxNodes; ++i) {
        for (int j = 1; j <= MaxNodes; ++j) {
            Network.PendingDistance = (i * 7 + j * 13) % 10001;
            if (i != j) {
                SetOneWayLink(Network, i, j);
            }
        }
    }
    std::string rows = byName ? "From\tTo\tDistance\n" : LinkRowsText(Network);
    for (int i = 1; byName && i <= MaxNodes; ++i) {
        for (int j = 1; j <= MaxNodes; ++j) {
            if (i != j) {
                rows += Network.NodeNames[i] + '\t' + Network.NodeNames[j] + '\t' +
                        std::to_string(Network.LinkRows[i][j]) + '\n';
            }
        }
    }
    return rows;
}

void PasteLinks(benchmark::State& state, bool byName) {
    TLinkSpecification window;
    SetClipboardText(QString::fromStdString(AllLinkRows(byName)));
    for (auto _ : state) {
        state.PauseTiming();
        window.FormShow();
        state.ResumeTiming();
        window.PasteLinksClick();
    }
    state.counters["links"] = window.LinkList->Count();
}
BENCHMARK_CAPTURE(PasteLinks, AsCopied, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PasteLinks, ByName, true)->Unit(benchmark::kMillisecond);

class TFrameReporter : public TTimingReporter {
  public:
    void Finalize() override {
        TTimingReporter::Finalize();
        for (const auto& [name, times] : Times) {
            std::printf("%-22s %.2f frames (%.2f ms wall clock)\n", name.c_str(),
                        times.Real / Frame, times.Real * 1000);
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    TFrameReporter reporter;
    return RunWithWidgets(argc, argv, &reporter);
}
