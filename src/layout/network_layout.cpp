#include "layout/network_layout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <numeric>

#include "core/network/connectivity_details.h"

namespace {

// The place of the pair (i, j), both from 0, in an n x n matrix kept row by row.
std::size_t PairIndex(int i, int j, int n) {
    return static_cast<std::size_t>(i) * static_cast<std::size_t>(n) + static_cast<std::size_t>(j);
}

std::size_t Index(int i) {
    return static_cast<std::size_t>(i);
}

constexpr double Unjoined = std::numeric_limits<double>::infinity();

// A small generator of its own (SplitMix64), so that every machine draws the same numbers.
class TRandom {
  public:
    explicit TRandom(std::uint64_t seed) : State(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (State += 0x9e3779b97f4a7c15u);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
        return z ^ (z >> 31);
    }
    // In [0, 1), from the top 53 bits.
    double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
    // In [0, bound), 0 < bound < 2³²: the top 32 bits scaled, whose tiny bias does not matter
    // to a shuffle.
    std::uint32_t Below(std::uint32_t bound) {
        return static_cast<std::uint32_t>(((Next() >> 32) * bound) >> 32);
    }

  private:
    std::uint64_t State;
};

// A store of its own holding the copied nodes and links, for the core's functions over a store.
std::unique_ptr<TNetworkStore> StoreOf(const TLayoutNetwork& network) {
    auto store = std::make_unique<TNetworkStore>();
    store->NumNodes = network.NumNodes;
    for (int node = 1; node <= network.NumNodes; ++node) {
        store->NodeNames[node] = network.Names[Index(node - 1)];
    }
    AllocateLinkRows(*store);
    for (int i = 1; i <= network.NumNodes; ++i) {
        for (int j = 1; j <= network.NumNodes; ++j) {
            if (i != j) {
                SetLinkDistance(*store, i, j, network.Link(i, j));
            }
        }
    }
    return store;
}

// The link between i and j (1..) either way, at the shorter distance, or NoLink.
std::int32_t EitherWay(const TLayoutNetwork& network, int i, int j) {
    return std::min(network.Link(i, j), network.Link(j, i));
}

// The shortest paths over the links taken both ways, short links raised as DrawingDistances
// says; Unjoined between parts.
std::vector<double> JoinedDistances(const TLayoutNetwork& network) {
    const int n = network.NumNodes;
    std::int32_t shortest = NoLink;
    for (const std::int32_t d : network.Links) {
        if (d > 0 && d != NoLink) {
            shortest = std::min(shortest, d);
        }
    }
    const double least = shortest == NoLink ? 1.0 : shortest / 4.0;
    std::vector<double> d(PairIndex(n, 0, n), Unjoined);
    for (int i = 0; i < n; ++i) {
        d[PairIndex(i, i, n)] = 0;
        for (int j = 0; j < n; ++j) {
            const std::int32_t link = i == j ? NoLink : EitherWay(network, i + 1, j + 1);
            if (link != NoLink) {
                d[PairIndex(i, j, n)] = std::max(static_cast<double>(link), least);
            }
        }
    }
    for (int k = 0; k < n; ++k) {
        const double* through = &d[PairIndex(k, 0, n)];
        for (int i = 0; i < n; ++i) {
            const double toK = d[PairIndex(i, k, n)];
            if (toK == Unjoined) {
                continue;
            }
            double* row = &d[PairIndex(i, 0, n)];
            for (int j = 0; j < n; ++j) {
                const double via = toK + through[j];
                row[j] = via < row[j] ? via : row[j];
            }
        }
    }
    return d;
}

// y := B x for the n x n matrix b. Four rows at a time, each summed in its own order as one
// row alone would be, so that the four sums wait on none of the others' additions.
void Multiply(const std::vector<double>& b, const std::vector<double>& x, std::vector<double>& y,
              int n) {
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const double* r0 = &b[PairIndex(i, 0, n)];
        const double *r1 = r0 + n, *r2 = r1 + n, *r3 = r2 + n;
        double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
        for (int j = 0; j < n; ++j) {
            const double xj = x[Index(j)];
            s0 += r0[j] * xj;
            s1 += r1[j] * xj;
            s2 += r2[j] * xj;
            s3 += r3[j] * xj;
        }
        y[Index(i)] = s0;
        y[Index(i + 1)] = s1;
        y[Index(i + 2)] = s2;
        y[Index(i + 3)] = s3;
    }
    for (; i < n; ++i) {
        double sum = 0;
        for (int j = 0; j < n; ++j) {
            sum += b[PairIndex(i, j, n)] * x[Index(j)];
        }
        y[Index(i)] = sum;
    }
}

double Dot(const std::vector<double>& a, const std::vector<double>& b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        sum += a[i] * b[i];
    }
    return sum;
}

// Makes v a unit vector orthogonal to u (itself a unit vector or null); false when nothing of
// v is left.
bool Orthonormalise(std::vector<double>& v, const std::vector<double>* u) {
    if (u) {
        const double along = Dot(v, *u);
        for (std::size_t i = 0; i < v.size(); ++i) {
            v[i] -= along * (*u)[i];
        }
    }
    const double norm = std::sqrt(Dot(v, v));
    if (!(norm > 1e-300)) {
        return false;
    }
    for (double& x : v) {
        x /= norm;
    }
    return true;
}

