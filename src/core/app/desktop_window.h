#pragma once

namespace planwarte {

// The platform side of the desktop window: the see-through fades, the frame with which the
// user can resize it, and where it stands. Without one (page-only and headless runs) the
// window duties do nothing.
class DesktopWindow {
  public:
    virtual ~DesktopWindow() = default;
    // Whether the pointer lies inside the page's client rectangle.
    virtual bool MouseOverPage() const = 0;
    virtual void FadeIn() = 0;
    virtual void FadeOut() = 0;
    virtual bool FrameVisible() const = 0;
    virtual void SetFrameVisible(bool visible) = 0;
    // Stores the window's rectangle for the current view kind.
    virtual void SaveGeometry() = 0;
};

}  // namespace planwarte
