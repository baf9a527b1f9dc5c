#include "core/network_store.h"

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
}

void AppendNode(TNetworkStore& network, const std::string& name, const Real48& firstDemand,
                const Real48& secondDemand, const Real48& fixedCost) {
    // The slot is filled before the count grows, so that a full table stays as it was.
    const int node = network.NumNodes + 1;
    network.NodeNames[node] = name;
    network.FirstDemands[node] = firstDemand;
    network.SecondDemands[node] = secondDemand;
    network.FixedCosts[node] = fixedCost;
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