// The larger eigenvalue of the symmetric 2 x 2 matrix [a b; b c] and its unit eigenvector.
struct TAxis {
    double Value, X, Y;
};
TAxis LeadingAxis(double a, double b, double c) {
    const double half = (a - c) / 2;
    const double value = (a + c) / 2 + std::sqrt(half * half + b * b);
    // Of the two forms of the eigenvector, the longer is the sound one.
    double x = b, y = value - a;
    if (x * x + y * y < (value - c) * (value - c) + b * b) {
        x = value - c;
        y = b;
    }
    const double length = std::sqrt(x * x + y * y);
    return length > 0 ? TAxis{value, x / length, y / length} : TAxis{value, 1, 0};
}

// Stress minimized by stochastic gradient descent over the pairs: each pair in a shuffled
// order is moved towards its distance by a step that decreases from pass to pass.
void Descend(std::vector<TPoint>& at, const std::vector<double>& d, bool warm) {
    const int n = static_cast<int>(at.size());
    struct TPair {
        int I, J;
        double Distance;
    };
    std::vector<TPair> pairs;
    double shortest = Unjoined, longest = 0;
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            const double distance = d[PairIndex(i, j, n)];
            pairs.push_back({i, j, distance});
            shortest = std::min(shortest, distance);
            longest = std::max(longest, distance);
        }
    }
    if (pairs.empty() || !(shortest > 0)) {
        return;
    }
    // The step times a pair's weight: from 1/w_min down to a tenth of 1/w_max, geometrically; a
    // warm start begins where the steps no longer move a pair the whole way.
    constexpr int Passes = 60;
    const double first = warm ? shortest * shortest : longest * longest;
    const double last = 0.1 * shortest * shortest;
    // The ratio from pass to pass, the (Passes - 1)th root of last / first, by halving.
    const double goal = last / first;
    double low = 0, high = 1;
    for (int step = 0; step < 100; ++step) {
        const double mid = (low + high) / 2;
        double power = 1;
        for (int k = 0; k < Passes - 1; ++k) {
            power *= mid;
        }
        (power < goal ? low : high) = mid;
    }
    TRandom random(0x6d65736800000001u + static_cast<std::uint64_t>(n));
    std::vector<std::uint32_t> order(pairs.size());
    for (std::uint32_t k = 0; k < order.size(); ++k) {
        order[k] = k;
    }
    double eta = first;
    // Passes stop early once none moves a node by more than 3/10,000 of the part, a quarter of a
    // pixel where the part fills the picture.
    for (int pass = 0; pass < Passes; ++pass, eta *= high) {
        double moved = 0;
        for (auto k = static_cast<std::uint32_t>(order.size()); k > 1; --k) {
            std::swap(order[k - 1], order[random.Below(k)]);
        }
        for (const std::uint32_t next : order) {
            const TPair& pair = pairs[next];
            TPoint& a = at[Index(pair.I)];
            TPoint& b = at[Index(pair.J)];
            double dx = a.X - b.X, dy = a.Y - b.Y;
            double length = std::sqrt(dx * dx + dy * dy);
            if (!(length > 0)) {
                // Two nodes on one point: apart along a direction of the generator's.
                dx = random.Unit() - 0.5;
                dy = random.Unit() - 0.5;
                length = std::sqrt(dx * dx + dy * dy);
                if (!(length > 0)) {
                    continue;
                }
                dx *= 1e-9 * pair.Distance / length;
                dy *= 1e-9 * pair.Distance / length;
                length = 1e-9 * pair.Distance;
            }
            const double mu = std::min(eta / (pair.Distance * pair.Distance), 1.0);
            const double r = mu * (length - pair.Distance) / (2 * length);
            moved = std::max(moved, std::abs(r) * length);
            a.X -= r * dx;
            a.Y -= r * dy;
            b.X += r * dx;
            b.Y += r * dy;
        }
        if (moved < 3e-4 * longest) {
            break;
        }
    }
}

// Settles the positions into the nearest low point of the stress: each node in turn moved to
// where the majorizing function of its own pairs is least, which never raises the stress.
// Nodes marked in fixed (where given) stay.
void Settle(std::vector<TPoint>& at, const std::vector<double>& d, int sweeps,
            const std::vector<char>* fixed = nullptr) {
    const int n = static_cast<int>(at.size());
    for (int sweep = 0; sweep < sweeps; ++sweep) {
        for (int i = 0; i < n; ++i) {
            if (fixed && (*fixed)[Index(i)]) {
                continue;
            }
            double x = 0, y = 0, weights = 0;
            const TPoint p = at[Index(i)];
            for (int j = 0; j < n; ++j) {
                const double distance = d[PairIndex(i, j, n)];
                if (j == i || !(distance > 0)) {
                    continue;
                }
                const TPoint q = at[Index(j)];
                const double dx = p.X - q.X, dy = p.Y - q.Y;
                const double length = std::sqrt(dx * dx + dy * dy);
                const double weight = 1 / (distance * distance);
                const double pull = length > 0 ? distance / length : 0;
                x += weight * (q.X + pull * dx);
                y += weight * (q.Y + pull * dy);
                weights += weight;
            }
            if (weights > 0) {
                at[Index(i)] = {x / weights, y / weights};
            }
        }
    }
}

