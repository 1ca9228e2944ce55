#pragma once

#include <string>

namespace planwarte {

// The embedded HTML view that fills the main window. It loads the page text from memory; the
// page has no base address of its own.
class PageView {
  public:
    virtual ~PageView() = default;
    virtual void ShowPage(const std::string& html) = 0;
};

}  // namespace planwarte
