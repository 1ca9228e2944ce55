#pragma once

#include "core/app/host_services.h"

namespace planwarte {

// Messages for a program without windows: on standard error, one block per message.
class ConsoleNotice : public UserNotice {
  public:
    void ShowMessage(const std::string& text) override;
    void Beep() override;
};

}  // namespace planwarte