// Turns the positions about their centre so that their longest spread runs across, the same
// way up every time: the first node off the middle line across stands left of it, the first
// off the line up and down stands above it.
void TurnAcross(std::vector<TPoint>& at) {
    TPoint mean;
    for (const TPoint& p : at) {
        mean.X += p.X / static_cast<double>(at.size());
        mean.Y += p.Y / static_cast<double>(at.size());
    }
    double xx = 0, xy = 0, yy = 0;
    for (TPoint& p : at) {
        p = {p.X - mean.X, p.Y - mean.Y};
        xx += p.X * p.X;
        xy += p.X * p.Y;
        yy += p.Y * p.Y;
    }
    const TAxis axis = LeadingAxis(xx, xy, yy);
    double spread = 0;
    for (TPoint& p : at) {
        p = {axis.X * p.X + axis.Y * p.Y, -axis.Y * p.X + axis.X * p.Y};
        spread = std::max({spread, std::abs(p.X), std::abs(p.Y)});
    }
    const auto firstOff = [&](double TPoint::*along) {
        for (const TPoint& p : at) {
            if (std::abs(p.*along) > 1e-6 * spread) {
                return p.*along;
            }
        }
        return 0.0;
    };
    const double flipX = firstOff(&TPoint::X) > 0 ? -1 : 1;
    const double flipY = firstOff(&TPoint::Y) < 0 ? -1 : 1;
    for (TPoint& p : at) {
        p = {p.X * flipX + 0.0, p.Y * flipY + 0.0};
    }
}

// The parts side by side in rows as wide as the widest part or the parts' whole area laid
// square, the largest first, a gap apart; the lone nodes in rows of their own below.
std::vector<TPoint> SetApart(const std::vector<std::vector<int>>& parts,
                             const std::vector<std::vector<TPoint>>& drawn, double gap, int n) {
    struct TBox {
        std::size_t Part;
        double Left, Right, Bottom, Top;
    };
    std::vector<TBox> boxes;
    std::vector<int> lone;
    double widest = 0, area = 0;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        if (parts[k].size() == 1) {
            lone.push_back(parts[k][0]);
            continue;
        }
        TBox box{k, Unjoined, -Unjoined, Unjoined, -Unjoined};
        for (const TPoint& p : drawn[k]) {
            box = {k, std::min(box.Left, p.X), std::max(box.Right, p.X), std::min(box.Bottom, p.Y),
                   std::max(box.Top, p.Y)};
        }
        boxes.push_back(box);
        widest = std::max(widest, box.Right - box.Left);
        area += (box.Right - box.Left + gap) * (box.Top - box.Bottom + gap);
    }
    std::stable_sort(boxes.begin(), boxes.end(), [&](const TBox& a, const TBox& b) {
        return parts[a.Part].size() > parts[b.Part].size();
    });
    const double rowWidth = std::max(widest, 1.5 * std::sqrt(area));
    std::vector<TPoint> positions(Index(n));
    double x = 0, top = 0, bottom = 0;
    for (const TBox& box : boxes) {
        if (x > 0 && x + box.Right - box.Left > rowWidth) {
            x = 0;
            top = bottom - gap;
        }
        for (std::size_t i = 0; i < parts[box.Part].size(); ++i) {
            const TPoint& p = drawn[box.Part][i];
            positions[Index(parts[box.Part][i] - 1)] = {x + p.X - box.Left, top - (box.Top - p.Y)};
        }
        bottom = std::min(bottom, top - (box.Top - box.Bottom));
        x += box.Right - box.Left + gap;
    }
    if (!lone.empty()) {
        const auto count = static_cast<int>(lone.size());
        int perRow = static_cast<int>(std::sqrt(2.0 * count));
        perRow += perRow * perRow < 2 * count ? 1 : 0;
        perRow = std::max(perRow, boxes.empty() ? 0 : static_cast<int>(rowWidth / gap) + 1);
        const double below = boxes.empty() ? 0 : bottom - 1.5 * gap;
        for (int k = 0; k < count; ++k) {
            positions[Index(lone[Index(k)] - 1)] = {(k % perRow) * gap, below - (k / perRow) * gap};
        }
    }
    return positions;
}

// Whether the part's nodes are joined as one path: as many pairs joined as nodes less one, no
// node joined with more than two.
bool IsPath(const TLayoutNetwork& network, const std::vector<int>& nodes) {
    std::size_t pairs = 0;
    for (const int i : nodes) {
        int joined = 0;
        for (const int j : nodes) {
            joined += i != j && EitherWay(network, i, j) != NoLink ? 1 : 0;
        }
        if (joined > 2) {
            return false;
        }
        pairs += static_cast<std::size_t>(joined);
    }
    return pairs / 2 + 1 == nodes.size();
}

double Spread(const std::vector<TPoint>& at) {
    double left = Unjoined, right = -Unjoined, bottom = Unjoined, top = -Unjoined;
    for (const TPoint& p : at) {
        left = std::min(left, p.X);
        right = std::max(right, p.X);
        bottom = std::min(bottom, p.Y);
        top = std::max(top, p.Y);
    }
    return at.empty() ? 0 : std::max(right - left, top - bottom);
}

