// Model container "RMOD": an ONNX model encrypted with AES-256-GCM.
//
//   offset 0   4 bytes   magic "RMOD"
//   offset 4  12 bytes   nonce
//   offset 16 16 bytes   authentication tag
//   offset 32 rest       ciphertext (same length as the model), no AAD
//
// The key is assembled on the stack from constants of this program for each
// call and wiped before returning.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace rallinox {

inline constexpr std::size_t kModelNonceSize = 12;
inline constexpr std::size_t kModelTagSize = 16;
inline constexpr std::size_t kModelHeaderSize = 4 + kModelNonceSize + kModelTagSize;

inline constexpr const char* kModelsMissingMessage =
    "The analysis models are missing from Rallinox. Please reinstall Rallinox.";
inline constexpr const char* kModelsDamagedMessage =
    "The analysis models in Rallinox are damaged. Please reinstall Rallinox.";

// Encrypts an ONNX model into a container. The nonce must never be reused for
// another model with the same key. False only when the cipher itself fails.
bool sealModel(std::span<const std::uint8_t> model,
               std::span<const std::uint8_t, kModelNonceSize> nonce,
               std::vector<std::uint8_t>& container);

// Decrypts a container. On failure (short container, wrong magic, failed
// authentication) `plaintext` is emptied and `error` is the "damaged" text.
bool openModel(std::span<const std::uint8_t> container,
               std::vector<std::uint8_t>& plaintext, std::string& error);

}  // namespace rallinox
