#include "adapters/ical/stable_ids.h"

#include <cstdint>

namespace planwarte {

namespace {

std::uint64_t Fnv1a(const std::string& text, std::uint64_t hash) {
    for (char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001B3ULL;
    }
    return hash;
}

void AppendHex(std::uint64_t value, std::string& out) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (int shift = 60; shift >= 0; shift -= 4) {
        out += kDigits[(value >> shift) & 0xF];
    }
}

}  // namespace

std::string StableHexId(const std::string& kind, const std::string& name) {
    const std::string text = kind + '\n' + name;
    std::string id;
    AppendHex(Fnv1a(text, 0xCBF29CE484222325ULL), id);
    // A second hash with another start makes two names sharing an ID practically impossible.
    AppendHex(Fnv1a(text, 0x84222325CBF29CE4ULL), id);
    return id;
}

}  // namespace planwarte