// No two nodes nearer than least: each such pair set apart along its own line, or along a
// direction of the generator's where the two stand on one point. Fixed nodes stay.
void KeepApart(std::vector<TPoint>& at, double least, const std::vector<char>& fixed) {
    const std::size_t n = at.size();
    TRandom random(0x6d6573680000a9u);
    for (int round = 0; round < 8; ++round) {
        bool moved = false;
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t j = i + 1; j < n; ++j) {
                if (fixed[i] && fixed[j]) {
                    continue;
                }
                double dx = at[j].X - at[i].X, dy = at[j].Y - at[i].Y;
                double length = std::sqrt(dx * dx + dy * dy);
                if (length >= least) {
                    continue;
                }
                if (!(length > 1e-12 * least)) {
                    dx = random.Unit() - 0.5;
                    dy = random.Unit() - 0.5;
                    length = std::sqrt(dx * dx + dy * dy);
                }
                const double push = (least * 1.01 - length) / length;
                const double share = fixed[i] || fixed[j] ? 1.0 : 0.5;
                if (!fixed[i]) {
                    at[i] = {at[i].X - dx * push * share, at[i].Y - dy * push * share};
                }
                if (!fixed[j]) {
                    at[j] = {at[j].X + dx * push * share, at[j].Y + dy * push * share};
                }
                moved = true;
            }
        }
        if (!moved) {
            return;
        }
    }
}

// How far p stands from the line from a to b, where its foot falls between them; else beyond.
double OffLine(TPoint p, TPoint a, TPoint b, double beyond) {
    const double ux = b.X - a.X, uy = b.Y - a.Y;
    const double length2 = ux * ux + uy * uy;
    if (!(length2 > 0)) {
        return beyond;
    }
    const double t = ((p.X - a.X) * ux + (p.Y - a.Y) * uy) / length2;
    // A dot that touches an end's dot stands there, not on the line.
    const double end = std::min(t, 1 - t) * std::sqrt(length2);
    if (!(t > 0 && t < 1) || end < beyond) {
        return beyond;
    }
    return std::abs((p.X - a.X) * uy - (p.Y - a.Y) * ux) / std::sqrt(length2);
}

// No line of a link passing within clearance of the point of a node it does not join: each
// such node (unless fixed) nudged straight off the line, on its own side, just far enough to
// clear it, so that the stress rises little; rounds again for lines the moves brought over
// other dots (further each round), until no line passes over a dot or the rounds are spent (a dense
// network may have no such drawing).
void ClearLines(const TLayoutNetwork& network, std::vector<TPoint>& at, double clearance,
                const std::vector<char>& fixed) {
    const int n = network.NumNodes;
    std::vector<std::pair<int, int>> lines;
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            if (EitherWay(network, i + 1, j + 1) != NoLink) {
                lines.emplace_back(i, j);
            }
        }
    }
    TRandom random(0x6d6573680000b7u);
    std::vector<int> byX(Index(n));
    std::vector<double> xs(Index(n));
    // How many dots each round moved: a round that moves more than a quarter of the dots, and
    // no fewer than five rounds before, ends the clearing (a network whose lines cannot all be
    // cleared, such as long links across many sites).
    std::vector<int> movedIn;
    for (int round = 0; round < 20; ++round) {
        // A dot pushed to and fro between two lines goes a little further each later round.
        const double reach = clearance * (1.05 + 0.15 * std::max(0, round - 9));
        // The nodes in order across, as they stand at the round's start: a line looks only at
        // those in its own stretch across (a node moved meanwhile waits for the next round).
        std::iota(byX.begin(), byX.end(), 0);
        std::sort(byX.begin(), byX.end(), [&](int p, int q) {
            return at[Index(p)].X < at[Index(q)].X || (at[Index(p)].X == at[Index(q)].X && p < q);
        });
        for (int k = 0; k < n; ++k) {
            xs[Index(k)] = at[Index(byX[Index(k)])].X;
        }
        int moved = 0;
        for (const auto& [i, j] : lines) {
            const TPoint a = at[Index(i)], b = at[Index(j)];
            const double ux = b.X - a.X, uy = b.Y - a.Y;
            const double length = std::sqrt(ux * ux + uy * uy);
            if (!(length > 0)) {
                continue;
            }
            // Only the dots within the line's box, widened by the clearance, can touch it.
            const double left = std::min(a.X, b.X) - clearance,
                         right = std::max(a.X, b.X) + clearance;
            const double bottom = std::min(a.Y, b.Y) - clearance,
                         top = std::max(a.Y, b.Y) + clearance;
            const auto first = std::lower_bound(xs.begin(), xs.end(), left);
            const auto last = std::upper_bound(first, xs.end(), right);
            for (auto it = first; it != last; ++it) {
                const int k = byX[static_cast<std::size_t>(it - xs.begin())];
                const TPoint p = at[Index(k)];
                // Far off the line as a whole (the test without a root, with room for its
                // rounding) is off the line's stretch too.
                const double across = std::abs((p.X - a.X) * uy - (p.Y - a.Y) * ux);
                if (p.X < left || p.X > right || p.Y < bottom || p.Y > top ||
                    across > clearance * length * (1 + 1e-9) || k == i || k == j ||
                    fixed[Index(k)] || OffLine(p, a, b, clearance) >= clearance) {
                    continue;
                }
                const double side = ((p.X - a.X) * uy - (p.Y - a.Y) * ux) / length;
                const double away = side != 0 ? (side > 0 ? 1 : -1) : random.Unit() < 0.5 ? 1 : -1;
                const double push = (reach - std::abs(side)) * away;
                at[Index(k)] = {p.X + uy / length * push, p.Y - ux / length * push};
                ++moved;
            }
        }
        movedIn.push_back(moved);
        if (moved == 0 || (round >= 5 && moved >= movedIn[Index(round - 5)] && 4 * moved > n)) {
            break;
        }
    }
}

