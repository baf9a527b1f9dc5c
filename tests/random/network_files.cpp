#include "network_files.h"

#include <QList>
#include <QScopeGuard>
#include <algorithm>
#include <cmath>
#include <utility>

#include "core/network/network_store.h"
#include "reference_paths.h"

namespace {
std::string RightAligned(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

QList<QByteArray> LinesOf(const QByteArray& bytes) {
    // Every line ends with CR LF, so the last piece is empty.
    return bytes.split('\n');
}

QString Shown(const QByteArray& line) {
    QString text = QString::fromLatin1(line);
    text.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// The first line of bytes that differs from expected (both split into lines), or empty.
QString FirstDifference(const QList<QByteArray>& lines, const QList<QByteArray>& expected) {
    for (qsizetype i = 0; i < std::min(lines.size(), expected.size()); ++i) {
        if (lines[i] != expected[i]) {
            return QStringLiteral("line %1 is %2, expected %3")
                .arg(i + 1)
                .arg(Shown(lines[i]), Shown(expected[i]));
        }
    }
    return QString();
}
}  // namespace

TSavedNetwork TSavedNetwork::FromStore() {
    TSavedNetwork network;
    const int n = Network.NumNodes;
    network.NumNodes = n;
    for (int i = 1; i <= n; ++i) {
        network.Names.push_back(Network.NodeNames[i]);
        network.FirstDemands.push_back(Network.FirstDemands[i]);
        network.SecondDemands.push_back(Network.SecondDemands[i]);
        network.FixedCosts.push_back(Network.FixedCosts[i]);
    }
    if (n > 0 && Network.LinkRows.IsAllocated(1)) {
        network.Links.reserve(static_cast<std::size_t>(n * n));
        for (int o = 1; o <= n; ++o) {
            for (int d = 1; d <= n; ++d) {
                network.Links.push_back(Network.LinkRows[o][d]);
            }
        }
    }
    return network;
}

TDistances ShortestDistances(const TSavedNetwork& network) {
    // The reference works on the program's store: it gets a store of its own holding only
    // the links, and the program's store is put back whatever happens.
    const int n = network.NumNodes;
    TNetworkStore links;
    links.NumNodes = n;
    links.LinkRows.AllocateRows(n);
    for (int o = 1; o <= n; ++o) {
        for (int d = 1; d <= n; ++d) {
            links.LinkRows[o][d] = network.Link(o, d);
        }
    }
    std::swap(Network, links);
    {
        const auto restore = qScopeGuard([&links] { std::swap(Network, links); });
        CompleteShortestPathsReference();
    }
    TDistances distances;
    distances.Connected = links.NetworkConnected;
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) {
            distances.Capped.push_back(links.PathRows[i][j]);
        }
    }
    return distances;
}

std::string FixedThreeDecimals(const Real48& value) {
    // A held value has at most 40 significant bits, so a thousand times it is exact in the
    // 64-bit significand, and so are its whole part and the remainder.
    const Extended thousandths = value.Widen() * 1000.0L;
    const Extended whole = std::floor(thousandths);
    const auto rounded =
        static_cast<unsigned long long>(whole) + (thousandths - whole >= 0.5L ? 1U : 0U);
    std::string decimals = std::to_string(rounded % 1000);
    decimals.insert(0, 3 - decimals.size(), '0');
    return RightAligned(std::to_string(rounded / 1000) + "." + decimals, 15);
}

QByteArray ExpectedDemandFile(const TSavedNetwork& network) {
    std::string text;
    for (int i = 1; i <= network.NumNodes; ++i) {
        const auto k = static_cast<std::size_t>(i - 1);
        text += RightAligned(std::to_string(i), 4) + "  " + "  0.0    0.0    " +
                FixedThreeDecimals(network.FirstDemands[k]) + "  " +
                FixedThreeDecimals(network.SecondDemands[k]) + "  " +
                FixedThreeDecimals(network.FixedCosts[k]) + "   < " + network.Names[k] + " >\r\n";
    }
    return QByteArray::fromStdString(text);
}

QByteArray ExpectedDistanceFile(const TDistances& distances) {
    std::string text;
    for (const std::int32_t distance : distances.Capped) {
        text += std::to_string(distance) + "\r\n";
    }
    return QByteArray::fromStdString(text);
}

QString DemandFileFault(const QByteArray& bytes, const TSavedNetwork& network) {
    const QList<QByteArray> lines = LinesOf(bytes);
    const QList<QByteArray> expected = LinesOf(ExpectedDemandFile(network));
    if (!lines.back().isEmpty()) {
        return QStringLiteral("the last line does not end with CR LF");
    }
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        if (!lines[i].endsWith('\r')) {
            return QStringLiteral("line %1 does not end with CR LF").arg(i + 1);
        }
    }
    if (lines.size() != expected.size()) {
        return QStringLiteral("%1 lines for %2 nodes").arg(lines.size() - 1).arg(network.NumNodes);
    }
    return FirstDifference(lines, expected);
}

QString DistanceFileFault(const QByteArray& bytes, const TSavedNetwork& network,
                          const TDistances& distances) {
    const int n = network.NumNodes;
    const QList<QByteArray> lines = LinesOf(bytes);
    if (!lines.back().isEmpty()) {
        return QStringLiteral("the last line does not end with CR LF");
    }
    if (lines.size() - 1 != static_cast<qsizetype>(n) * n) {
        return QStringLiteral("%1 lines for %2 nodes").arg(lines.size() - 1).arg(n);
    }
    for (qsizetype line = 0; line + 1 < lines.size(); ++line) {
        const QByteArray& text = lines[line];
        const QByteArray digits = text.chopped(text.endsWith('\r') ? 1 : 0);
        bool number = text.endsWith('\r') && !digits.isEmpty() &&
                      std::all_of(digits.begin(), digits.end(),
                                  [](char c) { return c >= '0' && c <= '9'; }) &&
                      (digits.size() == 1 || digits[0] != '0');
        const long value = number ? digits.toLong(&number) : -1;
        if (!number || value < 0 || value > MaxDistance) {
            return QStringLiteral("line %1 is %2, not an integer 0..10000")
                .arg(line + 1)
                .arg(Shown(text));
        }
        if (line / n == line % n && value != 0) {
            return QStringLiteral("line %1 (the diagonal) is %2").arg(line + 1).arg(value);
        }
    }
    return FirstDifference(lines, LinesOf(ExpectedDistanceFile(distances)));
}
