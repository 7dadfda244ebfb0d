// The host without previews: the Windows package has no libpng.

#include <stdexcept>

#include "host/map_previews.h"

namespace host {

bool previewsAvailable() {
    return false;
}

std::unique_ptr<SaveListener> makeMapPreviews(Console&) {
    throw std::logic_error("this build of quorvis makes no previews");
}

}  // namespace host