// Turns positions about their middle so that they stand as near to was as a turn allows.
void TurnTowards(std::vector<TPoint>& at, const std::vector<TPoint>& was) {
    TPoint mean, wasMean;
    const auto count = static_cast<double>(at.size());
    for (std::size_t i = 0; i < at.size(); ++i) {
        mean = {mean.X + at[i].X / count, mean.Y + at[i].Y / count};
        wasMean = {wasMean.X + was[i].X / count, wasMean.Y + was[i].Y / count};
    }
    double cosine = 0, sine = 0;
    for (std::size_t i = 0; i < at.size(); ++i) {
        const double x = at[i].X - mean.X, y = at[i].Y - mean.Y;
        const double u = was[i].X - wasMean.X, v = was[i].Y - wasMean.Y;
        cosine += x * u + y * v;
        sine += x * v - y * u;
    }
    const double length = std::sqrt(cosine * cosine + sine * sine);
    if (!(length > 0)) {
        return;
    }
    cosine /= length;
    sine /= length;
    for (TPoint& p : at) {
        const double x = p.X - mean.X, y = p.Y - mean.Y;
        p = {wasMean.X + cosine * x - sine * y, wasMean.Y + sine * x + cosine * y};
    }
}

// The cosine of x (|x| at most pi/2) by its series, the same on every machine.
double Cosine(double x) {
    double term = 1, sum = 1;
    for (int k = 1; k <= 12; ++k) {
        term *= -x * x / ((2 * k - 1) * (2 * k));
        sum += term;
    }
    return sum;
}

// The drawing of a network where some nodes came with places: those at their places, the
// others laid out among them at the distances scaled to the places' unit.
std::vector<TPoint> PlacedLayout(const TLayoutNetwork& network, const TLayoutStart& start) {
    const int n = network.NumNodes;
    std::vector<TPoint> at(Index(n));
    std::vector<char> fixed(Index(n), 0);
    double meanLatitude = 0;
    int given = 0;
    for (int i = 0; i < n; ++i) {
        if (network.Places[Index(i)].Given) {
            meanLatitude += network.Places[Index(i)].Y;
            ++given;
        }
    }
    meanLatitude /= given;
    const double across =
        network.PlaceKind == TPlaceKind::Globe
            ? Cosine(std::clamp(meanLatitude, -90.0, 90.0) * 3.14159265358979323846 / 180)
            : 1.0;
    for (int i = 0; i < n; ++i) {
        const TLayoutPlace& place = network.Places[Index(i)];
        if (place.Given) {
            at[Index(i)] = {place.X * across, place.Y};
            fixed[Index(i)] = 1;
        }
    }
    // The places' unit against the distances: the least-squares scale over the linked pairs
    // of placed nodes (over every joined pair of them where none is linked).
    std::vector<double> d = DrawingDistances(network);
    const std::vector<double> joined = JoinedDistances(network);
    double up = 0, down = 0;
    for (const bool linkedOnly : {true, false}) {
        for (int i = 0; i < n && down == 0; ++i) {
            for (int j = i + 1; j < n; ++j) {
                const double distance = joined[PairIndex(i, j, n)];
                if (!fixed[Index(i)] || !fixed[Index(j)] || distance == Unjoined ||
                    !(distance > 0) || (linkedOnly && EitherWay(network, i + 1, j + 1) == NoLink)) {
                    continue;
                }
                const double drawn =
                    std::hypot(at[Index(i)].X - at[Index(j)].X, at[Index(i)].Y - at[Index(j)].Y);
                up += drawn / distance;
                down += drawn * drawn / (distance * distance);
            }
        }
        if (down > 0) {
            break;
        }
    }
    const double spread = std::max(Spread(at), 1e-9);
    double longest = 0;
    for (const double x : joined) {
        longest = x == Unjoined ? longest : std::max(longest, x);
    }
    // Without a pair to measure by, the longest distance drawn as the places' spread.
    const double scale = down > 0 && up > 0 ? up / down : longest > 0 ? longest / spread : 1;
    for (double& x : d) {
        x /= scale;
    }
    // A node without a place starts where it stood, else beside the placed nodes it is linked
    // with, taken in turn so that a chain of them starts along its chain.
    TRandom random(0x6d6573680000d1u);
    std::vector<char> started = fixed;
    TPoint middle;
    for (int i = 0; i < n; ++i) {
        if (fixed[Index(i)]) {
            middle = {middle.X + at[Index(i)].X / given, middle.Y + at[Index(i)].Y / given};
        }
    }
    const bool warm = start.Positions.size() == Index(n);
    for (int round = 0; round <= n; ++round) {
        bool any = false;
        for (int i = 0; i < n; ++i) {
            if (started[Index(i)]) {
                continue;
            }
            TPoint sum;
            int count = 0;
            for (int j = 0; j < n; ++j) {
                if (started[Index(j)] && j != i && EitherWay(network, i + 1, j + 1) != NoLink) {
                    sum = {sum.X + at[Index(j)].X, sum.Y + at[Index(j)].Y};
                    ++count;
                }
            }
            if (count == 0 && round < n) {
                continue;
            }
            const TPoint near = count > 0 ? TPoint{sum.X / count, sum.Y / count} : middle;
            at[Index(i)] = warm ? start.Positions[Index(i)]
                                : TPoint{near.X + (random.Unit() - 0.5) * 0.1 * spread,
                                         near.Y + (random.Unit() - 0.5) * 0.1 * spread};
            started[Index(i)] = 1;
            any = true;
        }
        if (!any && round > 0) {
            break;
        }
    }
    Settle(at, d, 60, &fixed);
    const double drawn = std::max(Spread(at), 1e-9);
    KeepApart(at, 0.01 * drawn, fixed);
    ClearLines(network, at, 0.009 * drawn, fixed);
    // A dot pushed off a line may have landed on another.
    KeepApart(at, 0.01 * drawn, fixed);
    return at;
}

}  // namespace

