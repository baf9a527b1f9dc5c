#include "cli/picture_export.h"

#include "layout/picture_svg.h"

TWriteResult WritePictureFile(const TNetworkStore& network, const std::string& path) {
    return WriteWholeFile(path, PictureSvg(PictureOf(LayoutNetworkOf(network))));
}
