// Random sequences of the windows' changes, undos and redos, held step by step against a
// plain model that keeps every whole state it passes through.

#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/network/store_history.h"
#include "core/rows/clipboard_rows.h"
#include "core_test.h"

namespace {
using StoreHistoryTest = CoreTest;

struct TModel {
    std::vector<TPastedNode> Nodes;
    std::map<std::pair<int, int>, std::int32_t> Links;
};

void ExpectStoreIs(const TNetworkStore& n, const TModel& model, int step) {
    ASSERT_EQ(n.NumNodes, static_cast<int>(model.Nodes.size())) << "step " << step;
    for (int k = 1; k <= n.NumNodes; ++k) {
        const TPastedNode& node = model.Nodes[static_cast<std::size_t>(k - 1)];
        ASSERT_EQ(n.NodeNames[k], node.Name) << "step " << step;
        ASSERT_EQ(n.FirstDemands[k].Bytes(), node.FirstDemand.Bytes()) << "step " << step;
        ASSERT_EQ(n.SecondDemands[k].Bytes(), node.SecondDemand.Bytes()) << "step " << step;
        ASSERT_EQ(n.FixedCosts[k].Bytes(), node.FixedCost.Bytes()) << "step " << step;
    }
    for (int o = 1; n.LinkRows.IsAllocated(1) && o <= n.NumNodes; ++o) {
        for (int d = 1; d <= n.NumNodes; ++d) {
            const auto link = model.Links.find({o, d});
            if (n.LinkRows[o][d] != (link == model.Links.end() ? NoLink : link->second)) {
                FAIL() << "step " << step << ", link " << o << " -> " << d;
            }
        }
    }
}

// Nodes first (add, delete, paste), then links among the nodes left (one way, two ways,
// remove, paste, and a paste that fails half way and must leave no trace), with undos and
// redos among them; the model keeps Limit states back.
TEST_F(StoreHistoryTest, RandomSequencesAgainstModel) {
    const struct {
        unsigned Seed;
        std::size_t Limit;
        int Steps;
    } rows[] = {{1, 100, 600}, {2, 3, 400}, {3, 1, 300}, {4, 100, 900}};
    for (const auto& row : rows) {
        std::mt19937 random(row.Seed);
        const auto pick = [&random](int low, int high) {
            return std::uniform_int_distribution<int>(low, high)(random);
        };
        const auto value = [&] { return Real48::Narrow(pick(0, 100000) / 10.0L); };
        const char* names[] = {"", "Depot", "R&D", "North Riverside Depot Annex", "Depot"};
        const auto node = [&] { return TPastedNode{names[pick(0, 4)], value(), value(), value()}; };
        TNetworkStore n;
        TStoreHistory history(row.Limit);
        std::vector<TModel> states(1);
        std::size_t at = 0;
        for (int step = 0; step < row.Steps; ++step) {
            const bool links = step >= row.Steps / 3;
            if (links && !n.LinkRows.IsAllocated(1)) {
                while (n.NumNodes < 2) {
                    AppendNode(n, "x", {}, {}, {});
                    states[at].Nodes.push_back({"x", {}, {}, {}});
                }
                AllocateLinkRows(n);
                history.Clear();
                states = {states[at]};
                at = 0;
            }
            const int count = n.NumNodes;
            const int action = pick(0, 5);
            TModel next = states[at];
            std::function<void(TNetworkStore&)> change;
            if (action == 0) {
                EXPECT_EQ(history.Undo(n), at > 0) << "step " << step;
                at -= at > 0 ? 1 : 0;
            } else if (action == 1) {
                EXPECT_EQ(history.Redo(n), at + 1 < states.size()) << "step " << step;
                at += at + 1 < states.size() ? 1 : 0;
            } else if (!links && action == 2 && count < MaxNodes) {
                const TPastedNode added = node();
                next.Nodes.push_back(added);
                change = [added](TNetworkStore& s) {
                    AppendNode(s, added.Name, added.FirstDemand, added.SecondDemand,
                               added.FixedCost);
                };
            } else if (!links && action == 3 && count > 0) {
                const int k = pick(1, count);
                next.Nodes.erase(next.Nodes.begin() + k - 1);
                change = [k](TNetworkStore& s) { DeleteNode(s, k); };
            } else if (!links && action >= 4) {
                std::vector<TPastedNode> pasted(static_cast<std::size_t>(
                    pick(0, std::min(MaxNodes - count, action == 4 ? 5 : MaxNodes))));
                for (TPastedNode& p : pasted) {
                    p = node();
                    next.Nodes.push_back(p);
                }
                change = [pasted](TNetworkStore& s) { AddPastedNodes(s, pasted); };
            } else if (links && action <= 3) {
                const int o = pick(1, count);
                const int d = pick(1, count);
                const std::int32_t distance = pick(0, MaxDistance);
                if (action == 3) {
                    next.Links.erase({o, d});
                    change = [o, d](TNetworkStore& s) { RemoveLink(s, o, d); };
                } else {
                    next.Links[{o, d}] = distance;
                    if (action == 2) {
                        next.Links[{d, o}] = distance;
                    }
                    change = [=](TNetworkStore& s) {
                        s.PendingDistance = distance;
                        action == 2 ? SetTwoWayLink(s, o, d) : SetOneWayLink(s, o, d);
                    };
                }
            } else if (links) {
                std::vector<TPastedLink> pasted(static_cast<std::size_t>(pick(0, 3 * count)));
                for (TPastedLink& p : pasted) {
                    p = {pick(1, count), pick(1, count), pick(0, MaxDistance)};
                    next.Links[{p.Origin, p.Destination}] = p.Distance;
                }
                if (action == 5 && pick(0, 3) == 0) {
                    pasted.push_back({count + 1 + pick(0, MaxNodes), 1, 7});
                    EXPECT_THROW(
                        RecordChange(n, [&pasted](TNetworkStore& s) { AddPastedLinks(s, pasted); }),
                        ERangeError);
                } else {
                    change = [pasted](TNetworkStore& s) { AddPastedLinks(s, pasted); };
                }
            }
            if (change) {
                history.Record(RecordChange(n, change));
                states.resize(at + 1);
                states.push_back(std::move(next));
                at = states.size() - 1;
                if (states.size() > row.Limit + 1) {
                    states.erase(states.begin());
                    --at;
                }
            }
            EXPECT_EQ(history.CanUndo(), at > 0) << "step " << step;
            EXPECT_EQ(history.CanRedo(), at + 1 < states.size()) << "step " << step;
            ASSERT_NO_FATAL_FAILURE(ExpectStoreIs(n, states[at], step)) << "seed " << row.Seed;
        }
    }
}
}  // namespace