TLayoutNetwork LayoutNetworkOf(const TNetworkStore& network) {
    TLayoutNetwork copy;
    const int n = network.NumNodes;
    copy.NumNodes = n;
    copy.Links.resize(PairIndex(n, 0, n));
    for (int i = 1; i <= n; ++i) {
        copy.Names.push_back(network.NodeNames[i]);
        const TDistanceRow& row = network.LinkRows[i];
        for (int j = 1; j <= n; ++j) {
            copy.Links[PairIndex(i - 1, j - 1, n)] = i == j ? NoLink : row[j];
        }
    }
    if (network.PlaceKind != TPlaceKind::None) {
        copy.PlaceKind = network.PlaceKind;
        for (int i = 1; i <= n; ++i) {
            const TSitePlace& place = network.NodePlaces[i];
            copy.Places.push_back({place.Given, place.X, place.Y});
        }
    }
    return copy;
}

std::vector<std::vector<int>> NetworkParts(const TLayoutNetwork& network) {
    const int n = network.NumNodes;
    std::vector<int> part(Index(n), -1);
    std::vector<std::vector<int>> parts;
    for (int first = 1; first <= n; ++first) {
        if (part[Index(first - 1)] >= 0) {
            continue;
        }
        const int number = static_cast<int>(parts.size());
        std::vector<int> nodes{first};
        part[Index(first - 1)] = number;
        for (std::size_t k = 0; k < nodes.size(); ++k) {
            for (int other = 1; other <= n; ++other) {
                if (part[Index(other - 1)] < 0 && other != nodes[k] &&
                    EitherWay(network, nodes[k], other) != NoLink) {
                    part[Index(other - 1)] = number;
                    nodes.push_back(other);
                }
            }
        }
        std::sort(nodes.begin(), nodes.end());
        parts.push_back(std::move(nodes));
    }
    return parts;
}

std::vector<double> DrawingDistances(const TLayoutNetwork& network) {
    std::vector<double> distances = JoinedDistances(network);
    double longest = 0;
    for (const double d : distances) {
        longest = d == Unjoined ? longest : std::max(longest, d);
    }
    for (double& d : distances) {
        d = d == Unjoined ? std::max(1.0, 1.5 * longest) : d;
    }
    return distances;
}

double LayoutStress(const TLayoutNetwork& network, const std::vector<TPoint>& positions) {
    const int n = network.NumNodes;
    const std::vector<double> d = JoinedDistances(network);
    double stress = 0;
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            const double distance = d[PairIndex(i, j, n)];
            if (distance != Unjoined && distance > 0) {
                const TPoint &a = positions[Index(i)], &b = positions[Index(j)];
                const double length =
                    std::sqrt((a.X - b.X) * (a.X - b.X) + (a.Y - b.Y) * (a.Y - b.Y));
                stress += (length - distance) * (length - distance) / (distance * distance);
            }
        }
    }
    return stress;
}

