// The network's picture with 150 nodes: the layout of about 430, 600 and 22,350 links, as the
// window asks for it (the parts, the drawing distances, their classical scaling, stress
// minimized by stochastic gradient descent, the cut-off nodes), with the stress it reaches
// beside that of Graphviz's neato run on the same network as a command of its own (when it is
// on the PATH; only for the comparison, the program does not use it); the picture window's
// time from the request to the picture shown, and the longest delay of the link window's event
// loop meanwhile; and how often a layout from random positions folds a map of sites over,
// against one from the classical scaling.

#include <unistd.h>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <numeric>
#include <random>
#include <sstream>

#include "layout/site_networks.h"
#include "picture/picture_window.h"
#include "widgets_main.h"

namespace {

// 150 sites; roads both ways: every pair (roads 0: 22,350 links), or the shortest roads of the
// triangulation that join every site, then the next shortest up to the given number of roads.
TLayoutNetwork Sites150(int roadCount) {
    const bool everyPair = roadCount == 0;
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
        if (!keep[k] && kept < roadCount) {
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

std::string LinkCount(const TLayoutNetwork& network) {
    return std::to_string(std::count_if(network.Links.begin(), network.Links.end(),
                                        [](std::int32_t d) { return d != NoLink; })) +
           " links";
}

// The network as a graph file for neato, the links at their distances (in inches, scaled to a
// mean of one inch, as neato expects lengths near its own unit); what neato draws, read back
// in the network's units, and the command's whole time. Empty when neato cannot be run.
struct TNeatoRun {
    std::vector<TPoint> Positions;
    double Milliseconds = 0;
};
TNeatoRun RunNeato(const TLayoutNetwork& network) {
    const int n = network.NumNodes;
    double sum = 0;
    int count = 0;
    for (int i = 1; i <= n; ++i) {
        for (int j = i + 1; j <= n; ++j) {
            const std::int32_t d = std::min(network.Link(i, j), network.Link(j, i));
            sum += d == NoLink ? 0 : d;
            count += d == NoLink ? 0 : 1;
        }
    }
    const double unit = sum > 0 ? count / sum : 1.0;
    char graphName[] = "/tmp/meshloom-neato-XXXXXX";
    const int fd = mkstemp(graphName);
    if (fd < 0) {
        return {};
    }
    close(fd);
    const std::string graph = graphName, placed = graph + ".plain";
    {
        std::ofstream out(graph);
        out << "graph network {\n";
        for (int i = 1; i <= n; ++i) {
            for (int j = i + 1; j <= n; ++j) {
                const std::int32_t d = std::min(network.Link(i, j), network.Link(j, i));
                if (d != NoLink) {
                    out << i << " -- " << j << " [len=" << std::max(d * unit, 0.001) << "];\n";
                }
            }
        }
        out << "}\n";
    }
    const auto started = std::chrono::steady_clock::now();
    const int status =
        std::system(("neato -Tplain -o " + placed + " " + graph + " 2>/dev/null").c_str());
    const auto ended = std::chrono::steady_clock::now();
    TNeatoRun run;
    std::ifstream in(placed);
    std::string line;
    std::vector<TPoint> positions(static_cast<std::size_t>(n));
    int read = 0;
    while (status == 0 && std::getline(in, line)) {
        std::istringstream words(line);
        std::string kind;
        int node = 0;
        double x = 0, y = 0;
        if (words >> kind >> node >> x >> y && kind == "node" && node >= 1 && node <= n) {
            positions[static_cast<std::size_t>(node - 1)] = {x / unit, y / unit};
            ++read;
        }
    }
    std::remove(graph.c_str());
    std::remove(placed.c_str());
    if (read == n) {
        run.Positions = positions;
        run.Milliseconds = std::chrono::duration<double, std::milli>(ended - started).count();
    }
    return run;
}

// Each network's layout, timed; its stress beside neato's (-1 without neato); the table is
// printed again at the end of the run.
std::map<int, std::string>& Table() {
    static std::map<int, std::string> rows;
    return rows;
}

void Layout(benchmark::State& state) {
    const TLayoutNetwork network = Sites150(static_cast<int>(state.range(0)));
    TNetworkPicture picture;
    double total = 0;
    for (auto _ : state) {
        const auto started = std::chrono::steady_clock::now();
        picture = PictureOf(network);
        total +=
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
                .count();
        benchmark::DoNotOptimize(picture);
    }
    const double ours = LayoutStress(network, picture.Positions);
    const TNeatoRun neato = RunNeato(network);
    const double theirs = neato.Positions.empty() ? -1 : LayoutStress(network, neato.Positions);
    state.counters["stress"] = ours;
    state.counters["neato_stress"] = theirs;
    state.counters["neato_process_ms"] = neato.Milliseconds;
    state.SetLabel(LinkCount(network));
    char row[200];
    std::snprintf(row, sizeof row, "%-13s %10.2f %12.1f %16.1f %14.1f %8.3f",
                  LinkCount(network).c_str(), total / static_cast<double>(state.iterations()), ours,
                  neato.Milliseconds, theirs, theirs > 0 ? ours / theirs : -1.0);
    Table()[static_cast<int>(state.range(0) == 0 ? 1000000 : state.range(0))] = row;
}
BENCHMARK(Layout)->Arg(215)->Arg(300)->Arg(0)->Unit(benchmark::kMillisecond);

// The picture window (shown) asked for a network: the time until the picture is shown, and
// the longest gap between the ticks of a 1 ms timer on the window's thread meanwhile (reported
// as counters); with argument 2, the gaps of the same timer over 200 ms with no layout, for
// comparison.
void WindowRequest(benchmark::State& state) {
    const bool idle = state.range(0) == 2;
    const TLayoutNetwork network = Sites150(state.range(0) == 1 ? 0 : 300);
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

// A random start of the benchmark's own: positions uniform in a square as wide as the longest
// drawing distance, from seed.
std::vector<TPoint> RandomStart(const TLayoutNetwork& network, unsigned seed) {
    const std::vector<double> distances = DrawingDistances(network);
    const double longest = *std::max_element(distances.begin(), distances.end());
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0, 1);
    std::vector<TPoint> start;
    for (int node = 0; node < network.NumNodes; ++node) {
        const double x = unit(random);
        start.push_back({x * longest, unit(random) * longest});
    }
    return start;
}

// Folds: a drawing whose Procrustes disparity from the sites is above 0.05.
void Folds(benchmark::State& state) {
    int random = 0, scaled = 0, runs = 0;
    for (auto _ : state) {
        for (unsigned seed = 1; seed <= 20; ++seed) {
            for (const int n : {60, 150}) {
                const TSiteNetwork sites = SiteNetwork(n, seed, 4000);
                scaled += ProcrustesDisparity(sites.Sites, LayOutNetwork(sites.Network)) > 0.05;
                random +=
                    ProcrustesDisparity(
                        sites.Sites,
                        LayOutNetwork(sites.Network, {RandomStart(sites.Network, seed)})) > 0.05;
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
    const int status = RunWithWidgets(argc, argv);
    if (!Table().empty()) {
        std::printf(
            "\n150 nodes     ours (ms)  our stress  neato whole (ms)  neato stress  "
            "ours/neato stress\n");
        for (const auto& [links, row] : Table()) {
            std::printf("%s\n", row.c_str());
        }
    }
    return status;
}
