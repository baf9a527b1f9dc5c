#pragma once

// Undo and redo of the node and link windows' changes of the store.
//
// A change is made through RecordChange, which keeps what it changed: the node count, each
// node slot whose name or values differ, and each link entry whose distance differs, every
// one with its value before and after. Nothing else is copied, so a paste of all 22,350
// links of a full network is held in about 220 KB, and a delete of node 1 of 150 as the 149
// slots that moved down. The pending values belong to the windows' fields and are not part
// of a change.
//
// TStoreHistory keeps the last Limit changes; a new change past the limit drops the oldest,
// and a change made after undos drops the ones undone.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/network/network_store.h"
#include "core/numbers/real48.h"

struct TStoreChange {
    // What the change was, in the bytes node names are held in: "Delete of Depot".
    std::string Text;
    std::int32_t NumNodesBefore = 0;
    std::int32_t NumNodesAfter = 0;
    std::vector<int> Slots;  // node numbers whose slot changed, ascending
    std::vector<TNodeSlot> SlotsBefore;
    std::vector<TNodeSlot> SlotsAfter;
    // Link entries as (origin - 1) * MaxNodes + destination - 1, ascending.
    std::vector<std::uint16_t> Links;
    std::vector<std::int32_t> DistancesBefore;
    std::vector<std::int32_t> DistancesAfter;
};

// Runs change on the store and returns its record, without a text. The link entries compared
// are those among nodes 1..NumNodes while their rows exist. A change that fails is taken back
// before its failure goes on, so the store is then as it was.
TStoreChange RecordChange(TNetworkStore& network,
                          const std::function<void(TNetworkStore&)>& change);

// Puts back the store as it was before the change, or as it was after it.
void UndoChange(TNetworkStore& network, const TStoreChange& change);
void RedoChange(TNetworkStore& network, const TStoreChange& change);

// The texts of the windows' changes, each name cut to its first 20 characters as the link
// lists show it, or "Node <k>" for an empty name:
//   "Addition of Depot", "Delete of Depot", "Paste of 1 Node", "Paste of 300 Links",
//   "Addition of Link 1 -> 2", "Addition of Links 1 <-> 2", "Change of Link 1 -> 2",
//   "Removal of Link 1 -> 2"
std::string NodeChangeText(const std::string& verb, const TNetworkStore& network, int node);
std::string PasteChangeText(std::size_t count, const std::string& noun);
std::string LinkChangeText(const std::string& verb, int origin, int destination, bool bothWays);
// The verb for setting the link from origin to destination (and back, bothWays): "Change"
// when every direction set is there already and only its distance changes, else "Addition".
std::string LinkSettingVerb(const TNetworkStore& network, int origin, int destination,
                            bool bothWays);

class TStoreHistory {
  public:
    static constexpr std::size_t DefaultLimit = 100;
    explicit TStoreHistory(std::size_t limit = DefaultLimit);

    // Keeps a change just made: the changes undone are dropped, and the oldest past the limit.
    void Record(TStoreChange change);
    // Each takes back, or makes again, one change; false when there is none to take.
    bool Undo(TNetworkStore& network);
    bool Redo(TNetworkStore& network);
    bool CanUndo() const { return Done > 0; }
    bool CanRedo() const { return Done < Changes.size(); }
    void Clear();

    std::size_t Limit() const { return Limit_; }
    std::size_t Count() const { return Changes.size(); }

  private:
    std::size_t Limit_;
    std::deque<TStoreChange> Changes;
    std::size_t Done = 0;  // changes 0..Done-1 are in the store
};
