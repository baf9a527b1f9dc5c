// The network's picture with 150 nodes: the layout of 600 links and of all 22,350, as the
// window asks for it (the distances' classical scaling, stress majorization, the cut-off
// nodes); the picture window's time from the request to the picture shown, and the longest
// delay of the link window's event loop meanwhile; and how often a layout from random
// positions folds a map of sites over, against one from the classical scaling.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <numeric>

#include "layout/site_networks.h"
#include "picture/picture_window.h"
#include "widgets_main.h"

namespace {

// 150 sites; roads: both ways, every pair (22,350 links), or the shortest roads of the
// triangulation that join every site, then the next shortest up to 300 roads (600 links).
TLayoutNetwork Sites150(bool everyPair) {
    TSiteNetwork sites = SiteNetwork(150, 11, 4000);
    TLayoutNetwork& network = sites.Network;
    const auto at = [](int i, int j) { return static_cast<std::size_t>(i * 150 + j); };
    std::vector<std::pair<std::int32_t, int>> roads;
    for (int i = 0; i < 150; ++i) {
        for (int j = 0; j < 150; ++j) {
            const TPoint &a = sites.Sites[static_cast<std::size_t>(i)],
                         &b = sites.Sites[static_cast<std::size_t>(j)];
            if (everyPair && i != j) {
                network.Links[at(i, j)] =
                    static_cast<std::int32_t>(std::lround(std::hypot(a.X - b.X, a.Y - b.Y)));
            } else if (i < j && network.Links[at(i, j)] != NoLink) {
                roads.push_back({network.Links[at(i, j)], i * 150 + j});
            }
        }
    }
    std::sort(roads.begin(), roads.end());
    std::vector<int> part(150);
    std::iota(part.begin(), part.end(), 0);
    const std::function<int(int)> find = [&](int i) {
        return part[static_cast<std::size_t>(i)] == i
                   ? i
                   : part[static_cast<std::size_t>(i)] = find(part[static_cast<std::size_t>(i)]);
    };
    std::vector<bool> keep(roads.size());
    int kept = 0;
    for (std::size_t k = 0; k < roads.size(); ++k) {
        const int i = find(roads[k].second / 150), j = find(roads[k].second % 150);
        if (i != j) {
            part[static_cast<std::size_t>(i)] = j;
            keep[k] = true;
            ++kept;
        }
    }
    for (std::size_t k = 0; k < roads.size(); ++k) {
        if (!keep[k] && kept < 300) {
            keep[k] = true;
            ++kept;
        }
        if (!keep[k] && !everyPair) {
            const int i = roads[k].second / 150, j = roads[k].second % 150;
            network.Links[at(i, j)] = NoLink;
            network.Links[at(j, i)] = NoLink;
        }
    }
    return network;
}

void Layout(benchmark::State& state) {
    const TLayoutNetwork network = Sites150(state.range(0) != 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(PictureOf(network));
    }
    state.SetLabel(state.range(0) != 0 ? "22,350 links" : "600 links");
}
BENCHMARK(Layout)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The picture window (shown) asked for a network: the time until the picture is shown, and
// the longest gap between the ticks of a 1 ms timer on the window's thread meanwhile (reported
// as counters); with argument 2, the gaps of the same timer over 200 ms with no layout, for
// comparison.
void WindowRequest(benchmark::State& state) {
    const bool idle = state.range(0) == 2;
    const TLayoutNetwork network = Sites150(state.range(0) == 1);
    TPictureWindow window;
    window.show();
    double shownMs = 0, worstDelayMs = 0;
    for (auto _ : state) {
        window.ShowNetwork(TLayoutNetwork{});  // a new set of nodes: laid out from the start
        QEventLoop settle;
        QObject::connect(&window, &TPictureWindow::PictureLaidOut, &settle, &QEventLoop::quit);
        settle.exec();
        QElapsedTimer clock, tick;
        QEventLoop loop;
        QTimer timer;
        double worst = 0;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            worst = std::max(worst, static_cast<double>(tick.nsecsElapsed()) / 1e6);
            tick.restart();
        });
        QObject::connect(&window, &TPictureWindow::PictureLaidOut, &loop, &QEventLoop::quit);
        clock.start();
        tick.start();
        timer.start(1);
        if (idle) {
            QTimer::singleShot(200, &loop, &QEventLoop::quit);
        } else {
            window.ShowNetwork(network);
        }
        loop.exec();
        shownMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        worstDelayMs = std::max(worstDelayMs, worst);
        timer.stop();
    }
    state.counters["shown_ms"] = shownMs;
    state.counters["worst_tick_ms"] = worstDelayMs;
    state.SetLabel(idle ? "no layout" : state.range(0) == 1 ? "22,350 links" : "600 links");
}
BENCHMARK(WindowRequest)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(5);

// Folds: a drawing whose Procrustes disparity from the sites is above 0.05.
void Folds(benchmark::State& state) {
    int random = 0, scaled = 0, runs = 0;
    for (auto _ : state) {
        for (unsigned seed = 1; seed <= 20; ++seed) {
            for (const int n : {60, 150}) {
                const TSiteNetwork sites = SiteNetwork(n, seed, 4000);
                scaled += ProcrustesDisparity(sites.Sites, LayOutNetwork(sites.Network)) > 0.05;
                random += ProcrustesDisparity(sites.Sites,
                                              LayOutNetwork(sites.Network, {{}, int(seed)})) > 0.05;
                ++runs;
            }
        }
    }
    state.counters["folded_random_start"] = random;
    state.counters["folded_scaled_start"] = scaled;
    state.counters["runs"] = runs;
}
BENCHMARK(Folds)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    return RunWithWidgets(argc, argv);
}
