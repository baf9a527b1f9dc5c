#include "links/link_lines.h"

#include <algorithm>

#include "network/name_bytes.h"
#include "network/network_store.h"
#include "network/number_text.h"

namespace {
constexpr int NumberWidth = 4;
constexpr int NameWidth = 20;
constexpr int DistanceWidth = 12;
constexpr char Arrow[] = " -> ";
constexpr char DistanceLabel[] = "      DIST = ";

// "      DIST = " and the distance, grouped, right-aligned in its column.
std::string DistancePiece(std::int32_t distance) {
    return DistanceLabel + PadLeft(FormatGrouped(distance, 10, 1), DistanceWidth);
}

// The distance pieces of one listing. A full network repeats distances thousands of times,
// and the grouped form is the dearest part of a line, so each distance is written once, into
// one block.
class TDistancePieces {
  public:
    QStringView Piece(std::int32_t distance) {
        if (distance < 0 || distance > MaxDistance) {
            Other = QString::fromLatin1(DistancePiece(distance));
            return Other;
        }
        const auto at = static_cast<qsizetype>(distance) * PieceLength;
        if (!Written[static_cast<std::size_t>(distance)]) {
            const std::string piece = DistancePiece(distance);
            if (static_cast<qsizetype>(piece.size()) != PieceLength) {
                Other = QString::fromLatin1(piece);
                return Other;
            }
            Block.replace(at, PieceLength, QString::fromLatin1(piece));
            Written[static_cast<std::size_t>(distance)] = true;
        }
        return QStringView(Block).mid(at, PieceLength);
    }

  private:
    static constexpr qsizetype PieceLength = sizeof DistanceLabel - 1 + DistanceWidth;
    QString Block = QString((MaxDistance + 1) * PieceLength, QLatin1Char(' '));
    std::vector<bool> Written = std::vector<bool>(MaxDistance + 1);
    QString Other;
};

// Copies the pieces into a new line of exactly their length.
QString Joined(std::initializer_list<QStringView> pieces) {
    qsizetype length = 0;
    for (const QStringView piece : pieces) {
        length += piece.size();
    }
    QString line(length, Qt::Uninitialized);
    QChar* out = line.data();
    for (const QStringView piece : pieces) {
        out = std::copy(piece.begin(), piece.end(), out);
    }
    return line;
}
}  // namespace

std::string NodeLine(int node, const std::string& name) {
    std::string line = IntToPadded(node, NumberWidth);
    line.append("  ");
    line.append(PadLeft(name.substr(0, NameWidth), NameWidth));
    return line;
}

std::string LinkLine(int origin, const std::string& originName, int destination,
                     const std::string& destinationName, std::int32_t distance) {
    return NodeLine(origin, originName) + Arrow + NodeLine(destination, destinationName) +
           DistancePiece(distance);
}

std::string LinkCountText(int count) {
    return IntToStr(count) + " links have been specified.";
}

QStringList ListNodes(const TNetworkStore& network) {
    QStringList lines;
    lines.reserve(network.NumNodes);
    for (int i = 1; i <= network.NumNodes; ++i) {
        lines.append(NameText(NodeLine(i, network.NodeNames[i])));
    }
    return lines;
}

TLinkListing ListLinks(const TNetworkStore& network) {
    const int count = network.NumNodes;
    // A link line joins two node lines, so each name is cut and padded once, not once for
    // every link. Zero-based: nodeLines[i - 1] and rows[i - 1] belong to node i.
    const QStringList nodeLines = ListNodes(network);
    std::vector<const TDistanceRow*> rows;
    rows.reserve(count);
    for (int i = 1; i <= count; ++i) {
        rows.push_back(&network.LinkRows[i]);
    }

    qsizetype links = 0;
    for (int i = 1; i <= count; ++i) {
        for (int j = 1; j <= count; ++j) {
            links += (*rows[i - 1])[j] != NoLink ? 1 : 0;
        }
    }

    TDistancePieces distances;
    TLinkListing listing;
    listing.Lines.reserve(links);
    listing.Ends.reserve(static_cast<std::size_t>(links));
    const QString arrow = QString::fromLatin1(Arrow);
    const auto append = [&](int origin, int destination, std::int32_t distance) {
        listing.Lines.append(Joined(
            {nodeLines[origin - 1], arrow, nodeLines[destination - 1], distances.Piece(distance)}));
        listing.Ends.push_back({origin, destination});
    };
    for (int i = 1; i < count; ++i) {
        for (int j = i + 1; j <= count; ++j) {
            const std::int32_t forward = (*rows[i - 1])[j];
            const std::int32_t backward = (*rows[j - 1])[i];
            if (forward != NoLink) {
                append(i, j, forward);
            }
            if (backward != NoLink) {
                append(j, i, backward);
            }
        }
    }
    return listing;
}
