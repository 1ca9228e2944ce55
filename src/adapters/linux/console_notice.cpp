#include "adapters/linux/console_notice.h"

#include <iostream>

namespace planwarte {

void ConsoleNotice::ShowMessage(const std::string& text) {
    std::cerr << text << '\n';
}

void ConsoleNotice::Beep() {
    std::cerr << '\a' << std::flush;
}

}  // namespace planwarte
