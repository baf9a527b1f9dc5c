#pragma once

// A saved network read back from the texts of its two files (data_files.h holds their layout),
// and its links rebuilt from the distances.
//
// The demand data file is read line by line: line i must be exactly what the writer makes of
// node i, so that saving what was read writes the same bytes again. The distance file holds
// N x N whole numbers from 0 to MaxDistance, one a line, N the demand data file's line count.
// Both take CR LF or LF alone as the line end, and a last line without one.
//
// The links are the fewest direct links whose completed shortest distances (shortest_paths.h)
// give back the matrix exactly: a pair is joined directly unless a way through other nodes is
// as short. Nodes at distance 0 from each other both ways are joined in a ring of links of 0,
// so that no pair is lost; a pair at MaxDistance is taken as not joined (the file cannot tell
// it from a pair exactly MaxDistance apart, and completion writes both alike).
//
// Each reader stops at the first wrong line and says which and why; nothing is read past it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/network_store.h"
#include "core/store_history.h"

// Why a file was refused: the line (from 1; 0 when no one line is at fault) and the reason.
struct TFileRefusal {
    int Line = 0;
    std::string Why;
};

// "Line 7: the distance from node 2 to itself is 5, not 0" or the reason alone.
std::string FileRefusalText(const TFileRefusal& refusal);

// The longest demand data line the reader takes (line end included): a name may hold up to
// LongestOpenedName bytes, as many as a name may hold anywhere.
constexpr std::size_t LongestOpenedName = LongestNodeName;
// The largest texts the two readers can accept; a file larger than these is refused unread.
std::size_t LargestDemandDataText();
std::size_t LargestDistanceText();

struct TDemandDataReading {
    std::vector<TNodeSlot> Nodes;
    std::optional<TFileRefusal> Refusal;  // when set, Nodes is empty
};
// 2..MaxNodes nodes, each line laid out as the writer lays it out, numbered by its line,
// each value 0.000..10000.000 and each name byte one that a held name can hold.
TDemandDataReading ReadDemandDataText(std::string_view text);

struct TDistanceReading {
    std::vector<std::int32_t> Distances;  // from i to j at (i - 1) * nodes + j - 1
    std::optional<TFileRefusal> Refusal;  // when set, Distances is empty
};
// nodes x nodes lines of 0..MaxDistance, each diagonal line 0.
TDistanceReading ReadDistanceText(std::string_view text, int nodes);

struct TRebuiltLinks {
    std::vector<std::int32_t> Links;  // as Distances, NoLink where no direct link
    std::optional<TFileRefusal> Refusal;
};
// The links of a distance matrix of nodes x nodes (as read above); refused, naming the line of
// the first pair in file order, when some d(i,j) > d(i,k) + d(k,j), as no links give.
TRebuiltLinks RebuildLinks(const std::vector<std::int32_t>& distances, int nodes);

// The network opened: its nodes and links, checked and ready to go into the store.
struct TOpenedNetwork {
    std::vector<TNodeSlot> Nodes;
    std::vector<std::int32_t> Links;
};
// How many direct links the rebuild kept (each direction of a pair counts, as the link list
// shows them).
int RebuiltLinkCount(const TOpenedNetwork& opened);
struct TOpenedReading {
    std::optional<TOpenedNetwork> Network;
    bool InDistanceFile = false;  // which file the refusal is about
    TFileRefusal Refusal;
};
// Both texts read and the links rebuilt, or the first refusal.
TOpenedReading ReadOpenedNetwork(std::string_view demandText, std::string_view distanceText);

// Puts an opened network into the store for the node window: the node table holds its nodes,
// and link rows 1..MaxNodes hold its links (NoLink elsewhere) while nodes are changed, so that
// a node deleted takes its links with it (DeleteNodeWithLinks) and Undo puts them back; the
// pending values are cleared, the save flags stay. The link window takes the links over with
// TakeOpenedLinks.
void PutOpenedNetwork(TNetworkStore& network, const TOpenedNetwork& opened);
// True while an opened network's links wait in the store for the link window.
bool OpenedLinksWaiting(const TNetworkStore& network);
// Gives the link window its rows: the opened links among nodes 1..NumNodes where they wait
// (the rows above are freed), otherwise fresh rows as AllocateLinkRows gives; PendingDistance
// := -1 either way.
void TakeOpenedLinks(TNetworkStore& network);
// Frees the rows of waiting links (a Cancel of the node window); nothing when none wait.
void DropOpenedLinks(TNetworkStore& network);
// The links of node k among nodes 1..NumNodes while links wait (each direction counts once).
int LinksOfNode(const TNetworkStore& network, int k);
// DeleteNode, and while links wait, node k's links go with it and the links of the nodes after
// it move up with them.
void DeleteNodeWithLinks(TNetworkStore& network, int k);
// Puts the name and values into node k's slot, 1..NumNodes (ERangeError otherwise).
void ReplaceNode(TNetworkStore& network, int k, const TNodeSlot& slot);