std::vector<TPoint> ClassicalScaling(const std::vector<double>& distances, int n) {
    std::vector<TPoint> positions(Index(n));
    if (n < 2) {
        return positions;
    }
    // B = -1/2 J D² J, J the centring matrix: the inner products of the centred positions.
    std::vector<double> b(PairIndex(n, 0, n));
    std::vector<double> rowMean(Index(n));
    double allMean = 0;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const double d = distances[PairIndex(i, j, n)];
            b[PairIndex(i, j, n)] = d * d;
            rowMean[Index(i)] += d * d / n;
        }
        allMean += rowMean[Index(i)] / n;
    }
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            b[PairIndex(i, j, n)] =
                -0.5 * (b[PairIndex(i, j, n)] - rowMean[Index(i)] - rowMean[Index(j)] + allMean);
        }
    }

    // The plane of the two largest eigenvalues (not of the largest magnitudes: a network whose
    // distances fit no plane has negative ones, which would draw it on a line), by orthogonal
    // iteration from fixed start vectors: first with B² (whose leading eigenvectors are those of
    // B's largest magnitudes, quick to settle), and where one of those two is negative, again
    // with B + cI, c a bound on every eigenvalue's magnitude (slower, but its leading ones are
    // B's largest).
    double shift = 0;
    for (int i = 0; i < n; ++i) {
        double sum = 0;
        for (int j = 0; j < n; ++j) {
            sum += std::abs(b[PairIndex(i, j, n)]);
        }
        shift = std::max(shift, sum);
    }
    std::array<std::vector<double>, 2> v;
    std::vector<double> w(Index(n));
    bool kept[2] = {false, false};
    double lambda[2] = {0, 0};
    TAxis axis{};
    for (const bool squared : {true, false}) {
        TRandom random(0x6d6573680000c5u);
        for (std::size_t k = 0; k < 2; ++k) {
            v[k].resize(Index(n));
            for (double& x : v[k]) {
                x = random.Unit() - 0.5;
            }
        }
        kept[0] = Orthonormalise(v[0], nullptr);
        kept[1] = Orthonormalise(v[1], &v[0]);
        // Distances that fit a plane settle in tens of steps; where two planes fit alike it
        // never settles, and any of them does.
        const int steps = squared ? 200 : 400;
        for (int step = 0; step < steps && kept[0] && kept[1]; ++step) {
            double moved = 0;
            for (std::size_t k = 0; k < 2; ++k) {
                const std::vector<double> before = v[k];
                Multiply(b, v[k], w, n);
                if (squared) {
                    Multiply(b, w, v[k], n);
                } else {
                    for (std::size_t i = 0; i < Index(n); ++i) {
                        v[k][i] = w[i] + shift * v[k][i];
                    }
                }
                kept[k] = Orthonormalise(v[k], k == 0 ? nullptr : &v[0]);
                moved = std::max(moved, 1 - std::abs(Dot(before, v[k])));
            }
            if (moved < (squared ? 1e-10 : 1e-12)) {
                break;
            }
        }
        if (!kept[0]) {
            return positions;  // every distance 0: all nodes at one point
        }
        if (!kept[1]) {
            v[1].assign(Index(n), 0);
        }
        // Within that plane, the eigenvectors of B themselves (Rayleigh-Ritz on the 2 x 2).
        std::array<std::vector<double>, 2> bv{std::vector<double>(Index(n)),
                                              std::vector<double>(Index(n))};
        Multiply(b, v[0], bv[0], n);
        Multiply(b, v[1], bv[1], n);
        const double t00 = Dot(v[0], bv[0]), t01 = Dot(v[0], bv[1]), t11 = Dot(v[1], bv[1]);
        axis = LeadingAxis(t00, t01, t11);
        lambda[0] = axis.Value;
        lambda[1] = t00 + t11 - axis.Value;
        if (lambda[0] > 0 && lambda[1] >= -1e-9 * lambda[0]) {
            break;
        }
    }
    if (!(lambda[0] > 0)) {
        return positions;
    }
    // A second value that is rounding noise against the first, or below 0, leaves the nodes on a
    // line.
    const double scale[2] = {std::sqrt(lambda[0]),
                             lambda[1] > 1e-9 * lambda[0] ? std::sqrt(lambda[1]) : 0.0};
    for (std::size_t i = 0; i < Index(n); ++i) {
        positions[i].X = (axis.X * v[0][i] + axis.Y * v[1][i]) * scale[0];
        positions[i].Y = (-axis.Y * v[0][i] + axis.X * v[1][i]) * scale[1];
    }
    return positions;
}

