#pragma once

#include <string>

// Identities that stay the same from one run to the next: a hash of what names the object
// (its path, its collection and UID), as 32 uppercase hexadecimal digits.
namespace planwarte {

std::string StableHexId(const std::string& kind, const std::string& name);

}  // namespace planwarte
