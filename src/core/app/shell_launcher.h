#pragma once

#include <string>

namespace planwarte {

// Window states a started program is asked to show itself in.
inline constexpr int kShowHidden = 0;
inline constexpr int kShowNormal = 5;

// Starts another program the way the desktop shell opens a file: the program is found by its
// name, the parameters are handed over as they are. Fire and forget: a program that cannot be
// started shows nothing.
class ShellLauncher {
  public:
    virtual ~ShellLauncher() = default;
    virtual void Open(const std::string& file, const std::string& parameters, int show_state) = 0;
};

}  // namespace planwarte
