#pragma once

// The shortest distances by the plain triple loop over the store's rows, with a checked
// addition at every step (an overflow raises EIntOverflow): what CompleteShortestPaths must
// match entry for entry, and the yardstick the benchmark times it against. It fills
// Network.PathRows and Network.NetworkConnected as CompleteShortestPaths does.
void CompleteShortestPathsReference();
