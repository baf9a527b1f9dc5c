#include "layout/network_layout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>

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

// y := B x for the n x n matrix b.
void Multiply(const std::vector<double>& b, const std::vector<double>& x, std::vector<double>& y,
              int n) {
    for (int i = 0; i < n; ++i) {
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
void Settle(std::vector<TPoint>& at, const std::vector<double>& d, int sweeps) {
    const int n = static_cast<int>(at.size());
    for (int sweep = 0; sweep < sweeps; ++sweep) {
        for (int i = 0; i < n; ++i) {
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

    // The plane of the two largest eigenvalues, by orthogonal iteration with B² (whose
    // leading eigenvectors are those of B's largest magnitudes) from fixed start vectors.
    std::array<std::vector<double>, 2> v;
    std::vector<double> w(Index(n));
    TRandom random(0x6d6573680000c5u);
    for (std::size_t k = 0; k < 2; ++k) {
        v[k].resize(Index(n));
        for (double& x : v[k]) {
            x = random.Unit() - 0.5;
        }
    }
    bool kept[2] = {Orthonormalise(v[0], nullptr), false};
    kept[1] = Orthonormalise(v[1], &v[0]);
    // Distances that fit a plane settle in tens of steps; where two planes fit alike it never
    // settles, and any of them does.
    for (int step = 0; step < 200 && kept[0] && kept[1]; ++step) {
        double moved = 0;
        for (std::size_t k = 0; k < 2; ++k) {
            const std::vector<double> before = v[k];
            Multiply(b, v[k], w, n);
            Multiply(b, w, v[k], n);
            kept[k] = Orthonormalise(v[k], k == 0 ? nullptr : &v[0]);
            moved = std::max(moved, 1 - std::abs(Dot(before, v[k])));
        }
        if (moved < 1e-10) {
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
    const TAxis axis = LeadingAxis(t00, t01, t11);
    const double lambda[2] = {axis.Value, t00 + t11 - axis.Value};
    if (!(lambda[0] > 0)) {
        return positions;
    }
    // A second value that is rounding noise against the first leaves the nodes on a line.
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
            if (warm) {
                for (int i = 0; i < size; ++i) {
                    at[Index(i)] = start.Positions[Index(nodes[Index(i)] - 1)];
                }
            } else {
                at = ClassicalScaling(own, size);
            }
            // Where the scaling has no plane to give: fixed positions of the generator's, in a
            // square as wide as the part.
            double spread = 0;
            for (const TPoint& p : at) {
                spread = std::max({spread, std::abs(p.X - at[0].X), std::abs(p.Y - at[0].Y)});
            }
            if (!(spread > 0)) {
                TRandom random(0x6d657368u);
                for (TPoint& p : at) {
                    const double x = random.Unit();
                    p = {x * longest, random.Unit() * longest};
                }
            }
            Descend(at, own, warm);
            Settle(at, own, 10);
            TurnAcross(at);
        }
        drawn.push_back(std::move(at));
    }
    if (parts.size() == 1) {
        return drawn[0];
    }
    return SetApart(parts, drawn, links > 0 ? linkSum / links : 1.0, n);
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
