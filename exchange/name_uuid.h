// Name-based UUIDs (RFC 4122 version 5, SHA-1): the same name in the same
// namespace always gives the same UUID, so a contact exported twice is one
// contact to an address book.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace ovlet::exchange {

using UuidBytes = std::array<std::uint8_t, 16>;
using Sha1Digest = std::array<std::uint8_t, 20>;

Sha1Digest Sha1(std::string_view data);

// The version-5 UUID of `name` in `space`, as 36 lower-case characters
// ("8-4-4-4-12" hex digits).
std::string Version5Uuid(const UuidBytes& space, std::string_view name);

}  // namespace ovlet::exchange
