#pragma once

// The network store: the program's one data set, shared by all windows for the whole run.
//
// Every array is indexed from 1 and every access is checked; an index outside 1..150, or a
// matrix row used outside its lifetime, raises ERangeError, which the general error box
// reports. Node names are held as Windows-1252 bytes (name_bytes.h), exactly as they are
// written to the demand data file.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/numbers/errors.h"
#include "core/numbers/real48.h"

constexpr int MaxNodes = 150;
constexpr std::int32_t NoLink = 1000000000;  // no direct link from one node to the other
constexpr std::int32_t MaxDistance = 10000;  // largest distance, demand and fixed cost
// The longest name, in the bytes it is held in (one a character): what the name field, the
// rows and a saved file take alike, so that every network written can be opened again.
constexpr std::size_t LongestNodeName = 4096;

// Maps a node number 1..MaxNodes to a zero-based position; raises ERangeError otherwise.
inline int CheckedNodeIndex(int node) {
    if (node < 1 || node > MaxNodes) {
        throw ERangeError();
    }
    return node - 1;
}

// An array indexed by node number, 1..MaxNodes.
template <typename T>
class TNodeArray {
  public:
    T& operator[](int node) { return Items[CheckedNodeIndex(node)]; }
    const T& operator[](int node) const { return Items[CheckedNodeIndex(node)]; }

  private:
    std::array<T, MaxNodes> Items{};
};

// One row of a distance matrix: MaxNodes signed 32-bit entries, indexed 1..MaxNodes.
class TDistanceRow {
  public:
    std::int32_t& operator[](int node) { return Entries[CheckedNodeIndex(node)]; }
    std::int32_t operator[](int node) const { return Entries[CheckedNodeIndex(node)]; }

    // Zero-based access for the inner loops of the shortest-path completion.
    std::int32_t* Data() { return Entries.data(); }
    const std::int32_t* Data() const { return Entries.data(); }

  private:
    std::array<std::int32_t, MaxNodes> Entries{};
};

// A matrix of heap rows, allocated and released explicitly by the stage that owns it.
// A row that was never allocated, or has been released, cannot be reached: indexing it
// raises ERangeError instead of reading freed memory.
class TRowMatrix {
  public:
    TDistanceRow& operator[](int node) { return Row(node); }
    const TDistanceRow& operator[](int node) const {
        return const_cast<TRowMatrix*>(this)->Row(node);
    }

    // Gives rows 1..count each a new row (the entries are not set).
    void AllocateRows(int count);
    // Frees rows 1..count.
    void ReleaseRows(int count);
    // Frees the row of node.
    void ReleaseRow(int node) { Rows[CheckedNodeIndex(node)].reset(); }
    bool IsAllocated(int node) const { return Rows[CheckedNodeIndex(node)] != nullptr; }

  private:
    TDistanceRow& Row(int node) {
        const auto& row = Rows[CheckedNodeIndex(node)];
        if (!row) {
            throw ERangeError();
        }
        return *row;
    }

    std::array<std::unique_ptr<TDistanceRow>, MaxNodes> Rows;
};

// Where a node stands on a map, when it came with coordinates (an imported list of sites or a
// test problem's node coordinates); kept for this run only, since the two files hold no place.
// On a plane, X grows to the east and Y to the north in the file's own unit; on the globe, X is
// the longitude and Y the latitude, in degrees.
struct TSitePlace {
    bool Given = false;
    double X = 0.0;
    double Y = 0.0;
};
enum class TPlaceKind { None, Plane, Globe };

struct TNetworkStore {
    // Node table. Nodes 1..NumNodes are live, in order of entry; slots above are dead.
    std::int32_t NumNodes = 0;
    TNodeArray<std::string> NodeNames;
    TNodeArray<Real48> FirstDemands;
    TNodeArray<Real48> SecondDemands;
    TNodeArray<Real48> FixedCosts;
    // The nodes' places, where the network came with them (PlaceKind not None); they move
    // with their nodes.
    TNodeArray<TSitePlace> NodePlaces;
    TPlaceKind PlaceKind = TPlaceKind::None;

