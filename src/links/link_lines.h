#pragma once

// The texts of the link window: the node lines of the origin and destination lists, the
// link lines with their column heading, and the count below them. Node names are Latin-1
// bytes, one byte a character.

#include <QStringList>
#include <cstdint>
#include <string>
#include <vector>

struct TNetworkStore;

// Its columns stand over the link lines in a fixed-pitch face.
inline constexpr char LinkListHeading[] =
    "Numb  ........NAME........ -> NUMB  ........NAME........      LINK DISTANCE";

// "   7  " and the first 20 characters of the name, right-aligned in 20:
//   NodeLine(7, "Leeds") == "   7                 Leeds"
std::string NodeLine(int node, const std::string& name);

// The node lines of both node lists, "Leeds" and "York" in the example on the right:
//   "   1  " + PadLeft("Leeds", 20) + " -> " + "   2  " + PadLeft("York", 20)
//   + "      DIST = " + PadLeft("1,250.0", 12)
std::string LinkLine(int origin, const std::string& originName, int destination,
                     const std::string& destinationName, std::int32_t distance);

// "3 links have been specified." (the same wording for one link).
std::string LinkCountText(int count);

// The node lines of nodes 1..NumNodes, in order: line k is node k + 1.
QStringList ListNodes(const TNetworkStore& network);

struct TLinkEnds {
    int Origin = 0;
    int Destination = 0;
    friend bool operator==(const TLinkEnds&, const TLinkEnds&) = default;
};

// Every link of the matrix, ordered by the unordered pair (1-2, 1-3, ..., 2-3, ...) and, in
// a pair, the direction from the lower number first: links 2->3, 3->1, 1->2 are listed as
// 1->2, 3->1, 2->3. Ends[k] is the link that Lines[k] was built from.
struct TLinkListing {
    QStringList Lines;
    std::vector<TLinkEnds> Ends;
};
TLinkListing ListLinks(const TNetworkStore& network);
