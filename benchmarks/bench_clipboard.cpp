// The largest pastes a planner can make, through the windows' own handlers on the real (here
// offscreen) clipboard: reading the rows, adding them to the store and refilling the lists.
// Each must show its result within a frame (1/60 s); the report gives each as frames.
//
//   PasteNodes           150 node rows into an empty table
//   PasteLinksAsCopied   22,350 rows as Copy writes them (numbers and names), a full network
//   PasteLinksByName     the same links given by the nodes' names alone
//   UndoRedoPasteLinks   Ctrl+Z after the paste of 22,350 links, and Ctrl+Shift+Z after that
//   HistoryOf100Pastes   the heap that 100 such pastes hold in the undo history, each changing
//                        every link, as glibc's count of bytes in use (mallinfo2) grows over
//                        them, the lists being as long before and after

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <cstdio>
#include <string>

#include "core/network/network_store.h"
#include "core/rows/clipboard_rows.h"
#include "links/link_window.h"
#include "nodes/node_window.h"
#include "platform/services/clipboard_menu.h"
#include "platform/widgets/line_list.h"
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

// The rows of every ordered pair of 150 nodes, as Copy writes them or by name alone; shift
// gives other distances.
std::string AllLinkRows(bool byName, int shift = 0) {
    MakeNodes();
    AllocateLinkRows(Network);
    Network.PendingDistance = 0;
    for (int i = 1; i <= MaxNodes; ++i) {
        for (int j = 1; j <= MaxNodes; ++j) {
            Network.PendingDistance = (i * 7 + j * 13 + shift) % 10001;
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

// Times the undo (undo true) or the redo of a full paste of links, the other step untimed.
void UndoRedoPasteLinks(benchmark::State& state, bool undo) {
    TLinkSpecification window;
    SetClipboardText(QString::fromStdString(AllLinkRows(false)));
    window.FormShow();
    window.PasteLinksClick();
    QAction* timed = window.History.Actions()[undo ? 0 : 1];
    QAction* untimed = window.History.Actions()[undo ? 1 : 0];
    if (!undo) {
        untimed->trigger();
    }
    for (auto _ : state) {
        timed->trigger();
        state.PauseTiming();
        untimed->trigger();
        state.ResumeTiming();
    }
    state.counters["links"] = window.LinkList->Count();
}
BENCHMARK_CAPTURE(UndoRedoPasteLinks, Undo, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(UndoRedoPasteLinks, Redo, false)->Unit(benchmark::kMillisecond);

void HistoryOf100Pastes(benchmark::State& state) {
    TLinkSpecification window;
    // The same links with other distances, so that each paste changes every one.
    const std::string rows = AllLinkRows(false);
    const std::string other = AllLinkRows(false, 1);
    for (auto _ : state) {
        window.FormShow();
        SetClipboardText(QString::fromStdString(rows));
        window.PasteLinksClick();
        window.History.Clear();
        const std::size_t before = mallinfo2().uordblks;
        for (int paste = 1; paste <= 100; ++paste) {
            SetClipboardText(QString::fromStdString(paste % 2 == 1 ? other : rows));
            window.PasteLinksClick();
        }
        state.counters["MB"] = static_cast<double>(mallinfo2().uordblks - before) / 1e6;
    }
}
BENCHMARK(HistoryOf100Pastes)->Iterations(1)->Unit(benchmark::kSecond);

class TFrameReporter : public TTimingReporter {
  public:
    void Finalize() override {
        TTimingReporter::Finalize();
        for (const auto& [name, times] : Times) {
            if (name.rfind("HistoryOf", 0) == 0) {
                continue;  // its figure is the memory, printed above
            }
            std::printf("%-25s %.2f frames (%.2f ms wall clock)\n", name.c_str(),
                        times.Real / Frame, times.Real * 1000);
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    TFrameReporter reporter;
    return RunWithWidgets(argc, argv, &reporter);
}
