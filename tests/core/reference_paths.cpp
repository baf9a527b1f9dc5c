#include "reference_paths.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/network/network_store.h"
#include "core/numbers/errors.h"

void CompleteShortestPathsReference() {
    const int n = Network.NumNodes;
    Network.PathRows.AllocateRows(n);
    std::array<std::int32_t*, MaxNodes> rows{};  // zero-based: rows[i - 1] is node i
    for (int i = 0; i < n; ++i) {
        rows[i] = Network.PathRows[i + 1].Data();
        std::copy_n(Network.LinkRows[i + 1].Data(), n, rows[i]);
        rows[i][i] = 0;
    }
    // Each step reads its three entries afresh.
    for (int k = 0; k < n; ++k) {
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) {
                std::int32_t through = 0;
                if (__builtin_add_overflow(rows[i][k], rows[k][j], &through)) {
                    throw EIntOverflow();
                }
                if (through < rows[i][j]) {
                    rows[i][j] = through;
                }
            }
        }
    }
    Network.NetworkConnected = true;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            if (rows[i][j] > MaxDistance) {
                rows[i][j] = MaxDistance;
                Network.NetworkConnected = false;
            }
        }
    }
}
