// Feeds arbitrary bytes to the INI reader that reads design.ini and the sayings file: no input
// may crash it, and every section and key it lists must be found again by its name.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/common/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const planwarte::IniFile ini(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const auto& section : ini.SectionNames()) {
        for (const auto& key : ini.Keys(section)) {
            // A key that is found gives its value whatever the fallback; only a missing key
            // would answer each of two different fallbacks.
            if (ini.Value(section, key, "a") == "a" && ini.Value(section, key, "b") == "b") {
                std::abort();
            }
        }
    }
    return 0;
}
