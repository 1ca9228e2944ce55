// Feeds arbitrary bytes to the settings file parser. Besides not crashing, whatever parses must
// come out of the writer in a form that parses again, every line of it, to the same file: the
// program rewrites the user's file on every change, so a lossy or unstable round trip would
// corrupt settings. Lines left out as unreadable are named in file order, after the header.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "adapters/regfile/reg_file_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const planwarte::RegParseResult first = planwarte::ParseRegFile(bytes);
    if (!first.document) {
        return 0;
    }
    std::size_t previous = 1;  // the header's line at the earliest
    for (const planwarte::RegUnreadableLine& line : first.unreadable) {
        if (line.line <= previous || line.reason.empty()) {
            std::abort();
        }
        previous = line.line;
    }
    const std::string written = planwarte::FormatRegFile(*first.document);
    const planwarte::RegParseResult second = planwarte::ParseRegFile(written);
    if (!second.document || !second.unreadable.empty() ||
        planwarte::FormatRegFile(*second.document) != written) {
        std::abort();
    }
    return 0;
}
