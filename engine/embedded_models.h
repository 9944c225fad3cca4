// The model containers linked into the program at build time.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rallinox {

// Bytes of the container embedded under `name` ("MODEL_TRACK",
// "MODEL_ACTION"); an empty span when there is no such resource.
std::span<const std::uint8_t> embeddedModel(std::string_view name);

// Decrypts the container embedded under `resourceName`. An unknown name
// gives the "missing" text, a bad container the "damaged" text.
bool decryptModel(std::string_view resourceName,
                  std::vector<std::uint8_t>& plaintext, std::string& error);

}  // namespace rallinox
