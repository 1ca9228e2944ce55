#pragma once

namespace planwarte {

struct PixelSize {
    int width = 0;
    int height = 0;
};

// The window size the placement falls back to when no size is stored, for a view kind
// (0 the month view, every other number the normal views). A page built without a window
// lays itself out for this size.
PixelSize DefaultWindowSize(int view_kind, PixelSize screen);

}  // namespace planwarte
