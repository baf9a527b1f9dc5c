#include "core/network/network_store.h"

#include <algorithm>

TNetworkStore Network;

void TRowMatrix::AllocateRows(int count) {
    for (int node = 1; node <= count; ++node) {
        Rows[CheckedNodeIndex(node)] = std::make_unique<TDistanceRow>();
    }
}

void TRowMatrix::ReleaseRows(int count) {
    for (int node = 1; node <= count; ++node) {
        Rows[CheckedNodeIndex(node)].reset();
    }
}

void ResetNetworkStore() {
    Network = TNetworkStore{};
}

void StartNodeTable(TNetworkStore& network) {
    network.NumNodes = 0;
    network.PendingFirstDemand = Real48();
    network.PendingSecondDemand = Real48();
    network.PendingFixedCost = Real48();
    network.PlaceKind = TPlaceKind::None;
}

void AppendNode(TNetworkStore& network, const std::string& name, const Real48& firstDemand,
                const Real48& secondDemand, const Real48& fixedCost) {
    // The slot is filled before the count grows, so that a full table stays as it was.
    const int node = network.NumNodes + 1;
    network.NodeNames[node] = name;
    network.FirstDemands[node] = firstDemand;
    network.SecondDemands[node] = secondDemand;
    network.FixedCosts[node] = fixedCost;
    network.NodePlaces[node] = TSitePlace{};
    if (network.LinksWaiting) {
        for (int other = 1; other <= node; ++other) {
            network.LinkRows[node][other] = NoLink;
            network.LinkRows[other][node] = NoLink;
        }
    }
    network.NumNodes = node;
}

void AddPendingNode(TNetworkStore& network) {
    AppendNode(network, network.PendingName, network.PendingFirstDemand,
               network.PendingSecondDemand, network.PendingFixedCost);
}

void DeleteNode(TNetworkStore& network, int k) {
    if (k < 1 || k > network.NumNodes) {
        throw ERangeError();
    }
    for (int i = k + 1; i <= network.NumNodes; ++i) {
        network.NodeNames[i - 1] = network.NodeNames[i];
        network.FirstDemands[i - 1] = network.FirstDemands[i];
        network.SecondDemands[i - 1] = network.SecondDemands[i];
        network.FixedCosts[i - 1] = network.FixedCosts[i];
        network.NodePlaces[i - 1] = network.NodePlaces[i];
    }
    network.NumNodes = network.NumNodes - 1;
}

void AllocateLinkRows(TNetworkStore& network) {
    network.LinkRows.AllocateRows(network.NumNodes);
    for (int i = 1; i <= network.NumNodes; ++i) {
        for (int j = 1; j <= network.NumNodes; ++j) {
            network.LinkRows[i][j] = NoLink;
        }
    }
    network.PendingDistance = -1;
}

void SetOneWayLink(TNetworkStore& network, int origin, int destination) {
    SetLinkDistance(network, origin, destination, network.PendingDistance);
}

void SetTwoWayLink(TNetworkStore& network, int origin, int destination) {
    network.LinkRows[origin][destination] = network.PendingDistance;
    network.LinkRows[destination][origin] = network.PendingDistance;
}

void RemoveLink(TNetworkStore& network, int origin, int destination) {
    network.LinkRows[origin][destination] = NoLink;
}

void ReleaseLinkRows(TNetworkStore& network) {
    network.LinkRows.ReleaseRows(network.NumNodes);
}

void PutOpenedNetwork(TNetworkStore& network, const TOpenedNetwork& opened) {
    const int n = static_cast<int>(opened.Nodes.size());
    if (n > MaxNodes || opened.Links.size() != static_cast<std::size_t>(n) * n) {
        throw ERangeError();
    }
    DropOpenedLinks(network);
    StartNodeTable(network);
    network.PendingName.clear();
    network.LinkRows.AllocateRows(MaxNodes);
    for (int i = 1; i <= MaxNodes; ++i) {
        std::fill_n(network.LinkRows[i].Data(), MaxNodes, NoLink);
    }
    network.LinksWaiting = true;
    for (const TNodeSlot& node : opened.Nodes) {
        AppendNode(network, node.Name, node.FirstDemand, node.SecondDemand, node.FixedCost);
        network.NodePlaces[network.NumNodes] = node.Place;
    }
    network.PlaceKind = opened.PlaceKind;
    for (int i = 1; i <= n; ++i) {
        std::copy_n(opened.Links.begin() + static_cast<std::ptrdiff_t>(MatrixIndex(n, i, 1)), n,
                    network.LinkRows[i].Data());
    }
}

bool OpenedLinksWaiting(const TNetworkStore& network) {
    return network.LinksWaiting;
}

void TakeOpenedLinks(TNetworkStore& network) {
    if (!network.LinksWaiting) {
        AllocateLinkRows(network);
        return;
    }
    for (int node = network.NumNodes + 1; node <= MaxNodes; ++node) {
        network.LinkRows.ReleaseRow(node);
    }
    network.LinksWaiting = false;
    network.PendingDistance = -1;
}

void DropOpenedLinks(TNetworkStore& network) {
    if (network.LinksWaiting) {
        network.LinkRows.ReleaseRows(MaxNodes);
        network.LinksWaiting = false;
    }
}

int LinksOfNode(const TNetworkStore& network, int k) {
    if (k < 1 || k > network.NumNodes) {
        throw ERangeError();
    }
    int count = 0;
    for (int other = 1; network.LinksWaiting && other <= network.NumNodes; ++other) {
        count += network.LinkRows[k][other] != NoLink ? 1 : 0;
        count += other != k && network.LinkRows[other][k] != NoLink ? 1 : 0;
    }
    return count;
}

void DeleteNodeWithLinks(TNetworkStore& network, int k) {
    const int n = network.NumNodes;
    DeleteNode(network, k);
    if (!network.LinksWaiting) {
        return;
    }
    // Row k and column k go; the rows and columns after them move up one; the last row and
    // column, now outside the table, hold no link.
    for (int i = 1; i <= n; ++i) {
        std::int32_t* row = network.LinkRows[i].Data();
        std::copy(row + k, row + n, row + k - 1);
        row[n - 1] = NoLink;
    }
    for (int i = k; i < n; ++i) {
        std::copy_n(network.LinkRows[i + 1].Data(), n, network.LinkRows[i].Data());
    }
    std::fill_n(network.LinkRows[n].Data(), n, NoLink);
}

void ReplaceNode(TNetworkStore& network, int k, const TNodeSlot& slot) {
    if (k < 1 || k > network.NumNodes) {
        throw ERangeError();
    }
    network.NodeNames[k] = slot.Name;
    network.FirstDemands[k] = slot.FirstDemand;
    network.SecondDemands[k] = slot.SecondDemand;
    network.FixedCosts[k] = slot.FixedCost;
}
