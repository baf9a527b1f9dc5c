#include "core/network/connectivity_details.h"

#include <algorithm>
#include <cstddef>

#include "core/network/shortest_paths.h"

namespace {

std::string NodeText(const TNetworkStore& network, int node) {
    return std::to_string(node) + " " + network.NodeNames[node];
}

std::string Counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// heading and the nodes under it, at most DetailsListedNodes of them, then how many more.
void AddNodeList(std::vector<std::string>& lines, const char* heading,
                 const std::vector<int>& nodes, const TNetworkStore& network) {
    if (nodes.empty()) {
        return;
    }
    lines.emplace_back(heading);
    const std::size_t listed = std::min<std::size_t>(nodes.size(), DetailsListedNodes);
    for (std::size_t at = 0; at < listed; ++at) {
        lines.push_back("  " + NodeText(network, nodes[at]));
    }
    if (listed < nodes.size()) {
        lines.push_back("  and " + Counted(nodes.size() - listed, "more node", "more nodes"));
    }
}

}  // namespace

std::vector<TUnjoinedPair> UnjoinedPairs(const TNetworkStore& network) {
    const std::vector<std::int32_t> d = UncappedShortestPaths(network);
    const int n = network.NumNodes;
    std::vector<TUnjoinedPair> pairs;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const std::int32_t length = d[static_cast<std::size_t>(i * n + j)];
            if (length > MaxDistance) {
                pairs.push_back({i + 1, j + 1, length != NoLink, length != NoLink ? length : 0});
            }
        }
    }
    return pairs;
}

TCutOffNodes CutOffNodes(const TNetworkStore& network) {
    // A path from another node into a node ends with a link from another node into it, so a
    // node that no other reaches is one that no link enters; and one that reaches no other is
    // one that no link leaves. (The rows are checked as the shortest paths check them.)
    const std::vector<std::int32_t> links = LinkMatrix(network);
    const int n = network.NumNodes;
    TCutOffNodes cutOff;
    for (int node = 0; n > 1 && node < n; ++node) {
        bool entered = false;
        bool left = false;
        for (int other = 0; other < n; ++other) {
            if (other != node) {
                entered = entered || links[static_cast<std::size_t>(other * n + node)] != NoLink;
                left = left || links[static_cast<std::size_t>(node * n + other)] != NoLink;
            }
        }
        if (!entered) {
            cutOff.Unreached.push_back(node + 1);
        }
        if (!left) {
            cutOff.Unreaching.push_back(node + 1);
        }
    }
    return cutOff;
}

std::string UnjoinedPairsDetails(const TNetworkStore& network) {
    const std::vector<TUnjoinedPair> pairs = UnjoinedPairs(network);
    if (pairs.empty()) {
        return {};
    }
    const TCutOffNodes cutOff = CutOffNodes(network);
    std::vector<std::string> lines;
    AddNodeList(lines, "Nodes that no other node reaches:", cutOff.Unreached, network);
    AddNodeList(lines, "Nodes that reach no other node:", cutOff.Unreaching, network);
    lines.push_back(Counted(pairs.size(), "pair cannot", "pairs cannot") + " be joined within " +
                    std::to_string(MaxDistance) + ":");

    // Each origin's line is written only with at least one of its pairs under it.
    std::size_t shown = 0;
    int origin = 0;
    for (const TUnjoinedPair& pair : pairs) {
        const std::size_t needed = pair.Origin != origin ? 2 : 1;
        if (lines.size() + needed > static_cast<std::size_t>(DetailsMaxLines)) {
            break;
        }
        if (pair.Origin != origin) {
            origin = pair.Origin;
            lines.push_back("From " + NodeText(network, origin));
        }
        lines.push_back("  to " + NodeText(network, pair.Destination) + ": " +
                        (pair.HasPath ? "shortest path " + std::to_string(pair.Length)
                                      : std::string("no path")));
        ++shown;
    }
    if (shown < pairs.size()) {
        lines.push_back("And " + Counted(pairs.size() - shown, "more pair.", "more pairs."));
    }

    std::string text = lines.front();
    for (std::size_t at = 1; at < lines.size(); ++at) {
        text += "\n" + lines[at];
    }
    return text;
}
