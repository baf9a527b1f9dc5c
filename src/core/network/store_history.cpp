#include "core/network/store_history.h"

#include <algorithm>
#include <utility>

#include "core/numbers/number_text.h"

namespace {

TNodeSlot SlotOf(const TNetworkStore& network, int node) {
    return {network.NodeNames[node], network.FirstDemands[node], network.SecondDemands[node],
            network.FixedCosts[node], network.NodePlaces[node]};
}

void PutSlot(TNetworkStore& network, int node, const TNodeSlot& slot) {
    network.NodeNames[node] = slot.Name;
    network.FirstDemands[node] = slot.FirstDemand;
    network.SecondDemands[node] = slot.SecondDemand;
    network.FixedCosts[node] = slot.FixedCost;
    network.NodePlaces[node] = slot.Place;
}

// Byte for byte: two zeros with different fraction bytes are different contents.
bool SameSlot(const TNodeSlot& a, const TNodeSlot& b) {
    return a.Name == b.Name && a.FirstDemand.Bytes() == b.FirstDemand.Bytes() &&
           a.SecondDemand.Bytes() == b.SecondDemand.Bytes() &&
           a.FixedCost.Bytes() == b.FixedCost.Bytes() && a.Place.Given == b.Place.Given &&
           a.Place.X == b.Place.X && a.Place.Y == b.Place.Y;
}

// The nodes whose link rows all exist, 1..count; 0 when the rows are not there. While an
// opened network's links wait, all rows exist and a change may move entries of any of them.
int LinkedNodes(const TNetworkStore& network) {
    if (network.LinksWaiting) {
        return MaxNodes;
    }
    for (int node = 1; node <= network.NumNodes; ++node) {
        if (!network.LinkRows.IsAllocated(node)) {
            return 0;
        }
    }
    return network.NumNodes;
}

// What the store holds of the things a change may alter.
struct TStoreSnapshot {
    std::int32_t NumNodes = 0;
    std::vector<TNodeSlot> Slots;  // slot k at k - 1, every slot
    int LinkedNodes = 0;
    std::vector<std::int32_t> Distances;  // row by row, LinkedNodes x LinkedNodes
};

TStoreSnapshot Snapshot(const TNetworkStore& network) {
    TStoreSnapshot snapshot;
    snapshot.NumNodes = network.NumNodes;
    snapshot.Slots.reserve(MaxNodes);
    for (int node = 1; node <= MaxNodes; ++node) {
        snapshot.Slots.push_back(SlotOf(network, node));
    }
    snapshot.LinkedNodes = LinkedNodes(network);
    const int n = snapshot.LinkedNodes;
    snapshot.Distances.reserve(static_cast<std::size_t>(n) * static_cast<std::size_t>(n));
    for (int origin = 1; origin <= n; ++origin) {
        const std::int32_t* row = network.LinkRows[origin].Data();
        snapshot.Distances.insert(snapshot.Distances.end(), row, row + n);
    }
    return snapshot;
}

// The differences between the snapshot and the store now.
void Compare(const TStoreSnapshot& before, const TNetworkStore& network, TStoreChange& change) {
    change.NumNodesBefore = before.NumNodes;
    change.NumNodesAfter = network.NumNodes;
    for (int node = 1; node <= MaxNodes; ++node) {
        const TNodeSlot& was = before.Slots[static_cast<std::size_t>(node - 1)];
        TNodeSlot is = SlotOf(network, node);
        if (!SameSlot(was, is)) {
            change.Slots.push_back(node);
            change.SlotsBefore.push_back(was);
            change.SlotsAfter.push_back(std::move(is));
        }
    }
    // The rows of the snapshot are compared while they still exist.
    const int n = std::min(before.LinkedNodes, LinkedNodes(network));
    const auto at = [&before](int origin, int destination) {
        return before.Distances[static_cast<std::size_t>((origin - 1) * before.LinkedNodes +
                                                         destination - 1)];
    };
    std::size_t changed = 0;
    for (int origin = 1; origin <= n; ++origin) {
        const std::int32_t* row = network.LinkRows[origin].Data();
        for (int destination = 1; destination <= n; ++destination) {
            changed += row[destination - 1] != at(origin, destination) ? 1 : 0;
        }
    }
    // Counted first, so that the record holds no spare room.
    change.Links.reserve(changed);
    change.DistancesBefore.reserve(changed);
    change.DistancesAfter.reserve(changed);
    for (int origin = 1; origin <= n; ++origin) {
        const std::int32_t* row = network.LinkRows[origin].Data();
        for (int destination = 1; destination <= n; ++destination) {
            if (row[destination - 1] != at(origin, destination)) {
                change.Links.push_back(
                    static_cast<std::uint16_t>((origin - 1) * MaxNodes + destination - 1));
                change.DistancesBefore.push_back(at(origin, destination));
                change.DistancesAfter.push_back(row[destination - 1]);
            }
        }
    }
}

void PutBack(TNetworkStore& network, const TStoreChange& change, bool after) {
    const std::vector<TNodeSlot>& slots = after ? change.SlotsAfter : change.SlotsBefore;
    const std::vector<std::int32_t>& distances =
        after ? change.DistancesAfter : change.DistancesBefore;
    for (std::size_t i = 0; i < change.Slots.size(); ++i) {
        PutSlot(network, change.Slots[i], slots[i]);
    }
    network.NumNodes = after ? change.NumNodesAfter : change.NumNodesBefore;
    for (std::size_t i = 0; i < change.Links.size(); ++i) {
        const int entry = change.Links[i];
        SetLinkDistance(network, entry / MaxNodes + 1, entry % MaxNodes + 1, distances[i]);
    }
}

std::string ShownName(const TNetworkStore& network, int node) {
    const std::string& name = network.NodeNames[node];
    return name.empty() ? "Node " + IntToStr(node) : name.substr(0, 20);
}

}  // namespace

