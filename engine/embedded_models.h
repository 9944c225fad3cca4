// The model containers linked into the program at build time.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace rallinox {

// Bytes of the container embedded under `name` ("MODEL_TRACK",
// "MODEL_ACTION"); an empty span when there is no such resource.
std::span<const std::uint8_t> embeddedModel(std::string_view name);

}  // namespace rallinox