std::vector<TPoint> LayOutNetwork(const TLayoutNetwork& network, const TLayoutStart& start) {
    const int n = network.NumNodes;
    if (n < 2) {
        return std::vector<TPoint>(Index(n));
    }
    if (network.PlaceKind != TPlaceKind::None && network.Places.size() == Index(n) &&
        std::count_if(network.Places.begin(), network.Places.end(),
                      [](const TLayoutPlace& place) { return place.Given; }) >= 2) {
        return PlacedLayout(network, start);
    }
    const std::vector<double> d = JoinedDistances(network);
    const std::vector<std::vector<int>> parts = NetworkParts(network);
    const bool warm = start.Positions.size() == Index(n);
    std::vector<std::vector<TPoint>> drawn;
    double linkSum = 0;
    int links = 0;
    for (const std::vector<int>& nodes : parts) {
        const int size = static_cast<int>(nodes.size());
        std::vector<double> own(PairIndex(size, 0, size));
        for (int i = 0; i < size; ++i) {
            for (int j = 0; j < size; ++j) {
                own[PairIndex(i, j, size)] =
                    d[PairIndex(nodes[Index(i)] - 1, nodes[Index(j)] - 1, n)];
                if (i < j && EitherWay(network, nodes[Index(i)], nodes[Index(j)]) != NoLink) {
                    linkSum += own[PairIndex(i, j, size)];
                    ++links;
                }
            }
        }
        std::vector<TPoint> at(Index(size));
        if (size > 1) {
            double longest = 0;
            for (const double x : own) {
                longest = std::max(longest, x);
            }
            std::vector<TPoint> was;
            if (warm) {
                for (int i = 0; i < size; ++i) {
                    was.push_back(start.Positions[Index(nodes[Index(i)] - 1)]);
                }
                at = was;
            } else {
                at = ClassicalScaling(own, size);
            }
            // Where the scaling has no plane to give: fixed positions of the generator's, in a
            // square as wide as the part.
            double spread = 0, across = 0;
            for (const TPoint& p : at) {
                spread = std::max({spread, std::abs(p.X - at[0].X), std::abs(p.Y - at[0].Y)});
                across = std::max(across, std::abs(p.Y - at[0].Y));
            }
            if (!(spread > 0)) {
                TRandom random(0x6d657368u);
                for (TPoint& p : at) {
                    const double x = random.Unit();
                    p = {x * longest, random.Unit() * longest};
                }
            } else if (!(across > 0) && !IsPath(network, nodes)) {
                // A line that is no path: a second axis of the generator's, for the descent to
                // find the plane from.
                TRandom random(0x6d6573680000e3u);
                for (TPoint& p : at) {
                    p.Y = (random.Unit() - 0.5) * 0.25 * spread;
                }
            }
            Descend(at, own, warm);
            Settle(at, own, 10);
            if (warm) {
                TurnTowards(at, was);
            } else {
                TurnAcross(at);
            }
        }
        drawn.push_back(std::move(at));
    }
    std::vector<TPoint> positions =
        parts.size() == 1 ? drawn[0] : SetApart(parts, drawn, links > 0 ? linkSum / links : 1.0, n);
    const std::vector<char> fixed(Index(n), 0);
    const double spread = Spread(positions);
    KeepApart(positions, 2e-3 * spread, fixed);
    // A dense network has no drawing without lines over dots: it is left as it is laid out.
    if (start.ClearOfDots && links <= 6 * n) {
        ClearLines(network, positions, 0.01 * spread, fixed);
        // A dot pushed off a line may have landed on another.
        KeepApart(positions, 2e-3 * spread, fixed);
    }
    return positions;
}

std::vector<TPoint> StartBeside(const TLayoutNetwork& before, const std::vector<TPoint>& positions,
                                const TLayoutNetwork& now) {
    const int n = now.NumNodes;
    if (positions.size() != before.Names.size() || n == 0) {
        return {};
    }
    std::vector<TPoint> at(Index(n));
    std::vector<char> placed(Index(n), 0), taken(positions.size(), 0);
    int kept = 0;
    TPoint middle;
    for (int i = 0; i < n; ++i) {
        for (std::size_t k = 0; k < positions.size(); ++k) {
            if (!taken[k] && before.Names[k] == now.Names[Index(i)]) {
                taken[k] = 1;
                placed[Index(i)] = 1;
                at[Index(i)] = positions[k];
                middle = {middle.X + positions[k].X, middle.Y + positions[k].Y};
                ++kept;
                break;
            }
        }
    }
    if (kept == 0) {
        return {};
    }
    middle = {middle.X / kept, middle.Y / kept};
    double linkSum = 0;
    int links = 0;
    for (const std::int32_t link : now.Links) {
        if (link != NoLink && link > 0) {
            linkSum += link;
            ++links;
        }
    }
    const double near = 0.3 * (links > 0 ? linkSum / links : 1.0);
    TRandom random(0x6d6573680000f5u);
    for (int i = 0; i < n; ++i) {
        if (placed[Index(i)]) {
            continue;
        }
        TPoint sum;
        int count = 0;
        for (int j = 0; j < n; ++j) {
            if (placed[Index(j)] && EitherWay(now, i + 1, j + 1) != NoLink) {
                sum = {sum.X + at[Index(j)].X, sum.Y + at[Index(j)].Y};
                ++count;
            }
        }
        const TPoint beside = count > 0 ? TPoint{sum.X / count, sum.Y / count} : middle;
        at[Index(i)] = {beside.X + (random.Unit() - 0.5) * near,
                        beside.Y + (random.Unit() - 0.5) * near};
    }
    return at;
}

void MarkCutOffNodes(TNetworkPicture& picture) {
    picture.Parts = static_cast<int>(NetworkParts(picture.Network).size());
    if (picture.Network.NumNodes == 0) {
        picture.Unreached.clear();
        picture.Unreaching.clear();
        return;
    }
    TCutOffNodes cutOff = CutOffNodes(*StoreOf(picture.Network));
    picture.Unreached = std::move(cutOff.Unreached);
    picture.Unreaching = std::move(cutOff.Unreaching);
}

TNetworkPicture PictureOf(const TLayoutNetwork& network, const TLayoutStart& start) {
    TNetworkPicture picture;
    picture.Network = network;
    picture.Positions = LayOutNetwork(network, start);
    MarkCutOffNodes(picture);
    return picture;
}
