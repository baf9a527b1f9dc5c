// Reading a saved network back: any pair of texts the readers accept gives links whose
// completed distances are exactly the matrix read, no more links than pairs below the cap,
// and nodes that the writer writes back as the lines read.
//
// Input: one byte for the node count of the distance text alone (2 + byte % 149) and that
// text; or, from the first NUL on, a demand data text before it and a distance text after.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/file_texts/data_files.h"
#include "core/network/link_rebuild.h"
#include "core/network/network_store.h"
#include "core/network/shortest_paths.h"
#include "fuzz_input.h"

namespace {

// The links put into the store and completed give back the distances, pair for pair.
void CheckRebuilt(const std::vector<std::int32_t>& distances, int n, const TRebuiltLinks& links) {
    ResetNetworkStore();
    TOpenedNetwork opened;
    opened.Nodes.resize(static_cast<std::size_t>(n));
    opened.Links = links.Links;
    PutOpenedNetwork(Network, opened);
    TakeOpenedLinks(Network);
    CompleteShortestPaths(Network);
    std::size_t joined = 0;
    std::size_t below = 0;
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) {
            const std::int32_t read = distances[static_cast<std::size_t>((i - 1) * n + j - 1)];
            FUZZ_CHECK(Network.PathRows[i][j] == read, "%d nodes: (%d,%d) completes to %d, read %d",
                       n, i, j, Network.PathRows[i][j], read);
            joined += Network.LinkRows[i][j] != NoLink ? 1 : 0;
            below += i != j && read < MaxDistance ? 1 : 0;
        }
    }
    FUZZ_CHECK(joined <= below, "%zu links for %zu pairs", joined, below);
    ReleasePathRows(Network);
    ReleaseLinkRows(Network);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = input.find('\0');
    if (nul == std::string_view::npos) {
        const int n = 2 + (size > 0 ? data[0] : 0) % 149;
        const TDistanceReading read = ReadDistanceText(input.substr(size > 0 ? 1 : 0), n);
        if (!read.Refusal) {
            const TRebuiltLinks links = RebuildLinks(read.Distances, n);
            if (!links.Refusal) {
                CheckRebuilt(read.Distances, n, links);
            }
        }
        return 0;
    }
    const std::string_view demand = input.substr(0, nul);
    const TOpenedReading reading = ReadOpenedNetwork(demand, input.substr(nul + 1));
    const TDemandDataReading nodes = ReadDemandDataText(demand);
    FUZZ_CHECK(!nodes.Refusal == (reading.Network || reading.InDistanceFile),
               "the demand data text was judged twice differently");
    for (std::size_t k = 0; k < nodes.Nodes.size(); ++k) {
        const TNodeSlot& node = nodes.Nodes[k];
        const std::string line =
            DemandDataLine(static_cast<int>(k + 1), node.Name, node.FirstDemand, node.SecondDemand,
                           node.FixedCost);
        FUZZ_CHECK(demand.find(line.substr(0, line.size() - 2)) != std::string_view::npos,
                   "node %zu is not written back as the line read", k + 1);
    }
    if (reading.Network) {
        const int n = static_cast<int>(reading.Network->Nodes.size());
        const TDistanceReading read = ReadDistanceText(input.substr(nul + 1), n);
        CheckRebuilt(read.Distances, n, TRebuiltLinks{reading.Network->Links, std::nullopt});
    }
    return 0;
}
