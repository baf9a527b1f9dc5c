#pragma once

// The network's picture as an SVG document (picture_drawing.h), as the picture window saves
// it and meshloom-export writes it.
//
// The document, UTF-8, holds one element per node (class "node", its number in data-node,
// its name as its text and title; "unreached" and "unreaching" added for the nodes no other
// node reaches and that reach no other) and one per drawn link (class "link" and "two-way" or
// "one-way", the ends in data-from and data-to, the distance in data-distance and, for a
// two-way link, the other direction's in data-back-distance), then a legend.

#include <string>

#include "core/network/network_store.h"
#include "drawing/picture_drawing.h"

std::string PictureSvg(const TNetworkPicture& picture, const TPictureMarks& marks = {});

// The picture of the network in the store (its link rows allocated), laid out from the start.
std::string PictureSvg(const TNetworkStore& network);
