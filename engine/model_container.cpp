#include "engine/model_container.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <array>
#include <climits>
#include <cstring>
#include <memory>

namespace rallinox {
namespace {

constexpr std::array<std::uint8_t, 4> kMagic = {'R', 'M', 'O', 'D'};
constexpr std::size_t kKeySize = 32;

// The key is never stored as such: it is the XOR of these two tables and a
// position-dependent byte, assembled only while a container is processed.
constexpr std::array<std::uint8_t, kKeySize> kKeyPartA = {
    0x5e, 0x91, 0x2c, 0xd7, 0x08, 0x7b, 0xe3, 0x46, 0xa9, 0x1f, 0x62, 0xcd, 0x30, 0x85, 0xfa, 0x17,
    0x4b, 0xbe, 0x03, 0x9c, 0x6f, 0xd2, 0x21, 0x58, 0xe7, 0x3a, 0x95, 0x0c, 0x73, 0xc8, 0x1d, 0xa4};
constexpr std::array<std::uint8_t, kKeySize> kKeyPartB = {
    0x37, 0x0e, 0xd9, 0x64, 0xb2, 0x4f, 0x18, 0xab, 0x56, 0xe1, 0x8c, 0x23, 0xfd, 0x70, 0x09, 0xc6,
    0x92, 0x2d, 0x7e, 0xe5, 0x1a, 0xb7, 0x48, 0x93, 0x0f, 0xdc, 0x61, 0xa8, 0x35, 0x4e, 0xf3, 0x8a};

struct CipherContextFree {
    void operator()(EVP_CIPHER_CTX* context) const { EVP_CIPHER_CTX_free(context); }
};

enum class Direction { Encrypt, Decrypt };

// AES-256-GCM over `data` in place, 12-byte nonce, 16-byte tag, no AAD.
// Decrypting checks `tag`; encrypting writes it.
bool runAesGcm(Direction direction, const std::uint8_t* nonce, std::uint8_t* tag,
               std::vector<std::uint8_t>& data) {
    if (data.empty() || data.size() > static_cast<std::size_t>(INT_MAX))
        return false;
    std::unique_ptr<EVP_CIPHER_CTX, CipherContextFree> context(EVP_CIPHER_CTX_new());
    if (!context)
        return false;
    const int encrypt = direction == Direction::Encrypt ? 1 : 0;

    std::array<std::uint8_t, kKeySize> key;
    for (std::size_t i = 0; i < kKeySize; ++i)
        key[i] = static_cast<std::uint8_t>(kKeyPartA[i] ^ kKeyPartB[i] ^ (i * 0x9d + 0x41));

    int written = 0;
    int finalWritten = 0;
    const int length = static_cast<int>(data.size());
    bool ok = EVP_CipherInit_ex(context.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr, encrypt) == 1 &&
              EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_SET_IVLEN, kModelNonceSize, nullptr) == 1 &&
              EVP_CipherInit_ex(context.get(), nullptr, nullptr, key.data(), nonce, encrypt) == 1;
    OPENSSL_cleanse(key.data(), key.size());

    ok = ok && (encrypt || EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_SET_TAG, kModelTagSize, tag) == 1);
    ok = ok && EVP_CipherUpdate(context.get(), data.data(), &written, data.data(), length) == 1 &&
         written == length;
    // For decryption this is where the tag is checked.
    ok = ok && EVP_CipherFinal_ex(context.get(), data.data() + written, &finalWritten) == 1 &&
         finalWritten == 0;
    ok = ok && (!encrypt || EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_GET_TAG, kModelTagSize, tag) == 1);
    return ok;
}

}  // namespace

bool sealModel(std::span<const std::uint8_t> model,
               std::span<const std::uint8_t, kModelNonceSize> nonce,
               std::vector<std::uint8_t>& container) {
    std::vector<std::uint8_t> data(model.begin(), model.end());
    std::array<std::uint8_t, kModelTagSize> tag{};
    if (!runAesGcm(Direction::Encrypt, nonce.data(), tag.data(), data))
        return false;
    container.clear();
    container.reserve(kModelHeaderSize + data.size());
    container.insert(container.end(), kMagic.begin(), kMagic.end());
    container.insert(container.end(), nonce.begin(), nonce.end());
    container.insert(container.end(), tag.begin(), tag.end());
    container.insert(container.end(), data.begin(), data.end());
    return true;
}

bool openModel(std::span<const std::uint8_t> container,
               std::vector<std::uint8_t>& plaintext, std::string& error) {
    plaintext.clear();
    if (container.size() <= kModelHeaderSize ||
        std::memcmp(container.data(), kMagic.data(), kMagic.size()) != 0) {
        error = kModelsDamagedMessage;
        return false;
    }
    std::array<std::uint8_t, kModelNonceSize> nonce;
    std::array<std::uint8_t, kModelTagSize> tag;
    std::memcpy(nonce.data(), container.data() + kMagic.size(), nonce.size());
    std::memcpy(tag.data(), container.data() + kMagic.size() + nonce.size(), tag.size());
    plaintext.assign(container.begin() + kModelHeaderSize, container.end());
    if (!runAesGcm(Direction::Decrypt, nonce.data(), tag.data(), plaintext)) {
        // Whatever was decrypted before the tag check failed must not survive.
        OPENSSL_cleanse(plaintext.data(), plaintext.size());
        plaintext.clear();
        error = kModelsDamagedMessage;
        return false;
    }
    return true;
}

}  // namespace rallinox
