// The link window rebuilds its three lists after every add and remove. For a complete
// network of 150 nodes (22,350 links) one rebuild must fit in a frame (16 ms).
//
//   LinkListTexts        the node and link lines alone
//   UpdateAllLists       the window's rebuild: texts, the three lists and the count
//   UpdateAllListsShown  the same on a shown window, with the repaint it causes

#include <benchmark/benchmark.h>
#include <QApplication>
#include <cstdint>
#include <string>

#include "core/lists/link_lines.h"
#include "core/network/network_store.h"
#include "links/link_window.h"
#include "platform/widgets/line_list.h"
#include "widgets_main.h"

namespace {
// 150 nodes whose names run from short to longer than the column, every ordered pair
// linked with distances from 0 to 10000.
void MakeCompleteNetwork() {
    ResetNetworkStore();
    Network.NumNodes = MaxNodes;
    for (int i = 1; i <= MaxNodes; ++i) {
        Network.NodeNames[i] =
            "Node " + std::string(static_cast<std::size_t>(i % 23), 'x') + std::to_string(i);
    }
    Network.LinkRows.AllocateRows(MaxNodes);
    std::uint32_t seed = 12345;
    for (int i = 1; i <= MaxNodes; ++i) {
        for (int j = 1; j <= MaxNodes; ++j) {
            seed = seed * 1103515245u + 12345u;
            Network.LinkRows[i][j] = i == j ? NoLink : static_cast<std::int32_t>(seed % 10001u);
        }
    }
}

void LinkListTexts(benchmark::State& state) {
    MakeCompleteNetwork();
    for (auto _ : state) {
        std::vector<std::string> nodes = LinkWindowNodeLines(Network);
        TLinkListing links = LinkWindowLinkLines(Network);
        benchmark::DoNotOptimize(nodes);
        benchmark::DoNotOptimize(links);
    }
    state.counters["lines"] = static_cast<double>(LinkWindowLinkLines(Network).Lines.size());
}
BENCHMARK(LinkListTexts)->Unit(benchmark::kMillisecond);

void UpdateAllLists(benchmark::State& state) {
    TLinkSpecification window;
    MakeCompleteNetwork();
    for (auto _ : state) {
        window.UpdateAllLists();
    }
    state.counters["lines"] = window.LinkList->Count();
}
BENCHMARK(UpdateAllLists)->Unit(benchmark::kMillisecond);

void UpdateAllListsShown(benchmark::State& state) {
    TLinkSpecification window;
    MakeCompleteNetwork();
    window.show();  // showing starts an empty matrix
    MakeCompleteNetwork();
    QApplication::processEvents();
    for (auto _ : state) {
        window.UpdateAllLists();
        QApplication::processEvents();
    }
    state.counters["lines"] = window.LinkList->Count();
    window.hide();
}
BENCHMARK(UpdateAllListsShown)->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv) {
    return RunWithWidgets(argc, argv);
}
