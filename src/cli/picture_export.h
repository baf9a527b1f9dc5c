#pragma once

// --picture FILE: the network's picture as SVG, laid out and drawn as the picture window draws
// it (layout/picture_svg.h), written by the file writer with its guarantees.

#include <string>

#include "core/network_store.h"
#include "files/file_writer.h"

// The picture of the network in the store (its link rows allocated) at path.
TWriteResult WritePictureFile(const TNetworkStore& network, const std::string& path);
