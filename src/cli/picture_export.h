#pragma once

// --picture FILE: the network's picture as SVG, laid out and drawn as the picture window draws
// it (layout/picture_svg.h); the command writes it as it writes the two files.

#include <string>

#include "core/network/network_store.h"

// The SVG text of the picture of the network in the store (its link rows allocated).
std::string PictureFileText(const TNetworkStore& network);
