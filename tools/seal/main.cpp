// rallinox-seal MODEL.onnx OUT.rmod
//
// Seals an ONNX model into the "RMOD" container that the build embeds in the
// program. The nonce is taken from the SHA-256 of the model, so sealing the
// same model gives the same container and two different models never share
// a nonce.
#include "engine/model_container.h"

#include <openssl/sha.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

namespace {

bool readFile(const char* path, std::vector<std::uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return in.good() || in.eof();
}

bool writeFile(const char* path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: rallinox-seal MODEL.onnx OUT.rmod\n";
        return 2;
    }
    std::vector<std::uint8_t> model;
    if (!readFile(argv[1], model) || model.empty()) {
        std::cerr << "rallinox-seal: cannot read " << argv[1] << '\n';
        return 1;
    }
    std::array<std::uint8_t, SHA256_DIGEST_LENGTH> digest;
    SHA256(model.data(), model.size(), digest.data());
    std::array<std::uint8_t, rallinox::kModelNonceSize> nonce;
    std::copy_n(digest.begin(), nonce.size(), nonce.begin());

    std::vector<std::uint8_t> container;
    if (!rallinox::sealModel(model, nonce, container)) {
        std::cerr << "rallinox-seal: encryption failed\n";
        return 1;
    }
    if (!writeFile(argv[2], container)) {
        std::cerr << "rallinox-seal: cannot write " << argv[2] << '\n';
        return 1;
    }
    return 0;
}