TStoreChange RecordChange(TNetworkStore& network,
                          const std::function<void(TNetworkStore&)>& change) {
    const TStoreSnapshot before = Snapshot(network);
    TStoreChange record;
    try {
        change(network);
    } catch (...) {
        // Whatever part of the change was made is taken back.
        Compare(before, network, record);
        UndoChange(network, record);
        throw;
    }
    Compare(before, network, record);
    return record;
}

void UndoChange(TNetworkStore& network, const TStoreChange& change) {
    PutBack(network, change, false);
}

void RedoChange(TNetworkStore& network, const TStoreChange& change) {
    PutBack(network, change, true);
}

std::string NodeChangeText(const std::string& verb, const TNetworkStore& network, int node) {
    return verb + " of " + ShownName(network, node);
}

std::string PasteChangeText(std::size_t count, const std::string& noun) {
    return "Paste of " + std::to_string(count) + ' ' + noun + (count == 1 ? "" : "s");
}

std::string LinkChangeText(const std::string& verb, int origin, int destination, bool bothWays) {
    return verb + (bothWays ? " of Links " : " of Link ") + IntToStr(origin) +
           (bothWays ? " <-> " : " -> ") + IntToStr(destination);
}

std::string LinkSettingVerb(const TNetworkStore& network, int origin, int destination,
                            bool bothWays) {
    const bool there = network.LinkRows[origin][destination] != NoLink &&
                       (!bothWays || network.LinkRows[destination][origin] != NoLink);
    return there ? "Change" : "Addition";
}

TStoreHistory::TStoreHistory(std::size_t limit) : Limit_(std::max<std::size_t>(limit, 1)) {}

void TStoreHistory::Record(TStoreChange change) {
    Changes.erase(Changes.begin() + static_cast<std::ptrdiff_t>(Done), Changes.end());
    Changes.push_back(std::move(change));
    if (Changes.size() > Limit_) {
        Changes.pop_front();
    }
    Done = Changes.size();
}

bool TStoreHistory::Undo(TNetworkStore& network) {
    if (!CanUndo()) {
        return false;
    }
    UndoChange(network, Changes[Done - 1]);
    --Done;
    return true;
}

bool TStoreHistory::Redo(TNetworkStore& network) {
    if (!CanRedo()) {
        return false;
    }
    RedoChange(network, Changes[Done]);
    ++Done;
    return true;
}

void TStoreHistory::Clear() {
    Changes.clear();
    Done = 0;
}
