#include "cli/picture_export.h"

#include "layout/picture_svg.h"

std::string PictureFileText(const TNetworkStore& network) {
    return PictureSvg(PictureOf(LayoutNetworkOf(network)));
}
