#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace planwarte::testing_support {

inline std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Trace lines a store reported.
struct TraceLines {
    std::vector<std::string> lines;
    auto Sink() {
        return [this](const std::string& line) { lines.push_back(line); };
    }
};

}  // namespace planwarte::testing_support