    // Values accepted by the node and link windows but not yet committed.
    std::string PendingName;
    Real48 PendingFirstDemand;
    Real48 PendingSecondDemand;
    Real48 PendingFixedCost;
    std::int32_t PendingDistance = 0;  // -1 while no valid distance has been entered

    // LinkRows[o][d]: the direct link from o to d, or NoLink. PathRows[i][j]: the shortest
    // distance from i to j, capped at MaxDistance.
    TRowMatrix LinkRows;
    TRowMatrix PathRows;

    // True while an opened network's links wait in rows 1..MaxNodes for the link window
    // (PutOpenedNetwork below); the node window may then change NumNodes while the rows exist.
    bool LinksWaiting = false;

    bool NetworkConnected = false;
    bool DemandFileSaved = false;
    bool DistanceFileSaved = false;
    bool NetworkSaved = false;
};

extern TNetworkStore Network;

// The contents of one node slot.
struct TNodeSlot {
    std::string Name;
    Real48 FirstDemand;
    Real48 SecondDemand;
    Real48 FixedCost;
    TSitePlace Place;  // not Given for a node typed or pasted
};

// What the windows do to the store. Each does exactly what its comment says and nothing
// else; an index outside the table raises ERangeError, as every access to the store does.

// Empties the node table for a new entry: NumNodes := 0, the pending demands and cost := 0 and
// the places' kind None. The pending name and the contents of the slots stay as they are.
void StartNodeTable(TNetworkStore& network);
// Appends a node made of the pending name and values: NumNodes grows by one and slot NumNodes
// receives them. A full table raises ERangeError and is left unchanged.
void AddPendingNode(TNetworkStore& network);
// Appends a node made of the given name and values, as AddPendingNode does with the pending
// ones (a full table raises ERangeError and is left unchanged); the pending values stay.
// While an opened network's links wait, the new node starts with none.
void AppendNode(TNetworkStore& network, const std::string& name, const Real48& firstDemand,
                const Real48& secondDemand, const Real48& fixedCost);
// Deletes node k, 1..NumNodes: nodes k+1..NumNodes move down one place (name and values
// together) and NumNodes shrinks by one. Any other k raises ERangeError and changes nothing.
void DeleteNode(TNetworkStore& network, int k);

// Gives nodes 1..NumNodes new link rows with every entry among them NoLink (the diagonal
// too), and sets PendingDistance := -1.
void AllocateLinkRows(TNetworkStore& network);
// LinkRows[origin][destination] := distance (NoLink removes the link); the pending distance
// stays. (Inline: a large paste sets thousands.)
inline void SetLinkDistance(TNetworkStore& network, int origin, int destination,
                            std::int32_t distance) {
    network.LinkRows[origin][destination] = distance;
}
// LinkRows[origin][destination] := PendingDistance.
void SetOneWayLink(TNetworkStore& network, int origin, int destination);
// The link both ways: [origin][destination], then [destination][origin] := PendingDistance.
void SetTwoWayLink(TNetworkStore& network, int origin, int destination);
// LinkRows[origin][destination] := NoLink; the other direction stays.
void RemoveLink(TNetworkStore& network, int origin, int destination);
// Frees the link rows of nodes 1..NumNodes.
void ReleaseLinkRows(TNetworkStore& network);

// An opened network, its nodes and its links, checked and ready to go into the store: the link
// from node i to node j at MatrixIndex(nodes, i, j), NoLink where there is none.
struct TOpenedNetwork {
    std::vector<TNodeSlot> Nodes;
    std::vector<std::int32_t> Links;
    TPlaceKind PlaceKind = TPlaceKind::None;  // what the nodes' places mean, if any are given
};
// Where the pair from node i to node j (1..nodes each) stands in a nodes x nodes matrix kept
// row after row, as an opened network's links and the distance file's lines are.
inline std::size_t MatrixIndex(int nodes, int i, int j) {
    return static_cast<std::size_t>((i - 1) * nodes + j - 1);
}

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
// Puts the name and values into node k's slot, 1..NumNodes (ERangeError otherwise); the node
// keeps its place.
void ReplaceNode(TNetworkStore& network, int k, const TNodeSlot& slot);

// Puts the store back into its start state (every number zero, every string empty, every
// flag false, no rows). For tests; the program itself never does this.
void ResetNetworkStore();
