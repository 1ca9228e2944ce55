#include "core/page/page_geometry.h"

namespace planwarte {

PixelSize DefaultWindowSize(int view_kind, PixelSize screen) {
    if (view_kind == 0) {
        return {screen.width - 150, screen.height - 40};
    }
    return {screen.width / 2 - 20, screen.height - 40};
}

}  // namespace planwarte
