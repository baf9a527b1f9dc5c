#include "layout/network_layout.h"

#include <graphviz/gvc.h>

#include <locale.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <mutex>

#include "core/connectivity_details.h"
#include "core/shortest_paths.h"

namespace {

std::size_t At(int i, int j, int n) {
    return static_cast<std::size_t>(i) * static_cast<std::size_t>(n) + static_cast<std::size_t>(j);
}

// A store of its own holding the copied nodes and links, for the core's functions over a store.
std::unique_ptr<TNetworkStore> StoreOf(const TLayoutNetwork& network) {
    auto store = std::make_unique<TNetworkStore>();
    store->NumNodes = network.NumNodes;
    for (int node = 1; node <= network.NumNodes; ++node) {
        store->NodeNames[node] = network.Names[static_cast<std::size_t>(node - 1)];
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

// y := B x for the n x n matrix b.
void Multiply(const std::vector<double>& b, const std::vector<double>& x, std::vector<double>& y,
              int n) {
    for (int i = 0; i < n; ++i) {
        double sum = 0;
        for (int j = 0; j < n; ++j) {
            sum += b[At(i, j, n)] * x[static_cast<std::size_t>(j)];
        }
        y[static_cast<std::size_t>(i)] = sum;
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

// Graphviz keeps global state in its layouts: one at a time.
std::mutex GraphvizMutex;

char* Text(const char* text) {
    return const_cast<char*>(text);
}

}  // namespace

TLayoutNetwork LayoutNetworkOf(const TNetworkStore& network) {
    TLayoutNetwork copy;
    const int n = network.NumNodes;
    copy.NumNodes = n;
    copy.Links.resize(At(n, 0, n));
    for (int i = 1; i <= n; ++i) {
        copy.Names.push_back(network.NodeNames[i]);
        const TDistanceRow& row = network.LinkRows[i];
        for (int j = 1; j <= n; ++j) {
            copy.Links[At(i - 1, j - 1, n)] = i == j ? NoLink : row[j];
        }
    }
    return copy;
}

std::vector<double> DrawingDistances(const TLayoutNetwork& network) {
    const int n = network.NumNodes;
    std::vector<double> distances(At(n, 0, n));
    if (n == 0) {
        return distances;
    }
    const std::vector<std::int32_t> paths = UncappedShortestPaths(*StoreOf(network));
    double longest = 0;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const std::int32_t d = std::min(paths[At(i, j, n)], paths[At(j, i, n)]);
            distances[At(i, j, n)] = d == NoLink ? -1 : d;
            longest = std::max(longest, d == NoLink ? 0.0 : static_cast<double>(d));
        }
    }
    const double apart = std::max(1.0, 1.5 * longest);
    for (double& d : distances) {
        if (d < 0) {
            d = apart;
        }
    }
    return distances;
}

std::vector<TPoint> ClassicalScaling(const std::vector<double>& distances, int n) {
    std::vector<TPoint> positions(static_cast<std::size_t>(n));
    if (n < 2) {
        return positions;
    }
    // B = -1/2 J D² J, J the centring matrix: the inner products of the centred positions.
    std::vector<double> b(At(n, 0, n));
    std::vector<double> rowMean(static_cast<std::size_t>(n));
    double allMean = 0;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const double d = distances[At(i, j, n)];
            b[At(i, j, n)] = d * d;
            rowMean[static_cast<std::size_t>(i)] += d * d / n;
        }
        allMean += rowMean[static_cast<std::size_t>(i)] / n;
    }
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            b[At(i, j, n)] = -0.5 * (b[At(i, j, n)] - rowMean[static_cast<std::size_t>(i)] -
                                     rowMean[static_cast<std::size_t>(j)] + allMean);
        }
    }

    // The plane of the two largest eigenvalues, by orthogonal iteration with B² (whose
    // leading eigenvectors are those of B's largest magnitudes) from fixed start vectors.
    std::array<std::vector<double>, 2> v;
    std::vector<double> w(static_cast<std::size_t>(n));
    for (std::size_t k = 0; k < 2; ++k) {
        v[k].resize(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
            v[k][static_cast<std::size_t>(i)] =
                k == 0 ? std::cos(0.7 * i + 0.3) : std::sin(1.3 * i + 0.1);
        }
    }
    bool kept[2] = {Orthonormalise(v[0], nullptr), false};
    kept[1] = Orthonormalise(v[1], &v[0]);
    // Distances that fit a plane settle in tens of steps; where two planes fit alike (parts of a
    // network all equally far apart) it never settles, and any of them does.
    for (int step = 0; step < 300 && kept[0] && kept[1]; ++step) {
        double moved = 0;
        for (std::size_t k = 0; k < 2; ++k) {
            const std::vector<double> before = v[k];
            Multiply(b, v[k], w, n);
            Multiply(b, w, v[k], n);
            kept[k] = Orthonormalise(v[k], k == 0 ? nullptr : &v[0]);
            moved = std::max(moved, 1 - std::abs(Dot(before, v[k])));
        }
        if (moved < 1e-12) {
            break;
        }
    }
    if (!kept[0] || !kept[1]) {
        return positions;  // every distance 0: all nodes at one point
    }
    // Within that plane, the eigenvectors of B themselves (Rayleigh-Ritz on the 2 x 2).
    std::array<std::vector<double>, 2> bv{std::vector<double>(static_cast<std::size_t>(n)),
                                          std::vector<double>(static_cast<std::size_t>(n))};
    Multiply(b, v[0], bv[0], n);
    Multiply(b, v[1], bv[1], n);
    const double t00 = Dot(v[0], bv[0]), t01 = Dot(v[0], bv[1]), t11 = Dot(v[1], bv[1]);
    const double angle = 0.5 * std::atan2(2 * t01, t00 - t11);
    const double c = std::cos(angle), s = std::sin(angle);
    const double lambda[2] = {c * c * t00 + 2 * c * s * t01 + s * s * t11,
                              s * s * t00 - 2 * c * s * t01 + c * c * t11};
    const double scale[2] = {std::sqrt(std::max(lambda[0], 0.0)),
                             std::sqrt(std::max(lambda[1], 0.0))};
    for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) {
        positions[i].X = (c * v[0][i] + s * v[1][i]) * scale[0];
        positions[i].Y = (-s * v[0][i] + c * v[1][i]) * scale[1];
    }
    return positions;
}

