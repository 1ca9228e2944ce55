#pragma once

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "adapters/fake/virtual_clock.h"
#include "adapters/fake/virtual_event_loop.h"

namespace planwarte {

// A virtual loop and a trace of "what@elapsed-ms" entries that any thread may add to.
class VirtualLoopTest : public ::testing::Test {
  protected:
    void Record(const std::string& what) {
        std::lock_guard lock(trace_mutex_);
        trace_.push_back(what + "@" + std::to_string(clock_.ElapsedMs()));
    }

    std::vector<std::string> Trace() {
        std::lock_guard lock(trace_mutex_);
        return trace_;
    }

    VirtualClock clock_{DateTime(45000.5)};
    VirtualEventLoop loop_{clock_};

  private:
    std::mutex trace_mutex_;
    std::vector<std::string> trace_;
};

}  // namespace planwarte
