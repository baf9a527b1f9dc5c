#pragma once

// Networks for the layout's and the drawing's tests and the layout's benchmark: small networks
// written as text, and random sites in a plane joined as roads join neighbouring sites (a
// greedy triangulation), both ways, at the rounded distances; and how far a drawing is from
// the sites (Procrustes disparity).

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "layout/network_layout.h"

// n nodes named A, B, ...; "1>2:5" a one-way link, "1-2:5" a two-way one.
inline TLayoutNetwork SmallNetwork(int n, const std::string& links) {
    TLayoutNetwork network;
    network.NumNodes = n;
    network.Links.assign(static_cast<std::size_t>(n * n), NoLink);
    for (int i = 0; i < n; ++i) {
        network.Names.push_back(std::string(1, static_cast<char>('A' + i)));
    }
    std::istringstream words(links);
    int o = 0, d = 0, distance = 0;
    char kind = 0, colon = 0;
    while (words >> o >> kind >> d >> colon >> distance) {
        network.Links[static_cast<std::size_t>((o - 1) * n + d - 1)] = distance;
        if (kind == '-') {
            network.Links[static_cast<std::size_t>((d - 1) * n + o - 1)] = distance;
        }
    }
    return network;
}

struct TSiteNetwork {
    std::vector<TPoint> Sites;
    TLayoutNetwork Network;
};

inline double Cross(const TPoint& o, const TPoint& a, const TPoint& b) {
    return (a.X - o.X) * (b.Y - o.Y) - (a.Y - o.Y) * (b.X - o.X);
}

// Whether the segments ab and cd cross at a point inside both.
inline bool Crosses(const TPoint& a, const TPoint& b, const TPoint& c, const TPoint& d) {
    const double d1 = Cross(c, d, a), d2 = Cross(c, d, b), d3 = Cross(a, b, c), d4 = Cross(a, b, d);
    return ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
}

// n sites uniform in a square of the given side, from seed; every pair joined, shortest
// first, unless its road would cross one already built.
inline TSiteNetwork SiteNetwork(int n, unsigned seed, double side = 4000) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> coordinate(0, side);
    TSiteNetwork sites;
    for (int i = 0; i < n; ++i) {
        const double x = coordinate(random);
        sites.Sites.push_back({x, coordinate(random)});
    }
    struct TPair {
        double Length;
        int I, J;
    };
    std::vector<TPair> pairs;
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            const TPoint &a = sites.Sites[static_cast<std::size_t>(i)],
                         &b = sites.Sites[static_cast<std::size_t>(j)];
            pairs.push_back({std::hypot(a.X - b.X, a.Y - b.Y), i, j});
        }
    }
    std::sort(pairs.begin(), pairs.end(), [](auto& p, auto& q) { return p.Length < q.Length; });
    TLayoutNetwork& network = sites.Network;
    network.NumNodes = n;
    network.Links.assign(static_cast<std::size_t>(n * n), NoLink);
    for (int i = 0; i < n; ++i) {
        network.Names.push_back("S" + std::to_string(i + 1));
    }
    std::vector<TPair> roads;
    const auto site = [&](int i) { return sites.Sites[static_cast<std::size_t>(i)]; };
    for (const TPair& pair : pairs) {
        const bool crossing = std::any_of(roads.begin(), roads.end(), [&](const TPair& road) {
            return Crosses(site(pair.I), site(pair.J), site(road.I), site(road.J));
        });
        if (!crossing) {
            roads.push_back(pair);
            const auto d = static_cast<std::int32_t>(std::lround(pair.Length));
            network.Links[static_cast<std::size_t>(pair.I * n + pair.J)] = d;
            network.Links[static_cast<std::size_t>(pair.J * n + pair.I)] = d;
        }
    }
    return sites;
}

// 1 - (the sum of the singular values of X'Y)², X and Y centred and scaled to unit size: 0
// when the drawing is the sites turned, mirrored and scaled, up to 1 when it has nothing of
// them.
inline double ProcrustesDisparity(std::vector<TPoint> x, std::vector<TPoint> y) {
    for (auto* points : {&x, &y}) {
        TPoint mean;
        for (const TPoint& p : *points) {
            mean.X += p.X / static_cast<double>(points->size());
            mean.Y += p.Y / static_cast<double>(points->size());
        }
        double size = 0;
        for (TPoint& p : *points) {
            p = {p.X - mean.X, p.Y - mean.Y};
            size += p.X * p.X + p.Y * p.Y;
        }
        for (TPoint& p : *points) {
            p = {p.X / std::sqrt(size), p.Y / std::sqrt(size)};
        }
    }
    double a = 0, b = 0, c = 0, d = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        a += x[i].X * y[i].X;
        b += x[i].X * y[i].Y;
        c += x[i].Y * y[i].X;
        d += x[i].Y * y[i].Y;
    }
    // For a 2 x 2 matrix, (s1 + s2)² = its squared norm + 2 |its determinant|.
    return 1 - (a * a + b * b + c * c + d * d + 2 * std::abs(a * d - b * c));
}
