#pragma once

// The texts of the link window: the node lines of the origin and destination lists, the
// link lines with their column heading, and the count below them. Names and lines are held
// bytes, one byte a character (core/file_texts/name_bytes.h).

#include <cstdint>
#include <string>
#include <vector>

struct TNetworkStore;

// Its columns stand over the link lines in a fixed-pitch face.
inline constexpr char LinkListHeading[] =
    "Numb  ........NAME........ -> NUMB  ........NAME........      LINK DISTANCE";

// A line of the origin and destination lists: the node number in 4, two blanks and the first
// 20 characters of the name, right-aligned in 20:
//   LinkWindowNodeLine(7, "Leeds") == "   7                 Leeds"
std::string LinkWindowNodeLine(int node, const std::string& name);

// A line of the link list: the two node lines joined by " -> ", then the distance, grouped
// with one decimal, right-aligned in 12 after "      DIST = ". Leeds (1) to York (2), 1250:
//   "   1                 Leeds ->    2                  York      DIST =      1,250.0"
std::string LinkWindowLinkLine(int origin, const std::string& originName, int destination,
                               const std::string& destinationName, std::int32_t distance);

// "3 links have been specified." (the same wording for one link).
std::string LinkCountText(int count);

// The node lines of nodes 1..NumNodes, in order: line k is node k + 1.
std::vector<std::string> LinkWindowNodeLines(const TNetworkStore& network);

struct TLinkEnds {
    int Origin = 0;
    int Destination = 0;
    friend bool operator==(const TLinkEnds&, const TLinkEnds&) = default;
};

// Every link of the matrix, ordered by the unordered pair (1-2, 1-3, ..., 2-3, ...) and, in
// a pair, the direction from the lower number first: links 2->3, 3->1, 1->2 are listed as
// 1->2, 3->1, 2->3. Ends[k] is the link that Lines[k] was built from.
struct TLinkListing {
    std::vector<std::string> Lines;
    std::vector<TLinkEnds> Ends;
};
TLinkListing LinkWindowLinkLines(const TNetworkStore& network);
