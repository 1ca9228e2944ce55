#pragma once

#include <chrono>
#include <filesystem>
#include <thread>

namespace planwarte::testing_support {

// Waits a bounded time (two seconds) for a file that another process writes.
inline bool AppearsSoon(const std::filesystem::path& path) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        if (std::filesystem::exists(path)) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

}  // namespace planwarte::testing_support
