#include "core/lists/link_lines.h"

#include <algorithm>
#include <string_view>

#include "core/network/network_store.h"
#include "core/numbers/number_text.h"

namespace {
constexpr int NumberWidth = 4;
constexpr int NameWidth = 20;
constexpr int DistanceWidth = 12;
constexpr std::string_view Arrow = " -> ";
constexpr std::string_view DistanceLabel = "      DIST = ";

// "      DIST = " and the distance, grouped, right-aligned in its column.
std::string DistancePiece(std::int32_t distance) {
    return std::string(DistanceLabel) + PadLeft(FormatGrouped(distance, 10, 1), DistanceWidth);
}

// The distance pieces of one listing. A full network repeats distances thousands of times,
// and the grouped form is the dearest part of a line, so each distance is written once, into
// one block.
class TDistancePieces {
  public:
    std::string_view Piece(std::int32_t distance) {
        if (distance < 0 || distance > MaxDistance) {
            Other = DistancePiece(distance);
            return Other;
        }
        const auto at = static_cast<std::size_t>(distance) * PieceLength;
        if (!Written[static_cast<std::size_t>(distance)]) {
            const std::string piece = DistancePiece(distance);
            if (piece.size() != PieceLength) {
                Other = piece;
                return Other;
            }
            Block.replace(at, PieceLength, piece);
            Written[static_cast<std::size_t>(distance)] = true;
        }
        return std::string_view(Block).substr(at, PieceLength);
    }

  private:
    static constexpr std::size_t PieceLength = DistanceLabel.size() + DistanceWidth;
    std::string Block = std::string((MaxDistance + 1) * PieceLength, ' ');
    std::vector<bool> Written = std::vector<bool>(MaxDistance + 1);
    std::string Other;
};

// The pieces in a new line of exactly their length.
std::string Joined(std::initializer_list<std::string_view> pieces) {
    std::size_t length = 0;
    for (const std::string_view piece : pieces) {
        length += piece.size();
    }
    std::string line;
    line.reserve(length);
    for (const std::string_view piece : pieces) {
        line += piece;
    }
    return line;
}
}  // namespace

std::string LinkWindowNodeLine(int node, const std::string& name) {
    std::string line = IntToPadded(node, NumberWidth);
    line.append("  ");
    line.append(PadLeft(name.substr(0, NameWidth), NameWidth));
    return line;
}

std::string LinkWindowLinkLine(int origin, const std::string& originName, int destination,
                               const std::string& destinationName, std::int32_t distance) {
    return Joined({LinkWindowNodeLine(origin, originName), Arrow,
                   LinkWindowNodeLine(destination, destinationName), DistancePiece(distance)});
}

std::string LinkCountText(int count) {
    return IntToStr(count) + " links have been specified.";
}

std::vector<std::string> LinkWindowNodeLines(const TNetworkStore& network) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(std::max(network.NumNodes, 0)));
    for (int i = 1; i <= network.NumNodes; ++i) {
        lines.push_back(LinkWindowNodeLine(i, network.NodeNames[i]));
    }
    return lines;
}

TLinkListing LinkWindowLinkLines(const TNetworkStore& network) {
    const int count = network.NumNodes;
    // A link line joins two node lines, so each name is cut and padded once, not once for
    // every link. Zero-based: nodeLines[i - 1] and rows[i - 1] belong to node i.
    const std::vector<std::string> nodeLines = LinkWindowNodeLines(network);
    std::vector<const TDistanceRow*> rows;
    rows.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 1; i <= count; ++i) {
        rows.push_back(&network.LinkRows[i]);
    }

    std::size_t links = 0;
    for (int i = 1; i <= count; ++i) {
        for (int j = 1; j <= count; ++j) {
            links += (*rows[i - 1])[j] != NoLink ? 1 : 0;
        }
    }

    TDistancePieces distances;
    TLinkListing listing;
    listing.Lines.reserve(links);
    listing.Ends.reserve(links);
    const auto append = [&](int origin, int destination, std::int32_t distance) {
        listing.Lines.push_back(Joined(
            {nodeLines[origin - 1], Arrow, nodeLines[destination - 1], distances.Piece(distance)}));
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