std::vector<TPoint> LayOutNetwork(const TLayoutNetwork& network, const TLayoutStart& start) {
    const int n = network.NumNodes;
    if (n < 2) {
        return std::vector<TPoint>(static_cast<std::size_t>(n));
    }

    // Graphviz works in inches: the links are scaled to a mean length of one inch.
    double sum = 0;
    int count = 0;
    for (int i = 1; i <= n; ++i) {
        for (int j = i + 1; j <= n; ++j) {
            const std::int32_t d = std::min(network.Link(i, j), network.Link(j, i));
            if (d != NoLink) {
                sum += d;
                ++count;
            }
        }
    }
    if (count == 0) {
        // No link at all, nothing to place by: the nodes on a circle, in their order.
        std::vector<TPoint> circle;
        for (int i = 0; i < n; ++i) {
            const double angle = 2 * 3.14159265358979323846 * i / n;
            circle.push_back({std::sin(angle), std::cos(angle)});
        }
        return circle;
    }
    const double unit = sum > 0 ? count / sum : 1.0;  // inches per distance
    std::vector<TPoint> from = start.Positions;
    if (from.size() != static_cast<std::size_t>(n) && start.RandomSeed <= 0) {
        from = ClassicalScaling(DrawingDistances(network), n);
    }
    constexpr double PointsPerInch = 72;

    std::vector<TPoint> positions(static_cast<std::size_t>(n));
    const std::lock_guard<std::mutex> lock(GraphvizMutex);
    // Graphviz reads and writes numbers in the thread's locale; the windows' region may write
    // decimals with a comma.
    const locale_t plain = newlocale(LC_ALL_MASK, "C", locale_t{});
    const locale_t regional = uselocale(plain);
    static GVC_t* const context = gvContext();
    agseterr(AGERR);  // warnings (such as a disconnected graph) are not the user's to read
    Agraph_t* graph = agopen(Text("network"), Agundirected, nullptr);
    agattr(graph, AGRAPH, Text("mode"), Text("major"));
    const std::string seed = std::to_string(std::max(start.RandomSeed, 1));
    agattr(graph, AGRAPH, Text("start"), Text(seed.c_str()));
    agattr(graph, AGRAPH, Text("splines"), Text("false"));
    agattr(graph, AGNODE, Text("shape"), Text("point"));
    agattr(graph, AGNODE, Text("width"), Text("0.01"));
    // No text to measure: the names are drawn by the picture, not by Graphviz, which would load
    // its text layout and the desktop's fonts for them.
    agattr(graph, AGNODE, Text("label"), Text(""));
    Agsym_t* pos = agattr(graph, AGNODE, Text("pos"), Text(""));
    Agsym_t* len = agattr(graph, AGEDGE, Text("len"), Text("1"));
    std::vector<Agnode_t*> nodes(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const std::string name = std::to_string(i + 1);
        Agnode_t* node = agnode(graph, Text(name.c_str()), 1);
        nodes[static_cast<std::size_t>(i)] = node;
        if (from.size() == static_cast<std::size_t>(n)) {
            const TPoint& p = from[static_cast<std::size_t>(i)];
            const std::string at = std::to_string(p.X * unit * PointsPerInch) + "," +
                                   std::to_string(p.Y * unit * PointsPerInch);
            agxset(node, pos, Text(at.c_str()));
        }
    }
    for (int i = 1; i <= n; ++i) {
        for (int j = i + 1; j <= n; ++j) {
            const std::int32_t d = std::min(network.Link(i, j), network.Link(j, i));
            if (d == NoLink) {
                continue;
            }
            Agedge_t* edge = agedge(graph, nodes[static_cast<std::size_t>(i - 1)],
                                    nodes[static_cast<std::size_t>(j - 1)], nullptr, 1);
            // A link of length 0 still needs a length the layout can divide by.
            const std::string length = std::to_string(std::max(d * unit, 0.001));
            agxset(edge, len, Text(length.c_str()));
        }
    }
    if (gvLayout(context, graph, "neato") == 0) {
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            positions[i] = {ND_coord(nodes[i]).x / PointsPerInch / unit,
                            ND_coord(nodes[i]).y / PointsPerInch / unit};
        }
        gvFreeLayout(context, graph);
    } else if (from.size() == nodes.size()) {
        positions = from;
    }
    agclose(graph);
    uselocale(regional);
    freelocale(plain);
    return positions;
}

void MarkCutOffNodes(TNetworkPicture& picture) {
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
