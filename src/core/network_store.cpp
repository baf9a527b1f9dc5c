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
